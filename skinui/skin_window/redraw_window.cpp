// The full redraw of a skinned window, its fade-in, and the window-wide painting steps the
// element repaints call.
//
// redrawWindow, in order:
//   1. the background colour (taken from the picture when asked)
//   2. the background layer (windowBuffer): colour, picture and edge fades, onPaint
//   3. the frame starts as a copy of the background layer
//   4. the caption icon and title (not in the picture-only style 1)
//   5. the caption buttons placed, onPaintDone, every element drawn into the frame
//   6. the region (ordinary windows), the border, the shadow (layered windows)
//   7. the frame presented, or left to the fade-in timer
// Only this rebuilds the whole window; a single element restores its own area from the
// background layer and repaints it (skinui/controls/element_painting.h).

#include "skinui/skin_window/skin_window.h"

#include "skinui/drawing/background.h"
#include "skinui/drawing/frame.h"
#include "skinui/drawing/primitives.h"
#include "skinui/drawing/text.h"
#include "skinui/library/color.h"
#include "skinui/library/helpers.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"
#include "skinui/text_conversion.h"

#include <algorithm>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

// The colour of the picture's pixel at 85 % of its width and height, alpha dropped. The
// products are doubles truncated toward zero (100 x 40 reads pixel (85, 34)).
COLORREF colorAtEightyFivePercent(const SkinImage& image) {
    const int x = static_cast<int>(static_cast<double>(image.width()) * 0.85);
    const int y = static_cast<int>(static_cast<double>(image.height()) * 0.85);
    return argbToColorref(image.pixel(x, y)).color;
}

// Image attributes that scale a picture's alpha by alpha / 255 and leave its colours.
UniqueGpImageAttributes opacityAttributes(int alpha) {
    Gdiplus::GpImageAttributes* raw = nullptr;
    gdip::GdipCreateImageAttributes(&raw);
    UniqueGpImageAttributes attributes(raw);
    if (!attributes)
        return attributes;
    Gdiplus::ColorMatrix matrix{};
    const float diagonal[5] = {1, 1, 1, static_cast<float>(alpha / 255.0), 1};
    for (int i = 0; i < 5; ++i)
        matrix.m[i][i] = diagonal[i];
    gdip::GdipSetImageAttributesColorMatrix(attributes.get(), Gdiplus::ColorAdjustTypeBitmap, TRUE,
                                            &matrix, nullptr, Gdiplus::ColorMatrixFlagsDefault);
    return attributes;
}

void drawImageAt(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest) {
    gdip::GdipDrawImageRect(graphics, image, dest.x, dest.y, dest.width, dest.height);
}

void flush(Gdiplus::GpGraphics* graphics) {
    if (graphics)
        gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
}

std::string windowText(HWND hwnd) {
    wchar_t text[256] = {};
    ::GetWindowTextW(hwnd, text, 256);
    return toUtf8(text);
}

} // namespace

