// Start-up benchmark: the time from starting yunti.exe to its main window's first paint
// (the version fetch from a server on 127.0.0.1 included), beside the same time for
// startup_floor.exe, a program that only starts GDI+ and shows one painted window, and for
// startup_floor_controls.exe, the same window with the main window's eleven standard child
// controls; then the program's peak memory with the main window, an open rank picker and a
// message box.
// Run it with tools/bench.sh; the screen must show nothing where the windows appear.

#include "support/local_http_server.h"
#include "support/temp_folder.h"
#include "support/window_search.h"

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace testing_support;

constexpr unsigned short kVersionPort = 18731;
constexpr int kRuns = 15;

double nowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

class Process {
  public:
    explicit Process(const std::wstring& path) {
        std::wstring commandLine = L"\"" + path + L"\"";
        const std::wstring folder = path.substr(0, path.find_last_of(L'\\'));
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        started_ = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                    nullptr, folder.c_str(), &startup, &info_) != FALSE;
    }
    ~Process() {
        if (!started_)
            return;
        ::TerminateProcess(info_.hProcess, 0);
        ::WaitForSingleObject(info_.hProcess, 5000);
        ::CloseHandle(info_.hThread);
        ::CloseHandle(info_.hProcess);
    }
    Process(const Process&) = delete;
    Process& operator=(const Process&) = delete;

    bool started() const { return started_; }
    DWORD id() const { return info_.dwProcessId; }
    HANDLE handle() const { return info_.hProcess; }

  private:
    PROCESS_INFORMATION info_{};
    bool started_ = false;
};

// True once the screen shows something other than black at a few points of the window.
bool painted(HWND window) {
    RECT r{};
    if (!::GetWindowRect(window, &r))
        return false;
    HDC screen = ::GetDC(nullptr);
    const int w = r.right - r.left, h = r.bottom - r.top;
    bool any = false;
    for (POINT p : {POINT{w / 2, h / 2}, POINT{w / 4, h / 4}, POINT{3 * w / 4, 3 * h / 4},
                    POINT{w / 4, 3 * h / 4}, POINT{3 * w / 4, h / 4}})
        any = any || (::GetPixel(screen, r.left + p.x, r.top + p.y) & 0xFFFFFF) != 0;
    ::ReleaseDC(nullptr, screen);
    return any;
}

// Milliseconds from process start to the first painted window with that caption.
std::optional<double> timeToFirstPaint(const std::wstring& program, const wchar_t* caption) {
    const double start = nowMs();
    Process process(program);
    if (!process.started())
        return std::nullopt;
    HWND window = nullptr;
    bool shown = false;
    for (int i = 0; i < 20000 && !shown; ++i) {
        if (!window)
            window = findTopLevel(process.id(), caption);
        // Reading the screen is slow under Wine: only once the window is visible.
        shown = window && ::IsWindowVisible(window) && painted(window);
        if (!shown)
            ::Sleep(1);
    }
    const double elapsed = nowMs() - start;
    if (!shown)
        return std::nullopt;
    return elapsed;
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The program's peak memory once its main window, a rank picker and a message box are up.
void reportPeakMemory(const std::wstring& program) {
    Process process(program);
    HWND main = nullptr;
    if (!process.started() ||
        !waitUntil([&] { return (main = findTopLevel(process.id(), L"云梯助手 v8.0")) != nullptr; },
                   20000)) {
        std::printf("peak memory: the main window did not appear\n");
        return;
    }
    // The present-rank badge opens its picker; "修改" with no folder chosen shows a box.
    ::PostMessageW(childAt(main, 144, 92), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    ::PostMessageW(childAt(main, 144, 92), WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
    const bool picker =
        waitUntil([&] { return findTopLevel(process.id(), L"CF军衔等级列表") != nullptr; });
    ::PostMessageW(childAt(main, 255, 144), BM_CLICK, 0, 0);
    const bool box =
        waitUntil([&] { return findTopLevel(process.id(), nullptr, L"Ex_DirectUI") != nullptr; });
    ::Sleep(500);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    if (!::GetProcessMemoryInfo(process.handle(),
                                reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                                sizeof counters)) {
        std::printf("peak memory: not available (%lu)\n", ::GetLastError());
        return;
    }
    std::printf("peak memory with the main window%s%s: working set %.1f MiB, private %.1f MiB"
                " (peak %.1f MiB)\n",
                picker ? ", a rank picker" : " (no picker appeared)",
                box ? " and a message box" : " (no message box appeared)",
                counters.PeakWorkingSetSize / 1048576.0, counters.PrivateUsage / 1048576.0,
                counters.PeakPagefileUsage / 1048576.0);
}

} // namespace

int main() {
    const std::wstring folder = programFolder();
    struct Subject {
        const char* label;
        std::wstring program;
        const wchar_t* caption;
        std::vector<double> times;
    };
    Subject subjects[] = {
        {"yunti.exe (version fetch included)", folder + L"\\..\\app\\yunti.exe", L"云梯助手 v8.0", {}},
        {"floor (GDI+ and one window)", folder + L"\\startup_floor.exe", L"startup floor", {}},
        {"floor and the 11 standard controls", folder + L"\\startup_floor_controls.exe",
         L"startup floor with controls", {}},
    };
    LocalHttpServer versionServer(LocalHttpServer::FixedPort{kVersionPort}, 200, "1");

    for (int run = 0; run < kRuns; ++run) {
        // In turns, so that all see the same machine load.
        for (Subject& subject : subjects) {
            if (auto ms = timeToFirstPaint(subject.program, subject.caption))
                subject.times.push_back(*ms);
            ::Sleep(300);
        }
    }
    for (const Subject& subject : subjects) {
        if (subject.times.empty()) {
            std::printf("start-up: %s did not show its window\n", subject.label);
            return 1;
        }
    }
    const double program = median(subjects[0].times), floorMs = median(subjects[1].times);
    const double controls = median(subjects[2].times);
    std::printf("start-up to first paint, median of %d runs (fastest in brackets):\n", kRuns);
    for (const Subject& subject : subjects)
        std::printf("  %-38s %8.1f ms  (%.1f)\n", subject.label, median(subject.times),
                    *std::min_element(subject.times.begin(), subject.times.end()));
    std::printf("  ratio to the floor %.2f (target 1.5); the controls alone make the floor %.2f\n",
                program / floorMs, controls / floorMs);
    reportPeakMemory(subjects[0].program);
    return 0;
}
