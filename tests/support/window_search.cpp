#include "support/window_search.h"

#include <chrono>
#include <thread>

namespace testing_support {

bool waitUntil(const std::function<bool()>& done, int timeoutMs) {
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!done()) {
        if (std::chrono::steady_clock::now() > giveUp)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::wstring windowText(HWND hwnd) {
    wchar_t text[512] = {};
    // WM_GETTEXT reads a control of another process too (GetWindowText would not).
    ::SendMessageTimeoutW(hwnd, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text), SMTO_BLOCK,
                          2000, nullptr);
    return text;
}

std::wstring windowClassName(HWND hwnd) {
    wchar_t name[128] = {};
    ::GetClassNameW(hwnd, name, 128);
    return name;
}

namespace {

BOOL CALLBACK visitWindow(HWND hwnd, LPARAM lParam) {
    return (*reinterpret_cast<const std::function<bool(HWND)>*>(lParam))(hwnd) ? TRUE : FALSE;
}

} // namespace

void forEachTopLevel(const std::function<bool(HWND)>& visit) {
    ::EnumWindows(visitWindow, reinterpret_cast<LPARAM>(&visit));
}

void forEachChild(HWND parent, const std::function<bool(HWND)>& visit) {
    ::EnumChildWindows(parent, visitWindow, reinterpret_cast<LPARAM>(&visit));
}

void forEachThreadWindow(const std::function<bool(HWND)>& visit) {
    ::EnumThreadWindows(::GetCurrentThreadId(), visitWindow, reinterpret_cast<LPARAM>(&visit));
}

HWND findTopLevel(DWORD processId, const wchar_t* caption, const wchar_t* windowClass) {
    HWND found = nullptr;
    forEachTopLevel([&](HWND hwnd) {
        DWORD owner = 0;
        ::GetWindowThreadProcessId(hwnd, &owner);
        if (owner != processId || !::IsWindowVisible(hwnd))
            return true;
        if (caption && windowText(hwnd) != caption)
            return true;
        if (windowClass && windowClassName(hwnd) != windowClass)
            return true;
        found = hwnd;
        return false;
    });
    return found;
}

HWND childAt(HWND window, int x, int y) {
    RECT outer{};
    ::GetWindowRect(window, &outer);
    HWND found = nullptr;
    forEachChild(window, [&](HWND child) {
        RECT inner{};
        ::GetWindowRect(child, &inner);
        if (::GetParent(child) == window && inner.left - outer.left == x &&
            inner.top - outer.top == y) {
            found = child;
            return false;
        }
        return true;
    });
    return found;
}

} // namespace testing_support
