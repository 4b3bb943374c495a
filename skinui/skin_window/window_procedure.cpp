// The skinned window procedure.
//
// Sections: the installed procedure and its mend for unknown windows; forwardMessage; the
// message table; the left press; the system menu from the caption icon; the size and
// placement rules.

#include "skinui/skin_window/skin_window.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/window_limits.h"
#include "skinui/text_conversion.h"

#include <windowsx.h>

namespace skinui {

// A window whose property names no object, or an object whose record is no longer in the
// table (its window was detached), gets the default procedure: the pointer may be stale
// and is compared, never followed.
LRESULT CALLBACK SkinWindow::skinnedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    auto* window = static_cast<SkinWindow*>(::GetPropW(hwnd, SkinWindowProperty));
    bool known = false;
    if (window) {
        for (const WindowRecord& record : windowTable()) {
            if (record.hwnd == hwnd && record.owner == window) {
                known = true;
                break;
            }
        }
    }
    if (!known)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return window->windowProcedure(hwnd, message, wParam, lParam);
}

LRESULT SkinWindow::forwardMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                   std::optional<LRESULT> fixedResult) {
    return forwardTo(previousWndProc_, hwnd, message, wParam, lParam, fixedResult);
}

LRESULT SkinWindow::forwardTo(WNDPROC previous, HWND hwnd, UINT message, WPARAM wParam,
                              LPARAM lParam, std::optional<LRESULT> fixedResult) {
    if (messageHook_) {
        const MessageHook hook = messageHook_; // the hook may replace itself
        const LRESULT result = hook(hwnd, message, wParam, lParam);
        if (result != -1)
            return result;
    }
    if (fixedResult)
        return *fixedResult;
    if (!previous)
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    return ::CallWindowProcW(previous, hwnd, message, wParam, lParam);
}

LRESULT SkinWindow::windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    WindowRecord* record = windowRecord(windowIndex_);
    const POINT point = pointFromLParam(lParam);

    switch (message) {
    case WM_DESTROY: {
        mouseTracking_ = false;
        const WNDPROC previous = previousWndProc_;
        detachWindow(hwnd);
        return forwardTo(previous, hwnd, message, wParam, lParam, std::nullopt);
    }
    case WM_MOVE:
    case WM_EXITSIZEMOVE:
        ::GetWindowRect(hwnd, &record->windowRect);
        break;
    case WM_SIZE:
        ::GetWindowRect(hwnd, &record->windowRect);
        handleSize(hwnd, point.x, point.y);
        return forwardMessage(hwnd, message, wParam, lParam, 0);
    case WM_ACTIVATE:
        if (focusedElement_ != 0) {
            const int focused = focusedElement_;
            if (wParam == 0) {
                dispatchToElement(windowIndex_, focused, hwnd, ElementRepaintMessage, 0,
                                  RepaintLostFocus, true);
                callElementCallback(ElementEvent::Blur, focused);
            } else {
                dispatchToElement(windowIndex_, focused, hwnd, ElementRepaintMessage, 0,
                                  RepaintAny, true);
                callElementCallback(ElementEvent::Focus, focused);
            }
        }
        break;
    case WM_KILLFOCUS:
        if (focusedElement_ != 0 && ::GetActiveWindow() == hwnd) {
            const int focused = focusedElement_;
            const SkinControl* control = elementObject(windowIndex_, focused);
            if (control && !control->disabled_) {
                focusedElement_ = 0;
                dispatchToElement(windowIndex_, focused, hwnd, ElementRepaintMessage, 0,
                                  RepaintLostFocus, true);
            }
        }
        break;
    case WM_SETTEXT:
        setCaptionTitle(lParam ? toUtf8(reinterpret_cast<const wchar_t*>(lParam)) : "", true,
                        true);
        break;
    case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = ::BeginPaint(hwnd, &paint);
        const RECT& r = paint.rcPaint;
        if (dc && record->frame.dc())
            ::BitBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, record->frame.dc(),
                     r.left, r.top, SRCCOPY);
        ::EndPaint(hwnd, &paint);
        return forwardMessage(hwnd, message, wParam, lParam, 0);
    }
    case WM_CLOSE:
        if (closeEffect_ != 0)
            playCloseEffect(hwnd);
        break;
    case WM_GETMINMAXINFO: {
        ::GetWindowRect(hwnd, &record->windowRect);
        RECT workArea{};
        if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0))
            workArea = RECT{};
        fillSizeLimits(*reinterpret_cast<MINMAXINFO*>(lParam), workArea, captionButtons_.size(),
                       captionFlags_);
        return forwardMessage(hwnd, message, wParam, lParam, 0);
    }
    case WM_WINDOWPOSCHANGING:
        if (placeOnStateChange(*reinterpret_cast<WINDOWPOS*>(lParam),
                               ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)))
            return forwardMessage(hwnd, message, wParam, lParam, 0);
        break;
    case WM_NCCALCSIZE:
        // The proposed rectangle stays as it is: the client area is the whole window.
        if (wParam == 1)
            return 1;
        break;
    case WM_NCACTIVATE:
        if (wParam == 0)
            return 1;
        if (!::IsIconic(hwnd))
            return 0;
        break;
    case WM_KEYDOWN:
        handleKeyDown(hwnd, wParam, lParam);
        break;
    case WM_KEYUP:
        handleKeyUp(hwnd, wParam, lParam);
        break;
    case WM_CHAR:
        handleChar(hwnd, wParam, lParam);
        break;
    case WM_SYSKEYDOWN:
        handleSysKeyDown(hwnd, wParam, lParam);
        break;
    case WM_COMMAND:
        // The system menu is shown with TrackPopupMenu, which reports its commands as
        // WM_COMMAND; they are system commands.
        ::SendMessageW(hwnd, WM_SYSCOMMAND, wParam, 0);
        break;
    case WM_TIMER:
        handleTimer(hwnd, wParam, lParam);
        break;
    case WM_MOUSEMOVE:
        if (!mouseTracking_) {
            TRACKMOUSEEVENT track{sizeof(track), TME_LEAVE, hwnd, 0};
            mouseTracking_ = ::TrackMouseEvent(&track) != FALSE;
        }
        routeMouseMessage(hwnd, message, wParam, lParam);
        break;
    case WM_LBUTTONDOWN: {
        const int element = routeMouseMessage(hwnd, message, wParam, lParam);
        handleLeftPress(hwnd, element, wParam, lParam);
        break;
    }
    case WM_LBUTTONUP: {
        const int element = routeMouseMessage(hwnd, message, wParam, lParam);
        if (element != 0)
            callElementCallback(ElementEvent::LButtonUp, element);
        break;
    }
    case WM_LBUTTONDBLCLK:
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, DoubleClickMarker, lParam);
        return 0;
    case WM_RBUTTONDOWN: {
        const int element = routeMouseMessage(hwnd, message, wParam, lParam);
        if (element != 0) {
            const ElementRecord* hit = elementRecord(windowIndex_, element);
            if (hit && iconElement_.isCreated() && hit->id == iconElement_.getElementId())
                showSystemMenu(hwnd, lParam);
            callElementCallback(ElementEvent::RButtonDown, element);
        }
        break;
    }
    case WM_RBUTTONUP: {
        const int element = routeMouseMessage(hwnd, message, wParam, lParam);
        if (element != 0)
            callElementCallback(ElementEvent::RButtonUp, element);
        break;
    }
    case WM_MOUSEWHEEL:
        handleMouseWheel(hwnd, message, wParam, lParam);
        break;
    case WM_MOUSELEAVE:
        mouseTracking_ = false;
        if (hoverElement_ != 0) {
            dispatchToElement(windowIndex_, hoverElement_, hwnd, ElementRepaintMessage, 0,
                              RepaintMouseLeft, true);
            hoverElement_ = 0;
        }
        ::ReleaseCapture();
        break;
    case RegisterMnemonicMessage:
        return storeMnemonic(wParam, lParam);
    case BackgroundImageMessage:
        return reinterpret_cast<LRESULT>(backgroundImage_.handle());
    case BackgroundColorMessage:
        return static_cast<LRESULT>(backgroundColor_);
    default:
        break;
    }
    return forwardMessage(hwnd, message, wParam, lParam);
}

