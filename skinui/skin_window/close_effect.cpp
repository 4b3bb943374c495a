#include "skinui/skin_window/close_effect.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/skin_window.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

std::vector<CloseEffectFrame> closeEffectFrames(int effect, int opacity, int width, int height) {
    std::vector<CloseEffectFrame> frames;
    if (effect == 0)
        return frames;
    if (effect == 1) {
        for (int i = 1; i <= 25; ++i)
            frames.push_back({opacity - (opacity / 25) * (i - 1), 0, 0, width, height, 0, 8});
        return frames;
    }
    if (effect == 2) {
        int s = 0;
        for (int i = 1; i <= 20; ++i) {
            CloseEffectFrame frame;
            frame.alpha = opacity - (opacity / 20) * (i - 1);
            if (i <= 3) {
                const double d = 1.5 * i;
                frame.x = frame.y = static_cast<int>(-d / 2);
                frame.width = static_cast<int>(width + d);
                frame.height = static_cast<int>(height + d);
            } else {
                s += 2;
                frame.x = frame.y = static_cast<int>(s / 2.0 - 5);
                frame.width = static_cast<int>(width + 10.0 - s);
                frame.height = static_cast<int>(height + 10.0 - s);
            }
            frame.sleepMs = 15 - i > 0 ? 15 - i : 1;
            frames.push_back(frame);
        }
        return frames;
    }
    const int distance = wipesColumns(effect) ? width : height;
    for (int i = 1; i <= 25; ++i) {
        CloseEffectFrame frame{opacity - (opacity / 25) * (i - 1), 0, 0, width, height, 0, 8};
        frame.offset = (distance / 25) * (i - 1);
        frames.push_back(frame);
    }
    return frames;
}

int wipeLineAlpha(int alpha, int lines, int j) {
    if (j < lines - 100)
        return alpha;
    return static_cast<int>(alpha / 100.0 * (lines - j));
}

namespace {

void clearTransparent(const BackBuffer& buffer) {
    if (Gdiplus::GpGraphics* graphics = buffer.graphics()) {
        gdip::GdipGraphicsClear(graphics, 0x00FFFFFF);
        gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    }
}

void blend(HDC destination, int dx, int dy, int dw, int dh, HDC source, int sx, int sy, int sw,
           int sh, int alpha) {
    if (!destination || !source || dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0)
        return;
    const BLENDFUNCTION function{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::AlphaBlend(destination, dx, dy, dw, dh, source, sx, sy, sw, sh, function);
}

} // namespace

// Runs inside WM_CLOSE and blocks until the last frame; the previous procedure then closes
// the window as usual. The layer buffer and WS_EX_LAYERED stay afterwards.
void SkinWindow::playCloseEffect(HWND hwnd) {
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    const int w = record->windowRect.right - record->windowRect.left;
    const int h = record->windowRect.bottom - record->windowRect.top;
    animating_ = true;

    if (record->opacity == -1) {
        // Copy the frame without its 5-pixel margin into a new layer.
        record->layer = BackBuffer::compatibleWith(nullptr);
        record->layer.createBackBuffer(w, h);
        addWindowStyle(hwnd, WS_EX_LAYERED, true);
        blend(record->layer.dc(), 5, 5, w - 10, h - 10, record->frame.dc(), 5, 5, w - 10, h - 10,
              255);
        record->opacity = 255;
    }

    BackBuffer scratch = BackBuffer::compatibleWith(nullptr);
    scratch.createBackBuffer(w, h);

    for (const CloseEffectFrame& frame : closeEffectFrames(closeEffect_, record->opacity, w, h)) {
        clearTransparent(scratch);
        if (closeEffect_ == 1 || closeEffect_ == 2) {
            blend(scratch.dc(), frame.x, frame.y, frame.width, frame.height, record->layer.dc(), 0,
                  0, w, h, frame.alpha);
            presentLayered(hwnd, scratch.dc(), w, h);
        } else {
            wipeFrame(scratch.dc(), w, h, frame.alpha, frame.offset, closeEffect_);
        }
        ::Sleep(static_cast<DWORD>(frame.sleepMs));
    }

    clearTransparent(scratch);
    presentLayered(hwnd, scratch.dc(), w, h);
    scratch.reset();
    animating_ = false;
}

// One wipe frame: the lines that remain, copied from the layer one by one with their alpha,
// then shown.
void SkinWindow::wipeFrame(HDC destinationDC, int w, int h, int alpha, int offset, int mode) {
    const WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    const HDC layer = record->layer.dc();
    const int lines = (wipesColumns(mode) ? w : h) - offset;
    for (int j = 1; j <= lines; ++j) {
        const int lineAlpha = wipeLineAlpha(alpha, lines, j);
        switch (mode) {
        case 3:
            blend(destinationDC, w - j, 0, 1, h, layer, w - j, 0, 1, h, lineAlpha);
            break;
        case 4:
            blend(destinationDC, j, 0, 1, h, layer, j, 0, 1, h, lineAlpha);
            break;
        case 5:
            blend(destinationDC, 0, h - j, w, 1, layer, 0, h - j, w, 1, lineAlpha);
            break;
        default:
            blend(destinationDC, 0, j, w, 1, layer, 0, j, w, 1, lineAlpha);
            break;
        }
    }
    presentLayered(record->hwnd, destinationDC, w, h);
}

} // namespace skinui
