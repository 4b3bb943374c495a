#pragma once
// Small pictures for drawing tests: solid ARGB bitmaps with optional coloured blocks.

#include "skinui/skin_image/skin_image.h"
#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <iterator>

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

// A 16 x 16 icon of one opaque colour, with an all-zero mask (every pixel shows).
inline UniqueIcon solidIcon(std::uint32_t argb) {
    std::uint32_t pixels[16 * 16];
    std::fill(std::begin(pixels), std::end(pixels), argb);
    const std::uint8_t mask[16 * 16 / 8] = {};
    UniqueGdiObject color(::CreateBitmap(16, 16, 1, 32, pixels));
    UniqueGdiObject maskBitmap(::CreateBitmap(16, 16, 1, 1, mask));
    if (!color || !maskBitmap)
        return UniqueIcon();
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(maskBitmap.get()),
                  static_cast<HBITMAP>(color.get())};
    return UniqueIcon(::CreateIconIndirect(&info)); // the icon keeps copies of both bitmaps
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

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace skinui::testing {

// An encoded 24-bit BMP file of width x height whose pixel (x, y) is colorAt(x, y), a
// COLORREF: what attachToWindow and redrawWindow decode.
inline std::vector<std::uint8_t> bmpBytes(int width, int height,
                                          const std::function<COLORREF(int, int)>& colorAt) {
    const int stride = (width * 3 + 3) & ~3;
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER info{};
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof(file) + sizeof(info);
    file.bfSize = file.bfOffBits + static_cast<DWORD>(stride * height);
    info.biSize = sizeof(info);
    info.biWidth = width;
    info.biHeight = height; // bottom-up
    info.biPlanes = 1;
    info.biBitCount = 24;
    std::vector<std::uint8_t> bytes(file.bfSize);
    std::memcpy(bytes.data(), &file, sizeof(file));
    std::memcpy(bytes.data() + sizeof(file), &info, sizeof(info));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* row = bytes.data() + file.bfOffBits + (height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const COLORREF color = colorAt(x, y);
            row[x * 3 + 0] = GetBValue(color);
            row[x * 3 + 1] = GetGValue(color);
            row[x * 3 + 2] = GetRValue(color);
        }
    }
    return bytes;
}

} // namespace skinui::testing

namespace skinui::testing {

// Whether a pixel's colour (alpha ignored) is within `tolerance` of 0xRRGGBB on each channel:
// colours the library draws carry alpha 254 and so land a unit off after premultiplying.
inline ::testing::AssertionResult colorNear(std::uint32_t pixel, std::uint32_t rgb,
                                            int tolerance = 2) {
    const int dr = redOf(pixel) - static_cast<int>((rgb >> 16) & 0xFF);
    const int dg = greenOf(pixel) - static_cast<int>((rgb >> 8) & 0xFF);
    const int db = blueOf(pixel) - static_cast<int>(rgb & 0xFF);
    if (dr * dr <= tolerance * tolerance && dg * dg <= tolerance * tolerance &&
        db * db <= tolerance * tolerance)
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << std::hex << "pixel " << pixel << " is not near " << rgb;
}

} // namespace skinui::testing
