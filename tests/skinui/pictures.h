#pragma once
// Small pictures for drawing tests: solid ARGB bitmaps with optional coloured blocks.

#include "skinui/skin_image/skin_image.h"
#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>

namespace skinui::testing {

// Fills `image` (a SkinImage made by createFromScan0) over (x, y, width, height) with argb,
// replacing what was there (no blending).
inline void paintBlock(SkinImage& image, int x, int y, int width, int height, std::uint32_t argb) {
    Gdiplus::GpGraphics* context = nullptr;
    Gdiplus::DllExports::GdipGetImageGraphicsContext(image.handle(), &context);
    UniqueGpGraphics graphics(context);
    if (!graphics)
        return;
    Gdiplus::DllExports::GdipSetCompositingMode(graphics.get(), Gdiplus::CompositingModeSourceCopy);
    Gdiplus::GpSolidFill* fill = nullptr;
    Gdiplus::DllExports::GdipCreateSolidFill(argb, &fill);
    UniqueGpBrush brush(fill);
    if (brush)
        Gdiplus::DllExports::GdipFillRectangleI(graphics.get(), brush.get(), x, y, width, height);
}

// A width x height 32-bit ARGB picture of one colour.
inline void makeSolidPicture(SkinImage& image, int width, int height, std::uint32_t argb) {
    image.createFromScan0(width, height);
    paintBlock(image, 0, 0, width, height, argb);
}

inline int redOf(std::uint32_t pixel) {
    return (pixel >> 16) & 0xFF;
}
inline int greenOf(std::uint32_t pixel) {
    return (pixel >> 8) & 0xFF;
}
inline int blueOf(std::uint32_t pixel) {
    return pixel & 0xFF;
}
inline int alphaOf(std::uint32_t pixel) {
    return pixel >> 24;
}

} // namespace skinui::testing
