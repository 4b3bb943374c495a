#include "skinui/drawing/text.h"

#include "skinui/drawing/primitives.h"
#include "skinui/drawing/skin_string_format.h"
#include "skinui/library/helpers.h"
#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <string>
#include <vector>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

void drawString(Gdiplus::GpGraphics* graphics, const wchar_t* text, Gdiplus::GpFont* font,
                const RectF& rect, Gdiplus::GpStringFormat* format, Gdiplus::GpBrush* brush) {
    if (!graphics || !font || !brush)
        return;
    const Gdiplus::RectF layout = toGpRectF(rect);
    gdip::GdipDrawString(graphics, text, ::lstrlenW(text), font, &layout, format, brush);
}

UniqueGpGraphics imageGraphics(Gdiplus::GpImage* image) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (image)
        gdip::GdipGetImageGraphicsContext(image, &graphics);
    return UniqueGpGraphics(graphics);
}

UniqueGpImage createArgbBitmap(int width, int height) {
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (width > 0 && height > 0)
        gdip::GdipCreateBitmapFromScan0(width, height, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    return UniqueGpImage(bitmap);
}

} // namespace

RectF centredVertically(const RectF& r, float measuredHeight) {
    const int height = static_cast<int>(measuredHeight);
    RectF centred = r;
    centred.y = static_cast<float>(double(r.y) + (double(r.height) - height) / 2);
    centred.height = static_cast<float>(height);
    return centred;
}

void drawSkinText(const RectF& rect, Gdiplus::GpGraphics* graphics, std::string_view text,
                  Gdiplus::GpFont* font, Argb argb, int alignment, Gdiplus::StringTrimming trimming,
                  Gdiplus::HotkeyPrefix hotkeyPrefix, INT formatFlags, int effect,
                  std::optional<Argb> effectArgb) {
    if (!graphics || !font)
        return;
    RectF r = rect;
    const std::wstring wide = toWide(text.substr(0, text.find('\0')));

    SkinStringFormat format;
    format.useGenericTypographic();
    format.setAlign(
        static_cast<Gdiplus::StringAlignment>(alignment <= 2 ? alignment : alignment - 3));
    format.setTrimming(trimming);
    format.setFlags(formatFlags);
    format.setHotkeyPrefix(hotkeyPrefix);

    if (alignment > 2) {
        if (auto measured = measureString(graphics, text, font, format.handle(), RectF{}))
            r = centredVertically(r, measured->height);
    }

    if (effect != TextEffectNone) {
        const Argb color = effectArgb.value_or(AutomaticEffectColor) == AutomaticEffectColor
                               ? automaticEffectColor(argb)
                               : *effectArgb;
        if (effect == TextEffectUpLeft || effect == TextEffectDownRight) {
            const float offset = effect == TextEffectUpLeft ? -1.0f : 1.0f;
            RectF shifted = r;
            adjustRect(offset, offset, 0, 0, shifted);
            drawString(graphics, wide.c_str(), font, shifted, format.handle(),
                       createSolidBrush(color).get());
        } else if (effect == TextEffectGlow) {
            drawGlowText(r, graphics, wide.c_str(), format.handle(), font, color);
        }
    }
    drawString(graphics, wide.c_str(), font, r, format.handle(), createSolidBrush(argb).get());
}

GlowLayout glowLayout(const RectF& r) {
    GlowLayout layout;
    const double width = double(r.width) + 2, height = double(r.height) + 2;
    layout.textWidth = static_cast<int>(width);
    layout.textHeight = static_cast<int>(height);
    layout.smallWidth = static_cast<int>(width / 3);
    layout.smallHeight = static_cast<int>(height / 3);
    layout.halo =
        makeRectF(static_cast<float>(double(r.x) - 2), static_cast<float>(double(r.y) - 2),
                  static_cast<float>(width), static_cast<float>(double(r.height) + 3));
    return layout;
}

