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

HWND findTopLevel(DWORD processId, const wchar_t* caption, const wchar_t* windowClass) {
    struct Search {
        DWORD processId;
        const wchar_t* caption;
        const wchar_t* windowClass;
        HWND found;
    } search{processId, caption, windowClass, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(hwnd, &owner);
            if (owner != s.processId || !::IsWindowVisible(hwnd))
                return TRUE;
            if (s.caption && windowText(hwnd) != s.caption)
                return TRUE;
            if (s.windowClass && windowClassName(hwnd) != s.windowClass)
                return TRUE;
            s.found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND childAt(HWND window, int x, int y) {
    struct Search {
        HWND window;
        POINT place;
        HWND found;
    } search{window, {x, y}, nullptr};
    ::EnumChildWindows(
        window,
        [](HWND child, LPARAM lParam) -> BOOL {
            auto& s = *reinterpret_cast<Search*>(lParam);
            RECT outer{}, inner{};
            ::GetWindowRect(s.window, &outer);
            ::GetWindowRect(child, &inner);
            if (::GetParent(child) == s.window && inner.left - outer.left == s.place.x &&
                inner.top - outer.top == s.place.y) {
                s.found = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

} // namespace testing_support
