#pragma once
// How messages reach elements, how elements leave their window, and the area repaint that
// follows a change of one element.

#include "skinui/library/rect_f.h"

#include <windows.h>

namespace skinui {

// Delivers one message to an element: its kind's handler, then the first event binding of
// the control for that message. The only way messages reach elements. Returns the handler's
// result; 0 without calling anything when the indices are invalid or, unless forced, the
// element is hidden or its redraw is suspended.
LRESULT dispatchToElement(int windowIndex, int elementIndex, HWND hwnd, UINT message,
                          WPARAM wParam, LPARAM lParam, bool direct, bool force = false);

// Removes the first element of the window with this id: ends a held capture, moves the
// window's focus, hover and press indices past it, deletes its tooltip tool, sends it
// WM_DESTROY, unties the control from the window and repaints the area it covered. False
// when the window has no such element.
bool removeElement(int windowIndex, int elementId);
// What a removal leaves behind, once element `removedIndex` (id `elementId`) has left the
// list: its timer stops, the running timers of the later elements move down with them,
// and its access key is forgotten.
void forgetElement(int windowIndex, int removedIndex, int elementId);
// Moves a running element timer of `hwnd` to a new window and element index (element
// timers are named by their places); nothing when that timer does not run.
void moveElementTimers(HWND hwnd, int fromWindowIndex, int toWindowIndex, int fromElementIndex,
                       int toElementIndex);

// Redraws the part of the window under `area`: the plain background back into the frame
// (restoreBackground), every visible element overlapping the area repainted into the frame,
// then, with present, the area shown on the screen. Nothing while the window animates.
void repaintArea(int windowIndex, const RectF& area, bool present, bool restoreBackground = true);

// Keyboard focus to the skinned window itself: the window that has it is told it loses it
// (WM_KILLFOCUS), then SetFocus.
void takeKeyboardFocus(HWND hwnd);

// Shows a layered window: UpdateLayeredWindow with the source DC's per-pixel alpha deciding
// its shape and translucency.
void presentLayered(HWND hwnd, HDC sourceDC, int width, int height);

} // namespace skinui
