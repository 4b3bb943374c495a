// The full redraw of a skinned window.
//
// What is built here is the part attaching needs: the background colour (taken from the
// picture when asked), the background layer filled with it, the frame started as a copy of
// it, the caption buttons placed, every element asked to draw into the frame, and the
// frame presented. The background picture, the icon and title, the paint callbacks, the
// window region, border and shadow and the fade-in extend this pipeline.

#include "skinui/skin_window/skin_window.h"

#include "skinui/drawing/primitives.h"
#include "skinui/library/color.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"

#include <algorithm>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

// The band around the frame for its border and shadow: 5 pixels, none while maximized.
int marginOf(HWND hwnd) {
    return ::IsZoomed(hwnd) ? 0 : 5;
}

} // namespace

// The colour of the picture's pixel at 85 % of its width and height, alpha dropped. The
// products are doubles truncated toward zero (100 x 40 reads pixel (85, 34)).
static COLORREF colorAtEightyFivePercent(const SkinImage& image) {
    const int x = static_cast<int>(static_cast<double>(image.width()) * 0.85);
    const int y = static_cast<int>(static_cast<double>(image.height()) * 0.85);
    return argbToColorref(image.pixel(x, y)).color;
}

int SkinWindow::redrawWindow(std::optional<std::span<const std::uint8_t>> imageBytes,
                             std::optional<COLORREF> color, bool fadeIn) {
    WindowRecord* window = windowRecord(windowIndex_);
    if (!window || !window->windowDC)
        return 0;
    animating_ = true;

    if (imageBytes)
        backgroundImage_.loadFromBytes(*imageBytes);
    if (!color || *color == ColorFromImage) {
        if (backgroundImage_.handle())
            backgroundColor_ = colorAtEightyFivePercent(backgroundImage_);
    } else {
        backgroundColor_ = *color;
    }

    const HWND hwnd = window->hwnd;
    const int margin = marginOf(hwnd);
    const int cx = windowSize_.cx;
    const int cy = windowSize_.cy;
    const bool layered = window->opacity != -1;

    // The background layer.
    if (Gdiplus::GpGraphics* background = window->windowBuffer.graphics()) {
        if (frameStyle_ == 1 || layered)
            gdip::GdipGraphicsClear(background, rgbToArgb(0xFFFFFF, 0));
        else
            gdip::GdipGraphicsClear(background, rgbToArgb(backgroundColor_, 255));
        if (frameStyle_ != 1 && layered) {
            const RectF frameRect = makeRectF(static_cast<float>(margin),
                                              static_cast<float>(margin),
                                              static_cast<float>(cx - 2 * margin),
                                              static_cast<float>(cy - 2 * margin));
            const Argb fill = rgbToArgb(backgroundColor_, std::clamp(window->opacity, 0, 255));
            if (frameStyle_ == 0)
                fillRect(background, frameRect, fill);
            else
                drawRoundRect(background, frameRect, 7.0f, fill, true, 0, false);
        }
        gdip::GdipFlush(background, Gdiplus::FlushIntentionSync);
    }
    if (window->frame.dc() && window->windowBuffer.dc())
        ::BitBlt(window->frame.dc(), 0, 0, cx, cy, window->windowBuffer.dc(), 0, 0, SRCCOPY);

    layoutCaptionButtons(margin);
    redrawElements(0, false, false);

    if (fadeIn) {
        ::SetTimer(hwnd, FadeInTimerId, 80, nullptr);
        return 1;
    }

    window = windowRecord(windowIndex_);
    if (window && window->frame.dc()) {
        if (Gdiplus::GpGraphics* frameGraphics = window->frame.graphics())
            gdip::GdipFlush(frameGraphics, Gdiplus::FlushIntentionSync);
        if (window->opacity == -1) {
            ::BitBlt(window->windowDC.get(), 0, 0, cx, cy, window->frame.dc(), 0, 0, SRCCOPY);
        } else if (window->layer.dc()) {
            ::BitBlt(window->layer.dc(), 0, 0, cx, cy, window->frame.dc(), 0, 0, SRCCOPY);
            presentLayered(hwnd, window->layer.dc(), cx, cy);
        }
    }
    animating_ = false;
    return 1;
}

void SkinWindow::layoutCaptionButtons(int margin) {
    if (captionFlags_ == 0)
        return;
    int x = windowSize_.cx - margin - 3;
    if (captionFlags_ & CaptionClose)
        x -= 11;
    for (const auto& button : captionButtons_) {
        x -= 28;
        button->move(x, margin + 1);
    }
}

void SkinWindow::redrawElements(int elementId, bool single, bool direct) {
    const WindowRecord* window = windowRecord(windowIndex_);
    if (!window)
        return;
    const HWND hwnd = window->hwnd;
    if (single) {
        const int index = findElementIndex(windowIndex_, elementId);
        const ElementRecord* element = elementRecord(windowIndex_, index);
        if (element && element->visible)
            dispatchToElement(windowIndex_, index, hwnd, ElementRepaintMessage, 0, RepaintAny,
                              direct);
        return;
    }
    const RectF whole = makeRectF(0, 0, static_cast<float>(windowSize_.cx),
                                  static_cast<float>(windowSize_.cy));
    for (size_t i = 0; i < windowRecord(windowIndex_)->elements.size(); ++i) {
        const ElementRecord& element = windowRecord(windowIndex_)->elements[i];
        if (element.visible && rectsIntersect(element.bounds, whole))
            dispatchToElement(windowIndex_, static_cast<int>(i) + 1, hwnd,
                              ElementRepaintMessage, 0, RepaintAny, direct);
    }
}

void restoreFrameEdges(int, const RectF&, bool) {
    // The border and shadow are not drawn yet, so there is nothing to restore.
}

void SkinWindow::setCaptionTitle(std::string_view, bool, bool) {
    // The caption title is drawn by the text renderer.
}

} // namespace skinui