namespace {

// The halo of drawGlowText: the text thickened by a pixel, shrunk to a third (the returned
// bitmap, enlarged again when it is drawn).
UniqueGpImage makeGlowHalo(const GlowLayout& layout, const RectF& r, const wchar_t* text,
                           Gdiplus::GpStringFormat* format, Gdiplus::GpFont* font, Argb argb) {
    const float width = static_cast<float>(double(r.width) + 2);
    const float height = static_cast<float>(double(r.height) + 2);
    UniqueGpImage thick = createArgbBitmap(layout.textWidth, layout.textHeight);
    UniqueGpGraphics thickGraphics = imageGraphics(thick.get());
    UniqueGpImage small = createArgbBitmap(layout.smallWidth, layout.smallHeight);
    UniqueGpGraphics smallGraphics = imageGraphics(small.get());
    if (!thickGraphics || !smallGraphics)
        return UniqueGpImage();

    // The text four times, shifted by one pixel each way: one pixel thicker.
    gdip::GdipSetSmoothingMode(thickGraphics.get(), Gdiplus::SmoothingModeAntiAlias);
    gdip::GdipSetTextRenderingHint(thickGraphics.get(), Gdiplus::TextRenderingHintAntiAliasGridFit);
    UniqueGpBrush brush = createSolidBrush(argb);
    for (int i = 1; i <= 2; ++i)
        for (int j = 1; j <= 2; ++j)
            drawString(thickGraphics.get(), text, font,
                       makeRectF(static_cast<float>(i), static_cast<float>(j), width, height),
                       format, brush.get());

    // Shrunk to a third and enlarged again, it blurs into a halo.
    gdip::GdipSetSmoothingMode(smallGraphics.get(), Gdiplus::SmoothingModeAntiAlias);
    gdip::GdipSetCompositingQuality(smallGraphics.get(), Gdiplus::CompositingQualityGammaCorrected);
    gdip::GdipSetInterpolationMode(smallGraphics.get(),
                                   Gdiplus::InterpolationModeHighQualityBilinear);
    gdip::GdipDrawImageRectRect(smallGraphics.get(), thick.get(), 0, 0,
                                static_cast<float>(layout.smallWidth),
                                static_cast<float>(layout.smallHeight), 0, 0, width, height,
                                Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    gdip::GdipFlush(smallGraphics.get(), Gdiplus::FlushIntentionSync);
    smallGraphics.reset();
    return small;
}

// What a halo depends on: the text, the rectangle's size, the font, the format and the
// colour. The font and the format are described by their values, not their handles, so a
// handle freed and reused for another font never finds a stale halo.
struct GlowKey {
    std::wstring text;
    float width = 0, height = 0;
    std::wstring family;
    float fontSize = 0;
    INT fontStyle = 0;
    INT formatFlags = 0;
    Gdiplus::StringAlignment alignment{}, lineAlignment{};
    Gdiplus::StringTrimming trimming{};
    INT hotkeyPrefix = 0;
    Argb argb = 0;
    // How the target enlarges pictures; an enlarged halo is made the same way.
    Gdiplus::InterpolationMode interpolation{};
    Gdiplus::PixelOffsetMode pixelOffset{};
    float haloX = 0, haloY = 0; // the fractions of a pixel of the halo's place
    bool operator==(const GlowKey&) const = default;
};

GlowKey glowKey(const RectF& r, const wchar_t* text, Gdiplus::GpStringFormat* format,
                Gdiplus::GpFont* font, Argb argb, Gdiplus::GpGraphics* target) {
    GlowKey key;
    gdip::GdipGetInterpolationMode(target, &key.interpolation);
    gdip::GdipGetPixelOffsetMode(target, &key.pixelOffset);
    key.text = text;
    key.width = r.width;
    key.height = r.height;
    key.argb = argb;
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipGetFamily(font, &family) == Gdiplus::Ok && family) {
        WCHAR name[LF_FACESIZE] = {};
        gdip::GdipGetFamilyName(family, name, LANG_NEUTRAL);
        key.family = name;
        gdip::GdipDeleteFontFamily(family);
    }
    gdip::GdipGetFontSize(font, &key.fontSize);
    gdip::GdipGetFontStyle(font, &key.fontStyle);
    if (format) {
        gdip::GdipGetStringFormatFlags(format, &key.formatFlags);
        gdip::GdipGetStringFormatAlign(format, &key.alignment);
        gdip::GdipGetStringFormatLineAlign(format, &key.lineAlignment);
        gdip::GdipGetStringFormatTrimming(format, &key.trimming);
        gdip::GdipGetStringFormatHotkeyPrefix(format, &key.hotkeyPrefix);
    }
    return key;
}

// The last few halos made. A window redraws its title with every full redraw; the halo of
// an unchanged title is drawn again from here instead of being made anew, which is most of
// a small window's redraw time. The halos live until the process ends, as GDI+ does.
class GlowCache {
  public:
    struct Halo {
        Gdiplus::GpImage* image = nullptr; // owned; not disposed at exit (GDI+ may be gone)
        std::optional<SIZE> enlarged;      // its size when enlarged; else a third of its place
    };

    const Halo* find(const GlowKey& key) {
        for (std::size_t i = 0; i < entries_.size(); ++i) {
            if (entries_[i].key == key) {
                std::rotate(entries_.begin(), entries_.begin() + static_cast<std::ptrdiff_t>(i),
                            entries_.begin() + static_cast<std::ptrdiff_t>(i) + 1);
                return &entries_.front().halo;
            }
        }
        return nullptr;
    }
    const Halo* add(GlowKey key, UniqueGpImage image, std::optional<SIZE> enlarged) {
        if (entries_.size() == kCapacity) {
            gdip::GdipDisposeImage(entries_.back().halo.image);
            entries_.pop_back();
        }
        entries_.insert(entries_.begin(), Entry{std::move(key), Halo{image.release(), enlarged}});
        return &entries_.front().halo;
    }

