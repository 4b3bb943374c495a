#pragma once
// The window-wide painting steps other parts of the library call by window index.

#include "skinui/library/rect_f.h"

#include <windows.h>

namespace skinui {

// After an area of the frame was repainted: redraws the window's border and shadow where
// the area touches them.
void restoreFrameEdges(int windowIndex, const RectF& area, bool redrawDecorations);

} // namespace skinui
