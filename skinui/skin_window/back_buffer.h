#pragma once
// Owners of a skinned window's drawing surfaces: its own DC and its off-screen buffers.

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>

namespace skinui {

// The DC of a window from GetDC, given back with ReleaseDC. A skinned window takes it once
// at attach and keeps it until detach.
class WindowDc final {
  public:
    WindowDc() = default;
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(::GetDC(hwnd)) {}
    ~WindowDc() { reset(); }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    WindowDc(WindowDc&& other) noexcept;
    WindowDc& operator=(WindowDc&& other) noexcept;

    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }
    void reset();

  private:
    HWND hwnd_ = nullptr;
    HDC dc_ = nullptr;
};

// One off-screen buffer: a memory DC, a 32-bit bottom-up DIB section selected into it (the
// bitmap it replaced is kept to be put back), and a GDI+ Graphics on the DC with
// anti-aliased smoothing and anti-aliased grid-fit text.
//
// Release order, wherever a buffer goes away: the Graphics, then the old bitmap back into
// the DC, then the DIB section, then the DC.
class BackBuffer final {
  public:
    BackBuffer() = default;
    ~BackBuffer() { reset(); }
    BackBuffer(const BackBuffer&) = delete;
    BackBuffer& operator=(const BackBuffer&) = delete;
    BackBuffer(BackBuffer&& other) noexcept;
    BackBuffer& operator=(BackBuffer&& other) noexcept;

    // A buffer with a memory DC compatible with `reference` (null: the screen) and no
    // bitmap yet.
    static BackBuffer compatibleWith(HDC reference);

    // createBackBuffer: releases the bitmap and Graphics the buffer holds (the DC stays) and
    // creates a new DIB section of width x height with a Graphics over it. Nothing is
    // created when the buffer has no DC or a size is not positive; a failed call leaves a
    // null handle and later drawing through it does nothing.
    void createBackBuffer(int width, int height);

    HDC dc() const { return dc_.get(); }
    HBITMAP bitmap() const { return static_cast<HBITMAP>(bitmap_.get()); }
    Gdiplus::GpGraphics* graphics() const { return graphics_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }

    // The pixel at (x, y) counted from the top, as 0xAARRGGBB; 0 outside the buffer. Flushes
    // GDI first so what was drawn is there.
    std::uint32_t pixel(int x, int y) const;

    // Releases everything, the DC included.
    void reset();

  private:
    void releaseBitmap();

    UniqueDc dc_;
    UniqueGdiObject bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
    UniqueGpGraphics graphics_;
    std::uint32_t* bits_ = nullptr; // bottom-up rows
    int width_ = 0;
    int height_ = 0;
};

} // namespace skinui
