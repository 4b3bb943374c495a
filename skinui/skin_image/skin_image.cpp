#include "skinui/skin_image/skin_image.h"

#include "skinui/text_conversion.h"

#include <cstring>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

// GDI+'s time dimension of multi-frame images (FrameDimensionTime).
constexpr GUID FrameDimensionTimeId = {
    0x6aedbd6d, 0x3fb5, 0x418a, {0x83, 0xa6, 0x7f, 0x45, 0x22, 0x9d, 0xc8, 0x72}};

Gdiplus::GpImage* asImage(Gdiplus::GpBitmap* bitmap) {
    return static_cast<Gdiplus::GpImage*>(bitmap);
}

} // namespace

void SkinImage::dispose() {
    image_.reset();
    backingBitmap_.reset();
    sourceStream_.reset();
    sourceMemory_.reset();
}

void SkinImage::setHandle(Gdiplus::GpImage* image) {
    (void)image_.release(); // the previous handle is its holder's to dispose
    image_.reset(image);
}

Gdiplus::GpImage* SkinImage::loadFromBytes(std::span<const std::uint8_t> bytes) {
    dispose();
    if (bytes.empty())
        return nullptr;
    // The stream over the block needs a moveable block (CreateStreamOnHGlobal).
    UniqueGlobal memory(::GlobalAlloc(GMEM_MOVEABLE, bytes.size()));
    if (!memory)
        return nullptr;
    void* address = ::GlobalLock(memory.get());
    if (!address)
        return nullptr;
    std::memcpy(address, bytes.data(), bytes.size());
    ::GlobalUnlock(memory.get());

    IStream* stream = nullptr;
    if (::CreateStreamOnHGlobal(memory.get(), FALSE, &stream) != S_OK || !stream)
        return nullptr;
    UniqueComObject streamOwner(stream);
    Gdiplus::GpImage* decoded = nullptr;
    if (gdip::GdipLoadImageFromStream(stream, &decoded) != Gdiplus::Ok || !decoded) {
        if (decoded)
            gdip::GdipDisposeImage(decoded);
        return nullptr;
    }
    image_.reset(decoded);
    sourceStream_ = std::move(streamOwner);
    sourceMemory_ = std::move(memory);
    return image_.get();
}

Gdiplus::GpImage* SkinImage::loadFromFile(std::string_view path) {
    dispose();
    const std::wstring widePath = toWide(path);
    Gdiplus::GpImage* loaded = nullptr;
    if (gdip::GdipLoadImageFromFile(widePath.c_str(), &loaded) == Gdiplus::Ok)
        image_.reset(loaded);
    else if (loaded)
        gdip::GdipDisposeImage(loaded);
    return image_.get();
}

bool SkinImage::createFromScan0(int width, int height, int stride, void* pixels,
                                Gdiplus::PixelFormat format) {
    dispose();
    Gdiplus::GpBitmap* bitmap = nullptr;
    const Gdiplus::GpStatus status = gdip::GdipCreateBitmapFromScan0(
        width, height, stride, format, static_cast<BYTE*>(pixels), &bitmap);
    image_.reset(asImage(bitmap));
    return status == Gdiplus::Ok && bitmap;
}

Gdiplus::GpImage* SkinImage::createFromHBitmap(HBITMAP bitmap) {
    dispose();
    if (!bitmap)
        return nullptr;
    Gdiplus::GpBitmap* created = nullptr;
    gdip::GdipCreateBitmapFromHBITMAP(bitmap, nullptr, &created);
    image_.reset(asImage(created));
    return image_.get();
}

Gdiplus::GpImage* SkinImage::createFromIcon(HICON icon) {
    dispose();
    if (!icon)
        return nullptr;
    ICONINFO info{};
    BITMAP color{};
    if (::GetIconInfo(icon, &info) && info.hbmColor)
        ::GetObjectW(info.hbmColor, sizeof(color), &color);
    // GetIconInfo hands us copies of both bitmaps.
    UniqueGdiObject mask(info.hbmMask);
    UniqueGdiObject colorCopy(info.hbmColor);

    if (color.bmBitsPixel >= 32) {
        if (Gdiplus::GpImage* withAlpha = createFromIconWithAlpha(info, color))
            return withAlpha;
    }
    Gdiplus::GpBitmap* converted = nullptr;
    gdip::GdipCreateBitmapFromHICON(icon, &converted);
    image_.reset(asImage(converted));
    return image_.get();
}

