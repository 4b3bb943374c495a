#include "skinui/controls/skin_control.h"

#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/skin_window.h"
#include "skinui/text_conversion.h"

#include <commctrl.h>

#include <algorithm>
#include <cmath>

namespace skinui {

namespace {

constexpr double WidthTolerance = 0.0000001;

RECT truncatedRect(const RectF& r) {
    return RECT{static_cast<LONG>(r.x), static_cast<LONG>(r.y),
                static_cast<LONG>(static_cast<double>(r.x) + r.width),
                static_cast<LONG>(static_cast<double>(r.y) + r.height)};
}

} // namespace

SkinControl::~SkinControl() {
    // Only when the window's record still points at this object: removal then dispatches
    // WM_DESTROY, which at this point reaches the base handler (the kind is gone already).
    const int index = elementIndex();
    if (index > 0)
        removeElement(windowIndex_, elementId_);
}

LRESULT SkinControl::handleMessage(HWND, UINT, WPARAM, LPARAM, int, int, bool) {
    return 0;
}

int firstFreeElementId(HWND hwnd) {
    const int windowIndex = findWindowIndex(hwnd);
    int id = 1;
    while (findElementIndex(windowIndex, id) != 0)
        ++id;
    return id;
}

void SkinControl::create(HWND parent, const RectF& bounds, ElementType elementType, int visible,
                         bool focusable, std::optional<int> cursorId) {
    if (elementId_ != 0)
        return;

    ElementRecord record;
    record.hwnd = parent;
    record.bounds = bounds;
    record.control = this;
    record.elementType = elementType;
    record.visible = visible != 0;
    record.focusable = focusable;
    bounds_ = bounds;

    // registerElement
    record.id = firstFreeElementId(parent);
    const int windowIndex = findWindowIndex(parent);
    if (WindowRecord* window = windowRecord(windowIndex)) {
        window->elements.push_back(record);
        elementId_ = record.id;
        windowIndex_ = windowIndex;
    } else {
        windowIndex_ = 0;
    }

    redrawEnabled_ = 1;
    tooltipText_.clear();
    toolId_ = 0;
    cursorId_ = cursorId.value_or(DefaultCursorId);
}

int SkinControl::elementIndex() const {
    const int index = findElementIndex(windowIndex_, elementId_);
    const ElementRecord* record = elementRecord(windowIndex_, index);
    return record && record->control == this ? index : 0;
}

int SkinControl::disabled(std::optional<int> value) {
    if (value) {
        disabled_ = *value;
        redraw();
    }
    return disabled_;
}

int SkinControl::left(std::optional<int> value) {
    if (value)
        move(value);
    return static_cast<int>(bounds_.x);
}

int SkinControl::top(std::optional<int> value) {
    if (value)
        move(std::nullopt, value);
    return static_cast<int>(bounds_.y);
}

int SkinControl::width(std::optional<int> value) {
    if (value)
        move(std::nullopt, std::nullopt, value);
    return static_cast<int>(bounds_.width);
}

int SkinControl::height(std::optional<int> value) {
    if (value)
        move(std::nullopt, std::nullopt, std::nullopt, value);
    return static_cast<int>(bounds_.height);
}

int SkinControl::visible(std::optional<int> value) {
    const int index = elementIndex();
    ElementRecord* record = elementRecord(windowIndex_, index);
    if (!record)
        return 0;
    if (value) {
        if ((*value & 1) == 0 && !record->visible)
            return 0;
        record->visible = *value != 0;
        const HWND hwnd = record->hwnd;
        if (*value != 0) {
            dispatchToElement(windowIndex_, index, hwnd, ElementShownMessage, 0, 0, true, true);
            dispatchToElement(windowIndex_, index, hwnd, ElementRepaintMessage, 0, RepaintAny,
                              true);
        } else {
            dispatchToElement(windowIndex_, index, hwnd, ElementHiddenMessage, 0, 0, true, true);
            repaintArea(windowIndex_, bounds_, true);
        }
        // The handlers may have removed or moved the element.
        record = elementRecord(windowIndex_, elementIndex());
        if (!record)
            return 0;
    }
    return record->visible ? 1 : 0;
}

void SkinControl::move(std::optional<int> x, std::optional<int> y, std::optional<int> width,
                       std::optional<int> height, bool redraw) {
    const RectF oldBounds = bounds_;
    const int index = elementIndex();
    ElementRecord* record = elementRecord(windowIndex_, index);
    if (!record)
        return;

    RectF& b = record->bounds;
    if (x)
        b.x = static_cast<float>(*x);
    if (y)
        b.y = static_cast<float>(*y);
    if (width)
        b.width = static_cast<float>(*width);
    if (height)
        b.height = static_cast<float>(*height);
    if (b.width < -WidthTolerance)
        b.width = 0;
    if (b.height < -WidthTolerance)
        b.height = 0;
    bounds_ = b;

    const WindowRecord* window = windowRecord(windowIndex_);
    if (redraw) {
        // invalidateMoved: the old area without the element, then the element at its place.
        const SkinWindow* owner = window->owner;
        if (!owner || !owner->animating()) {
            const bool wasVisible = record->visible;
            record->visible = false;
            repaintArea(windowIndex_, oldBounds, true);
            const int after = elementIndex();
            if (ElementRecord* moved = elementRecord(windowIndex_, after)) {
                moved->visible = wasVisible;
                if (wasVisible)
                    dispatchToElement(windowIndex_, after, moved->hwnd, ElementRepaintMessage, 0,
                                      RepaintAny, true);
            }
        }
    }

    // The rectangle kept for the tooltip becomes the window's client area; a tool registered
    // already keeps the rectangle it was registered with.
    if ((window = windowRecord(windowIndex_)) != nullptr)
        ::GetClientRect(window->hwnd, &toolRect_);
}

void SkinControl::redraw() {
    if (!redrawEnabled_ || windowIndex_ <= 0)
        return;
    const int index = elementIndex();
    const ElementRecord* record = elementRecord(windowIndex_, index);
    if (record)
        dispatchToElement(windowIndex_, index, record->hwnd, ElementRepaintMessage, 0,
                          RepaintAny, true);
}

void SkinControl::setZOrder(int position) {
    const int index = elementIndex();
    WindowRecord* window = windowRecord(windowIndex_);
    if (index == 0 || !window)
        return;
    auto& elements = window->elements;
    const ElementRecord record = elements[static_cast<size_t>(index) - 1];
    elements.erase(elements.begin() + (index - 1));
    if (position == 1) {
        elements.push_back(record);
    } else {
        const auto firstOther =
            std::find_if(elements.begin(), elements.end(), [](const ElementRecord& e) {
                return e.elementType != ElementCaptionButton;
            });
        elements.insert(firstOther, record);
    }
    redraw();
}

std::string SkinControl::tooltipText(std::optional<std::string_view> text, bool apply) {
    if (text) {
        tooltipText_ = std::string(*text);
        if (apply)
            setTooltip(tooltipText_);
    }
    return tooltipText_;
}

bool SkinControl::isFocused() const {
    const SkinWindow* owner = windowObject(windowIndex_);
    if (!owner || owner->focusedElement() < 1)
        return false;
    const ElementRecord* record = elementRecord(windowIndex_, owner->focusedElement());
    return record && record->id == elementId_;
}

int SkinControl::focusable(std::optional<int> value) {
    ElementRecord* record = elementRecord(windowIndex_, elementIndex());
    if (!record)
        return 0;
    if (value)
        record->focusable = *value != 0;
    return record->focusable ? 1 : 0;
}

bool SkinControl::destroy() {
    if (elementId_ == 0)
        return true;
    bounds_ = RectF{};
    return removeElement(windowIndex_, elementId_);
}

int SkinControl::cursor(std::optional<int> value) {
    if (value)
        cursorId_ = *value;
    return cursorId_;
}

std::string SkinControl::tag(std::optional<std::string_view> text) {
    if (text)
        tag_ = std::string(*text);
    return tag_;
}

int SkinControl::redrawEnabled(std::optional<int> value) {
    if (value)
        redrawEnabled_ = *value;
    return redrawEnabled_;
}

void SkinControl::bindEvent(UINT message, EventCallback callback) {
    for (auto& binding : eventBindings_) {
        if (binding.first == message) {
            binding.second = std::move(callback);
            return;
        }
    }
    eventBindings_.emplace_back(message, std::move(callback));
}

const SkinControl::EventCallback* SkinControl::eventBinding(UINT message) const {
    for (const auto& binding : eventBindings_) {
        if (binding.first == message)
            return &binding.second;
    }
    return nullptr;
}

void SkinControl::setTooltip(std::string_view text) {
    SkinWindow* owner = windowObject(windowIndex_);
    const WindowRecord* window = windowRecord(windowIndex_);
    if (!owner || !window)
        return;
    // An empty text only hides a showing tip; a window no element has given a tip to has
    // no tooltip control yet, and needs none for that.
    const HWND tooltip = text.empty() ? owner->tooltipWindow() : owner->ensureTooltipWindow();
    if (!tooltip)
        return;
    ::SendMessageW(tooltip, TTM_POP, 0, 0);
    if (text.empty())
        return;

    std::wstring wide = toWide(text);
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.uFlags = TTF_SUBCLASS;
    info.hwnd = window->hwnd;
    const bool firstText = toolId_ == 0;
    if (firstText) {
        toolRect_ = truncatedRect(bounds_);
        ::SetWindowPos(tooltip, HWND_TOPMOST, 0, 0, 0, 0,
                       SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
        toolId_ = static_cast<UINT_PTR>(elementId_);
    }
    info.uId = toolId_;
    info.rect = toolRect_;
    info.lpszText = wide.data();
    if (firstText) {
        // Register the element's area as a tool of the window's tooltip control.
        ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
        ::SendMessageW(tooltip, TTM_SETDELAYTIME, TTDT_INITIAL, 500);
        ::SendMessageW(tooltip, TTM_SETMAXTIPWIDTH, 0, 1024);
    }
    toolText_ = std::string(text);
    ::SendMessageW(tooltip, TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&info));
}

} // namespace skinui