void SkinWindow::drawBackgroundLayer(const WindowRecord& window, int margin) {
    Gdiplus::GpGraphics* graphics = window.windowBuffer.graphics();
    if (!graphics)
        return;
    const int cx = windowSize_.cx, cy = windowSize_.cy;
    const RectF frame = frameRect(cx, cy, margin);
    Gdiplus::GpImage* picture = backgroundImage_.handle();
    const float iw = static_cast<float>(backgroundImage_.width());
    const float ih = static_cast<float>(backgroundImage_.height());
    const COLORREF bg = backgroundColor_;

    if (frameStyle_ == 1) {
        // The picture alone is the window.
        gdip::GdipGraphicsClear(graphics, rgbToArgb(0xFFFFFF, 0));
        if (!picture)
            return;
        if (::IsRectEmpty(&backgroundMargins_))
            drawImageAt(graphics, picture, makeRectF(0, 0, iw, ih));
        else
            drawNineGrid(graphics, picture,
                         makeRectF(0, 0, static_cast<float>(cx), static_cast<float>(cy)),
                         rectToRectF(backgroundMargins_));
        return;
    }

    if (window.opacity == -1) {
        gdip::GdipGraphicsClear(graphics, rgbToArgb(bg, 255));
        if (!picture)
            return;
        if (window.imageDrawMode != 0) {
            drawImageAt(graphics, picture, frame);
            return;
        }
        const float m = static_cast<float>(margin);
        drawImageAt(graphics, picture, makeRectF(m, m, iw, ih));
        if (edgeEffect_ != 0) {
            const EdgeFadeSizes fade =
                edgeFadeSizes(backgroundImage_.width(), backgroundImage_.height());
            const float fx = static_cast<float>(fade.fx), fy = static_cast<float>(fade.fy);
            fillGradientRect(graphics, makeRectF(m, m + ih - fy + 1, iw + m, fy), rgbToArgb(bg, 0),
                             rgbToArgb(bg, 255), Gdiplus::LinearGradientModeVertical);
            fillGradientRect(graphics, makeRectF(m + iw - fx + 1, m, fx, ih + m), rgbToArgb(bg, 0),
                             rgbToArgb(bg, 255), Gdiplus::LinearGradientModeHorizontal);
        }
        return;
    }

    // Layered: the margin band stays transparent, the frame takes the window's opacity.
    const int alpha = std::clamp(window.opacity, 0, 255);
    const Argb fill = rgbToArgb(bg, alpha);
    gdip::GdipGraphicsClear(graphics, rgbToArgb(0xFFFFFF, 0));
    if (frameStyle_ == 0)
        fillRect(graphics, frame, fill);
    else
        drawRoundRect(graphics, frame, 7.0f, fill, true, 0, false);
    if (!picture)
        return;
    UniqueGpImageAttributes attributes = opacityAttributes(alpha);
    if (frameStyle_ == 0 && window.imageDrawMode == 0)
        drawBackgroundImage(graphics, backgroundImage_, frame, 0, fill, 0, attributes.get(),
                            edgeEffect_ != 0);
    else if (frameStyle_ == 0)
        gdip::GdipDrawImageRectRect(graphics, picture, frame.x, frame.y, frame.width, frame.height,
                                    0, 0, iw, ih, Gdiplus::UnitPixel, attributes.get(), nullptr,
                                    nullptr);
    else
        drawBackgroundImage(graphics, backgroundImage_, frame, 9, fill, window.imageDrawMode,
                            attributes.get(), edgeEffect_ != 0);
}

