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
// and registers its class with objectWindowProc<Owner>.

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

} // namespace yunti
