#pragma once
// Window backgrounds: a picture drawn at its natural size with its right and bottom edges
// faded into the background colour, stretched, clipped to a rounded frame, or scaled in
// nine parts. The routines draw into whatever graphics they are given (the window's
// background layer in practice) and never touch the screen.

#include "skinui/library/color.h"
#include "skinui/library/rect_f.h"
#include "skinui/skin_image/skin_image.h"

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

// How far the right (fx) and bottom (fy) edges of a picture fade: 100 pixels, or half the
// side (truncated) of a picture up to 100 pixels.
struct EdgeFadeSizes {
    int fx = 0;
    int fy = 0;

    friend bool operator==(const EdgeFadeSizes&, const EdgeFadeSizes&) = default;
};

constexpr int edgeFadeSize(int side) {
    return side > 100 ? 100 : side / 2;
}

constexpr EdgeFadeSizes edgeFadeSizes(int imageWidth, int imageHeight) {
    return EdgeFadeSizes{edgeFadeSize(imageWidth), edgeFadeSize(imageHeight)};
}

// A RECT of picture coordinates as (left, top, right - left, bottom - top).
constexpr RectF rectToRectF(const RECT& rect) {
    return RectF{static_cast<float>(rect.left), static_cast<float>(rect.top),
                 static_cast<float>(double(rect.right) - rect.left),
                 static_cast<float>(double(rect.bottom) - rect.top)};
}

// Draws `image` into `rect`, clipped to the rectangle (corner 0) or to a rounded path with
// that corner size. stretch 1 scales the picture over rect; any other value draws it at its
// natural size at rect's top left, and with fadeEdges its right and bottom edges fade into
// bgArgb (the picture is then composed on an opaque bgArgb bitmap of rect's size first).
// `attributes` (may be null) apply to the final draw. An empty image draws nothing and leaves
// the clip alone; otherwise the clip is reset afterwards.
void drawBackgroundImage(Gdiplus::GpGraphics* graphics, const SkinImage& image, const RectF& rect,
                         int corner, Argb bgArgb, int stretch,
                         Gdiplus::GpImageAttributes* attributes, bool fadeEdges);

// Scales a picture into dest in nine parts: the corners keep their size, the edges stretch
// along one axis and the centre (`centre`, in picture coordinates) along both.
void drawNineGrid(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                  const RectF& centre);

// The nine (destination, source) pairs of drawNineGrid, in drawing order: top-left, top,
// top-right, left, centre, right, bottom-left, bottom, bottom-right.
struct NineGridPart {
    RectF dest;
    RectF source;
};
struct NineGridParts {
    NineGridPart parts[9];
};
NineGridParts nineGridParts(int imageWidth, int imageHeight, const RectF& dest,
                            const RectF& centre);

} // namespace skinui
