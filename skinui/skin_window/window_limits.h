#pragma once
// The size and placement rules of a skinned window's procedure, as plain functions.

#include <windows.h>

#include <cstddef>

namespace skinui {

// WM_GETMINMAXINFO: a maximized window covers the work area (one pixel wider than it); the
// smallest window still holds the caption buttons plus 40 pixels, and is 40 pixels high.
// The largest tracking size stays as the system filled it. `workArea` is all zeros when it
// could not be read.
void fillSizeLimits(MINMAXINFO& info, const RECT& workArea, std::size_t captionButtonCount,
                    int captionFlags);

// WM_WINDOWPOSCHANGING: a window that changes state and is shown at a new place is put
// against the right edge of the screen, just below its bottom edge. True when the rule
// applied (the message is then not passed on).
bool placeOnStateChange(WINDOWPOS& position, int screenWidth, int screenHeight);

} // namespace skinui
