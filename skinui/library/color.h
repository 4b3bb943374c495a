#pragma once
// Colours. GDI+ takes ARGB 0xAARRGGBB; window background colours and the library's colour
// tables are COLORREF 0x00BBGGRR with a separate alpha.

#include <windows.h>

#include <cstdint>
#include <optional>

namespace skinui {

using Argb = std::uint32_t;

// The alpha a colour gets when none is given. The library never draws fully opaque colours:
// 255 is stored as 254 too.
constexpr int DefaultAlpha = 254;

// 0x00BBGGRR plus an alpha (default 254, 255 stored as 254) → 0xAARRGGBB. Only the low
// byte of alpha is used.
constexpr Argb rgbToArgb(COLORREF color, std::optional<int> alpha = std::nullopt) {
    Argb a = static_cast<Argb>(alpha.value_or(DefaultAlpha)) & 0xFF;
    if (a == 255)
        a = DefaultAlpha;
    const Argb red = color & 0xFF;
    const Argb green = (color >> 8) & 0xFF;
    const Argb blue = (color >> 16) & 0xFF;
    return (a << 24) | (red << 16) | (green << 8) | blue;
}

struct ColorAndAlpha {
    COLORREF color = 0; // 0x00BBGGRR
    BYTE alpha = 0;

    friend bool operator==(const ColorAndAlpha&, const ColorAndAlpha&) = default;
};

// 0xAARRGGBB → (0x00BBGGRR, AA). No alpha rule applies here: 255 stays 255.
constexpr ColorAndAlpha argbToColorref(Argb argb) {
    const COLORREF red = (argb >> 16) & 0xFF;
    const COLORREF green = (argb >> 8) & 0xFF;
    const COLORREF blue = argb & 0xFF;
    return ColorAndAlpha{red | (green << 8) | (blue << 16), static_cast<BYTE>(argb >> 24)};
}

} // namespace skinui
