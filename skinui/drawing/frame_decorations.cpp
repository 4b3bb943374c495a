#include "skinui/drawing/frame_decorations.h"

#include "skinui/drawing/frame.h"

#include <cmath>
#include <utility>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

// How far from the window's edges the outlines reach: the shadow's outer ring lies a pixel
// inside the edge, the border two pixels inside the margin, and no corner arc bends more
// than four pixels away from its sides; the rest is room for anti-aliasing.
int stripThickness(int m) {
    return m + 10;
}

} // namespace

FrameDecorations::Strip::Strip(Strip&& other) noexcept
    : place(other.place), dc(std::move(other.dc)), bitmap(std::move(other.bitmap)),
      oldBitmap(std::exchange(other.oldBitmap, nullptr)) {}

FrameDecorations::Strip& FrameDecorations::Strip::operator=(Strip&& other) noexcept {
    if (this != &other) {
        if (dc && oldBitmap)
            ::SelectObject(dc.get(), oldBitmap);
        place = other.place;
        dc = std::move(other.dc);
        bitmap = std::move(other.bitmap);
        oldBitmap = std::exchange(other.oldBitmap, nullptr);
    }
    return *this;
}

FrameDecorations::Strip::~Strip() {
    if (dc && oldBitmap)
        ::SelectObject(dc.get(), oldBitmap); // the bitmap is deleted unselected
}

RECT clipPixels(const RectF& area) {
    const auto edge = [](double v) { return static_cast<LONG>(std::floor(v + 0.5)); };
    return RECT{edge(area.x), edge(area.y), edge(double(area.x) + area.width),
                edge(double(area.y) + area.height)};
}

bool FrameDecorations::prepare(int cx, int cy, int m, int frameStyle, bool shadow) {
    const Shape shape{cx, cy, m, frameStyle, shadow};
    if (shape_ == shape)
        return usable_;
    shape_ = shape;
    border_ = Strips{};
    shadow_ = Strips{};
    const int t = stripThickness(m);
    usable_ = cx > 2 * t && cy > 2 * t && makeStrips(border_, shape, false) &&
              (!shadow || makeStrips(shadow_, shape, true));
    if (!usable_) {
        border_ = Strips{};
        shadow_ = Strips{};
    }
    return usable_;
}

bool FrameDecorations::makeStrips(Strips& strips, const Shape& shape, bool shadowOnly) {
    const int t = stripThickness(shape.m);
    const RECT places[4] = {
        {0, 0, shape.cx, t},
        {0, shape.cy - t, shape.cx, shape.cy},
        {0, t, t, shape.cy - t},
        {shape.cx - t, t, shape.cx, shape.cy - t},
    };
    for (int i = 0; i < 4; ++i) {
        Strip& strip = strips[static_cast<size_t>(i)];
        strip.place = places[i];
        const int width = places[i].right - places[i].left;
        const int height = places[i].bottom - places[i].top;

        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down, so GDI+ can draw straight into it
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr; // zeroed by the system: fully transparent
        strip.dc.reset(::CreateCompatibleDC(nullptr));
        strip.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        if (!strip.dc || !strip.bitmap || !bits)
            return false;
        strip.oldBitmap = ::SelectObject(strip.dc.get(), strip.bitmap.get());

        // The strip's pixels as a premultiplied GDI+ bitmap, as AlphaBlend reads them.
        Gdiplus::GpBitmap* raw = nullptr;
        gdip::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppPARGB,
                                        static_cast<BYTE*>(bits), &raw);
        UniqueGpImage image(raw);
        Gdiplus::GpGraphics* graphics = nullptr;
        if (image)
            gdip::GdipGetImageGraphicsContext(image.get(), &graphics);
        UniqueGpGraphics owned(graphics);
        if (!owned)
            return false;
        gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        gdip::GdipTranslateWorldTransform(graphics, static_cast<float>(-places[i].left),
                                          static_cast<float>(-places[i].top),
                                          Gdiplus::MatrixOrderPrepend);
        if (shadowOnly)
            drawWindowShadow(graphics, frameRect(shape.cx, shape.cy, shape.m), shape.frameStyle,
                             0x000000);
        else
            drawWindowBorder(graphics, shape.cx, shape.cy, shape.m, shape.frameStyle);
        gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    }
    ::GdiFlush();
    return true;
}

void FrameDecorations::stampBorder(HDC target, const std::optional<RECT>& clip) const {
    if (usable_)
        stamp(border_, target, clip);
}

void FrameDecorations::stampShadow(HDC target) const {
    if (usable_ && shape_ && shape_->shadow)
        stamp(shadow_, target, std::nullopt);
}

void FrameDecorations::stamp(const Strips& strips, HDC target, const std::optional<RECT>& clip) {
    if (!target)
        return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    for (const Strip& strip : strips) {
        if (!strip.dc)
            continue;
        RECT part = strip.place;
        if (clip) {
            if (!::IntersectRect(&part, &strip.place, &*clip))
                continue;
        }
        ::AlphaBlend(target, part.left, part.top, part.right - part.left, part.bottom - part.top,
                     strip.dc.get(), part.left - strip.place.left, part.top - strip.place.top,
                     part.right - part.left, part.bottom - part.top, blend);
    }
}

} // namespace skinui
