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
//   message_handlers.cpp  the size, timer, keyboard and wheel handlers the procedure calls

#include "skinui/controls/skin_caption_button.h"
#include "skinui/controls/skin_picture.h"
#include "skinui/skin_image/skin_image.h"

#include <windows.h>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
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
    void handleSize(HWND hwnd, int width, int height);
    void handleTimer(HWND hwnd, WPARAM timerId, LPARAM lParam);
    void handleKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);
    void handleKeyUp(HWND hwnd, WPARAM key, LPARAM lParam);
    void handleChar(HWND hwnd, WPARAM character, LPARAM lParam);
    void handleSysKeyDown(HWND hwnd, WPARAM key, LPARAM lParam);
    LRESULT storeMnemonic(WPARAM elementId, LPARAM character);
    void handleMouseWheel(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    // True when the sizing border took the mouse message.
    bool sizingBorderFilter(HWND hwnd, UINT message, LPARAM lParam);
    // Draws the caption title; WM_SETTEXT calls it.
    void setCaptionTitle(std::string_view text, bool restoreBackground, bool present);

    // --- callbacks and switches ---
    void setElementCallback(ElementEvent event, ElementCallback callback);
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
    HWND tooltipWindow() const { return tooltipWindow_; }
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

    WNDPROC previousWndProc_ = nullptr;
    HWND hwnd_ = nullptr;
    int windowIndex_ = 0;
    int focusedElement_ = 0;
    int hoverElement_ = 0;
    int pressedElement_ = 0;
    bool animating_ = false;
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
    std::vector<std::pair<int, int>> mnemonics_; // (element id, character)
    RECT backgroundMargins_{};
    int closeEffect_ = 0;
    int fixedSize_ = 0;
    int dragDisabled_ = 0;
    int edgeEffect_ = 0;
    std::array<ElementCallback, 10> elementCallbacks_;
    MessageHook messageHook_;
    PaintCallback onPaint_;
    PaintCallback onPaintDone_;
    bool mouseTracking_ = false;
};

// Adds `bits` to the window's style (GWL_EXSTYLE when extended) unless one of them is set
// already.
void addWindowStyle(HWND hwnd, LONG_PTR bits, bool extended);

} // namespace skinui
