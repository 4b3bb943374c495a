// The floor of the start-up benchmark: the least a skinned program does before its first
// paint. Starts GDI+, shows one 418 x 193 window at (50, 50) and paints it with GDI+, then
// runs its message loop until closed.

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
    HWND hwnd = ::CreateWindowExW(0, L"StartupFloorWindow", L"startup floor", WS_POPUP, 50, 50,
                                  418, 193, nullptr, nullptr, instance, nullptr);
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
