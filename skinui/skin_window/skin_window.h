#pragma once
// SkinWindow: an ordinary top-level window turned into a skinned one.
//
// The application owns one SkinWindow per skinned window and calls attachToWindow once,
// right after the window exists. Attaching registers the window in the library's window
// table (skinui/library/window_table.h), subclasses it (the window procedure takes over the
// non-client area, painting and input), creates its off-screen buffers, builds its caption
// parts and draws it once. The window detaches itself when it receives WM_DESTROY.
//
// Where the pieces live:
//   skin_window.cpp       construction, attachToWindow, setUpWindow, caption parts, hooks
//   window_procedure.cpp  the message table, forwardMessage, size limits, placement
//   close_effect.cpp      the animations played on WM_CLOSE
//   input_routing.cpp     routeMouseMessage: hover, press, capture, focus, window dragging
//   teardown.cpp          detachWindow
//   redraw_window.cpp     redrawWindow and the element redraws it runs
//   message_handlers.cpp  the size, timer, keyboard and wheel handlers the procedure calls,
//                         access keys and the sizing border
//   properties.cpp        look properties, switches, caption-button settings, focus
//   show_animation.cpp    showAnimated

#include "skinui/controls/skin_caption_button.h"
#include "skinui/controls/skin_picture.h"
#include "skinui/library/rect_f.h"
#include "skinui/skin_image/skin_image.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace skinui {

// Bits of captionFlags: which caption parts a window has.
enum CaptionFlag : int {
    CaptionIcon = 1,
    CaptionTitle = 2,
    CaptionClose = 4,
    CaptionMaximize = 8, // also lets a double click on the caption maximize
    CaptionMinimize = 16,
    CaptionExtra1 = 32,
    CaptionExtra2 = 64,
    CaptionExtra3 = 128,
    CaptionExtra4 = 256,
    CaptionStandard = 1024, // request only: add the standard parts
};

// The window's element callbacks.
enum class ElementEvent {
    Enter,
    Leave,
    LButtonDown,
    LButtonUp,
    Click,
    RButtonDown,
    RButtonUp,
    DoubleClick,
    Focus,
    Blur,
};

// What configureCaptionButton changes on a caption button, and the value each one takes.
enum class CaptionButtonSetting {
    Disabled = 1,    // int: nonzero disables the button
    TooltipText = 2, // std::string: stored as the button's tooltip text (not shown yet)
    Bounds = 3,      // RectF: moved there (each value truncated toward zero) and redrawn
};
using CaptionButtonValue = std::variant<int, std::string, RectF>;

// An access key: Alt with the key of `character` clicks the element.
struct Mnemonic {
    int character = 0;
    int elementId = 0;
};

// The zones of the sizing border, as the WMSZ_ edge codes WM_SYSCOMMAND SC_SIZE takes.
enum SizingZone : int {
    SizingNone = 0,
    SizingLeft = WMSZ_LEFT,
    SizingRight = WMSZ_RIGHT,
    SizingTop = WMSZ_TOP,
    SizingTopLeft = WMSZ_TOPLEFT,
    SizingTopRight = WMSZ_TOPRIGHT,
    SizingBottom = WMSZ_BOTTOM,
    SizingBottomLeft = WMSZ_BOTTOMLEFT,
    SizingBottomRight = WMSZ_BOTTOMRIGHT,
};

// The zone of the client point (x, y) in a window of width x height: the top band is 8
// pixels deep, the bottom and right bands 10 wide, the left band 8; the corners reach 10
// pixels along the top and bottom.
SizingZone sizingZone(int x, int y, int width, int height);
// The system cursor shown over a zone (IDC_SIZE...); 0 for SizingNone.
int sizingCursorId(SizingZone zone);

// The constant alphas the show animation blends the frame with, one per frame: for mode 1,
// 25 frames rising by trunc(targetAlpha / 25) from 0, then a last one at 254; for any other
// mode none.
std::vector<int> showAnimationAlphas(int mode, int targetAlpha);

// redrawWindow's colour that means "take it from the background picture".
constexpr COLORREF ColorFromImage = 0xFFFFFFFF;

