// showAnimated: shows a skinned window, fading it in from transparent when asked.
//
// The frames are presented with UpdateLayeredWindow from a scratch buffer of the window's
// size. A layered window keeps its style; an ordinary one is layered only while the
// animation plays and is painted from its frame buffer again afterwards.

#include "skinui/skin_window/skin_window.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"

#include <algorithm>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

constexpr int ShowFrames = 25;
constexpr DWORD ShowFrameSleepMs = 8;

void clearTransparent(const BackBuffer& buffer) {
    if (Gdiplus::GpGraphics* graphics = buffer.graphics()) {
        gdip::GdipGraphicsClear(graphics, 0x00FFFFFF);
        gdip::GdipFlush(graphics, Gdiplus::FlushIntentionSync);
    }
}

// The source's pixels over the destination's at a constant alpha (their own alpha unused).
void blendWhole(HDC destination, HDC source, int width, int height, int alpha) {
    if (!destination || !source || width <= 0 || height <= 0)
        return;
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    ::AlphaBlend(destination, 0, 0, width, height, source, 0, 0, width, height, blend);
}

} // namespace

std::vector<int> showAnimationAlphas(int mode, int targetAlpha) {
    std::vector<int> alphas;
    if (mode != 1)
        return alphas;
    const int step = targetAlpha / ShowFrames;
    for (int i = 1; i <= ShowFrames; ++i)
        alphas.push_back(step * (i - 1));
    alphas.push_back(254);
    return alphas;
}

void SkinWindow::showAnimated(int mode) {
    WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    const HWND hwnd = record->hwnd;
    const int width = record->windowRect.right - record->windowRect.left;
    const int height = record->windowRect.bottom - record->windowRect.top;

    if (record->opacity != -1) {
        blendWhole(record->layer.dc(), record->frame.dc(), windowSize_.cx, windowSize_.cy, 1);
        if (record->layer.dc())
            presentLayered(hwnd, record->layer.dc(), width, height);
        playShowAnimation(hwnd, mode, record->opacity, width, height);
        // Without the fade the window would stay at the nearly transparent first frame; it
        // shows its layer, which holds the frame as the last redraw presented it.
        record = windowRecord(windowIndex_);
        if (mode != 1 && record && record->layer.dc())
            presentLayered(hwnd, record->layer.dc(), width, height);
        return;
    }

    // UpdateLayeredWindow presents nothing on a window without WS_EX_LAYERED, so an
    // ordinary window is layered for the length of the animation.
    addWindowStyle(hwnd, WS_EX_LAYERED, true);
    playShowAnimation(hwnd, mode, 255, width, height);
    const LONG_PTR exStyle = ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, exStyle & ~static_cast<LONG_PTR>(WS_EX_LAYERED));
    if ((record = windowRecord(windowIndex_)))
        record->layer.reset();
    // A window that stops being layered must be painted again: WM_PAINT copies the frame.
    ::RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

// Blocks the thread for the whole fade: 25 frames of 8 ms plus drawing.
void SkinWindow::playShowAnimation(HWND hwnd, int mode, int targetAlpha, int width, int height) {
    const WindowRecord* record = windowRecord(windowIndex_);
    if (!record)
        return;
    animating_ = true;
    BackBuffer scratch = BackBuffer::compatibleWith(nullptr);
    scratch.createBackBuffer(width, height);

    blendWhole(scratch.dc(), record->frame.dc(), width, height, 1);
    if (scratch.dc())
        presentLayered(hwnd, scratch.dc(), width, height);
    ::ShowWindow(hwnd, SW_SHOWNORMAL);
    // Showing sends messages; the application may have let the window go meanwhile.
    if (!(record = windowRecord(windowIndex_)) || record->hwnd != hwnd) {
        animating_ = false;
        return;
    }
    const HDC frame = record->frame.dc();

    const std::vector<int> alphas = showAnimationAlphas(mode, std::clamp(targetAlpha, 0, 255));
    for (size_t i = 0; i < alphas.size(); ++i) {
        clearTransparent(scratch);
        blendWhole(scratch.dc(), frame, width, height, alphas[i]);
        if (scratch.dc())
            presentLayered(hwnd, scratch.dc(), width, height);
        if (i + 1 < alphas.size())
            ::Sleep(ShowFrameSleepMs);
    }
    animating_ = false;
}

} // namespace skinui
