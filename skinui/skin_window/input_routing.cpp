// Mouse routing: which element a mouse message concerns, and the window's hover, press,
// capture and focus state.
//
//   left press on a focusable, enabled element   capture + focus; it gets every mouse
//                                                message until the release
//   release over the pressed element             click (ElementClickMessage, onElementClick)
//   release elsewhere                            no click
//   left press on the background, a label or a   the window moves with the mouse, unless
//   disabled element                             bit 0 of dragDisabled is set
//   right press / release                        never capture, focus or move

#include "skinui/skin_window/skin_window.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"

namespace skinui {

int SkinWindow::routeMouseMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (animating_)
        return 0;
    if (sizingBorderFilter(hwnd, message, lParam))
        return 0;

    if (captureActive_) {
        const int pressed = pressedElement_;
        dispatchToElement(windowIndex_, pressed, hwnd, message, wParam, lParam, true);
        if (message != WM_LBUTTONUP)
            return 0;
        ::ReleaseCapture();
        const int released = hitTestElements(windowIndex_, lParam).elementIndex;
        if (released != 0 && released == pressedElement_) {
            dispatchToElement(windowIndex_, released, hwnd, ElementClickMessage, 0, 0, true);
            const ElementRecord* element = elementRecord(windowIndex_, released);
            if (element && iconElement_.isCreated() && element->id == iconElement_.getElementId())
                showSystemMenu(hwnd, lParam);
            callElementCallback(ElementEvent::Click, released);
        }
        pressedElement_ = 0;
        captureActive_ = false;
        return released;
    }

    const int hit = hitTestElements(windowIndex_, lParam).elementIndex;

    if (hoverElement_ != 0 && hoverElement_ != hit) {
        const ElementRecord* left = elementRecord(windowIndex_, hoverElement_);
        if (left && left->visible) {
            const int leftIndex = hoverElement_;
            dispatchToElement(windowIndex_, leftIndex, hwnd, ElementRepaintMessage, 0,
                              RepaintMouseLeft, true);
            callElementCallback(ElementEvent::Leave, leftIndex);
        }
    }

    if (hit != 0) {
        const ElementRecord* element = elementRecord(windowIndex_, hit);
        SkinControl* control = element ? element->control : nullptr;
        if (message == WM_LBUTTONDOWN && element) {
            if (element->focusable && control && !control->disabled_) {
                keyboardFocusShown_ = false;
                captureActive_ = true;
                pressedElement_ = hit;
                ::SetCapture(hwnd);
                const int previous = focusedElement_;
                focusedElement_ = hit;
                if (previous != 0 && previous != hit) {
                    const ElementRecord* old = elementRecord(windowIndex_, previous);
                    if (old && old->visible) {
                        dispatchToElement(windowIndex_, previous, hwnd, ElementRepaintMessage, 0,
                                          RepaintLostFocus, true);
                        callElementCallback(ElementEvent::Blur, previous);
                    }
                }
                callElementCallback(ElementEvent::Focus, hit);
                takeKeyboardFocus(hwnd);
            } else if (!(dragDisabled_ & 1)) {
                // Moves the window with the mouse until the button comes up.
                ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
        }

        dispatchToElement(windowIndex_, hit, hwnd, message, wParam, lParam, true);

        element = elementRecord(windowIndex_, hit);
        control = element ? element->control : nullptr;
        if (control) {
            const int cursorId = control->cursor();
            if (cursorId != 0 && cursorId != DefaultCursorId)
                ::SetCursor(::LoadCursorW(nullptr, MAKEINTRESOURCEW(cursorId)));
        }

        if (message == WM_MOUSEMOVE && hoverElement_ != hit) {
            callElementCallback(ElementEvent::Enter, hit);
            element = elementRecord(windowIndex_, hit);
            control = element ? element->control : nullptr;
            if (control) {
                // Every created control has a tooltip text ("" until one is stored), so the
                // tip is always refreshed: an empty one hides a showing tip. A caption
                // button's goes through the window's own list of them.
                SkinControl* target = control;
                if (element->elementType == ElementCaptionButton) {
                    target = nullptr;
                    for (const auto& button : captionButtons_) {
                        if (button->getElementId() == element->id) {
                            target = button.get();
                            break;
                        }
                    }
                }
                if (target)
                    target->setTooltip(control->tooltipText_);
            }
        }
    }

    if (hit == 0 && message == WM_LBUTTONDOWN) {
        takeKeyboardFocus(hwnd);
        if (!(dragDisabled_ & 1))
            ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    }

    hoverElement_ = hit;
    return hit;
}

} // namespace skinui