// attachToWindow's parameters. The two optional ones differ from 0 when omitted: no
// background colour takes it from the picture, no caption flags give the standard parts
// (a given 0 gives none).
struct AttachOptions {
    std::span<const std::uint8_t> backgroundImageBytes;
    std::optional<COLORREF> backgroundColor;
    std::optional<int> captionFlags;
    int opacity = -1; // -1: an ordinary window; 0..255: a layered one with that alpha
    int imageDrawMode = 0;
    int frameStyle = 5;
    int fadeElements = 1;
    int fixedSize = 0;
    int dragDisabled = 0;
    int edgeEffect = 1;
    RECT backgroundMargins{}; // kept only with frameStyle 1
};

class SkinWindow final {
  public:
    // Called with (window, element id, the element's control, element type); the result is
    // not used.
    using ElementCallback =
        std::function<void(HWND hwnd, int elementId, SkinControl* control, int elementType)>;
    // Called before the previous window procedure; -1 leaves the message to it, any other
    // value is the message's result.
    using MessageHook = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
    // Called after the window's buffers follow a new size, before it is redrawn.
    using SizeCallback = std::function<void(HWND hwnd, int cx, int cy)>;
    // Called with (window, the focused element's id, the virtual key or character, lParam)
    // before the library handles a key or character for the focused element: -1 lets the
    // library go on, any other value consumes it.
    using KeyCallback =
        std::function<LRESULT(HWND hwnd, int focusedElementId, WPARAM code, LPARAM lParam)>;

    SkinWindow();
    // A window still attached is detached first, so no window procedure or element record
    // is left pointing at the object.
    ~SkinWindow();
    SkinWindow(const SkinWindow&) = delete;
    SkinWindow& operator=(const SkinWindow&) = delete;

    // Skins hwnd. Attaching an object a second time appends a second record.
    void attachToWindow(HWND hwnd, const AttachOptions& options = {});

    // Undoes the attach: the previous procedure back, every element removed, the record
    // taken out of the table (later windows and their elements renumbered), the buffers
    // released. Nothing when not attached. Called on WM_DESTROY.
    void detachWindow(HWND hwnd);

