// The handlers the window procedure hands size, timer, keyboard and wheel messages to, and
// the sizing-border filter it asks first about every routed mouse message.
//
// What a skinned window does with these messages (resizing its buffers, the fade-in and
// element timers, focus moves with Tab, Enter and Space as clicks, access keys, the sizing
// zones) belongs to the window's own behaviour; until it is built here a window leaves
// them to its previous procedure, and the sizing border takes no mouse message.

#include "skinui/skin_window/skin_window.h"

#include "skinui/skin_window/messages.h"

namespace skinui {

void SkinWindow::handleSize(HWND, int, int) {}

void SkinWindow::handleTimer(HWND hwnd, WPARAM timerId, LPARAM) {
    if (timerId == FadeInTimerId)
        fadeInStep(hwnd);
}

void SkinWindow::handleKeyDown(HWND, WPARAM, LPARAM) {}

void SkinWindow::handleKeyUp(HWND, WPARAM, LPARAM) {}

void SkinWindow::handleChar(HWND, WPARAM, LPARAM) {}

void SkinWindow::handleSysKeyDown(HWND, WPARAM, LPARAM) {}

LRESULT SkinWindow::storeMnemonic(WPARAM, LPARAM) {
    return 0;
}

void SkinWindow::handleMouseWheel(HWND, UINT, WPARAM, LPARAM) {}

bool SkinWindow::sizingBorderFilter(HWND, UINT, LPARAM) {
    return false;
}

} // namespace skinui
