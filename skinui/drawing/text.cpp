#include "skinui/drawing/text.h"

#include "skinui/drawing/primitives.h"
#include "skinui/drawing/skin_string_format.h"
#include "skinui/library/helpers.h"
#include "skinui/text_conversion.h"
#include "skinui/unique_handle.h"

#include <string>

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

void drawGlowText(const RectF& r, Gdiplus::GpGraphics* graphics, const wchar_t* text,
                  Gdiplus::GpStringFormat* format, Gdiplus::GpFont* font, Argb argb) {
    if (!graphics || !font || !text)
        return;
    const GlowLayout layout = glowLayout(r);
    const float width = static_cast<float>(double(r.width) + 2);
    const float height = static_cast<float>(double(r.height) + 2);

    UniqueGpImage thick = createArgbBitmap(layout.textWidth, layout.textHeight);
    UniqueGpGraphics thickGraphics = imageGraphics(thick.get());
    UniqueGpImage small = createArgbBitmap(layout.smallWidth, layout.smallHeight);
    UniqueGpGraphics smallGraphics = imageGraphics(small.get());
    if (!thickGraphics || !smallGraphics)
        return;

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
    const float smallWidth = static_cast<float>(layout.smallWidth);
    const float smallHeight = static_cast<float>(layout.smallHeight);
    gdip::GdipDrawImageRectRect(smallGraphics.get(), thick.get(), 0, 0, smallWidth, smallHeight, 0,
                                0, width, height, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
    gdip::GdipFlush(smallGraphics.get(), Gdiplus::FlushIntentionSync);
    gdip::GdipDrawImageRectRect(graphics, small.get(), layout.halo.x, layout.halo.y,
                                layout.halo.width, layout.halo.height, 0, 0, smallWidth,
                                smallHeight, Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
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
