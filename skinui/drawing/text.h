#pragma once
// Text: every caption, label and title of the library is drawn by drawSkinText, which lays
// the text out with a SkinStringFormat, can centre it vertically by measuring it, and can
// put one of three effects behind it. Texts are UTF-8.

#include "skinui/library/color.h"
#include "skinui/library/rect_f.h"

#include <windows.h>
#include <gdiplus.h>

#include <optional>
#include <string_view>

namespace skinui {

// Alignment codes: the horizontal alignment is code % 3 (near, centre, far); codes 3 to 5
// also centre the text vertically.
enum TextAlign : int {
    TextAlignNear = 0,
    TextAlignCenter = 1,
    TextAlignFar = 2,
    TextAlignNearMiddle = 3,
    TextAlignCenterMiddle = 4,
    TextAlignFarMiddle = 5,
};

enum TextEffect : int {
    TextEffectNone = 0,
    TextEffectUpLeft = 1,    // a copy one pixel up and left
    TextEffectDownRight = 2, // a copy one pixel down and right
    TextEffectGlow = 3,      // a soft halo (drawGlowText)
};

// The effect colour value that asks for the automatic one (as does leaving it out).
constexpr Argb AutomaticEffectColor = 0xFFFFFFFF;

// Light when at least two of red, green and blue are above 125; dark otherwise.
constexpr bool isDarkColour(Argb argb) {
    const int light =
        (((argb >> 16) & 0xFF) > 125) + (((argb >> 8) & 0xFF) > 125) + ((argb & 0xFF) > 125);
    return light < 2;
}

// The effect colour that keeps text of `argb` readable: a light halo behind dark text, a
// dark one behind light text.
constexpr Argb automaticEffectColor(Argb argb) {
    return isDarkColour(argb) ? rgbToArgb(0xFFFFFF, 90) : rgbToArgb(0x000000, 70);
}

// r with its top moved down to centre a text measuredHeight high (truncated) and its height
// set to that.
RectF centredVertically(const RectF& r, float measuredHeight);

// Draws text into rect in argb with the given alignment code, trimming, hotkey prefix and
// string format flags, and the effect behind it (effectArgb: nullopt or
// AutomaticEffectColor for the automatic colour). The caller's rect is not changed.
void drawSkinText(const RectF& rect, Gdiplus::GpGraphics* graphics, std::string_view text,
                  Gdiplus::GpFont* font, Argb argb, int alignment, Gdiplus::StringTrimming trimming,
                  Gdiplus::HotkeyPrefix hotkeyPrefix, INT formatFlags, int effect,
                  std::optional<Argb> effectArgb = std::nullopt);

// The sizes the glow works with for a text rectangle r: the thickened text's bitmap, the
// bitmap a third its size, and where the enlarged halo goes.
struct GlowLayout {
    int textWidth = 0, textHeight = 0;   // (r.width + 2) x (r.height + 2)
    int smallWidth = 0, smallHeight = 0; // a third of that, truncated
    RectF halo;                          // (r.x - 2, r.y - 2, r.width + 2, r.height + 3)
};
GlowLayout glowLayout(const RectF& r);

// Draws a soft halo of the text in argb behind where drawSkinText puts the text: the text
// thickened by a pixel, shrunk to a third and enlarged again with bilinear filtering.
void drawGlowText(const RectF& r, Gdiplus::GpGraphics* graphics, const wchar_t* text,
                  Gdiplus::GpStringFormat* format, Gdiplus::GpFont* font, Argb argb);

// Whether the background in dc behind rect is dark: three samples across its middle row
// (at 20%, 50% and 80% of the width) must all be dark.
bool isBackgroundDark(HDC dc, const RectF& rect);

// (x, y, x + width, y + height), each truncated toward zero.
constexpr RECT rectFToRect(const RectF& rect) {
    return RECT{static_cast<LONG>(rect.x), static_cast<LONG>(rect.y),
                static_cast<LONG>(double(rect.x) + rect.width),
                static_cast<LONG>(double(rect.y) + rect.height)};
}

} // namespace skinui
