#include "skinui/drawing/frame.h"

#include "skinui/drawing/primitives.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

int frameMargin(HWND hwnd) {
    return ::IsZoomed(hwnd) ? 0 : FrameMargin;
}

namespace {

// Strokes the outline of a rectangle (corner 0) or of the rounded rectangle roundRectPath
// builds, one side and one corner at a time. GDI+ rasterises a stroke over the bounding box
// of what it is given, so a window-sized closed outline costs as much as filling the window;
// its sides and corners drawn one by one cost only their own few pixels.
void strokeOutlineInPieces(Gdiplus::GpGraphics* graphics, const RectF& rect, float corner,
                           Argb argb) {
    UniqueGpPen pen = createPen(argb, 1.0f);
    if (!graphics || !pen)
        return;
    const double x = rect.x, y = rect.y, w = rect.width, h = rect.height, d = corner;
    const auto f = [](double v) { return static_cast<float>(v); };
    const auto line = [&](double x1, double y1, double x2, double y2) {
        gdip::GdipDrawLine(graphics, pen.get(), f(x1), f(y1), f(x2), f(y2));
    };
    const double right = x + w - 1, bottom = y + h - 1;
    if (corner <= 0) {
        line(x, y, right, y);
        line(right, y, right, bottom);
        line(right, bottom, x, bottom);
        line(x, bottom, x, y);
        return;
    }
    const double r = d / 2;
    const auto arc = [&](double ax, double ay, float start) {
        gdip::GdipDrawArc(graphics, pen.get(), f(ax), f(ay), corner, corner, start, 90.0f);
    };
    arc(x, y, 180);
    line(x + r, y, right - d + r, y);
    arc(right - d, y, 270);
    line(right, y + r, right, bottom - d + r);
    arc(right - d, bottom - d, 0);
    line(right - d + r, bottom, x + r, bottom);
    arc(x, bottom - d, 90);
    line(x, bottom - d + r, x, y + r);
}

} // namespace

void drawWindowBorder(Gdiplus::GpGraphics* graphics, int cx, int cy, int m, int frameStyle) {
    if (!graphics)
        return;
    RectF rect = frameRect(cx, cy, m);
    // The dark outer line on the frame rectangle's edge, the light one a pixel inside; with
    // rounded corners of 6 and 4 unless the frame is square.
    const bool square = frameStyle == 0;
    strokeOutlineInPieces(graphics, rect, square ? 0.0f : 6.0f,
                          rgbToArgb(0x000000, square ? 110 : 120));
    adjustRect(1, 1, -2, -2, rect);
    strokeOutlineInPieces(graphics, rect, square ? 0.0f : 4.0f, rgbToArgb(0xFFFFFF, 70));
}

void drawWindowShadow(Gdiplus::GpGraphics* graphics, const RectF& rect, int frameStyle,
                      COLORREF color) {
    if (!graphics)
        return;
    static constexpr float squareCorners[4] = {4, 7, 11, 14};
    static constexpr float roundCorners[4] = {11, 14, 17, 20};
    static constexpr int alphas[4] = {75, 55, 25, 15};
    const float* corners = frameStyle == 0 ? squareCorners : roundCorners;
    RectF ring = rect;
    for (int i = 0; i < 4; ++i) {
        adjustRect(-1, -1, 2, 2, ring);
        strokeOutlineInPieces(graphics, ring, corners[i], rgbToArgb(color, alphas[i]));
    }
}

void applyWindowRegion(HWND hwnd, int cx, int cy, int m, int corner) {
    const RECT corners = windowRegionCorners(cx, cy, m);
    if (HRGN region = ::CreateRoundRectRgn(corners.left, corners.top, corners.right, corners.bottom,
                                           corner, corner))
        ::SetWindowRgn(hwnd, region, TRUE); // the window owns the region from here on
}

RectF captionTitleRect(int cx, int m, int captionFlags, int captionButtonCount) {
    const int rightReserve = m + 5 + 28 * captionButtonCount + ((captionFlags & 4) ? 11 : 0);
    const int left = ((captionFlags & 1) ? 28 : 8) + m;
    const int width = cx - rightReserve - left;
    return makeRectF(static_cast<float>(left), static_cast<float>(m + 6), static_cast<float>(width),
                     17);
}

} // namespace skinui
