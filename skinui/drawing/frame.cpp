#include "skinui/drawing/frame.h"

#include "skinui/drawing/primitives.h"

namespace skinui {

int frameMargin(HWND hwnd) {
    return ::IsZoomed(hwnd) ? 0 : FrameMargin;
}

void drawWindowBorder(Gdiplus::GpGraphics* graphics, int cx, int cy, int m, int frameStyle) {
    if (!graphics)
        return;
    RectF rect = frameRect(cx, cy, m);
    if (frameStyle == 0) {
        drawRectBorder(graphics, rect, rgbToArgb(0x000000, 110));
        adjustRect(1, 1, -2, -2, rect);
        drawRectBorder(graphics, rect, rgbToArgb(0xFFFFFF, 70));
    } else {
        drawRoundRect(graphics, rect, 6.0f, 0, false, rgbToArgb(0x000000, 120), true, 1.0f);
        adjustRect(1, 1, -2, -2, rect);
        drawRoundRect(graphics, rect, 4.0f, 0, false, rgbToArgb(0xFFFFFF, 70), true, 1.0f);
    }
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
        drawRoundRect(graphics, ring, corners[i], 0, false, rgbToArgb(color, alphas[i]), true,
                      1.0f);
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
