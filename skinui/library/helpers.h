#pragma once
// Stateless helpers any part of the library may call.

#include "skinui/library/rect_f.h"

#include <windows.h>
#include <gdiplus.h>

#include <optional>
#include <string_view>

namespace skinui {

// The window's icon: its small icon, else its big icon, else its class icon; null when none.
HICON windowIconOf(HWND hwnd);

// The bounding box of a UTF-8 text laid out in `layout` (all zeros: no limit); nothing when
// GDI+ does not measure it. A null graphics or font is not handed to GDI+; the format may be
// null.
std::optional<RectF> measureString(Gdiplus::GpGraphics* graphics, std::string_view text,
                                   Gdiplus::GpFont* font, Gdiplus::GpStringFormat* format,
                                   const RectF& layout);

} // namespace skinui
