#pragma once
// SkinImage: one owned GDI+ picture and whatever its pixels depend on.
//
// Every picture the library draws lives in a SkinImage: window backgrounds, picture and
// button controls, the caption-button sheet, the message box icons. Besides the GDI+
// image the object owns
//   - the global-memory block (and the stream over it) of a picture decoded from bytes,
//     which GDI+ may read lazily for as long as the image lives, and
//   - the backing bitmap of an icon converted with its own alpha, whose pixel memory the
//     image uses as its own.
// Every loader first disposes what the object held. An empty object hands no null handle to
// GDI+: its getters return 0 and its setters do nothing. GDI+ must have been started.

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace skinui {

class SkinImage final {
  public:
    SkinImage() = default;
    ~SkinImage() { dispose(); }
    SkinImage(const SkinImage&) = delete;
    SkinImage& operator=(const SkinImage&) = delete;

    // Releases the image, then what its pixels depended on. Harmless when empty.
    void dispose();

    // Decodes an encoded picture (PNG, GIF, JPEG, BMP, ICO or anything GDI+ reads).
    // Returns the image, null on failure (the object is then empty and keeps no block).
    Gdiplus::GpImage* loadFromBytes(std::span<const std::uint8_t> bytes);

    // Loads a picture file; the path is UTF-8. Returns the image, null on failure.
    Gdiplus::GpImage* loadFromFile(std::string_view path);

    // GdipCreateBitmapFromScan0. Without memory GDI+ allocates the pixels (stride 0); the
    // format defaults to 32-bit ARGB. The caller keeps `pixels` alive as long as the image.
    bool createFromScan0(int width, int height, int stride = 0, void* pixels = nullptr,
                         Gdiplus::PixelFormat format = PixelFormat32bppARGB);

    // Converts an icon. An icon whose 32-bit colour bitmap has a partly transparent pixel
    // (alpha 1..254) keeps its own alpha channel; any other icon is converted by GDI+,
    // which applies the icon's mask. The icon stays the caller's.
    Gdiplus::GpImage* createFromIcon(HICON icon);

    Gdiplus::GpImage* createFromHBitmap(HBITMAP bitmap);

    Gdiplus::GpImage* handle() const { return image_.get(); }

    // Adopts an image without disposing anything first: a handle held before stays with
    // whoever obtained it (with its block and backing bitmap, which this object keeps).
    void setHandle(Gdiplus::GpImage* image);

    int width() const;
    int height() const;
    Gdiplus::ARGB pixel(int x, int y) const;

    // Frames along the time dimension (an animated GIF's frames); 0 on failure.
    int frameCount() const;
    bool selectFrame(int frameIndex);

    // The per-frame delays in hundredths of a second, one per frame in frame order; nothing
    // when the picture has no frame-delay property of integer type.
    std::optional<std::vector<std::int32_t>> frameDelays() const;

    void rotateFlip(Gdiplus::RotateFlipType rotateFlip);

    // True while a block of encoded bytes is kept for the image / a backing bitmap lives.
    bool holdsSourceMemory() const { return static_cast<bool>(sourceMemory_); }
    bool holdsBackingBitmap() const { return static_cast<bool>(backingBitmap_); }

  private:
    Gdiplus::GpImage* createFromIconWithAlpha(const ICONINFO& info, const BITMAP& color);

    // Release order matters: the image goes first, then what it reads from (dispose()).
    UniqueGpImage image_;
    UniqueGpImage backingBitmap_;
    UniqueComObject sourceStream_;
    UniqueGlobal sourceMemory_;
};

} // namespace skinui
