#include "skinui/controls/skin_picture.h"

#include "skinui/controls/element_painting.h"
#include "skinui/drawing/primitives.h"
#include "skinui/library/window_table.h"

#include <algorithm>

namespace skinui {

void fixZeroDelays(std::vector<std::int32_t>& delays) {
    std::replace(delays.begin(), delays.end(), std::int32_t{0}, std::int32_t{MissingFrameDelay});
}

int framePeriodMs(const std::vector<std::int32_t>& delays, int frameIndex) {
    // GIFs decoded by GDI+ carry one delay per frame; other pictures may have frames along
    // the time dimension without any.
    if (frameIndex < 0 || static_cast<size_t>(frameIndex) >= delays.size())
        return MissingFrameDelay * 10;
    return delays[static_cast<size_t>(frameIndex)] * 10;
}

SkinPicture::~SkinPicture() {
    // Removing the element here, while the object is still a picture, lets WM_DESTROY stop
    // the frame timer (the base destructor would reach only the base handler).
    const int index = findElementIndex(getWindowIndex(), getElementId());
    if (index > 0 && elementObject(getWindowIndex(), index) == this)
        destroy();
}

void SkinPicture::readFrames() {
    frameCount_ = image_.frameCount();
    frameDelays_ = image_.frameDelays().value_or(std::vector<std::int32_t>{});
}

int SkinPicture::create(HWND parent, int x, int y, int width, int height,
                        std::span<const std::uint8_t> imageBytes, int animate,
                        bool fixZeroDelays, Argb borderStyle, int visible) {
    image_.loadFromBytes(imageBytes);
    animate_ = animate;
    borderStyle_ = borderStyle;
    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementPicture, visible, true);
    readFrames();
    if (fixZeroDelays)
        skinui::fixZeroDelays(frameDelays_);
    if (visible)
        redraw();
    return getElementId();
}

int SkinPicture::createFromIcon(HWND parent, int x, int y, int width, int height, HICON icon,
                                Argb borderStyle, int visible) {
    image_.createFromIcon(icon);
    animate_ = 0;
    borderStyle_ = borderStyle;
    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementPicture, visible, true);
    frameCount_ = image_.frameCount();
    frameDelays_.clear(); // an icon has none; its frame waits the default
    if (visible)
        redraw();
    return getElementId();
}

int SkinPicture::animate(std::optional<int> value) {
    if (value) {
        currentFrame_ = 0;
        animate_ = *value;
        if (*value == 0)
            animationStarted_ = false;
        redraw();
    }
    return animate_;
}

void SkinPicture::setImage(std::span<const std::uint8_t> imageBytes, bool redraw) {
    image_.loadFromBytes(imageBytes);
    readFrames();
    if (redraw)
        this->redraw();
}

void SkinPicture::drawFrame(int windowIndex, int elementIndex, const RectF& rect,
                            int frameIndex, bool direct) {
    beginElementPaint(windowIndex, elementIndex, rect, 0, direct);
    const WindowRecord* window = windowRecord(windowIndex);
    Gdiplus::GpGraphics* frameGraphics = window ? window->frame.graphics() : nullptr;
    if (image_.handle() && frameGraphics) {
        image_.selectFrame(frameIndex);
        drawImageInRect(frameGraphics, image_.handle(), rect, RectF{}, false);
    }
    if (borderStyle_ != 0 && frameGraphics)
        drawRectBorder(frameGraphics, rect, borderStyle_);
}

void SkinPicture::renderFrame(int windowIndex, int elementIndex, const RectF& rect, bool direct) {
    if (visible() != 0) {
        if (currentFrame_ >= frameCount_)
            currentFrame_ = 0;
        drawFrame(windowIndex, elementIndex, rect, currentFrame_, direct);
        shownFrame_ = currentFrame_;
        if (frameCount_ == 0) {
            endElementPaint(windowIndex, elementIndex, rect, 0, direct, true);
        } else {
            endElementPaint(windowIndex, elementIndex, rect, 0, direct, false, true);
            // The timer shows the next frame once this one has had its time.
            if (const WindowRecord* window = windowRecord(windowIndex)) {
                const UINT_PTR timerId = elementTimerId(windowIndex, elementIndex);
                ::KillTimer(window->hwnd, timerId);
                ::SetTimer(window->hwnd, timerId,
                           static_cast<UINT>(framePeriodMs(frameDelays_, currentFrame_)),
                           nullptr);
            }
            if (direct)
                blendElementArea(windowIndex, rect, 255);
        }
    }
    ++currentFrame_;
}

void SkinPicture::redrawShownFrame(int windowIndex, int elementIndex, const RectF& rect,
                                   bool direct) {
    const int frame = shownFrame_ < frameCount_ ? shownFrame_ : 0;
    drawFrame(windowIndex, elementIndex, rect, frame, direct);
    endElementPaint(windowIndex, elementIndex, rect, 0, direct, true);
}

LRESULT SkinPicture::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM,
                                   int windowIndex, int elementIndex, bool direct) {
    const ElementRecord* element = elementRecord(windowIndex, elementIndex);
    const RectF rect = element ? element->bounds : getBounds();
    switch (message) {
    case WM_PAINT:
        if (animate_ == 0) {
            currentFrame_ = 0;
            renderFrame(windowIndex, elementIndex, rect, direct);
        } else if (!animationStarted_) {
            renderFrame(windowIndex, elementIndex, rect, direct);
            animationStarted_ = true;
        } else {
            // The chain draws the frames; a repaint in between keeps the picture showing
            // instead of leaving the background there until the next tick.
            redrawShownFrame(windowIndex, elementIndex, rect, direct);
        }
        break;
    case WM_TIMER:
        if (animate_ != 0 && frameCount_ > 0)
            renderFrame(windowIndex, elementIndex, rect, direct);
        else
            ::KillTimer(hwnd, wParam);
        break;
    case WM_DESTROY:
        // A still picture's paint arms the timer too; left running, its tick would reach the
        // element that takes over this index.
        ::KillTimer(hwnd, elementTimerId(windowIndex, elementIndex));
        if (animate_ != 0) {
            currentFrame_ = 0;
            frameCount_ = 0;
            animate_ = 0;
            animationStarted_ = false;
        }
        image_.dispose();
        break;
    default:
        break;
    }
    return 0;
}

} // namespace skinui
