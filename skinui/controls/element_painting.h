#pragma once
// Painting one element on its own, outside a window-wide repaint.
//
// The protocol every element kind follows on a repaint with direct true:
//   beginElementPaint   the element's area of the frame restored from the background layer,
//                       the frame clipped to the area, the elements below it repainted;
//   (the kind draws its look into the frame, through the window's frameGraphics)
//   endElementPaint     the elements above it repainted, the clip removed, the border and
//                       shadow restored where the area touches them, and the area brought
//                       to the screen: at once, or faded in by the element's timer.
// With direct false the kind only draws: beginElementPaint does nothing and
// endElementPaint only restores the frame edges.
//
// A fading element's timer lives on its window's handle with elementTimerId; each tick the
// kind raises its fade alpha and calls blendElementArea with it until it reaches 255.

#include "skinui/library/rect_f.h"

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

// The id of an element's timer: the window index in the low 16 bits, the element index in
// the high 16 bits.
constexpr UINT_PTR elementTimerId(int windowIndex, int elementIndex) {
    return (static_cast<UINT_PTR>(windowIndex) & 0xFFFF) |
           ((static_cast<UINT_PTR>(elementIndex) & 0xFFFF) << 16);
}

// Starts a single-element update of `rect` (see above). finishFade non-zero first shows the
// area at full strength, so that a fade still running ends before the new look is drawn.
// Nothing unless the indices are valid, direct is true and the window is not animating.
void beginElementPaint(int windowIndex, int elementIndex, const RectF& rect, int finishFade,
                       bool direct);

// Finishes it. leaveToCaller: the caller brings the area to the screen itself; presentNow:
// at once; otherwise the area fades in on the element's timer when the window fades its
// elements and fadeAlpha is not 1, and is shown at once when not.
void endElementPaint(int windowIndex, int elementIndex, const RectF& rect, int fadeAlpha,
                     bool direct, bool presentNow = false, bool leaveToCaller = false);

// Blends `rect` of the frame onto the screen with a constant alpha (0..255). A layered window
// blends into its layer and then presents the whole layer.
void blendElementArea(int windowIndex, const RectF& rect, int alpha);

// Draws `image` into `dest`. useSource false takes the whole picture (the source's width and
// height become the picture's; its x and y stay). True when GDI+ reports success.
bool drawImageInRect(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                     RectF source, bool useSource);

} // namespace skinui