  private:
    struct Entry {
        GlowKey key;
        Halo halo;
    };
    static constexpr std::size_t kCapacity = 8;
    std::vector<Entry> entries_;
};

GlowCache& glowCache() {
    static GlowCache* cache = new GlowCache; // never destroyed: see GlowCache
    return *cache;
}

} // namespace

namespace {

// The halo enlarged onto a transparent premultiplied bitmap, the way `target` would
// enlarge it (its interpolation and pixel offset), at the same fraction of a pixel as its
// place, so that drawn 1:1 at whole pixels afterwards it leaves exactly what the enlarging
// draw leaves (source-over is associative), at a tenth of the cost.
UniqueGpImage enlargeHalo(Gdiplus::GpImage* small, const GlowLayout& layout,
                          const GlowKey& key, SIZE& size) {
    const RectF& place = layout.halo;
    size.cx = static_cast<LONG>(std::ceil(key.haloX + place.width));
    size.cy = static_cast<LONG>(std::ceil(key.haloY + place.height));
    Gdiplus::GpBitmap* raw = nullptr;
    if (size.cx > 0 && size.cy > 0)
        gdip::GdipCreateBitmapFromScan0(size.cx, size.cy, 0, PixelFormat32bppPARGB, nullptr, &raw);
    UniqueGpImage big(raw);
    UniqueGpGraphics graphics = imageGraphics(big.get());
    if (!graphics)
        return UniqueGpImage();
    gdip::GdipSetInterpolationMode(graphics.get(), key.interpolation);
    gdip::GdipSetPixelOffsetMode(graphics.get(), key.pixelOffset);
    gdip::GdipDrawImageRectRect(graphics.get(), small, key.haloX, key.haloY, place.width,
                                place.height, 0, 0, static_cast<float>(layout.smallWidth),
                                static_cast<float>(layout.smallHeight), Gdiplus::UnitPixel,
                                nullptr, nullptr, nullptr);
    gdip::GdipFlush(graphics.get(), Gdiplus::FlushIntentionSync);
    return big;
}

} // namespace

void drawGlowText(const RectF& r, Gdiplus::GpGraphics* graphics, const wchar_t* text,
                  Gdiplus::GpStringFormat* format, Gdiplus::GpFont* font, Argb argb) {
    if (!graphics || !font || !text)
        return;
    const GlowLayout layout = glowLayout(r);
    if (layout.smallWidth <= 0 || layout.smallHeight <= 0)
        return; // nothing to blur: a rectangle under three pixels
    GlowKey key = glowKey(r, text, format, font, argb, graphics);
    const float wholeX = std::floor(layout.halo.x), wholeY = std::floor(layout.halo.y);
    key.haloX = layout.halo.x - wholeX;
    key.haloY = layout.halo.y - wholeY;
    const GlowCache::Halo* halo = glowCache().find(key);
    if (!halo) {
        UniqueGpImage made = makeGlowHalo(layout, r, text, format, font, argb);
        if (!made)
            return;
        SIZE size{};
        UniqueGpImage big = enlargeHalo(made.get(), layout, key, size);
        halo = big ? glowCache().add(std::move(key), std::move(big), size)
                   : glowCache().add(std::move(key), std::move(made), std::nullopt);
    }
    if (halo->enlarged) {
        const float w = static_cast<float>(halo->enlarged->cx);
        const float h = static_cast<float>(halo->enlarged->cy);
        gdip::GdipDrawImageRectRect(graphics, halo->image, wholeX, wholeY, w, h, 0, 0, w, h,
                                    Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
        return;
    }
    gdip::GdipDrawImageRectRect(graphics, halo->image, layout.halo.x, layout.halo.y,
                                layout.halo.width, layout.halo.height, 0, 0,
                                static_cast<float>(layout.smallWidth),
                                static_cast<float>(layout.smallHeight), Gdiplus::UnitPixel,
                                nullptr, nullptr, nullptr);
}

bool isBackgroundDark(HDC dc, const RectF& rect) {
    const int y = static_cast<int>(double(rect.y) + double(rect.height) / 2);
    for (double f : {0.2, 0.5, 0.8}) {
        const int x = static_cast<int>(double(rect.x) + double(rect.width) * f);
        if (!isDarkColour(rgbToArgb(::GetPixel(dc, x, y), 255)))
            return false;
    }
    return true;
}

} // namespace skinui