    // The skinned window procedure, for the window this object is attached to.
    LRESULT windowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Passes a message on: to the message hook, then (unless a fixed result is given) to the
    // previous window procedure.
    LRESULT forwardMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                           std::optional<LRESULT> fixedResult = std::nullopt);

    // Routes a mouse message to the element it concerns; returns that element's index, 0
    // for none.
    int routeMouseMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

    // Rebuilds the window's picture and shows it. 0 when the window has no DC yet, else 1.
    // An ordinary window's region is set when its shape (size, margin, frame style) differs
    // from the one the last redraw set: the skin owns the region of a window it skins.
    int redrawWindow(std::optional<std::span<const std::uint8_t>> imageBytes = std::nullopt,
                     std::optional<COLORREF> color = std::nullopt, bool fadeIn = false);
    // One tick of the fade-in redrawWindow starts with fadeIn (timer FadeInTimerId): blends
    // the frame onto the screen at 51 more alpha each tick; the tick after the one at 255
    // ends the fade and kills the timer.
    void fadeInStep(HWND hwnd);
    // With a handle, the background picture adopts it (no redraw). Returns the picture.
    Gdiplus::GpImage* backgroundImageHandle(std::optional<Gdiplus::GpImage*> handle = std::nullopt);
    // Places the caption buttons for the frame margin m.
    void layoutCaptionButtons(int margin);
    // Asks one element (single) or every visible element inside the window to repaint.
    void redrawElements(int elementId, bool single, bool direct);

    // --- the handlers the window procedure hands messages to ---
    // WM_SIZE: the window buffer (and layer) re-created at the new size, onSize, a redraw.
    // The frame buffer keeps its size. Nothing for (0, 0). A WM_SIZE sent while the window
    // is being redrawn (SetWindowRgn sends one on some systems) waits for that redraw to
    // end, and is dropped when the size is the one just drawn.
    void handleSize(HWND hwnd, int width, int height);
    // WM_TIMER: FadeInTimerId is a fade-in step; any other id names an element, the window
    // index in its low 16 bits and the element index in the high 16 bits, which gets the
    // WM_TIMER (not while the window animates).
    void handleTimer(HWND hwnd, WPARAM timerId, LPARAM lParam);
    // Keys for the focused element: onKeyDown first; Enter and Space click an enabled,
    // visible element; every key but a consumed one reaches the element as WM_KEYDOWN.
    void handleKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);
    // Tab (without Ctrl) moves the focus to the next tab stop; other keys go to onKeyUp and
    // the focused element.
    void handleKeyUp(HWND hwnd, WPARAM key, LPARAM lParam);
    void handleChar(HWND hwnd, WPARAM character, LPARAM lParam);
    // Alt with a key: clicks the first visible, enabled element whose access key matches,
    // ignoring case. The result is that of the element's repaint, 0 when none matched.
    LRESULT handleSysKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);
    // Registers (character nonzero: stores or replaces) or removes (0) the access key of an
    // element; the window message RegisterMnemonicMessage comes here. 1 when stored or
    // removed, 0 when there was nothing to remove.
    int storeMnemonic(int elementId, int character);
    // The wheel goes to the element under the pointer, drawing into the frame only.
    void handleMouseWheel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // True when the sizing border took the mouse message: over a border zone of a sizable,
    // not maximized window it shows the sizing cursor, and a left press starts the system's
    // sizing loop from that edge.
    bool sizingBorderFilter(HWND hwnd, UINT message, LPARAM lParam);
    // Draws the caption title; WM_SETTEXT calls it.
    void setCaptionTitle(std::string_view text, bool restoreBackground, bool present);

    // --- properties and switches ---
    // Getter-setters: a given value is stored (look properties redraw the window); the
    // current value is returned. The values kept in the window's record (opacity,
    // imageDrawMode, fadeElements) and the two switches change only on an attached window.

    // Undoes the attach now (what WM_DESTROY does).
    void detach();
    // The alpha of a layered window. An ordinary window stays ordinary (the value is not
    // taken and -1 comes back), and a layered window stays layered: a negative value is not
    // taken either.
    int opacity(std::optional<int> value = std::nullopt);
    // 0: the background picture at its natural size; nonzero: stretched. Redraws on change.
    int imageDrawMode(std::optional<int> value = std::nullopt);
    // Stores the frame style and, unless redraw is false, redraws.
    int frameStyle(std::optional<int> value, bool redraw = true);
    // Changes the caption button of that kind (CaptionButtonKind); a value of the wrong type
    // for the setting, or no button of the kind, changes nothing. Returns 0.
    int configureCaptionButton(int kind, CaptionButtonSetting setting,
                               const CaptionButtonValue& value);
    // The kind of the caption button with this element id; 0 when it is none.
    int captionButtonKindOf(int elementId) const;
    // 1: the window may be resized from its border; 0: it may not (fixedSize, and
    // WS_THICKFRAME as attaching sets it). Returns whether resizing is allowed.
    int resizeSwitch(std::optional<int> value = std::nullopt);
    // 1: a press on the background or on a non-focusable element moves the window; 0: it
    // does not (dragDisabled). Returns whether dragging is allowed.
    int dragSwitch(std::optional<int> value = std::nullopt);
    // Gives the element the keyboard focus (and the hover) without the focus callbacks;
    // nothing for an unknown, disabled or not focusable element.
    void setFocusElement(int elementId);
    // 1: elements fade into a new look on their timers; 0: they change at once.
    int fadeElements(std::optional<int> value = std::nullopt);
    // Shows the window; mode 1 fades it in over 25 frames of 8 ms (the thread is blocked
    // meanwhile). Any other mode shows it as the next redraw presents it.
    void showAnimated(int mode);
    const std::vector<Mnemonic>& mnemonics() const { return mnemonics_; }

    // --- callbacks ---
    void setElementCallback(ElementEvent event, ElementCallback callback);
    void onElementEnter(ElementCallback callback) {
        setElementCallback(ElementEvent::Enter, std::move(callback));
    }
    void onElementLeave(ElementCallback callback) {
        setElementCallback(ElementEvent::Leave, std::move(callback));
    }
    void onElementLButtonDown(ElementCallback callback) {
        setElementCallback(ElementEvent::LButtonDown, std::move(callback));
    }
    void onElementLButtonUp(ElementCallback callback) {
        setElementCallback(ElementEvent::LButtonUp, std::move(callback));
    }
    void onElementClick(ElementCallback callback) {
        setElementCallback(ElementEvent::Click, std::move(callback));
    }
    void onElementDoubleClick(ElementCallback callback) {
        setElementCallback(ElementEvent::DoubleClick, std::move(callback));
    }
    void onElementRButtonDown(ElementCallback callback) {
        setElementCallback(ElementEvent::RButtonDown, std::move(callback));
    }
    void onElementRButtonUp(ElementCallback callback) {
        setElementCallback(ElementEvent::RButtonUp, std::move(callback));
    }
    void onElementFocus(ElementCallback callback) {
        setElementCallback(ElementEvent::Focus, std::move(callback));
    }
    void onElementBlur(ElementCallback callback) {
        setElementCallback(ElementEvent::Blur, std::move(callback));
    }
    void onSize(SizeCallback callback) { onSize_ = std::move(callback); }
    void onKeyDown(KeyCallback callback) { onKeyDown_ = std::move(callback); }
    void onKeyUp(KeyCallback callback) { onKeyUp_ = std::move(callback); }
    void onChar(KeyCallback callback) { onChar_ = std::move(callback); }
    void setMessageHook(MessageHook hook) { messageHook_ = std::move(hook); }
    // 0 none, 1 fade, 2 zoom and fade, any other value a wipe (3 and 4 across, the rest
    // down or up).
    void setCloseEffect(int effect) { closeEffect_ = effect; }
    // Called during every full redraw with (window, windowBufferGraphics, windowBufferDC,
    // cx, cy): onPaint right after the background, onPaintDone once the caption is laid
    // out, before the elements draw.
    using PaintCallback =
        std::function<void(HWND hwnd, Gdiplus::GpGraphics* graphics, HDC dc, int cx, int cy)>;
    void setOnPaint(PaintCallback callback) { onPaint_ = std::move(callback); }
    void setOnPaintDone(PaintCallback callback) { onPaintDone_ = std::move(callback); }

    // --- state ---
    bool isAttached() const { return previousWndProc_ != nullptr; }
    HWND hwnd() const { return hwnd_; }
    int windowIndex() const { return windowIndex_; }
    int focusedElement() const { return focusedElement_; }
    int hoverElement() const { return hoverElement_; }
    int pressedElement() const { return pressedElement_; }
    bool captureActive() const { return captureActive_; }
    bool animating() const { return animating_; }
    bool keyboardFocusShown() const { return keyboardFocusShown_; }
    int fadeInAlpha() const { return fadeInAlpha_; }
    bool mouseTracking() const { return mouseTracking_; }
    COLORREF backgroundColor() const { return backgroundColor_; }
    int captionFlags() const { return captionFlags_; }
    int frameStyle() const { return frameStyle_; }
    int fixedSize() const { return fixedSize_; }
    int dragDisabled() const { return dragDisabled_; }
    int edgeEffect() const { return edgeEffect_; }
    int closeEffect() const { return closeEffect_; }
    SIZE windowSize() const { return windowSize_; }
    HMENU systemMenu() const { return systemMenu_; }
    // The tooltip control of the window's elements; null until an element first gets a
    // tip text. ensureTooltipWindow makes it then (creating one costs a top-level window).
    HWND tooltipWindow() const { return tooltipWindow_; }
    HWND ensureTooltipWindow();
    RECT backgroundMargins() const { return backgroundMargins_; }
    const SkinImage& backgroundImage() const { return backgroundImage_; }
    const std::vector<std::unique_ptr<SkinCaptionButton>>& captionButtons() const {
        return captionButtons_;
    }
    const SkinPicture& iconElement() const { return iconElement_; }

  private:
    friend bool removeElement(int windowIndex, int elementId);
    friend void repaintArea(int windowIndex, const RectF& area, bool present,
                            bool restoreBackground);

    // The procedure installed on every skinned window: finds the SkinWindow by the window's
    // property and hands it the message.
    static LRESULT CALLBACK skinnedWindowProc(HWND hwnd, UINT message, WPARAM wParam,
                                              LPARAM lParam);

    void setUpWindow(HWND hwnd, int imageDrawMode, int fadeElements, int opacity);
    int composeAndPresent(std::optional<std::span<const std::uint8_t>> imageBytes,
                          std::optional<COLORREF> color, bool fadeIn);
    // The steps of redrawWindow that paint the background layer and the caption icon.
    void drawBackgroundLayer(const WindowRecord& window, int margin);
    void drawCaptionIcon(const WindowRecord& window, int margin);
    // Sets the "addr_wnd" property and the record's owner; returns the procedure to install.
    WNDPROC bindWindowHandle(HWND hwnd);
    void buildCaptionParts();
    LRESULT forwardTo(WNDPROC previous, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                      std::optional<LRESULT> fixedResult);

    void callElementCallback(ElementEvent event, int elementIndex);
    void handleLeftPress(HWND hwnd, int elementIndex, WPARAM wParam, LPARAM lParam);
    void showSystemMenu(HWND hwnd, LPARAM lParam);
    void playCloseEffect(HWND hwnd);
    void wipeFrame(HDC destinationDC, int width, int height, int alpha, int offset, int mode);
    // The focused element when its index is valid, else 0.
    int validFocusedElement() const;
    // onKeyDown, onKeyUp or onChar for the focused element; true when it consumed the key.
    bool keyConsumed(const KeyCallback& callback, HWND hwnd, WPARAM code, LPARAM lParam);
    // Enter, Space or an access key on an element: the click, onElementClick and a repaint,
    // when the element is visible and enabled; false (and nothing sent) otherwise.
    bool clickFromKeyboard(HWND hwnd, int elementIndex, LRESULT* result = nullptr);
    void moveFocusToNextTabStop(HWND hwnd);
    bool isTabStop(int elementIndex) const;
    void playShowAnimation(HWND hwnd, int mode, int targetAlpha, int width, int height);

    WNDPROC previousWndProc_ = nullptr;
    HWND hwnd_ = nullptr;
    int windowIndex_ = 0;
    int focusedElement_ = 0;
    int hoverElement_ = 0;
    int pressedElement_ = 0;
    bool animating_ = false;
    int redrawDepth_ = 0;               // redrawWindow calls in progress
    // The window region last set by a redraw: set again only when its shape changes.
    struct RegionShape {
        int cx, cy, margin, corner;
        bool operator==(const RegionShape&) const = default;
    };
    std::optional<RegionShape> appliedRegion_;
    std::optional<SIZE> deferredSize_;  // a WM_SIZE that came in during a redraw
    COLORREF backgroundColor_ = 0;
    bool captureActive_ = false;
    int frameStyle_ = 0;
    bool keyboardFocusShown_ = false;
    HWND tooltipWindow_ = nullptr;
    int fadeInAlpha_ = 0;
    int captionFlags_ = 0;
    SkinImage backgroundImage_;
    SIZE windowSize_{};
    HMENU systemMenu_ = nullptr; // the window's own system menu, not a copy
    std::vector<std::unique_ptr<SkinCaptionButton>> captionButtons_;
    SkinPicture iconElement_;
    std::vector<Mnemonic> mnemonics_; // registration order
    RECT backgroundMargins_{};
    int closeEffect_ = 0;
    int fixedSize_ = 0;
    int dragDisabled_ = 0;
    int edgeEffect_ = 0;
    std::array<ElementCallback, 10> elementCallbacks_;
    MessageHook messageHook_;
    PaintCallback onPaint_;
    PaintCallback onPaintDone_;
    SizeCallback onSize_;
    KeyCallback onKeyDown_;
    KeyCallback onKeyUp_;
    KeyCallback onChar_;
    bool mouseTracking_ = false;
};

// Adds `bits` to the window's style (GWL_EXSTYLE when extended) unless one of them is set
// already.
void addWindowStyle(HWND hwnd, LONG_PTR bits, bool extended);

} // namespace skinui
