#pragma once
// Drawing primitives: the small set of stateless GDI+ routines every picture of the library
// is drawn with (colour helpers, clipping, pens and brushes, outlines, fills, lines and
// rounded-rectangle paths).
//
// Each routine creates the GDI+ objects it needs and deletes them before it returns. None
// examines GDI+ status codes; a null graphics, or an object GDI+ failed to create, makes
// the routine skip the calls that would receive it (GDI+ is never handed a null handle).
//
// Coordinates: with GDI+'s default pixel offset mode pixel (i, j) is centred on (i, j).
// Fills and rectangle outlines are one unit smaller than the rectangle, so a 10 x 10
// rectangle at (0, 0) covers the pixels 0..8.

#include "skinui/library/color.h"
#include "skinui/library/rect_f.h"
#include "skinui/unique_handle.h"

#include <windows.h>
#include <gdiplus.h>

#include <optional>

namespace skinui {

// The built-in outline styles of drawRectBorder. Any other value is a pen colour.
enum BorderStyle : Argb {
    BorderSunken = 1, // dark top and left, light bottom and right
    BorderRaised = 2, // light top and left, dark bottom and right
    BorderSolid = 3,  // one colour; grey when none is given
    BorderDashed = 4, // one colour, dashed; translucent black when none is given
};

// argb with its alpha byte replaced; the colour bits stay.
constexpr Argb withAlpha(Argb argb, int alpha) {
    return (argb & 0x00FFFFFFu) | (static_cast<Argb>(alpha & 0xFF) << 24);
}

// combineMode: Gdiplus::CombineModeReplace or CombineModeExclude as the library uses them.
void setClipRect(Gdiplus::GpGraphics* graphics, const RectF& rect,
                 Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace);
void setClipPath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path,
                 Gdiplus::CombineMode combineMode = Gdiplus::CombineModeReplace);
void resetClip(Gdiplus::GpGraphics* graphics);

// A pen in world units; the caller owns it.
UniqueGpPen createPen(Argb argb, float width = 1.0f, Gdiplus::Unit unit = Gdiplus::UnitWorld);
UniqueGpBrush createSolidBrush(Argb argb);

// Moves and resizes rect in place: x += dx, y += dy, width += dw, height += dh.
void adjustRect(float dx, float dy, float dw, float dh, RectF& rect);

// Fills (x, y, width - 1, height - 1).
void fillRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb argb);

// Fills (x, y, width - 1, height - 1) with a gradient that spans the whole rect: from argb1
// at the left to argb2 at the right (horizontal) or top to bottom (vertical, the default).
void fillGradientRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb argb1, Argb argb2,
                      Gdiplus::LinearGradientMode mode = Gdiplus::LinearGradientModeVertical);

void drawLineArgb(Gdiplus::GpGraphics* graphics, Argb argb, float x1, float y1, float x2, float y2,
                  float width = 1.0f);

// Outlines rect. styleOrColor is one of the BorderStyle codes or else the pen colour itself
// (then `color` is ignored; 0 is a transparent pen and draws nothing visible). `color`
// overrides the default colour of BorderSolid and BorderDashed. With pen width W the dark
// lines of the 3-D styles are W wide and the light ones W / 2.
void drawRectBorder(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb styleOrColor,
                    std::optional<Argb> color = std::nullopt, float width = 1.0f);

// A closed rounded-rectangle path; corner is the width and height of the corner ellipse's
// box (a diameter). The right and bottom arcs end one unit inside the rectangle, like the
// fills. Null when GDI+ cannot create a path.
UniqueGpPath roundRectPath(const RectF& rect, float corner);

// The rounded path used for clipping: the right arcs reach x + width, the bottom-right arc
// ends one unit above y + height, and the left arcs sit half a unit higher.
UniqueGpPath roundRectPath2(const RectF& rect, int corner);

// Fills and/or outlines roundRectPath(rect, corner).
void drawRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float corner, Argb fillArgb,
                   bool doFill, Argb penArgb, bool doOutline, float penWidth = 1.0f);

} // namespace skinui