void SkinWindow::drawCaptionIcon(const WindowRecord& window, int margin) {
    const int at = margin + 6;
    SkinImage icon;
    if (HICON handle = windowIconOf(window.hwnd))
        icon.createFromIcon(handle);
    if (icon.handle() && window.windowBuffer.graphics()) {
        gdip::GdipDrawImageRectRect(
            window.windowBuffer.graphics(), icon.handle(), static_cast<float>(at),
            static_cast<float>(at), 16, 16, 0, 0, static_cast<float>(icon.width()),
            static_cast<float>(icon.height()), Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        flush(window.windowBuffer.graphics());
    }
    if (window.frame.dc() && window.windowBuffer.dc())
        ::BitBlt(window.frame.dc(), at, at, 16, 16, window.windowBuffer.dc(), at, at, SRCCOPY);
    iconElement_.move(at, at);
}

int SkinWindow::redrawWindow(std::optional<std::span<const std::uint8_t>> imageBytes,
                             std::optional<COLORREF> color, bool fadeIn) {
    // A size change that arrives in the middle (the window region's SetWindowPos) must not
    // start a second redraw over the buffers this one is drawing with: it would draw the
    // border twice and free the buffers under this redraw's feet.
    ++redrawDepth_;
    const int result = composeAndPresent(imageBytes, color, fadeIn);
    if (--redrawDepth_ == 0 && deferredSize_) {
        const SIZE size = *deferredSize_;
        deferredSize_.reset();
        if (size.cx != windowSize_.cx || size.cy != windowSize_.cy)
            handleSize(hwnd_, size.cx, size.cy);
    }
    return result;
}

int SkinWindow::composeAndPresent(std::optional<std::span<const std::uint8_t>> imageBytes,
                                  std::optional<COLORREF> color, bool fadeIn) {
    const WindowRecord* window = windowRecord(windowIndex_);
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
    const int margin = frameMargin(hwnd);
    const int cx = windowSize_.cx;
    const int cy = windowSize_.cy;

    drawBackgroundLayer(*window, margin);
    if (onPaint_) {
        onPaint_(hwnd, window->windowBuffer.graphics(), window->windowBuffer.dc(), cx, cy);
        // The callback may have attached or detached windows: find the record again.
        if (!(window = windowRecord(windowIndex_)))
            return 1;
    }
    flush(window->windowBuffer.graphics());
    if (window->frame.dc() && window->windowBuffer.dc())
        ::BitBlt(window->frame.dc(), 0, 0, cx, cy, window->windowBuffer.dc(), 0, 0, SRCCOPY);

    if (frameStyle_ != 1) {
        if (captionFlags_ & CaptionIcon)
            drawCaptionIcon(*window, margin);
        setCaptionTitle(windowText(hwnd), false, false);
    }

    layoutCaptionButtons(margin);
    window = windowRecord(windowIndex_);
    if (onPaintDone_ && window)
        onPaintDone_(hwnd, window->windowBuffer.graphics(), window->windowBuffer.dc(), cx, cy);
    redrawElements(0, false, false);

    window = windowRecord(windowIndex_);
    if (!window)
        return 1;
    const bool layered = window->opacity != -1;
    WindowRecord& record = *windowRecord(windowIndex_);
    Gdiplus::GpGraphics* frameGraphics = window->frame.graphics();
    if (frameStyle_ != 1) {
        if (!layered) {
            // Setting a window region costs a round of the window manager's shape machinery
            // and a repaint, and a redraw nearly always asks for the region the window has.
            const RegionShape shape{cx, cy, margin, frameStyle_};
            if (appliedRegion_ != shape) {
                applyWindowRegion(hwnd, cx, cy, margin, frameStyle_);
                appliedRegion_ = shape;
            }
        }
        const bool shadow = layered && margin > 0;
        if (record.decorations.prepare(cx, cy, margin, frameStyle_, shadow)) {
            flush(frameGraphics); // what GDI+ drew so far, before GDI blends over it
            record.decorations.stampBorder(record.frame.dc());
            if (shadow)
                record.decorations.stampShadow(record.frame.dc());
        } else {
            drawWindowBorder(frameGraphics, cx, cy, margin, frameStyle_);
            if (shadow)
                drawWindowShadow(frameGraphics, frameRect(cx, cy, margin), frameStyle_, 0x000000);
        }
    }
    flush(frameGraphics);

    if (fadeIn) {
        // The screen keeps its old picture; fadeInStep blends the new one in, tick by tick.
        ::SetTimer(hwnd, FadeInTimerId, Library::instance().defaultTimerPeriod, nullptr);
        return 1;
    }

    if (window->frame.dc()) {
        if (!layered) {
            ::BitBlt(window->windowDC.get(), 0, 0, cx, cy, window->frame.dc(), 0, 0, SRCCOPY);
        } else if (window->layer.dc()) {
            ::BitBlt(window->layer.dc(), 0, 0, cx, cy, window->frame.dc(), 0, 0, SRCCOPY);
            presentLayered(hwnd, window->layer.dc(), cx, cy);
        }
    }
    animating_ = false;
    return 1;
}

void SkinWindow::fadeInStep(HWND hwnd) {
    const WindowRecord* window = windowRecord(windowIndex_);
    if (!window)
        return;
    const int cx = windowSize_.cx, cy = windowSize_.cy;
    HDC target = window->windowDC.get();
    if (window->opacity != -1) {
        // The layer holds the previous tick's blend: show it, then blend the next one.
        target = window->layer.dc();
        if (target)
            presentLayered(hwnd, target, cx, cy);
    }
    if (fadeInAlpha_ >= 255) {
        animating_ = false;
        ::KillTimer(hwnd, FadeInTimerId);
        fadeInAlpha_ = 0;
        return;
    }
    fadeInAlpha_ += 51;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(fadeInAlpha_), 0};
    if (target && window->frame.dc())
        ::AlphaBlend(target, 0, 0, cx, cy, window->frame.dc(), 0, 0, cx, cy, blend);
}

Gdiplus::GpImage* SkinWindow::backgroundImageHandle(std::optional<Gdiplus::GpImage*> handle) {
    if (handle)
        backgroundImage_.setHandle(*handle);
    return backgroundImage_.handle();
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
    const RectF whole =
        makeRectF(0, 0, static_cast<float>(windowSize_.cx), static_cast<float>(windowSize_.cy));
    // By index, reading the list again each step: a handler may change it.
    for (int index = 1;; ++index) {
        const ElementRecord* element = elementRecord(windowIndex_, index);
        if (!element)
            break;
        if (element->visible && rectsIntersect(element->bounds, whole))
            dispatchToElement(windowIndex_, index, hwnd, ElementRepaintMessage, 0, RepaintAny,
                              direct);
    }
}