// GDI+ reads a 32-bit colour bitmap as RGB and drops its alpha bytes. Reading the same
// pixel memory again as ARGB brings them back; the result is kept only when the icon really
// is partly transparent, otherwise the mask-based conversion is as good and owns its pixels.
Gdiplus::GpImage* SkinImage::createFromIconWithAlpha(const ICONINFO& info, const BITMAP& color) {
    UniqueGdiObject colorBitmap(::CopyImage(info.hbmColor, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    if (!colorBitmap)
        return nullptr;
    Gdiplus::GpBitmap* backing = nullptr;
    gdip::GdipCreateBitmapFromHBITMAP(static_cast<HBITMAP>(colorBitmap.get()), nullptr, &backing);
    UniqueGpImage backingOwner(asImage(backing));
    if (!backing)
        return nullptr;

    const int width = color.bmWidth;
    const int height = color.bmHeight;
    Gdiplus::PixelFormat format = 0;
    gdip::GdipGetImagePixelFormat(backing, &format);
    const Gdiplus::GpRect whole(0, 0, width, height);
    Gdiplus::BitmapData locked{};
    if (gdip::GdipBitmapLockBits(backing, &whole, Gdiplus::ImageLockModeRead, format, &locked) !=
            Gdiplus::Ok ||
        !locked.Scan0)
        return nullptr;

    Gdiplus::GpBitmap* candidate = nullptr;
    gdip::GdipCreateBitmapFromScan0(width, height, locked.Stride, PixelFormat32bppARGB,
                                    static_cast<BYTE*>(locked.Scan0), &candidate);
    UniqueGpImage candidateOwner(asImage(candidate));
    bool partlyTransparent = false;
    for (int y = 0; candidate && y < height && !partlyTransparent; ++y) {
        for (int x = 0; x < width; ++x) {
            Gdiplus::ARGB argb = 0;
            gdip::GdipBitmapGetPixel(candidate, x, y, &argb);
            const unsigned alpha = argb >> 24;
            if (alpha > 0 && alpha < 255) {
                partlyTransparent = true;
                break;
            }
        }
    }
    // The locked memory is the bitmap's own (same format), so it stays valid after unlock
    // for as long as the backing bitmap lives.
    gdip::GdipBitmapUnlockBits(backing, &locked);
    if (!partlyTransparent)
        return nullptr;
    image_ = std::move(candidateOwner);
    backingBitmap_ = std::move(backingOwner);
    return image_.get();
}

int SkinImage::width() const {
    UINT value = 0;
    if (!image_ || gdip::GdipGetImageWidth(image_.get(), &value) != Gdiplus::Ok)
        return 0;
    return static_cast<int>(value);
}

int SkinImage::height() const {
    UINT value = 0;
    if (!image_ || gdip::GdipGetImageHeight(image_.get(), &value) != Gdiplus::Ok)
        return 0;
    return static_cast<int>(value);
}

Gdiplus::ARGB SkinImage::pixel(int x, int y) const {
    Gdiplus::ARGB value = 0;
    if (!image_ || gdip::GdipBitmapGetPixel(static_cast<Gdiplus::GpBitmap*>(image_.get()), x, y,
                                            &value) != Gdiplus::Ok)
        return 0;
    return value;
}

int SkinImage::frameCount() const {
    UINT count = 0;
    if (!image_ ||
        gdip::GdipImageGetFrameCount(image_.get(), &FrameDimensionTimeId, &count) != Gdiplus::Ok)
        return 0;
    return static_cast<int>(count);
}

bool SkinImage::selectFrame(int frameIndex) {
    if (!image_ || frameIndex < 0)
        return false;
    return gdip::GdipImageSelectActiveFrame(image_.get(), &FrameDimensionTimeId,
                                            static_cast<UINT>(frameIndex)) == Gdiplus::Ok;
}

std::optional<std::vector<std::int32_t>> SkinImage::frameDelays() const {
    if (!image_)
        return std::nullopt;
    UINT size = 0;
    if (gdip::GdipGetPropertyItemSize(image_.get(), PropertyTagFrameDelay, &size) != Gdiplus::Ok ||
        size < sizeof(Gdiplus::PropertyItem))
        return std::nullopt;
    // Property items carry a pointer, so the buffer is aligned for one.
    std::vector<std::uint64_t> buffer((size + sizeof(std::uint64_t) - 1) / sizeof(std::uint64_t));
    auto* item = reinterpret_cast<Gdiplus::PropertyItem*>(buffer.data());
    if (gdip::GdipGetPropertyItem(image_.get(), PropertyTagFrameDelay, size, item) != Gdiplus::Ok)
        return std::nullopt;
    const bool integers = item->type == PropertyTagTypeLong || item->type == PropertyTagTypeSLONG;
    if (item->length == 0 || !item->value || !integers)
        return std::nullopt;
    // The value lies inside the buffer GDI+ filled; never read past what it said it wrote.
    const auto* bufferEnd = reinterpret_cast<const std::uint8_t*>(buffer.data()) + size;
    const auto* value = static_cast<const std::uint8_t*>(item->value);
    const size_t count = item->length / 4;
    if (value < reinterpret_cast<const std::uint8_t*>(buffer.data()) ||
        value + count * 4 > bufferEnd)
        return std::nullopt;
    std::vector<std::int32_t> delays(count);
    std::memcpy(delays.data(), value, count * 4);
    return delays;
}

void SkinImage::rotateFlip(Gdiplus::RotateFlipType rotateFlip) {
    if (image_)
        gdip::GdipImageRotateFlip(image_.get(), rotateFlip);
}

} // namespace skinui
