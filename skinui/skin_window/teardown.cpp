// Teardown of a skinned window, run when it receives WM_DESTROY.

#include "skinui/skin_window/skin_window.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"

namespace skinui {

void SkinWindow::detachWindow(HWND hwnd) {
    if (!previousWndProc_)
        return;

    ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previousWndProc_));
    keyboardFocusShown_ = false;
    ::RemovePropW(hwnd, SkinWindowProperty);
    mnemonics_.clear();

    hoverElement_ = 0;
    focusedElement_ = 0;
    if (captureActive_) {
        captureActive_ = false;
        pressedElement_ = 0;
        ::ReleaseCapture();
    }

    // Last to first; each element gets WM_DESTROY and its area is repainted.
    while (const WindowRecord* record = windowRecord(windowIndex_)) {
        if (record->hwnd != hwnd || record->elements.empty())
            break;
        if (!removeElement(windowIndex_, record->elements.back().id))
            break;
    }

    // The record's surfaces leave the table with it and are released at the end.
    WindowRecord detached;
    WindowTable& table = windowTable();
    if (WindowRecord* record = windowRecord(windowIndex_); record && record->hwnd == hwnd) {
        detached = std::move(*record);
        table.erase(table.begin() + (windowIndex_ - 1));
        // Renumber every window and its elements by their new places; the running element
        // timers of the windows after this one move with them (their ids hold the index).
        for (size_t j = table.size(); j > 0; --j) {
            const int index = static_cast<int>(j);
            if (index >= windowIndex_) {
                const int count = static_cast<int>(table[j - 1].elements.size());
                for (int element = 1; element <= count; ++element)
                    moveElementTimers(table[j - 1].hwnd, index + 1, index, element, element);
            }
            for (ElementRecord& element : table[j - 1].elements) {
                if (element.control)
                    element.control->windowIndex_ = index;
            }
            if (table[j - 1].owner)
                table[j - 1].owner->windowIndex_ = index;
        }
    }

    if (tooltipWindow_)
        ::DestroyWindow(tooltipWindow_);
    tooltipWindow_ = nullptr;
    backgroundImage_.dispose();

    detached.layer.reset();
    detached.windowBuffer.reset();
    detached.frame.reset();
    detached.windowDC.reset();
    previousWndProc_ = nullptr;
    // The index would name another window's record now.
    windowIndex_ = 0;
}

} // namespace skinui
