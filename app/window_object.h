#pragma once
// The window procedure of the program's own window classes: each window belongs to one C++
// object, passed as CreateWindowExW's lpParam. WM_NCCREATE ties the two together
// (GWLP_USERDATA and the object's setHandle), WM_NCDESTROY unties them; every message in
// between goes to the object's handleMessage. Before the tie and after it, the default
// procedure answers.
//
// The owner class declares, privately,
//     void setHandle(HWND hwnd);   // null: the window is going away
//     LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
//     template <typename> friend LRESULT CALLBACK objectWindowProc(HWND, UINT, WPARAM, LPARAM);
// and registers its class with registerObjectClass<Owner>.

#include <windows.h>

namespace yunti {

template <typename Owner>
LRESULT CALLBACK objectWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* owner =
            static_cast<Owner*>(reinterpret_cast<const CREATESTRUCTW*>(lParam)->lpCreateParams);
        owner->setHandle(hwnd);
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(owner));
    }
    auto* owner = reinterpret_cast<Owner*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!owner)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        owner->setHandle(nullptr);
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return owner->handleMessage(message, wParam, lParam);
}

// What tells the program's window classes apart.
struct ObjectClass {
    const wchar_t* name;
    UINT style = 0;
    const wchar_t* cursor = IDC_ARROW; // a system cursor
    HICON icon = nullptr;
};

// Registers Owner's window class, running objectWindowProc<Owner>, on the first call; later
// calls do nothing (each owner class has the one window class).
template <typename Owner>
void registerObjectClass(const ObjectClass& objectClass) {
    static const bool registered = [&objectClass] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.style = objectClass.style;
        windowClass.lpfnWndProc = &objectWindowProc<Owner>;
        windowClass.hInstance = ::GetModuleHandleW(nullptr);
        windowClass.hIcon = objectClass.icon;
        windowClass.hCursor = ::LoadCursorW(nullptr, objectClass.cursor);
        windowClass.lpszClassName = objectClass.name;
        return ::RegisterClassExW(&windowClass) != 0;
    }();
    (void)registered;
}

} // namespace yunti
