// The real program, started as a process of its own and driven from outside with real
// input (SendInput: mouse presses and typed characters go through the system's input
// queue, hit-testing and focus like a user's): set the client folder, pick the present and
// the target rank, switch, restore, close. A version server on 127.0.0.1 answers "1" at the
// address the program is built with. Screenshots of the main window, an open picker and a
// message box are kept in <build>/artifacts.

#include "app/rank_files.h"
#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"
#include "support/client_fixtures.h"
#include "support/local_http_server.h"
#include "support/temp_folder.h"
#include "support/window_search.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <gdiplus.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace testing_support;
using skinui::toWide;

namespace {

// The port of the program's default version address.
constexpr unsigned short kVersionPort = 18731;

constexpr wchar_t kMainCaption[] = L"云梯助手 v8.0";
constexpr wchar_t kPickerCaption[] = L"CF军衔等级列表";
constexpr wchar_t kMessageBoxClass[] = L"Ex_DirectUI";

void sendInputs(std::vector<INPUT> inputs) {
    ::SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
}

// A left click at a point of the screen.
void clickAt(POINT point) {
    ::SetCursorPos(point.x, point.y);
    std::this_thread::sleep_for(std::chrono::milliseconds(80));
    INPUT down{};
    down.type = INPUT_MOUSE;
    down.mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    INPUT up = down;
    up.mi.dwFlags = MOUSEEVENTF_LEFTUP;
    sendInputs({down, up});
}

// A click in the middle of a child window.
void clickOn(HWND child) {
    RECT r{};
    ::GetWindowRect(child, &r);
    clickAt({(r.left + r.right) / 2, (r.top + r.bottom) / 2});
}

// A click at (x, y) from the window's top-left corner.
void clickInWindow(HWND window, int x, int y) {
    RECT r{};
    ::GetWindowRect(window, &r);
    clickAt({r.left + x, r.top + y});
}

void typeText(const std::wstring& text) {
    std::vector<INPUT> inputs;
    for (wchar_t c : text) {
        INPUT key{};
        key.type = INPUT_KEYBOARD;
        key.ki.wScan = c;
        key.ki.dwFlags = KEYEVENTF_UNICODE;
        inputs.push_back(key);
        key.ki.dwFlags |= KEYEVENTF_KEYUP;
        inputs.push_back(key);
    }
    sendInputs(inputs);
}

void pressKey(WORD virtualKey) {
    INPUT key{};
    key.type = INPUT_KEYBOARD;
    key.ki.wVk = virtualKey;
    INPUT up = key;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    sendInputs({key, up});
}

// Saves what the screen shows of a window as a PNG in <build>/artifacts.
void saveScreenshot(HWND window, const std::wstring& name) {
    RECT r{};
    ::GetWindowRect(window, &r);
    const int width = r.right - r.left, height = r.bottom - r.top;
    HDC screen = ::GetDC(nullptr);
    skinui::UniqueDc memory(::CreateCompatibleDC(screen));
    skinui::UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, width, height));
    HGDIOBJ old = ::SelectObject(memory.get(), bitmap.get());
    ::BitBlt(memory.get(), 0, 0, width, height, screen, r.left, r.top, SRCCOPY);
    ::SelectObject(memory.get(), old);
    ::ReleaseDC(nullptr, screen);

    const std::wstring folder = programFolder() + L"\\..\\artifacts";
    makeFolders(folder);
    Gdiplus::GpBitmap* picture = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromHBITMAP(static_cast<HBITMAP>(bitmap.get()),
                                                         nullptr, &picture) != Gdiplus::Ok ||
        !picture) {
        ADD_FAILURE() << "cannot make the screenshot " << skinui::toUtf8(name);
        return;
    }
    // The PNG encoder's class id.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    Gdiplus::DllExports::GdipSaveImageToFile(picture, (folder + L"\\" + name).c_str(), &png,
                                             nullptr);
    Gdiplus::DllExports::GdipDisposeImage(picture);
}

class GdiplusSession {
  public:
    GdiplusSession() {
        Gdiplus::GdiplusStartupInput input;
        Gdiplus::GdiplusStartup(&token_, &input, nullptr);
    }
    ~GdiplusSession() { Gdiplus::GdiplusShutdown(token_); }

  private:
    ULONG_PTR token_ = 0;
};

// yunti.exe of this build, started with its own folder as the working folder; ended
// forcibly if a test leaves it running.
class RunningProgram {
  public:
    RunningProgram() {
        const std::wstring folder = programFolder() + L"\\..\\app";
        std::wstring commandLine = L"\"" + folder + L"\\yunti.exe\"";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info_)) {
            ADD_FAILURE() << "cannot start " << skinui::toUtf8(commandLine) << ": "
                          << ::GetLastError();
            return;
        }
        process_.reset(info_.hProcess);
        thread_.reset(info_.hThread);
    }
    ~RunningProgram() {
        if (process_ && ::WaitForSingleObject(process_.get(), 0) == WAIT_TIMEOUT) {
            ::TerminateProcess(process_.get(), 99);
            ::WaitForSingleObject(process_.get(), 5000);
        }
    }
    DWORD id() const { return info_.dwProcessId; }
    bool started() const { return static_cast<bool>(process_); }
    // The exit code once the process ended within the time-out, else nothing.
    std::optional<DWORD> waitForExit(int timeoutMs) const {
        if (!process_ || ::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0)
            return std::nullopt;
        DWORD code = 0;
        ::GetExitCodeProcess(process_.get(), &code);
        return code;
    }

  private:
    PROCESS_INFORMATION info_{};
    skinui::UniqueKernelHandle process_;
    skinui::UniqueKernelHandle thread_;
};

