#include "app/child_painting.h"

#include "app/offscreen_surface.h"
#include "skinui/drawing/primitives.h"
#include "skinui/library/window_table.h"
#include "skinui/text_conversion.h"

#include <vector>

namespace yunti {

namespace gdip = Gdiplus::DllExports;

namespace {

// Button faces: a soft vertical gradient in a rounded outline; darker while pressed.
constexpr skinui::Argb kFaceTop = 0xFFFDFEFF;
constexpr skinui::Argb kFaceBottom = 0xFFDCEBFA;
constexpr skinui::Argb kPressedTop = 0xFFC9DEF4;
constexpr skinui::Argb kPressedBottom = 0xFFE4EFFB;
constexpr skinui::Argb kOutline = 0xFF7FAEDB;
constexpr skinui::Argb kFocusOutline = 0xFF3F83C7;
constexpr skinui::Argb kDisabledFace = 0xFFF0F0F0;
constexpr skinui::Argb kDisabledOutline = 0xFFC0C0C0;
constexpr COLORREF kTextColor = RGB(0x33, 0x33, 0x33);
constexpr COLORREF kDisabledTextColor = RGB(0xA0, 0xA0, 0xA0);
constexpr float kButtonCorner = 6.0f;

skinui::UniqueGpGraphics graphicsOn(HDC dc) {
    Gdiplus::GpGraphics* graphics = nullptr;
    if (dc)
        gdip::GdipCreateFromHDC(dc, &graphics);
    skinui::UniqueGpGraphics owned(graphics);
    if (owned)
        gdip::GdipSetSmoothingMode(owned.get(), Gdiplus::SmoothingModeAntiAlias);
    return owned;
}

void drawButtonFace(HDC dc, int width, int height, UINT state) {
    skinui::UniqueGpGraphics graphics = graphicsOn(dc);
    if (!graphics)
        return;
    const skinui::RectF face{0.5f, 0.5f, static_cast<float>(width), static_cast<float>(height)};
    const bool disabled = state & ODS_DISABLED;
    const bool pressed = state & ODS_SELECTED;
    if (disabled) {
        skinui::drawRoundRect(graphics.get(), face, kButtonCorner, kDisabledFace, true,
                              kDisabledOutline, true);
        return;
    }
    if (skinui::UniqueGpPath path = skinui::roundRectPath(face, kButtonCorner)) {
        skinui::setClipPath(graphics.get(), path.get());
        skinui::fillGradientRect(graphics.get(), face, pressed ? kPressedTop : kFaceTop,
                                 pressed ? kPressedBottom : kFaceBottom);
        skinui::resetClip(graphics.get());
    }
    skinui::drawRoundRect(graphics.get(), face, kButtonCorner, 0, false,
                          (state & ODS_FOCUS) ? kFocusOutline : kOutline, true);
}

void drawItemText(HDC dc, const DRAWITEMSTRUCT& item, RECT box, UINT format, COLORREF color) {
    const std::wstring text = skinui::toWide(windowText(item.hwndItem));
    const auto font = reinterpret_cast<HFONT>(::SendMessageW(item.hwndItem, WM_GETFONT, 0, 0));
    const HGDIOBJ oldFont = font ? ::SelectObject(dc, font) : nullptr;
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, color);
    ::DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format | DT_NOPREFIX);
    if (oldFont)
        ::SelectObject(dc, oldFont);
}

} // namespace

skinui::UniqueGdiObject createUiFont(int pixelHeight, int weight) {
    LOGFONTW font{};
    font.lfHeight = -pixelHeight;
    font.lfWeight = weight;
    font.lfCharSet = GB2312_CHARSET;
    font.lfOutPrecision = OUT_DEFAULT_PRECIS;
    font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    font.lfQuality = DEFAULT_QUALITY;
    font.lfPitchAndFamily = DEFAULT_PITCH | FF_DONTCARE;
    ::lstrcpynW(font.lfFaceName, kUiFontFace, LF_FACESIZE);
    return skinui::UniqueGdiObject(::CreateFontIndirectW(&font));
}

void paintSkinnedBackground(HWND child, HDC dc, int width, int height) {
    HWND parent = ::GetParent(child);
    const skinui::WindowRecord* record = skinui::windowRecord(skinui::findWindowIndex(parent));
    if (record && record->frame.dc()) {
        // The skinned window's client area is its whole window, and its frame buffer holds
        // exactly what it shows there.
        POINT origin{0, 0};
        ::MapWindowPoints(child, parent, &origin, 1);
        ::BitBlt(dc, 0, 0, width, height, record->frame.dc(), origin.x, origin.y, SRCCOPY);
        return;
    }
    RECT all{0, 0, width, height};
    ::FillRect(dc, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
}

void repaintChildrenOnSize(skinui::SkinWindow& skin) {
    skin.setMessageHook([](HWND hwnd, UINT message, WPARAM, LPARAM) -> LRESULT {
        if (message == WM_SIZE)
            ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN);
        return -1;
    });
}

void drawPushButton(const DRAWITEMSTRUCT& item) {
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    OffscreenSurface surface(item.hDC, width, height);
    const HDC dc = surface.dc() ? surface.dc() : item.hDC;
    paintSkinnedBackground(item.hwndItem, dc, width, height);
    drawButtonFace(dc, width - 1, height - 1, item.itemState);
    RECT box{0, 0, width, height};
    if (item.itemState & ODS_SELECTED)
        ::OffsetRect(&box, 1, 1);
    drawItemText(dc, item, box, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                 (item.itemState & ODS_DISABLED) ? kDisabledTextColor : kTextColor);
    surface.present();
}

void drawLabel(const DRAWITEMSTRUCT& item) {
    const int width = item.rcItem.right - item.rcItem.left;
    const int height = item.rcItem.bottom - item.rcItem.top;
    OffscreenSurface surface(item.hDC, width, height);
    const HDC dc = surface.dc() ? surface.dc() : item.hDC;
    paintSkinnedBackground(item.hwndItem, dc, width, height);
    drawItemText(dc, item, RECT{0, 0, width, height}, DT_LEFT | DT_VCENTER | DT_SINGLELINE,
                 kTextColor);
    surface.present();
}

HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style,
                   int x, int y, int width, int height, int id, HFONT font,
                   DWORD exStyle) {
    HWND control = ::CreateWindowExW(exStyle, className, skinui::toWide(text).c_str(),
                                     WS_CHILD | WS_VISIBLE | style, x, y, width, height, parent,
                                     reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                     ::GetModuleHandleW(nullptr), nullptr);
    if (control && font)
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return control;
}

std::string windowText(HWND hwnd) {
    const int length = ::GetWindowTextLengthW(hwnd);
    if (length <= 0)
        return {};
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const int copied = ::GetWindowTextW(hwnd, buffer.data(), length + 1);
    return skinui::toUtf8(std::wstring_view(buffer.data(), copied > 0 ? copied : 0));
}

void setWindowText(HWND hwnd, std::string_view text) {
    ::SetWindowTextW(hwnd, skinui::toWide(text).c_str());
}

} // namespace yunti
