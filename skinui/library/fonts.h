#pragma once
// Font helpers. Sizes are in pixels (GDI+ UnitPixel), not points.

#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <string>
#include <string_view>

namespace skinui {

// The face the library falls back to: "宋体".
extern const char* const DefaultFontFace;

// Which of the system's non-client fonts systemCaptionFontFace reads.
enum class NonClientFont { Menu = 1, Caption = 2, Message = 3 };

// 12 px regular in "宋体", or else in the system caption face; null when neither exists.
UniqueGpFont createDefaultFont();

// The face of one of the system's non-client fonts, "宋体" when it is "Tahoma", when the
// system does not say, or when no font of that face can be created.
std::string systemCaptionFontFace(NonClientFont kind = NonClientFont::Caption);

// A font of the given face, size (px) and Gdiplus::FontStyle bits; when the face does not
// exist, of the family of `fallback` (the library's default font unless given); null when
// there is no family either. Never hands GDI+ a null font.
UniqueGpFont createFontOrFallback(std::string_view face, float size, INT style);
UniqueGpFont createFontOrFallback(std::string_view face, float size, INT style,
                                  Gdiplus::GpFont* fallback);

// The family name of a GDI+ font; empty for a null font.
std::string fontFamilyName(Gdiplus::GpFont* font);

} // namespace skinui