std::wstring badgePath(const StockClient& client, const wchar_t* kind, int rank) {
    return client.ui() + L"\\class\\" + kind + std::to_wstring(rank) + L".tga";
}

const wchar_t* const kBadgeKinds[] = {L"BigClass_", L"class_", L"sclass_"};

// Waits for the program's message box, keeps its screenshot, confirms it with Enter (its
// focus is on its first button) and waits until it is gone.
void confirmMessageBox(const RunningProgram& program, const std::wstring& screenshot) {
    HWND box = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (box = findTopLevel(program.id(), nullptr, kMessageBoxClass)); }))
        << "no message box appeared";
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    if (!screenshot.empty())
        saveScreenshot(box, screenshot);
    pressKey(VK_RETURN);
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(box) || !::IsWindowVisible(box); }))
        << "the message box stayed open";
}

TEST(EndToEnd, SwitchThenRestoreThroughTheRealProgram) {
    GdiplusSession gdiplus;
    LocalHttpServer versionServer(LocalHttpServer::FixedPort{kVersionPort}, 200, "1");
    InstalledStandin archiver;
    StockClient client(L"游戏 CF");
    const std::wstring drop = toWide(std::string(yunti::kArchiveDropPath));
    ::DeleteFileW(drop.c_str());

    RunningProgram program;
    ASSERT_TRUE(program.started());
    HWND main = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (main = findTopLevel(program.id(), kMainCaption)); }, 20000))
        << "the main window did not appear";
    ASSERT_EQ(versionServer.requests().size(), 1u);
    EXPECT_NE(versionServer.requests()[0].find("GET /yunti/version.txt"), std::string::npos);
    EXPECT_TRUE(exists(drop)) << "start-up drops the stock archive";
    std::this_thread::sleep_for(std::chrono::milliseconds(500));

    HWND folderField = childAt(main, 25, 52);
    HWND presentBadge = childAt(main, 144, 92);
    HWND targetBadge = childAt(main, 317, 92);
    HWND presentRank = childAt(main, 436, 108);
    HWND targetRank = childAt(main, 436, 131);
    ASSERT_TRUE(folderField && presentBadge && targetBadge && presentRank && targetRank);
    EXPECT_EQ(windowText(presentRank), L"1");
    EXPECT_EQ(windowText(targetRank), L"");

    // The client folder, typed into its field.
    clickOn(folderField);
    typeText(client.path());
    ASSERT_TRUE(waitUntil([&] { return windowText(folderField) == client.path(); }))
        << skinui::toUtf8(windowText(folderField));

    // The present rank: 5, from the present-rank picker.
    clickOn(presentBadge);
    HWND picker = nullptr;
    ASSERT_TRUE(waitUntil([&] { return (picker = findTopLevel(program.id(), kPickerCaption)); }))
        << "the present-rank picker did not open";
    RECT mainRect{}, pickerRect{};
    ::GetWindowRect(main, &mainRect);
    ::GetWindowRect(picker, &pickerRect);
    EXPECT_EQ(pickerRect.left, mainRect.right - 12);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    saveScreenshot(picker, L"rank_picker.png");
    clickInWindow(picker, 10 + 35 * 4 + 15, 23 + 15);
    ASSERT_TRUE(waitUntil([&] { return windowText(presentRank) == L"5"; }));
    EXPECT_TRUE(waitUntil([&] { return !::IsWindow(picker) || !::IsWindowVisible(picker); }));

    // The target rank: 37, whose box lies at (220, 128) in the target-rank picker.
    clickOn(targetBadge);
    ASSERT_TRUE(waitUntil([&] { return (picker = findTopLevel(program.id(), kPickerCaption)); }))
        << "the target-rank picker did not open";
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    clickInWindow(picker, 220 + 15, 128 + 15);
    ASSERT_TRUE(waitUntil([&] { return windowText(targetRank) == L"37"; }));
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    saveScreenshot(main, L"main_window.png");

    // "修改": rank 5's three files now hold rank 37's stock badges.
    clickOn(childAt(main, 255, 144));
    confirmMessageBox(program, L"message_box.png");
    for (const wchar_t* kind : kBadgeKinds)
        EXPECT_EQ(readFile(badgePath(client, kind, 5)),
                  client.stockFile(std::wstring(L"class\\") + kind + L"37.tga"))
            << skinui::toUtf8(kind);

    // "还原": the stand-in archiver extracts the dropped archive; every file is stock again.
    clickOn(childAt(main, 45, 144));
    confirmMessageBox(program, L"");
    EXPECT_EQ(archiver.calls().size(), 1u);
    EXPECT_EQ(snapshot(client.ui()), client.stock());

    // The caption's close button ends the program.
    RECT r{};
    ::GetWindowRect(main, &r);
    clickAt({r.right - 30, r.top + 14});
    EXPECT_EQ(program.waitForExit(10000), std::optional<DWORD>(0)) << "the program did not end";
}

} // namespace
