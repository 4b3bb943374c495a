#include "skinui/skin_window/element_dispatch.h"

#include "skinui/controls/element_painting.h"
#include "skinui/controls/skin_control.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"
#include "skinui/skin_window/skin_window.h"

#include <commctrl.h>

namespace skinui {

LRESULT dispatchToElement(int windowIndex, int elementIndex, HWND hwnd, UINT message,
                          WPARAM wParam, LPARAM lParam, bool direct, bool force) {
    const ElementRecord* record = elementRecord(windowIndex, elementIndex);
    if (!record || !record->control)
        return 0;
    SkinControl* control = record->control;
    if (!force && (!record->visible || !control->redrawEnabled()))
        return 0;

    const LRESULT result = control->handleMessage(hwnd, message, wParam, lParam, windowIndex,
                                                  elementIndex, direct);
    // A copy: the callback may bind events on the same control.
    if (const SkinControl::EventCallback* bound = control->eventBinding(message)) {
        const SkinControl::EventCallback callback = *bound;
        if (callback)
            callback(windowIndex, elementIndex, wParam, lParam, direct);
    }
    return result;
}

namespace {

// The index rule of a removal: the removed index becomes 0, later ones move down one place
// and must still name an element.
int indexAfterRemoval(int value, int removed, int remaining) {
    if (value == removed)
        return 0;
    if (value > removed) {
        --value;
        return value >= 1 && value <= remaining ? value : 0;
    }
    return value;
}

} // namespace

bool removeElement(int windowIndex, int elementId) {
    const int index = findElementIndex(windowIndex, elementId);
    if (index == 0)
        return false;
    WindowRecord* window = windowRecord(windowIndex);
    SkinWindow* owner = window->owner;
    const HWND hwnd = window->hwnd;

    if (owner) {
        if (owner->captureActive_) {
            owner->captureActive_ = false;
            ::ReleaseCapture();
        }
        const int remaining = static_cast<int>(window->elements.size()) - 1;
        owner->focusedElement_ = indexAfterRemoval(owner->focusedElement_, index, remaining);
        owner->hoverElement_ = indexAfterRemoval(owner->hoverElement_, index, remaining);
        owner->pressedElement_ = indexAfterRemoval(owner->pressedElement_, index, remaining);

        if (owner->tooltipWindow_) {
            TOOLINFOW info{};
            info.cbSize = TTTOOLINFOW_V2_SIZE;
            info.hwnd = hwnd;
            info.uId = static_cast<UINT_PTR>(elementId);
            ::SendMessageW(owner->tooltipWindow_, TTM_DELTOOLW, 0,
                           reinterpret_cast<LPARAM>(&info));
        }
    }

    dispatchToElement(windowIndex, index, hwnd, WM_DESTROY, 0, 0, true);

    // The handler may have changed the list: find the element again.
    const int now = findElementIndex(windowIndex, elementId);
    window = windowRecord(windowIndex);
    if (now == 0 || !window)
        return false;
    auto& elements = window->elements;
    const ElementRecord record = elements[static_cast<size_t>(now) - 1];
    if (record.control) {
        record.control->windowIndex_ = 0;
        record.control->elementId_ = 0;
    }
    elements.erase(elements.begin() + (now - 1));
    forgetElement(windowIndex, now, elementId);
    repaintArea(windowIndex, record.bounds, true);
    return true;
}

void moveElementTimers(HWND hwnd, int fromWindowIndex, int toWindowIndex, int fromElementIndex,
                       int toElementIndex) {
    if (::KillTimer(hwnd, elementTimerId(fromWindowIndex, fromElementIndex)))
        ::SetTimer(hwnd, elementTimerId(toWindowIndex, toElementIndex),
                   Library::instance().defaultTimerPeriod, nullptr);
}

void forgetElement(int windowIndex, int removedIndex, int elementId) {
    const WindowRecord* window = windowRecord(windowIndex);
    if (!window)
        return;
    const HWND hwnd = window->hwnd;
    // An element's timer is named by its place in the list. The removed element's stops
    // (also when its own handler did not stop it, as when a control goes away in its base
    // class's destructor); every later element moved down one place, so a running timer
    // of one moves with it, or it would reach its neighbour or run for ever.
    ::KillTimer(hwnd, elementTimerId(windowIndex, removedIndex));
    const int count = static_cast<int>(window->elements.size());
    for (int index = removedIndex; index <= count; ++index)
        moveElementTimers(hwnd, windowIndex, windowIndex, index + 1, index);
    // Its access key goes with it, so that an element that gets its id later does not
    // answer to it.
    if (window->owner)
        window->owner->storeMnemonic(elementId, 0);
}

void takeKeyboardFocus(HWND hwnd) {
    const HWND focus = ::GetFocus();
    if (focus == hwnd)
        return;
    if (focus)
        ::SendMessageW(focus, WM_KILLFOCUS, 0, 0);
    ::SetFocus(hwnd);
}

void repaintArea(int windowIndex, const RectF& area, bool present, bool restoreBackground) {
    WindowRecord* window = windowRecord(windowIndex);
    if (!window || (window->owner && window->owner->animating_))
        return;
    const int x = static_cast<int>(area.x);
    const int y = static_cast<int>(area.y);
    const int w = static_cast<int>(area.width);
    const int h = static_cast<int>(area.height);

    if (restoreBackground && window->frame.dc() && window->windowBuffer.dc())
        ::BitBlt(window->frame.dc(), x, y, w, h, window->windowBuffer.dc(), x, y, SRCCOPY);

    const HWND hwnd = window->hwnd;
    for (size_t i = 0; i < windowRecord(windowIndex)->elements.size(); ++i) {
        const ElementRecord& element = windowRecord(windowIndex)->elements[i];
        if (element.visible && rectsIntersect(element.bounds, area))
            dispatchToElement(windowIndex, static_cast<int>(i) + 1, hwnd, ElementRepaintMessage,
                              0, RepaintAny, false);
    }

    restoreFrameEdges(windowIndex, area, false);

    window = windowRecord(windowIndex);
    if (!present || !window || !window->frame.dc())
        return;
    if (window->opacity == -1) {
        if (window->windowDC)
            ::BitBlt(window->windowDC.get(), x, y, w, h, window->frame.dc(), x, y, SRCCOPY);
    } else if (window->layer.dc()) {
        ::BitBlt(window->layer.dc(), x, y, w, h, window->frame.dc(), x, y, SRCCOPY);
        presentLayered(hwnd, window->layer.dc(), window->windowRect.right - window->windowRect.left,
                       window->windowRect.bottom - window->windowRect.top);
    }
}

void presentLayered(HWND hwnd, HDC sourceDC, int width, int height) {
    SIZE size{width, height};
    POINT source{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    ::UpdateLayeredWindow(hwnd, nullptr, nullptr, &size, sourceDC, &source, 0, &blend, ULW_ALPHA);
}

} // namespace skinui
