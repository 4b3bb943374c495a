#include "skinui/skin_window/back_buffer.h"

#include <utility>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

WindowDc::WindowDc(WindowDc&& other) noexcept
    : hwnd_(std::exchange(other.hwnd_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}

WindowDc& WindowDc::operator=(WindowDc&& other) noexcept {
    if (this != &other) {
        reset();
        hwnd_ = std::exchange(other.hwnd_, nullptr);
        dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
}

void WindowDc::reset() {
    if (dc_)
        ::ReleaseDC(hwnd_, dc_);
    dc_ = nullptr;
    hwnd_ = nullptr;
}

BackBuffer::BackBuffer(BackBuffer&& other) noexcept
    : dc_(std::move(other.dc_)), bitmap_(std::move(other.bitmap_)),
      oldBitmap_(std::exchange(other.oldBitmap_, nullptr)),
      graphics_(std::move(other.graphics_)), bits_(std::exchange(other.bits_, nullptr)),
      width_(std::exchange(other.width_, 0)), height_(std::exchange(other.height_, 0)) {}

BackBuffer& BackBuffer::operator=(BackBuffer&& other) noexcept {
    if (this != &other) {
        reset();
        dc_ = std::move(other.dc_);
        bitmap_ = std::move(other.bitmap_);
        oldBitmap_ = std::exchange(other.oldBitmap_, nullptr);
        graphics_ = std::move(other.graphics_);
        bits_ = std::exchange(other.bits_, nullptr);
        width_ = std::exchange(other.width_, 0);
        height_ = std::exchange(other.height_, 0);
    }
    return *this;
}

BackBuffer BackBuffer::compatibleWith(HDC reference) {
    BackBuffer buffer;
    buffer.dc_.reset(::CreateCompatibleDC(reference));
    return buffer;
}

void BackBuffer::releaseBitmap() {
    graphics_.reset();
    if (oldBitmap_ && dc_)
        ::SelectObject(dc_.get(), oldBitmap_);
    oldBitmap_ = nullptr;
    bitmap_.reset();
    bits_ = nullptr;
    width_ = 0;
    height_ = 0;
}

void BackBuffer::createBackBuffer(int width, int height) {
    releaseBitmap();
    if (!dc_ || width <= 0 || height <= 0)
        return;

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = height; // positive: bottom-up rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    info.bmiHeader.biSizeImage = static_cast<DWORD>(static_cast<double>(width) * height * 4);
    void* bits = nullptr;
    bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap_)
        return;
    bits_ = static_cast<std::uint32_t*>(bits);
    width_ = width;
    height_ = height;
    oldBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());

    Gdiplus::GpGraphics* graphics = nullptr;
    gdip::GdipCreateFromHDC(dc_.get(), &graphics);
    graphics_.reset(graphics);
    if (graphics) {
        gdip::GdipSetSmoothingMode(graphics, Gdiplus::SmoothingModeAntiAlias);
        gdip::GdipSetTextRenderingHint(graphics, Gdiplus::TextRenderingHintAntiAliasGridFit);
    }
}

std::uint32_t BackBuffer::pixel(int x, int y) const {
    if (!bits_ || x < 0 || y < 0 || x >= width_ || y >= height_)
        return 0;
    if (graphics_)
        gdip::GdipFlush(graphics_.get(), Gdiplus::FlushIntentionSync);
    ::GdiFlush();
    return bits_[static_cast<size_t>(height_ - 1 - y) * static_cast<size_t>(width_) +
                 static_cast<size_t>(x)];
}

void BackBuffer::reset() {
    releaseBitmap();
    dc_.reset();
}

} // namespace skinui
