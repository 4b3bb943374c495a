// The floor of the start-up benchmark: the least a skinned program does before its first
// paint. Starts GDI+, shows one 418 x 193 window at (50, 50) and paints it with GDI+, then
// runs its message loop until closed.
//
// Built a second time as startup_floor_controls.exe (FLOOR_WITH_CONTROLS, with a manifest
// asking for common controls 6 as the tool's does): the same window with the eleven standard
// child controls of the tool's main window, of the same classes, sizes and places. The
// difference between the two is what those controls alone cost at start-up.

#include <windows.h>
#include <gdiplus.h>

namespace {

namespace gdip = Gdiplus::DllExports;

LRESULT CALLBACK floorWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        HDC dc = ::BeginPaint(hwnd, &paint);
        Gdiplus::GpGraphics* graphics = nullptr;
        if (gdip::GdipCreateFromHDC(dc, &graphics) == Gdiplus::Ok && graphics) {
            Gdiplus::GpSolidFill* brush = nullptr;
            if (gdip::GdipCreateSolidFill(0xFF3A7BD5, &brush) == Gdiplus::Ok && brush) {
                gdip::GdipFillRectangleI(graphics, brush, 0, 0, 418, 193);
                gdip::GdipDeleteBrush(brush);
            }
            gdip::GdipDeleteGraphics(graphics);
        }
        ::EndPaint(hwnd, &paint);
        return 0;
    }
    case WM_DESTROY:
        ::PostQuitMessage(0);
        return 0;
    default:
        return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

#ifdef FLOOR_WITH_CONTROLS
constexpr const wchar_t* kCaption = L"startup floor with controls";

void createControls(HWND parent, HINSTANCE instance) {
    struct Control {
        const wchar_t* className;
        DWORD style;
        DWORD exStyle;
        RECT place; // left, top, width, height
    };
    static constexpr Control kControls[] = {
        {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {25, 52, 290, 24}},
        {L"BUTTON", BS_PUSHBUTTON, 0, {322, 52, 75, 24}},
        {L"STATIC", 0, 0, {42, 95, 96, 24}},
        {L"STATIC", 0, 0, {144, 92, 30, 30}},
        {L"STATIC", 0, 0, {215, 95, 96, 24}},
        {L"STATIC", 0, 0, {317, 92, 30, 30}},
        {L"BUTTON", BS_PUSHBUTTON, 0, {45, 144, 120, 24}},
        {L"BUTTON", BS_PUSHBUTTON, 0, {255, 144, 120, 24}},
        {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {436, 108, 85, 16}},
        {L"EDIT", ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, {436, 131, 85, 17}},
        {L"BUTTON", BS_PUSHBUTTON, 0, {1296, 202, 20, 20}},
    };
    for (const Control& c : kControls)
        ::CreateWindowExW(c.exStyle, c.className, L"floor", WS_CHILD | WS_VISIBLE | c.style,
                          c.place.left, c.place.top, c.place.right, c.place.bottom, parent,
                          nullptr, instance, nullptr);
}
#else
constexpr const wchar_t* kCaption = L"startup floor";
#endif

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    ULONG_PTR token = 0;
    Gdiplus::GdiplusStartupInput input;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return 1;
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof windowClass;
    windowClass.lpfnWndProc = floorWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = L"StartupFloorWindow";
    ::RegisterClassExW(&windowClass);
    HWND hwnd = ::CreateWindowExW(0, L"StartupFloorWindow", kCaption,
                                  WS_POPUP | WS_CLIPCHILDREN, 50, 50, 418, 193, nullptr, nullptr,
                                  instance, nullptr);
#ifdef FLOOR_WITH_CONTROLS
    createControls(hwnd, instance);
#endif
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    ::UpdateWindow(hwnd);
    MSG message;
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    Gdiplus::GdiplusShutdown(token);
    return static_cast<int>(message.wParam);
}
