// The handlers the window procedure hands size, timer, keyboard and wheel messages to, the
// access keys, and the sizing-border filter it asks first about every routed mouse message.
//
// Keyboard, in short (everything is for the focused element, none without one):
//   key down    onKeyDown may consume it; Enter and Space click a visible, enabled element;
//               then the element gets WM_KEYDOWN (Tab only that: focus moves on release)
//   key up      Tab without Ctrl: focus to the next tab stop, wrapping; one pass over the
//               list at most, so a window without tab stops keeps its focus
//               other keys: onKeyUp may consume it, else the element gets WM_KEYUP
//   character   onChar may consume it, else the element gets WM_CHAR
//   Alt + key   the first registered access key of a visible, enabled element is a click
//
// Sizing border (client pixels of a W x H window, checked in this order):
//   y < 8:       x < 10 top-left, x > W - 10 top-right, else top
//   y > H - 10:  x < 10 bottom-left, x > W - 10 bottom-right, else bottom
//   x < 8 left, x > W - 10 right, else none

#include "skinui/skin_window/skin_window.h"

#include "skinui/controls/skin_control.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"

#include <algorithm>

namespace skinui {

namespace {

// The character as one upper-case UTF-16 unit (CharUpperW's single-character form).
wchar_t upperCase(int character) {
    const auto unit = static_cast<ULONG_PTR>(static_cast<wchar_t>(character & 0xFFFF));
    return static_cast<wchar_t>(
        reinterpret_cast<ULONG_PTR>(::CharUpperW(reinterpret_cast<LPWSTR>(unit))));
}

} // namespace

SizingZone sizingZone(int x, int y, int width, int height) {
    const bool top = y < 8;
    const bool bottom = y > height - 10;
    const bool left = x < 10;
    const bool right = x > width - 10;
    if (top)
        return left ? SizingTopLeft : right ? SizingTopRight : SizingTop;
    if (bottom)
        return left ? SizingBottomLeft : right ? SizingBottomRight : SizingBottom;
    // The left band is narrower than the corners reach.
    if (x < 8)
        return SizingLeft;
    if (right)
        return SizingRight;
    return SizingNone;
}

int sizingCursorId(SizingZone zone) {
    switch (zone) {
    case SizingTopLeft:
    case SizingBottomRight:
        return 32642; // IDC_SIZENWSE
    case SizingTopRight:
    case SizingBottomLeft:
        return 32643; // IDC_SIZENESW
    case SizingTop:
    case SizingBottom:
        return 32645; // IDC_SIZENS
    case SizingLeft:
    case SizingRight:
        return 32644; // IDC_SIZEWE
    case SizingNone:
        break;
    }
    return 0;
}

void SkinWindow::handleSize(HWND hwnd, int width, int height) {
    if (width == 0 && height == 0)
        return; // minimized
    if (redrawDepth_ > 0) {
        deferredSize_ = SIZE{width, height};
        return;
    }
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    windowSize_ = SIZE{width, height};
    record->windowBuffer.createBackBuffer(width, height);
    if (record->opacity != -1)
        record->layer.createBackBuffer(width, height);
    if (onSize_) {
        const SizeCallback callback = onSize_; // the callback may replace itself
        callback(hwnd, width, height);
    }
    redrawWindow(std::nullopt, backgroundColor_, false);
}

void SkinWindow::handleTimer(HWND hwnd, WPARAM timerId, LPARAM lParam) {
    if (timerId == FadeInTimerId) {
        fadeInStep(hwnd);
        return;
    }
    if (animating_)
        return;
    const int windowIndex = static_cast<int>(timerId & 0xFFFF);
    const int elementIndex = static_cast<int>((timerId >> 16) & 0xFFFF);
    if (isValidIndex(windowIndex, elementIndex, true))
        dispatchToElement(windowIndex, elementIndex, hwnd, WM_TIMER, timerId, lParam, true);
}

int SkinWindow::validFocusedElement() const {
    return isValidIndex(windowIndex_, focusedElement_, true) ? focusedElement_ : 0;
}

bool SkinWindow::keyConsumed(const KeyCallback& callback, HWND hwnd, WPARAM code, LPARAM lParam) {
    if (!callback)
        return false;
    const ElementRecord* element = elementRecord(windowIndex_, validFocusedElement());
    if (!element)
        return false;
    const KeyCallback call = callback; // the callback may replace itself
    return call(hwnd, element->id, code, lParam) != -1;
}

bool SkinWindow::clickFromKeyboard(HWND hwnd, int elementIndex, LRESULT* result) {
    const ElementRecord* element = elementRecord(windowIndex_, elementIndex);
    if (!element || !element->visible || !element->control || element->control->disabled_)
        return false;
    LRESULT last =
        dispatchToElement(windowIndex_, elementIndex, hwnd, ElementClickMessage, 0, 0, true);
    callElementCallback(ElementEvent::Click, elementIndex);
    last = dispatchToElement(windowIndex_, elementIndex, hwnd, ElementRepaintMessage, 0, RepaintAny,
                             true);
    if (result)
        *result = last;
    return true;
}

void SkinWindow::handleKeyDown(HWND hwnd, WPARAM key, LPARAM lParam) {
    if (!validFocusedElement())
        return;
    if (keyConsumed(onKeyDown_, hwnd, key, lParam))
        return;
    if (key == VK_RETURN || key == VK_SPACE)
        clickFromKeyboard(hwnd, validFocusedElement());
    // Read again: the click may have moved or removed the focused element.
    dispatchToElement(windowIndex_, validFocusedElement(), hwnd, WM_KEYDOWN, key, lParam, true);
}

void SkinWindow::handleKeyUp(HWND hwnd, WPARAM key, LPARAM lParam) {
    if (key == VK_TAB) {
        if (::GetKeyState(VK_CONTROL) < 0)
            return;
        moveFocusToNextTabStop(hwnd);
        return;
    }
    if (!validFocusedElement())
        return;
    if (keyConsumed(onKeyUp_, hwnd, key, lParam))
        return;
    dispatchToElement(windowIndex_, validFocusedElement(), hwnd, WM_KEYUP, key, lParam, true);
}

bool SkinWindow::isTabStop(int elementIndex) const {
    const ElementRecord* element = elementRecord(windowIndex_, elementIndex);
    if (!element || !element->visible || !element->focusable || !element->control)
        return false;
    if (element->control->disabled_ || element->elementType == ElementCaptionButton)
        return false;
    return !(iconElement_.isCreated() && element->id == iconElement_.getElementId());
}

// The search looks at every element once, starting after the focused one and wrapping to
// the first after the last; the focused element itself comes last, so it keeps the focus
// when it is the only tab stop. Without any tab stop nothing changes.
void SkinWindow::moveFocusToNextTabStop(HWND hwnd) {
    const WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    const int count = static_cast<int>(record->elements.size());
    const int old = focusedElement_;
    int candidate = old;
    int found = 0;
    for (int step = 0; step < count && found == 0; ++step) {
        candidate = (candidate >= 1 && candidate < count) ? candidate + 1 : 1;
        if (isTabStop(candidate))
            found = candidate;
    }
    if (found == 0)
        return;

    focusedElement_ = found;
    if (const ElementRecord* previous = elementRecord(windowIndex_, old);
        previous && previous->visible) {
        dispatchToElement(windowIndex_, old, hwnd, ElementRepaintMessage, 0, RepaintLostFocus,
                          true);
        callElementCallback(ElementEvent::Blur, old);
    }
    keyboardFocusShown_ = true;
    dispatchToElement(windowIndex_, focusedElement_, hwnd, ElementRepaintMessage, 0, RepaintAny,
                      true);
    callElementCallback(ElementEvent::Focus, focusedElement_);
    takeKeyboardFocus(hwnd);
}

void SkinWindow::handleChar(HWND hwnd, WPARAM character, LPARAM lParam) {
    if (!validFocusedElement())
        return;
    if (keyConsumed(onChar_, hwnd, character, lParam))
        return;
    dispatchToElement(windowIndex_, validFocusedElement(), hwnd, WM_CHAR, character, lParam, true);
}

LRESULT SkinWindow::handleSysKeyDown(HWND hwnd, WPARAM key, LPARAM lParam) {
    (void)lParam;
    const wchar_t pressed = upperCase(static_cast<int>(key));
    // By position: a click may register or remove access keys.
    for (size_t i = 0; i < mnemonics_.size(); ++i) {
        if (upperCase(mnemonics_[i].character) != pressed)
            continue;
        const int elementIndex = findElementIndex(windowIndex_, mnemonics_[i].elementId);
        LRESULT result = 0;
        if (clickFromKeyboard(hwnd, elementIndex, &result))
            return result;
    }
    return 0;
}

int SkinWindow::storeMnemonic(int elementId, int character) {
    const auto existing = std::find_if(mnemonics_.begin(), mnemonics_.end(),
                                       [&](const Mnemonic& m) { return m.elementId == elementId; });
    if (character == 0) {
        if (existing == mnemonics_.end())
            return 0;
        mnemonics_.erase(existing);
        return 1;
    }
    if (existing != mnemonics_.end())
        existing->character = character;
    else
        mnemonics_.push_back(Mnemonic{character, elementId});
    return 1;
}

void SkinWindow::handleMouseWheel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    const WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    // The wheel's point is in screen coordinates.
    const POINT screen = pointFromLParam(lParam);
    const LPARAM client =
        MAKELPARAM(screen.x - record->windowRect.left, screen.y - record->windowRect.top);
    const int element = hitTestElements(windowIndex_, client).elementIndex;
    if (element > 0)
        dispatchToElement(windowIndex_, element, hwnd, message, wParam, lParam, false);
}

bool SkinWindow::sizingBorderFilter(HWND hwnd, UINT message, LPARAM lParam) {
    if (fixedSize_ != 0 || captureActive_)
        return false;
    if (message != WM_MOUSEMOVE && message != WM_LBUTTONDOWN && message != WM_RBUTTONDOWN)
        return false;
    if (::IsZoomed(hwnd))
        return false;
    const POINT point = pointFromLParam(lParam);
    const SizingZone zone = sizingZone(point.x, point.y, windowSize_.cx, windowSize_.cy);
    if (zone == SizingNone)
        return false;
    ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(sizingCursorId(zone))));
    if (hoverElement_ != 0)
        dispatchToElement(windowIndex_, hoverElement_, hwnd, ElementRepaintMessage, 0, 0, true);
    if (message == WM_LBUTTONDOWN)
        ::SendMessageW(hwnd, WM_SYSCOMMAND, SC_SIZE | zone, 0);
    return true;
}

} // namespace skinui
