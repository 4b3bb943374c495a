#pragma once
// SkinPicture: the picture element. It shows one SkinImage stretched to its rectangle,
// optionally outlined (drawRectBorder), and plays the frames of an animated picture with
// each frame's own delay. The skinned window keeps one, created without a picture, as its
// caption icon: it then shows what the window drew beneath it.
//
// The frame timer chain: the first paint of an animated picture draws frame 0 and arms the
// element timer with frame 0's delay; each tick draws the next frame (wrapping after the
// last) and re-arms the timer with that frame's delay. Later paints show the frame on
// screen again without disturbing the chain. A still picture shows frame 0 on every paint;
// a picture with frames still arms the timer once per paint, and the tick that follows
// finds it still and stops the timer.

#include "skinui/controls/skin_control.h"
#include "skinui/library/color.h"
#include "skinui/skin_image/skin_image.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace skinui {

// What a frame waits when the picture has no delay for it, in hundredths of a second.
constexpr int MissingFrameDelay = 10;

// Every delay of 0 becomes 10 (100 ms); pictures often leave the delay unset.
void fixZeroDelays(std::vector<std::int32_t>& delays);

// How long frame `frameIndex` stays, in milliseconds: its delay times 10, or 100 ms when the
// picture has fewer delays than frames.
int framePeriodMs(const std::vector<std::int32_t>& delays, int frameIndex);

class SkinPicture final : public SkinControl {
  public:
    SkinPicture() = default;
    // A picture that is still an element leaves its window here, so that its frame timer
    // stops with it.
    ~SkinPicture() override;

    // Decodes the picture (none when the bytes do not decode) and registers the element
    // (focusable, ElementPicture); paints it when visible. fixZeroDelays: frames without a
    // delay wait 100 ms. borderStyle: drawRectBorder's style or colour over the picture, 0
    // none. Returns the element id, 0 when `parent` is not skinned.
    int create(HWND parent, int x, int y, int width, int height,
               std::span<const std::uint8_t> imageBytes = {}, int animate = 0,
               bool fixZeroDelays = false, Argb borderStyle = 0, int visible = 1);

    // The same with a still picture converted from an icon (which stays the caller's).
    int createFromIcon(HWND parent, int x, int y, int width, int height, HICON icon,
                       Argb borderStyle = 0, int visible = 1);

    // 1: play the frames on the timer; 0: always show the first frame. Setting restarts at
    // frame 0 and repaints.
    int animate(std::optional<int> value = std::nullopt);

    // Replaces the picture; the frame to draw next keeps its number (and wraps if the new
    // picture has fewer frames). Delays of 0 stay 0.
    void setImage(std::span<const std::uint8_t> imageBytes, bool redraw = true);

    // Draws the next frame (currentFrame) and advances; arms the frame timer when the
    // picture has frames. A hidden picture only advances.
    void renderFrame(int windowIndex, int elementIndex, const RectF& rect, bool direct);

    const SkinImage& image() const { return image_; }
    Argb borderStyle() const { return borderStyle_; }
    int currentFrame() const { return currentFrame_; }
    int frameCount() const { return frameCount_; }
    bool animationStarted() const { return animationStarted_; }
    const std::vector<std::int32_t>& frameDelays() const { return frameDelays_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

  private:
    // Shows the frame drawn last again, leaving the timer chain alone.
    void redrawShownFrame(int windowIndex, int elementIndex, const RectF& rect, bool direct);
    // Draws frame `frameIndex` between beginElementPaint and endElementPaint's repaints.
    void drawFrame(int windowIndex, int elementIndex, const RectF& rect, int frameIndex,
                   bool direct);
    void readFrames();

    SkinImage image_;
    int animate_ = 0;
    Argb borderStyle_ = 0;
    int currentFrame_ = 0;
    int frameCount_ = 0;
    bool animationStarted_ = false;
    std::vector<std::int32_t> frameDelays_;
    int shownFrame_ = 0; // the frame drawn last
};

} // namespace skinui
