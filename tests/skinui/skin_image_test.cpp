// SkinImage: decoding from bytes, icons with and without their own alpha, frames and delays.

#include "skinui/skin_image/skin_image.h"
#include "skinui/text_conversion.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <algorithm>
#include <functional>
#include <initializer_list>
#include <vector>

namespace {

using skinui::SkinImage;
namespace gdip = Gdiplus::DllExports;
using Bytes = std::vector<std::uint8_t>;

// A 1 x 1 animated GIF of our own: a two-colour palette (red, blue) and three frames showing
// red, blue, red for 10, 20 and 30 hundredths of a second.
Bytes threeFrameGif() {
    Bytes gif;
    auto append = [&gif](std::initializer_list<std::uint8_t> bytes) {
        for (std::uint8_t byte : bytes)
            gif.push_back(byte);
    };
    append({'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0}); // screen, 2 colours
    append({0xFF, 0x00, 0x00, 0x00, 0x00, 0xFF});                   // red, blue
    append({0x21, 0xFF, 0x0B, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 0x03, 0x01,
            0x00, 0x00, 0x00}); // loop for ever
    const struct {
        std::uint8_t delay;
        std::uint8_t lzwFirstByte; // LZW codes clear, the palette index, end (3-bit codes)
    } frames[] = {{10, 0x44}, {20, 0x4C}, {30, 0x44}};
    for (const auto& frame : frames) {
        append({0x21, 0xF9, 0x04, 0x00, frame.delay, 0x00, 0x00, 0x00}); // graphic control
        append({0x2C, 0, 0, 0, 0, 1, 0, 1, 0, 0});                       // 1 x 1 at (0, 0)
        append({0x02, 0x02, frame.lzwFirstByte, 0x01, 0x00});
    }
    append({0x3B});
    return gif;
}

// A width x height PNG encoded by GDI+, every pixel `argb`.
Bytes pngOf(int width, int height, Gdiplus::ARGB argb) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    skinui::UniqueGpImage owner(bitmap);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            gdip::GdipBitmapSetPixel(bitmap, x, y, argb);
    const CLSID pngEncoder = {
        0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    IStream* stream = nullptr;
    ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    skinui::UniqueComObject streamOwner(stream);
    gdip::GdipSaveImageToStream(bitmap, stream, &pngEncoder, nullptr);
    HGLOBAL memory = nullptr;
    ::GetHGlobalFromStream(stream, &memory);
    STATSTG stat{};
    stream->Stat(&stat, STATFLAG_NONAME);
    const auto* data = static_cast<const std::uint8_t*>(::GlobalLock(memory));
    Bytes png(data, data + stat.cbSize.QuadPart);
    ::GlobalUnlock(memory);
    return png;
}

Gdiplus::PixelFormat formatOf(const SkinImage& image) {
    Gdiplus::PixelFormat format = 0;
    gdip::GdipGetImagePixelFormat(image.handle(), &format);
    return format;
}

TEST(SkinImageBytes, DecodesPngAndGifAndKeepsTheirBlock) {
    SkinImage image;
    const Bytes png = pngOf(7, 5, 0xFF336699);
    ASSERT_FALSE(png.empty());
    ASSERT_NE(image.loadFromBytes(png), nullptr);
    EXPECT_EQ(image.width(), 7);
    EXPECT_EQ(image.height(), 5);
    EXPECT_EQ(image.pixel(3, 2), 0xFF336699u);
    EXPECT_TRUE(image.holdsSourceMemory());

    const Bytes gif = threeFrameGif();
    ASSERT_NE(image.loadFromBytes(gif), nullptr) << "loading again replaces the first picture";
    EXPECT_EQ(image.width(), 1);
    EXPECT_TRUE(image.holdsSourceMemory());
    EXPECT_FALSE(image.holdsBackingBitmap());
}

TEST(SkinImageBytes, PictureOutlivesTheCallersBytes) {
    SkinImage image;
    {
        Bytes gif = threeFrameGif();
        ASSERT_NE(image.loadFromBytes(gif), nullptr);
        std::fill(gif.begin(), gif.end(), std::uint8_t{0}); // the caller reuses its buffer
    }
    // GDI+ may read frames lazily: they come from the object's own copy.
    EXPECT_TRUE(image.selectFrame(1));
    EXPECT_EQ(image.pixel(0, 0), 0xFF0000FFu);
    EXPECT_EQ(image.frameCount(), 3);
}

TEST(SkinImageFile, LoadsAFileWithAChinesePath) {
    testing_support::TempFolder folder(L"图片 folder");
    const std::wstring path = folder / L"徽章.png";
    testing_support::writeFile(path, pngOf(5, 6, 0xFF112233));
    SkinImage image;
    ASSERT_NE(image.loadFromFile(skinui::toUtf8(path)), nullptr);
    EXPECT_EQ(image.width(), 5);
    EXPECT_EQ(image.height(), 6);
    EXPECT_FALSE(image.holdsSourceMemory()) << "GDI+ keeps its own hold on the file";
    EXPECT_EQ(image.loadFromFile(skinui::toUtf8(folder / L"missing.png")), nullptr);
    EXPECT_EQ(image.handle(), nullptr);
    image.dispose(); // releases the file before the folder goes
}

TEST(SkinImageBytes, EmptyOrNonImageBytesLeaveTheObjectEmpty) {
    const Bytes garbage = {'n', 'o', 't', ' ', 'a', 'n', ' ', 'i', 'm', 'a', 'g', 'e'};
    const Bytes truncatedPng = [] {
        Bytes png = pngOf(4, 4, 0xFF000000);
        png.resize(8); // the signature only
        return png;
    }();
    for (const Bytes& bytes : {Bytes{}, garbage, truncatedPng}) {
        SkinImage image;
        image.loadFromBytes(pngOf(2, 2, 0xFFFFFFFF)); // a picture held before is released
        EXPECT_EQ(image.loadFromBytes(bytes), nullptr) << bytes.size() << " bytes";
        EXPECT_EQ(image.handle(), nullptr);
        EXPECT_FALSE(image.holdsSourceMemory());
        EXPECT_EQ(image.width(), 0);
        EXPECT_EQ(image.frameCount(), 0);
        EXPECT_FALSE(image.frameDelays());
    }
}

TEST(SkinImageBytes, DisposeTwiceIsHarmless) {
    SkinImage image;
    image.loadFromBytes(pngOf(3, 3, 0xFF00FF00));
    image.dispose();
    EXPECT_EQ(image.handle(), nullptr);
    EXPECT_FALSE(image.holdsSourceMemory());
    image.dispose();
    EXPECT_EQ(image.handle(), nullptr);
}

TEST(SkinImageFrames, AnimatedGifHasOneDelayPerFrame) {
    SkinImage gif;
    ASSERT_NE(gif.loadFromBytes(threeFrameGif()), nullptr);
    EXPECT_EQ(gif.frameCount(), 3);
    const auto delays = gif.frameDelays();
    ASSERT_TRUE(delays);
    EXPECT_EQ(*delays, (std::vector<std::int32_t>{10, 20, 30}));

    struct Case {
        int frame;
        bool selected;
        Gdiplus::ARGB color;
    };
    for (const Case& c :
         {Case{1, true, 0xFF0000FF}, Case{2, true, 0xFFFF0000}, Case{0, true, 0xFFFF0000}}) {
        EXPECT_EQ(gif.selectFrame(c.frame), c.selected) << c.frame;
        EXPECT_EQ(gif.pixel(0, 0), c.color) << c.frame;
    }
    EXPECT_FALSE(gif.selectFrame(-1));
}

TEST(SkinImageFrames, PngHasOneFrameAndNoDelays) {
    SkinImage png;
    ASSERT_NE(png.loadFromBytes(pngOf(2, 2, 0xFF000000)), nullptr);
    EXPECT_EQ(png.frameCount(), 1);
    EXPECT_FALSE(png.frameDelays());
}

TEST(SkinImageCreate, Scan0HBitmapSetHandleAndRotate) {
    SkinImage image;
    ASSERT_TRUE(image.createFromScan0(6, 4));
    EXPECT_EQ(formatOf(image), PixelFormat32bppARGB);
    EXPECT_EQ(image.width(), 6);
    image.rotateFlip(Gdiplus::Rotate90FlipNone);
    EXPECT_EQ(image.width(), 4);
    EXPECT_EQ(image.height(), 6);

    HDC screen = ::GetDC(nullptr);
    skinui::UniqueGdiObject bitmap(::CreateCompatibleBitmap(screen, 9, 3));
    ::ReleaseDC(nullptr, screen);
    ASSERT_NE(image.createFromHBitmap(static_cast<HBITMAP>(bitmap.get())), nullptr);
    EXPECT_EQ(image.width(), 9);

    // setHandle over a picture leaves the old handle to whoever obtained it.
    Gdiplus::GpImage* previous = image.handle();
    Gdiplus::GpBitmap* adopted = nullptr;
    gdip::GdipCreateBitmapFromScan0(2, 8, 0, PixelFormat32bppARGB, nullptr, &adopted);
    image.setHandle(adopted);
    EXPECT_EQ(image.height(), 8);
    UINT previousWidth = 0;
    EXPECT_EQ(gdip::GdipGetImageWidth(previous, &previousWidth), Gdiplus::Ok);
    EXPECT_EQ(previousWidth, 9u);
    gdip::GdipDisposeImage(previous);
}

TEST(SkinImageCreate, EmptyObjectAnswersZero) {
    SkinImage image;
    EXPECT_EQ(image.width(), 0);
    EXPECT_EQ(image.height(), 0);
    EXPECT_EQ(image.pixel(0, 0), 0u);
    EXPECT_EQ(image.frameCount(), 0);
    EXPECT_FALSE(image.selectFrame(0));
    EXPECT_FALSE(image.frameDelays());
    image.rotateFlip(Gdiplus::Rotate90FlipNone);
    EXPECT_EQ(image.createFromIcon(nullptr), nullptr);
    EXPECT_EQ(image.createFromHBitmap(nullptr), nullptr);
}

// Icons of 16 x 16 built for the cases below. The mask is all 0 (every pixel shows).
constexpr int IconSize = 16;

skinui::UniqueIcon makeIcon(int bitsPerPixel, const std::function<std::uint32_t(int, int)>& argb) {
    std::vector<std::uint8_t> maskBits(IconSize * IconSize * 2 / 8, 0);
    if (bitsPerPixel == 1) {
        // Monochrome: AND mask on top (0: show), XOR mask below (1: white).
        std::fill(maskBits.begin() + IconSize * IconSize / 8, maskBits.end(), 0xFF);
        skinui::UniqueGdiObject mask(::CreateBitmap(IconSize, IconSize * 2, 1, 1, maskBits.data()));
        ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), nullptr};
        return skinui::UniqueIcon(::CreateIconIndirect(&info));
    }
    BITMAPINFO header{};
    header.bmiHeader.biSize = sizeof(header.bmiHeader);
    header.bmiHeader.biWidth = IconSize;
    header.bmiHeader.biHeight = -IconSize;
    header.bmiHeader.biPlanes = 1;
    header.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    header.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    skinui::UniqueGdiObject color(
        ::CreateDIBSection(nullptr, &header, DIB_RGB_COLORS, &bits, nullptr, 0));
    const int stride = ((IconSize * bitsPerPixel + 31) / 32) * 4;
    for (int y = 0; y < IconSize; ++y) {
        for (int x = 0; x < IconSize; ++x) {
            auto* row = static_cast<std::uint8_t*>(bits) + y * stride;
            const std::uint32_t value = argb(x, y);
            if (bitsPerPixel == 32) {
                reinterpret_cast<std::uint32_t*>(row)[x] = value;
            } else {
                row[x * 3] = value & 0xFF;
                row[x * 3 + 1] = (value >> 8) & 0xFF;
                row[x * 3 + 2] = (value >> 16) & 0xFF;
            }
        }
    }
    skinui::UniqueGdiObject mask(::CreateBitmap(IconSize, IconSize, 1, 1, maskBits.data()));
    ICONINFO info{TRUE, 0, 0, static_cast<HBITMAP>(mask.get()), static_cast<HBITMAP>(color.get())};
    return skinui::UniqueIcon(::CreateIconIndirect(&info));
}

std::uint32_t iconPixelWithHalfAlpha(int x, int y) {
    return x == 5 && y == 3 ? 0x80402010u : 0xFF102030u + static_cast<std::uint32_t>(x);
}

TEST(SkinImageIcon, IconsWithoutPartialAlphaAreConvertedByGdiplus) {
    struct Case {
        const char* name;
        int bitsPerPixel;
        std::uint32_t (*argb)(int, int);
        bool maskApplied; // GDI+ versions differ on icons that mix alpha 0 and 255
    };
    const Case cases[] = {
        {"24-bit", 24, [](int, int) { return 0x00336699u; }, true},
        {"monochrome", 1, nullptr, true},
        {"32-bit, alpha all 0", 32, [](int, int) { return 0x00336699u; }, true},
        {"32-bit, alpha all 255", 32, [](int, int) { return 0xFF336699u; }, true},
        {"32-bit, alpha 0 and 255", 32,
         [](int x, int) { return x < 8 ? 0x00336699u : 0xFF336699u; }, false},
    };
    for (const Case& c : cases) {
        skinui::UniqueIcon icon = makeIcon(
            c.bitsPerPixel, c.argb ? c.argb : [](int, int) { return 0u; });
        ASSERT_TRUE(icon) << c.name;
        SkinImage image;
        ASSERT_NE(image.createFromIcon(icon.get()), nullptr) << c.name;
        EXPECT_FALSE(image.holdsBackingBitmap()) << c.name;
        EXPECT_EQ(image.width(), IconSize) << c.name;
        EXPECT_EQ(image.height(), IconSize) << c.name;
        // The mask (all "show") is applied: every pixel is opaque.
        if (c.maskApplied) {
            EXPECT_EQ(image.pixel(4, 4) >> 24, 0xFFu) << c.name;
        }
    }
}

TEST(SkinImageIcon, PartlyTransparentIconKeepsItsOwnAlpha) {
    skinui::UniqueIcon icon = makeIcon(32, iconPixelWithHalfAlpha);
    ASSERT_TRUE(icon);
    SkinImage image;
    ASSERT_NE(image.createFromIcon(icon.get()), nullptr);
    EXPECT_TRUE(image.holdsBackingBitmap());
    EXPECT_FALSE(image.holdsSourceMemory());
    EXPECT_EQ(formatOf(image), PixelFormat32bppARGB);
    ASSERT_EQ(image.width(), IconSize);
    ASSERT_EQ(image.height(), IconSize);
    for (int y = 0; y < IconSize; ++y)
        for (int x = 0; x < IconSize; ++x)
            ASSERT_EQ(image.pixel(x, y), iconPixelWithHalfAlpha(x, y)) << x << "," << y;

    // Loading something else releases the backing bitmap along with the picture.
    image.createFromScan0(1, 1);
    EXPECT_FALSE(image.holdsBackingBitmap());
    image.createFromIcon(icon.get());
    image.dispose();
    EXPECT_FALSE(image.holdsBackingBitmap());
    EXPECT_EQ(image.handle(), nullptr);
}

} // namespace
