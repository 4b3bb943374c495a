#include "app/picture_box.h"

#include "app/child_painting.h"
#include "app/offscreen_surface.h"

namespace yunti {

namespace gdip = Gdiplus::DllExports;

PictureBox::~PictureBox() {
    if (hwnd_ && ::IsWindow(hwnd_)) {
        ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        ::DestroyWindow(hwnd_);
    }
}

bool PictureBox::create(HWND parent, int x, int y, int width, int height) {
    registerObjectClass<PictureBox>({kPictureBoxClassName, 0, IDC_HAND});
    hwnd_ = ::CreateWindowExW(0, kPictureBoxClassName, L"", WS_CHILD | WS_VISIBLE, x, y, width,
                              height, parent, nullptr, ::GetModuleHandleW(nullptr), this);
    return hwnd_ != nullptr;
}

void PictureBox::setPicture(Picture picture) {
    picture_ = std::move(picture);
    if (hwnd_)
        ::InvalidateRect(hwnd_, nullptr, FALSE);
}

void PictureBox::paint(HDC dc) const {
    RECT client{};
    ::GetClientRect(hwnd_, &client);
    paintSkinnedBackground(hwnd_, dc, client.right, client.bottom);
    if (!picture_ || !picture_->handle())
        return;
    Gdiplus::GpGraphics* raw = nullptr;
    gdip::GdipCreateFromHDC(dc, &raw);
    skinui::UniqueGpGraphics graphics(raw);
    if (graphics)
        gdip::GdipDrawImageRectI(graphics.get(), picture_->handle(), 0, 0, picture_->width(),
                                 picture_->height());
}

LRESULT PictureBox::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers every pixel
    case WM_PAINT: {
        PAINTSTRUCT ps{};
        HDC dc = ::BeginPaint(hwnd_, &ps);
        if (dc) {
            RECT client{};
            ::GetClientRect(hwnd_, &client);
            OffscreenSurface surface(dc, client.right, client.bottom);
            paint(surface.dc() ? surface.dc() : dc);
            surface.present();
        }
        ::EndPaint(hwnd_, &ps);
        return 0;
    }
    case WM_PRINTCLIENT:
        paint(reinterpret_cast<HDC>(wParam));
        return 0;
    case WM_LBUTTONDOWN: {
        // A copy: the handler may destroy this box's window and, with it, the picker that
        // owns this object.
        const PressHandler handler = onLeftPress_;
        if (handler)
            handler();
        return 0;
    }
    default:
        return ::DefWindowProcW(hwnd_, message, wParam, lParam);
    }
}

} // namespace yunti
