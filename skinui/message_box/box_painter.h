#pragma once
// The message box's own picture, drawn into the window buffer on every full redraw (the
// box window's onPaint): white translucent bands over the background, a separator above
// the buttons and the icon of the box's kind.

#include <windows.h>
#include <gdiplus.h>

namespace skinui {

// Paints a box `width` x `height` into `graphics`. The icon kind is the box's
// MessageBoxIconProperty; 0 (or no property) draws no icon.
void paintMessageBox(HWND box, Gdiplus::GpGraphics* graphics, int width, int height);

} // namespace skinui
