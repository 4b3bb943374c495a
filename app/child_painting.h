#pragma once
// The application's child controls over a skinned window: plain Win32 edit boxes, owner-
// drawn push buttons and labels, and picture boxes (app/picture_box.h). The skin paints the
// window behind them from its frame buffer; the owner-drawn controls and the picture boxes
// copy their own background from that buffer, so they blend into the skin instead of
// showing grey boxes.

#include "skinui/skin_window/skin_window.h"
#include "skinui/unique_handle.h"

#include <windows.h>

#include <string>
#include <string_view>

namespace yunti {

// The face of every control text, with the character set the forms give it.
inline constexpr const wchar_t* kUiFontFace = L"微软雅黑";

// A GDI font of `pixelHeight` pixels (character height, lfHeight = -pixelHeight) and
// `weight` (400 regular, 700 bold) in the UI face, GB2312 character set.
skinui::UniqueGdiObject createUiFont(int pixelHeight, int weight);

// Copies what the skinned parent of `child` shows under it into dc at (0, 0), width x
// height; paints white (the windows' background colour) while the parent is not skinned.
void paintSkinnedBackground(HWND child, HDC dc, int width, int height);

// Has the skinned window repaint its children whenever the skin has redrawn it for a new
// size, so their backgrounds follow the frame (the window clips its children, so the skin
// never paints over them).
void repaintChildrenOnSize(skinui::SkinWindow& skin);

// WM_DRAWITEM painting of the owner-drawn push buttons and labels.
void drawPushButton(const DRAWITEMSTRUCT& item);
void drawLabel(const DRAWITEMSTRUCT& item);

// Creates a visible child control with a UTF-8 text; `font` may be null (the system font).
HWND createControl(HWND parent, const wchar_t* className, std::string_view text, DWORD style,
                   int x, int y, int width, int height, int id, HFONT font,
                   DWORD exStyle = 0);

std::string windowText(HWND hwnd);
void setWindowText(HWND hwnd, std::string_view text);

} // namespace yunti
