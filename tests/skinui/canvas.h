#pragma once
// A 32-bit top-down DIB section with a GDI+ ARGB bitmap over the same memory, so what
// GDI+ draws can be read back as the pixels it really wrote (alpha included).

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>

namespace skinui::testing {

class Canvas {
  public:
    Canvas(int width, int height) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        dib_.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        bits_ = static_cast<std::uint32_t*>(bits);
        Gdiplus::GpBitmap* bitmap = nullptr;
        Gdiplus::DllExports::GdipCreateBitmapFromScan0(
            width, height, width * 4, PixelFormat32bppARGB, static_cast<BYTE*>(bits), &bitmap);
        bitmap_.reset(bitmap);
        Gdiplus::GpGraphics* graphics = nullptr;
        if (bitmap)
            Gdiplus::DllExports::GdipGetImageGraphicsContext(bitmap, &graphics);
        graphics_.reset(graphics);
    }

    Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }
    bool ready() const { return bits_ && graphics_; }

    // 0xAARRGGBB as stored in the DIB section.
    std::uint32_t at(int x, int y) const {
        if (graphics_)
            Gdiplus::DllExports::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
        return bits_[y * width_ + x];
    }

    bool blank() const {
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x)
                if (at(x, y) != 0)
                    return false;
        return true;
    }

    int width() const { return width_; }
    int height() const { return height_; }

  private:
    int width_;
    int height_;
    UniqueGdiObject dib_;
    std::uint32_t* bits_ = nullptr;
    UniqueGpImage bitmap_;
    UniqueGpGraphics graphics_;
};

} // namespace skinui::testing
