#include "skinui/drawing/background.h"

#include "skinui/drawing/primitives.h"
#include "skinui/unique_handle.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

float asFloat(double value) {
    return static_cast<float>(value);
}

void drawImage(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
               const RectF& source, Gdiplus::GpImageAttributes* attributes = nullptr) {
    gdip::GdipDrawImageRectRect(graphics, image, dest.x, dest.y, dest.width, dest.height, source.x,
                                source.y, source.width, source.height, Gdiplus::UnitPixel,
                                attributes, nullptr, nullptr);
}

// The picture at its natural size on an opaque bg bitmap of width x height, its bottom and
// right edges fading from transparent into bg. Null when GDI+ cannot make the bitmap.
UniqueGpImage fadedEdgesBitmap(Gdiplus::GpImage* image, int imageWidth, int imageHeight, int width,
                               int height, Argb bg) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    UniqueGpImage owner(bitmap);
    if (!owner)
        return owner;
    Gdiplus::GpGraphics* context = nullptr;
    gdip::GdipGetImageGraphicsContext(owner.get(), &context);
    UniqueGpGraphics graphics(context);
    if (!graphics)
        return owner;
    gdip::GdipGraphicsClear(graphics.get(), withAlpha(bg, 255));
    gdip::GdipDrawImageRect(graphics.get(), image, 0, 0, static_cast<float>(imageWidth),
                            static_cast<float>(imageHeight));
    const EdgeFadeSizes fade = edgeFadeSizes(imageWidth, imageHeight);
    const float iw = static_cast<float>(imageWidth), ih = static_cast<float>(imageHeight);
    const float fx = static_cast<float>(fade.fx), fy = static_cast<float>(fade.fy);
    fillGradientRect(graphics.get(), makeRectF(0, ih - fy, iw, fy + 1), withAlpha(bg, 0),
                     withAlpha(bg, 255), Gdiplus::LinearGradientModeVertical);
    fillGradientRect(graphics.get(), makeRectF(iw - fx, 0, fx + 1, ih), withAlpha(bg, 0),
                     withAlpha(bg, 255), Gdiplus::LinearGradientModeHorizontal);
    return owner;
}

} // namespace

void drawBackgroundImage(Gdiplus::GpGraphics* graphics, const SkinImage& image, const RectF& rect,
                         int corner, Argb bgArgb, int stretch,
                         Gdiplus::GpImageAttributes* attributes, bool fadeEdges) {
    Gdiplus::GpImage* handle = image.handle();
    if (!graphics || !handle)
        return;
    UniqueGpPath path;
    if (corner != 0) {
        path = roundRectPath2(rect, corner);
        setClipPath(graphics, path.get(), Gdiplus::CombineModeReplace);
    } else {
        setClipRect(graphics, rect, Gdiplus::CombineModeReplace);
    }
    const int iw = image.width(), ih = image.height();
    const RectF natural = makeRectF(0, 0, static_cast<float>(iw), static_cast<float>(ih));
    if (stretch == 1) {
        drawImage(graphics, handle, rect, natural, attributes);
    } else if (fadeEdges) {
        const int width = static_cast<int>(rect.width), height = static_cast<int>(rect.height);
        if (UniqueGpImage faded = fadedEdgesBitmap(handle, iw, ih, width, height, bgArgb))
            drawImage(graphics, faded.get(), rect, makeRectF(0, 0, rect.width, rect.height),
                      attributes);
    } else {
        drawImage(graphics, handle, makeRectF(rect.x, rect.y, natural.width, natural.height),
                  natural, attributes);
    }
    resetClip(graphics);
}

NineGridParts nineGridParts(int imageWidth, int imageHeight, const RectF& dest,
                            const RectF& centre) {
    const double iw = imageWidth, ih = imageHeight;
    const double X = dest.x, Y = dest.y, W = dest.width, H = dest.height;
    const double L = centre.x, T = centre.y, cw = centre.width, ch = centre.height;
    const double R = iw - L - cw, B = ih - T - ch;
    auto rect = [](double x, double y, double w, double h) {
        return makeRectF(asFloat(x), asFloat(y), asFloat(w), asFloat(h));
    };
    const double midW = W - L - R, midH = H - T - B, srcMidW = iw - L - R;
    return NineGridParts{{
        {rect(X, Y, L, T), rect(0, 0, L, T)},
        {rect(X + L, Y, midW, T), rect(L, 0, srcMidW, T)},
        {rect(X + W - R, Y, R, T), rect(iw - R, 0, R, T)},
        {rect(X, Y + T, L, midH), rect(0, T, L, ch)},
        {rect(X + L, Y + T, midW, midH), rect(L, T, cw, ch)},
        {rect(X + W - R, Y + T, R, midH), rect(iw - R, T, R, ch)},
        {rect(X, Y + H - B, L, B), rect(0, ih - B, L, B)},
        {rect(X + L, Y + H - B, midW, B), rect(L, ih - B, srcMidW, B)},
        {rect(X + W - R, Y + H - B, R, B), rect(iw - R, ih - B, R, B)},
    }};
}

void drawNineGrid(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                  const RectF& centre) {
    if (!graphics || !image)
        return;
    UINT iw = 0, ih = 0;
    gdip::GdipGetImageWidth(image, &iw);
    gdip::GdipGetImageHeight(image, &ih);
    const NineGridParts grid =
        nineGridParts(static_cast<int>(iw), static_cast<int>(ih), dest, centre);
    for (const NineGridPart& part : grid.parts)
        drawImage(graphics, image, part.dest, part.source);
}

} // namespace skinui
