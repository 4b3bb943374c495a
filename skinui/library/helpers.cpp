#include "skinui/library/helpers.h"

#include "skinui/text_conversion.h"

#include <string>

namespace skinui {

HICON windowIconOf(HWND hwnd) {
    if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0)))
        return icon;
    if (auto icon = reinterpret_cast<HICON>(::SendMessageW(hwnd, WM_GETICON, ICON_BIG, 0)))
        return icon;
    return reinterpret_cast<HICON>(::GetClassLongPtrW(hwnd, GCLP_HICON));
}

std::optional<RectF> measureString(Gdiplus::GpGraphics* graphics, std::string_view text,
                                   Gdiplus::GpFont* font, Gdiplus::GpStringFormat* format,
                                   const RectF& layout) {
    if (!graphics || !font)
        return std::nullopt;
    // Measured up to the first NUL, as the text would be drawn.
    const std::wstring wide = toWide(text.substr(0, text.find('\0')));
    const Gdiplus::RectF layoutRect = toGpRectF(layout);
    Gdiplus::RectF bounds;
    if (Gdiplus::DllExports::GdipMeasureString(graphics, wide.c_str(),
                                               static_cast<INT>(wide.size()), font, &layoutRect,
                                               format, &bounds, nullptr, nullptr) != Gdiplus::Ok)
        return std::nullopt;
    return fromGpRectF(bounds);
}

} // namespace skinui
