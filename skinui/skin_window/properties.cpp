// The programming interface of an attached window: look properties that redraw it, the
// resize and drag switches, caption-button settings and keyboard focus.

#include "skinui/skin_window/skin_window.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"

namespace skinui {

void SkinWindow::detach() {
    if (const WindowRecord* record = windowRecord(windowIndex_))
        detachWindow(record->hwnd);
}

int SkinWindow::opacity(std::optional<int> value) {
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return -1;
    // The window's kind was fixed at attach: only a layered window takes a new alpha, and
    // only a real one (-1 would leave it layered with nothing ever presented to it).
    if (value && record->opacity != -1 && *value >= 0) {
        record->opacity = *value;
        redrawWindow();
        record = windowRecord(windowIndex_);
    }
    return record ? record->opacity : -1;
}

int SkinWindow::imageDrawMode(std::optional<int> value) {
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return 0;
    if (value && *value != record->imageDrawMode) {
        record->imageDrawMode = *value;
        redrawWindow();
        record = windowRecord(windowIndex_);
    }
    return record ? record->imageDrawMode : 0;
}

int SkinWindow::frameStyle(std::optional<int> value, bool redraw) {
    if (value) {
        frameStyle_ = *value;
        if (redraw)
            redrawWindow();
    }
    return frameStyle_;
}

int SkinWindow::configureCaptionButton(int kind, CaptionButtonSetting setting,
                                       const CaptionButtonValue& value) {
    SkinCaptionButton* button = nullptr;
    for (const auto& candidate : captionButtons_) {
        if (candidate->getKind() == kind) {
            button = candidate.get();
            break;
        }
    }
    if (!button)
        return 0;
    switch (setting) {
    case CaptionButtonSetting::Disabled:
        if (const int* disabled = std::get_if<int>(&value))
            button->disabled(*disabled != 0 ? 1 : 0);
        break;
    case CaptionButtonSetting::TooltipText:
        // Stored only; the tip shows it when the mouse next enters the button.
        if (const std::string* text = std::get_if<std::string>(&value))
            button->tooltipText(*text, false);
        break;
    case CaptionButtonSetting::Bounds:
        if (const RectF* bounds = std::get_if<RectF>(&value))
            button->move(static_cast<int>(bounds->x), static_cast<int>(bounds->y),
                         static_cast<int>(bounds->width), static_cast<int>(bounds->height), true);
        break;
    }
    return 0;
}

int SkinWindow::captionButtonKindOf(int elementId) const {
    for (const auto& button : captionButtons_) {
        if (button->getElementId() == elementId)
            return button->getKind();
    }
    return 0;
}

// Both switches read back what they were set to. The window's sizing border follows
// fixedSize; the style bit keeps the system's sizing loop in step with it, as attaching
// sets it.
int SkinWindow::resizeSwitch(std::optional<int> value) {
    if (value && isAttached()) {
        fixedSize_ = *value != 0 ? 0 : 1;
        const LONG_PTR style = ::GetWindowLongPtrW(hwnd_, GWL_STYLE);
        const LONG_PTR wanted =
            fixedSize_ ? style & ~static_cast<LONG_PTR>(WS_THICKFRAME) : style | WS_THICKFRAME;
        if (wanted != style)
            ::SetWindowLongPtrW(hwnd_, GWL_STYLE, wanted);
    }
    return fixedSize_ == 0 ? 1 : 0;
}

int SkinWindow::dragSwitch(std::optional<int> value) {
    if (value && isAttached())
        dragDisabled_ = *value != 0 ? 0 : 1;
    return (dragDisabled_ & 1) ? 0 : 1;
}

void SkinWindow::setFocusElement(int elementId) {
    const int element = findElementIndex(windowIndex_, elementId);
    const ElementRecord* record = elementRecord(windowIndex_, element);
    if (!record || !record->focusable || !record->control || record->control->disabled_)
        return;
    const HWND hwnd = record->hwnd;
    const int old = focusedElement_;
    focusedElement_ = element;
    if (old != element && old != 0) {
        if (const ElementRecord* previous = elementRecord(windowIndex_, old);
            previous && previous->visible)
            dispatchToElement(windowIndex_, old, hwnd, ElementRepaintMessage, 0, RepaintLostFocus,
                              true);
    }
    dispatchToElement(windowIndex_, element, hwnd, ElementRepaintMessage, 0, RepaintAny, true);
    hoverElement_ = element;
}

int SkinWindow::fadeElements(std::optional<int> value) {
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return 0;
    if (value)
        record->fadeElements = *value;
    return record->fadeElements;
}

} // namespace skinui
