#pragma once
// SkinControl: the common base of the library's custom-drawn elements.
//
// A control is not a Win32 window. Creating it appends an element record to the element list
// of its skinned window (skinui/library/window_table.h); from then on the window hit-tests
// it, routes input to it and asks it to paint, always through dispatchToElement, which calls
// the kind's handleMessage. The control object belongs to the application; the record
// points at it.
//
// Three numbers identify a control: the window index (its window's place in the window
// table), the element id (unique within the window, stable for the element's life) and the
// element index (its place in the window's element list, which changes as elements are
// removed or reordered). Operations find their element by id each time they run.
//
// Getter-setters take an optional value: given, it is stored first (visual properties
// repaint); the current value is returned either way. On a control that is not created they
// find no element and do nothing; element data reads as 0.

#include "skinui/library/rect_f.h"
#include "skinui/library/window_table.h"

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace skinui {

// The system arrow; a control shows no cursor of its own while it has this one.
constexpr int DefaultCursorId = 32512;

class SkinControl {
  public:
    // An event binding: called after the handler for a message the window dispatches to the
    // element, with (windowIndex, elementIndex, wParam, lParam, direct).
    using EventCallback =
        std::function<void(int windowIndex, int elementIndex, WPARAM, LPARAM, bool direct)>;

    SkinControl() = default;
    // A control that goes away while it is an element removes its element first, so that
    // the window never reaches a destroyed object.
    virtual ~SkinControl();
    SkinControl(const SkinControl&) = delete;
    SkinControl& operator=(const SkinControl&) = delete;

    // The element kind's message handler. `direct` true: a single-element update, the
    // element draws into the frame buffer and brings its own area to the screen; false: the
    // window repaints an area and the element only draws into the frame buffer.
    virtual LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                                  int windowIndex, int elementIndex, bool direct);

    // Shows `text` as the element's tooltip. An empty text only hides a showing tip. The
    // first non-empty text registers a tool over the control's rectangle at that moment;
    // later texts only replace the text.
    virtual void setTooltip(std::string_view text);

    int getWindowIndex() const { return windowIndex_; }
    RectF getBounds() const { return bounds_; }
    int getElementId() const { return elementId_; }
    bool isCreated() const { return windowIndex_ > 0 && elementId_ > 0; }

    int disabled(std::optional<int> value = std::nullopt);
    // Each moves by one value (move with that value only); the result is the current value
    // truncated toward zero.
    int left(std::optional<int> value = std::nullopt);
    int top(std::optional<int> value = std::nullopt);
    int width(std::optional<int> value = std::nullopt);
    int height(std::optional<int> value = std::nullopt);

    // Shows (nonzero) or hides (0) the element. Hiding a hidden element does nothing and
    // returns 0; otherwise the element is told (forced ElementShownMessage or
    // ElementHiddenMessage) and repainted, or its area is. Returns the record's value.
    int visible(std::optional<int> value = std::nullopt);

    // Moves and resizes the element by the values given; a negative width or height becomes
    // 0. With redraw the old area is repainted without the element and the element is
    // painted at its new place.
    void move(std::optional<int> x, std::optional<int> y = std::nullopt,
              std::optional<int> width = std::nullopt, std::optional<int> height = std::nullopt,
              bool redraw = true);

    // Asks the element to paint itself now (not while redraw is suspended).
    void redraw();

    // 1: on top of all elements; any other value: at the bottom, just above the caption
    // buttons the window creates first. Then redraw.
    void setZOrder(int position = 1);

    // Stores the text; with apply also shows it (setTooltip). Returns the stored text.
    std::string tooltipText(std::optional<std::string_view> text = std::nullopt,
                            bool apply = false);

    bool isFocused() const;
    int focusable(std::optional<int> value = std::nullopt);

    // Removes the element from its window; true when it is gone (also when it never was).
    bool destroy();

    int cursor(std::optional<int> value = std::nullopt);
    std::string tag(std::optional<std::string_view> text = std::nullopt);
    int redrawEnabled(std::optional<int> value = std::nullopt);
    void suspendRedraw() { redrawEnabled_ = 0; }
    void resumeRedraw() { redrawEnabled_ = 1; }

    // Binds a callback to a message; a second binding for the same message replaces the
    // callback and keeps its place. Bindings are never removed.
    void bindEvent(UINT message, EventCallback callback);

    // The callback bound to a message, or null.
    const EventCallback* eventBinding(UINT message) const;
    size_t eventBindingCount() const { return eventBindings_.size(); }

    // The tooltip tool as registered: its id (0 until the first registration), its rectangle
    // and its text.
    UINT_PTR toolId() const { return toolId_; }
    RECT toolRect() const { return toolRect_; }
    const std::string& toolText() const { return toolText_; }

  protected:
    // Registers the element in the skinned window `parent`: the smallest free id, the record
    // appended at the end of the window's list. Does nothing on a created control; leaves
    // the control not created when `parent` is not skinned.
    void create(HWND parent, const RectF& bounds, ElementType elementType, int visible,
                bool focusable, std::optional<int> cursorId = std::nullopt);

  private:
    friend class SkinWindow;
    friend bool removeElement(int windowIndex, int elementId);

    // The element index of this control, 0 when it has none.
    int elementIndex() const;

    int disabled_ = 0;
    int windowIndex_ = 0;
    int elementId_ = 0;
    std::string tooltipText_;
    int cursorId_ = DefaultCursorId;
    std::string tag_;
    RectF bounds_;
    std::vector<std::pair<UINT, EventCallback>> eventBindings_; // order of first binding
    int redrawEnabled_ = 0;
    UINT_PTR toolId_ = 0;
    RECT toolRect_{};
    std::string toolText_;
};

// The smallest positive id that no element of the window owning hwnd has.
int firstFreeElementId(HWND hwnd);

} // namespace skinui
