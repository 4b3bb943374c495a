#include "skinui/library/fonts.h"

#include "skinui/library/library.h"
#include "skinui/text_conversion.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

const char* const DefaultFontFace = "宋体";

namespace {

UniqueGpFontFamily familyFromName(std::string_view face) {
    const std::wstring wide = toWide(face);
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipCreateFontFamilyFromName(wide.c_str(), nullptr, &family) != Gdiplus::Ok) {
        if (family)
            gdip::GdipDeleteFontFamily(family);
        return {};
    }
    return UniqueGpFontFamily(family);
}

UniqueGpFont fontOf(Gdiplus::GpFontFamily* family, float size, INT style) {
    Gdiplus::GpFont* font = nullptr;
    gdip::GdipCreateFont(family, size, style, Gdiplus::UnitPixel, &font);
    return UniqueGpFont(font);
}

} // namespace

UniqueGpFont createDefaultFont() {
    // The second candidate is asked for first, so the caption face is always looked up once.
    const std::string captionFace = systemCaptionFontFace();
    for (const std::string& face : {std::string(DefaultFontFace), captionFace}) {
        if (UniqueGpFontFamily family = familyFromName(face))
            return fontOf(family.get(), 12.0f, Gdiplus::FontStyleRegular);
    }
    return {};
}

std::string systemCaptionFontFace(NonClientFont kind) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        return DefaultFontFace;
    const LOGFONTW* font = &metrics.lfCaptionFont;
    if (kind == NonClientFont::Menu)
        font = &metrics.lfMenuFont;
    else if (kind == NonClientFont::Message)
        font = &metrics.lfMessageFont;
    std::string face =
        toUtf8(std::wstring_view(font->lfFaceName, ::wcsnlen(font->lfFaceName, LF_FACESIZE)));
    if (face == "Tahoma")
        face = DefaultFontFace;
    if (!createFontOrFallback(face, 12.0f, Gdiplus::FontStyleRegular))
        return DefaultFontFace;
    return face;
}

UniqueGpFont createFontOrFallback(std::string_view face, float size, INT style) {
    return createFontOrFallback(face, size, style, Library::instance().defaultFont.get());
}

UniqueGpFont createFontOrFallback(std::string_view face, float size, INT style,
                                  Gdiplus::GpFont* fallback) {
    UniqueGpFontFamily family = familyFromName(face);
    if (!family && fallback)
        family = familyFromName(fontFamilyName(fallback));
    if (!family)
        return {};
    return fontOf(family.get(), size, style);
}

std::string fontFamilyName(Gdiplus::GpFont* font) {
    if (!font)
        return {};
    Gdiplus::GpFontFamily* family = nullptr;
    if (gdip::GdipGetFamily(font, &family) != Gdiplus::Ok || !family)
        return {};
    UniqueGpFontFamily owner(family);
    WCHAR name[LF_FACESIZE] = {};
    gdip::GdipGetFamilyName(family, name, 0);
    return toUtf8(std::wstring_view(name, ::wcsnlen(name, LF_FACESIZE)));
}

} // namespace skinui
