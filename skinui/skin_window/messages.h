#pragma once
// The private messages of skinned windows and their elements, and the timer id of the
// window's fade-in. The numbers are part of the library's outside interface.

#include <windows.h>

namespace skinui {

// To a skinned window.
constexpr UINT RegisterMnemonicMessage = 0x2800; // wParam element id, lParam character
constexpr UINT BackgroundImageMessage = 0x2801;  // → the GDI+ image of the background, or 0
constexpr UINT BackgroundColorMessage = 0x2802;  // → the background COLORREF

// To elements, through dispatchToElement.
constexpr UINT ElementRepaintMessage = WM_PAINT; // lParam: a RepaintHint
constexpr UINT ElementClickMessage = 444660;
constexpr UINT ElementHiddenMessage = 444662;
constexpr UINT ElementShownMessage = 444663;

// Why an element is asked to repaint (lParam of ElementRepaintMessage). The element kinds do
// not read it.
enum RepaintHint : LPARAM {
    RepaintMouseLeft = 1,
    RepaintLostFocus = 2,
    RepaintAny = -1, // the window was activated, or an area is repainted
};

// A double click reaches the window's routing as WM_LBUTTONDOWN with this wParam.
constexpr WPARAM DoubleClickMarker = 10086;

// Timer id of the window's fade-in; element timers use other ids.
constexpr UINT_PTR FadeInTimerId = 444660;

// The window property that holds the SkinWindow of a skinned window.
constexpr const wchar_t* SkinWindowProperty = L"addr_wnd";

} // namespace skinui