// After a left press was routed to element e (0: none). A double click arrives here as a
// press with DoubleClickMarker.
void SkinWindow::handleLeftPress(HWND hwnd, int element, WPARAM wParam, LPARAM lParam) {
    if (wParam == DoubleClickMarker) {
        if (element == 0) {
            const POINT point = pointFromLParam(lParam);
            if (point.y < 25 && (captionFlags_ & CaptionMaximize)) {
                ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
                ::PostMessageW(hwnd, WM_SYSCOMMAND, ::IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
                ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
            }
        } else {
            dispatchToElement(windowIndex_, element, hwnd, WM_LBUTTONDBLCLK, wParam, lParam, true);
            callElementCallback(ElementEvent::DoubleClick, element);
        }
        return;
    }
    if (element != 0)
        callElementCallback(ElementEvent::LButtonDown, element);
}

// The system menu opens at the click, offset by (5, 10) from it in screen coordinates.
void SkinWindow::showSystemMenu(HWND hwnd, LPARAM lParam) {
    const WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    const POINT point = pointFromLParam(lParam);
    const int x = static_cast<int>(record->windowRect.left + point.x + 5);
    const int y = static_cast<int>(record->windowRect.top + point.y + 10);
    ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
    if (systemMenu_)
        ::TrackPopupMenu(systemMenu_, 0, x, y, 0, hwnd, nullptr);
    ::SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
}

void fillSizeLimits(MINMAXINFO& info, const RECT& workArea, std::size_t captionButtonCount,
                    int captionFlags) {
    const LONG width = workArea.right - workArea.left;
    const LONG height = workArea.bottom - workArea.top;
    info.ptMaxSize = POINT{width + 1, height};
    info.ptMaxPosition = POINT{workArea.left, workArea.top};
    const LONG closeExtra = (captionFlags & CaptionClose) ? 11 : 0;
    info.ptMinTrackSize = POINT{28 * static_cast<LONG>(captionButtonCount) + closeExtra + 40, 40};
}

bool placeOnStateChange(WINDOWPOS& position, int screenWidth, int screenHeight) {
    constexpr UINT StateChanged = 0x8000; // SWP_STATECHANGED, set by ShowWindow
    const UINT flags = position.flags & 0xFFFF;
    if (!(flags & StateChanged) || (flags & SWP_NOMOVE) || !(flags & SWP_SHOWWINDOW))
        return false;
    position.x = screenWidth - position.cx;
    position.y = screenHeight;
    return true;
}

} // namespace skinui
