#pragma once
// A memory DC with a bitmap of a given size selected into it, for painting a control
// without flicker: draw here, then present() copies the whole picture at once.

#include "skinui/unique_handle.h"

#include <windows.h>

namespace yunti {

class OffscreenSurface final {
  public:
    // A surface compatible with `target` of width x height; dc() is null when GDI failed.
    OffscreenSurface(HDC target, int width, int height)
        : target_(target), width_(width), height_(height), dc_(::CreateCompatibleDC(target)),
          bitmap_(::CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)) {
        if (dc_ && bitmap_)
            oldBitmap_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~OffscreenSurface() {
        if (oldBitmap_)
            ::SelectObject(dc_.get(), oldBitmap_);
    }
    OffscreenSurface(const OffscreenSurface&) = delete;
    OffscreenSurface& operator=(const OffscreenSurface&) = delete;

    // Null when the surface could not be made; callers then paint straight onto the target.
    HDC dc() const { return oldBitmap_ ? dc_.get() : nullptr; }

    void present() const {
        if (dc())
            ::BitBlt(target_, 0, 0, width_, height_, dc(), 0, 0, SRCCOPY);
    }

  private:
    HDC target_;
    int width_;
    int height_;
    skinui::UniqueDc dc_;
    skinui::UniqueGdiObject bitmap_;
    HGDIOBJ oldBitmap_ = nullptr;
};

} // namespace yunti
