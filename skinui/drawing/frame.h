#pragma once
// A skinned window's frame: the margin band around it, its two-line border, the four-ring
// shadow of a layered window, the rounded region of an ordinary window, and where the
// caption title goes. The drawing routines work on any graphics; the window renderer
// passes its frame buffer.

#include "skinui/library/color.h"
#include "skinui/library/rect_f.h"

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

// The band around the frame that holds a layered window's shadow and that the region cuts
// off an ordinary window: 5 pixels, none while the window is maximized.
constexpr int FrameMargin = 5;

// FrameMargin, or 0 when the window is maximized.
int frameMargin(HWND hwnd);

// (m, m, cx - 2m, cy - 2m): the window without its margin band.
constexpr RectF frameRect(int cx, int cy, int m) {
    return RectF{static_cast<float>(m), static_cast<float>(m), static_cast<float>(cx - 2 * m),
                 static_cast<float>(cy - 2 * m)};
}

// The border on the frame rectangle: a dark outer line and a light one a pixel inside it,
// square for frameStyle 0 and rounded otherwise.
void drawWindowBorder(Gdiplus::GpGraphics* graphics, int cx, int cy, int m, int frameStyle);

// Four outlines 1 to 4 pixels outside rect in `color` (0x00BBGGRR), darkest nearest to it.
void drawWindowShadow(Gdiplus::GpGraphics* graphics, const RectF& rect, int frameStyle,
                      COLORREF color);

// The corners of the rounded region applyWindowRegion builds (CreateRoundRectRgn's
// arguments); the right and bottom ones are one more, so that those edges are inclusive.
constexpr RECT windowRegionCorners(int cx, int cy, int m) {
    return RECT{m, m, cx - m + 1, cy - m + 1};
}

// Gives the window a region without its margin band, with corner ellipses of `corner`
// pixels (0: a rectangle). The window owns the region afterwards. When the region cannot be
// made the window keeps the one it has.
void applyWindowRegion(HWND hwnd, int cx, int cy, int m, int corner);

// Where the caption title goes in a window cx wide with the given caption flags and number
// of caption buttons: right of the icon (or 8 pixels in), left of the buttons, 17 high.
// The width is 0 or less when there is no room.
RectF captionTitleRect(int cx, int m, int captionFlags, int captionButtonCount);

} // namespace skinui