// Whether an area lies wholly inside the band the border and shadow never touch.
static bool frameEdgesUntouched(const RectF& area, int width, int height, int margin) {
    const double inner = margin + 3;
    return area.x - inner >= -RectTolerance && area.y - inner >= -RectTolerance &&
           double(area.x) + area.width - (width - 3 - margin) <= RectTolerance &&
           double(area.y) + area.height - (height - 3 - margin) <= RectTolerance;
}

void restoreFrameEdges(int windowIndex, const RectF& area, bool redrawDecorations) {
    WindowRecord* window = windowRecord(windowIndex);
    if (!window || !window->owner)
        return;
    const int frameStyle = window->owner->frameStyle();
    if (frameStyle == 1)
        return;
    const int margin = frameMargin(window->hwnd);
    const int width = window->windowRect.right - window->windowRect.left;
    const int height = window->windowRect.bottom - window->windowRect.top;
    if (frameEdgesUntouched(area, width, height, margin))
        return;
    Gdiplus::GpGraphics* graphics = window->frame.graphics();
    if (!graphics)
        return;
    const bool layered = window->opacity != -1;
    const bool stamps =
        redrawDecorations &&
        window->decorations.prepare(width, height, margin, frameStyle, layered && margin > 0);
    if (redrawDecorations) {
        if (stamps) {
            flush(graphics);
            window->decorations.stampBorder(window->frame.dc(), clipPixels(area));
        } else {
            setClipRect(graphics, area, Gdiplus::CombineModeReplace);
            drawWindowBorder(graphics, width, height, margin, frameStyle);
            resetClip(graphics);
        }
    }
    if (layered && margin == FrameMargin) {
        // The whole margin band goes back to transparent, then the shadow onto it.
        // Cleared strip by strip: a clear clipped to "all but the frame" costs GDI+ far more
        // than four small rectangular ones.
        const RectF frame = frameRect(width, height, margin);
        const float w = static_cast<float>(width), h = static_cast<float>(height);
        const float m = static_cast<float>(margin);
        for (const RectF& strip : {makeRectF(0, 0, w, m), makeRectF(0, h - m, w, m),
                                   makeRectF(0, m, m, h - 2 * m), makeRectF(w - m, m, m, h - 2 * m)}) {
            setClipRect(graphics, strip, Gdiplus::CombineModeReplace);
            gdip::GdipGraphicsClear(graphics, rgbToArgb(0xFFFFFF, 0));
        }
        resetClip(graphics);
        if (stamps) {
            flush(graphics);
            window->decorations.stampShadow(window->frame.dc());
        } else if (redrawDecorations) {
            drawWindowShadow(graphics, frame, frameStyle, 0x000000);
        }
    }
}

void SkinWindow::setCaptionTitle(std::string_view text, bool restoreBackground, bool present) {
    if (frameStyle_ == 1 || !(captionFlags_ & CaptionTitle))
        return;
    const WindowRecord* window = windowRecord(windowIndex_);
    if (!window)
        return;
    const int margin = frameMargin(window->hwnd);
    const RectF title = captionTitleRect(windowSize_.cx, margin, captionFlags_,
                                         static_cast<int>(captionButtons_.size()));
    if (title.width <= RectTolerance)
        return;
    const RECT box = rectFToRect(title);
    if (restoreBackground && window->frame.dc() && window->windowBuffer.dc())
        ::BitBlt(window->frame.dc(), box.left, box.top, static_cast<int>(title.width),
                 static_cast<int>(title.height), window->windowBuffer.dc(), box.left, box.top,
                 SRCCOPY);
    // The system's themed glow text is never used: it exists only from Windows Vista on,
    // and this glow looks the same on every system.
    flush(window->windowBuffer.graphics());
    const COLORREF color = isBackgroundDark(window->windowBuffer.dc(), title) ? 0xFFFFFF : 0x000000;
    drawSkinText(title, window->frame.graphics(), text, Library::instance().defaultFont.get(),
                 rgbToArgb(color, 225), TextAlignNearMiddle,
                 Gdiplus::StringTrimmingEllipsisCharacter, Gdiplus::HotkeyPrefixNone, 0,
                 TextEffectGlow);
    if (present)
        repaintArea(windowIndex_, title, true, false);
}

} // namespace skinui
