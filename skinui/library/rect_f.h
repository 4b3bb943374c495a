#pragma once
// RectF: element geometry in client pixels of the owning window.

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

// Four float values {x, y, width, height}. Where GDI needs integers, each value (or
// x + width, y + height) is truncated toward zero by the caller.
struct RectF {
    float x = 0;
    float y = 0;
    float width = 0;
    float height = 0;

    friend bool operator==(const RectF&, const RectF&) = default;
};

constexpr RectF makeRectF(float x, float y, float width, float height) {
    return RectF{x, y, width, height};
}

inline Gdiplus::RectF toGpRectF(const RectF& rect) {
    return Gdiplus::RectF(rect.x, rect.y, rect.width, rect.height);
}

inline RectF fromGpRectF(const Gdiplus::RectF& rect) {
    return RectF{rect.X, rect.Y, rect.Width, rect.Height};
}

} // namespace skinui
