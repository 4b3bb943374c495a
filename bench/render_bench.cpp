// Rendering benchmark: full redraws and single-element repaints of skinned windows, each
// beside its floor (a clear of the same buffer plus one copy of the same size to the
// screen), as medians over many runs. Run it with tools/bench.sh.
//
// Cases:
//   redrawWindow of a 418 x 193 and a 1920 x 1080 ordinary window and a 320 x 150 layered
//   one; a 100 x 30 element repainted on its own (beginElementPaint ... endElementPaint,
//   presented at once) in the small and in the large ordinary window and in the layered one;
//   and, for the small window, the costliest steps of its redraw timed alone.

#include "skinui/controls/element_painting.h"
#include "skinui/controls/skin_control.h"
#include "skinui/drawing/primitives.h"
#include "skinui/drawing/frame.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/skin_window.h"

#include <windows.h>
#include <gdiplus.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

namespace gdip = Gdiplus::DllExports;
using skinui::makeRectF;
using skinui::RectF;

// A plain element that paints a translucent fill over its area, the way the element kinds
// paint: on its own between beginElementPaint and endElementPaint.
class BenchElement final : public skinui::SkinControl {
  public:
    void create(HWND parent, const RectF& bounds) {
        SkinControl::create(parent, bounds, skinui::ElementButton, 1, false);
    }
    LRESULT handleMessage(HWND, UINT message, WPARAM, LPARAM, int windowIndex, int elementIndex,
                          bool direct) override {
        if (message != WM_PAINT)
            return 0;
        const RectF bounds = getBounds();
        skinui::beginElementPaint(windowIndex, elementIndex, bounds, 0, direct);
        if (const skinui::WindowRecord* window = skinui::windowRecord(windowIndex))
            skinui::fillRect(window->frame.graphics(), bounds, 0xC04080C0);
        skinui::endElementPaint(windowIndex, elementIndex, bounds, 255, direct, true);
        return 0;
    }
};

double nowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

void pumpMessages() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// The median time of `runs` calls, after a few unmeasured ones.
double medianMs(int runs, const std::function<void()>& work) {
    for (int i = 0; i < 3; ++i)
        work();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        pumpMessages();
        const double start = nowMs();
        work();
        ::GdiFlush();
        times.push_back(nowMs() - start);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

LRESULT CALLBACK benchWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

struct BenchWindow {
    HWND hwnd = nullptr;
    skinui::SkinWindow skin;
    BenchElement element;
    int cx = 0, cy = 0;
    bool layered = false;

    BenchWindow(int width, int height, int opacity) : cx(width), cy(height), layered(opacity >= 0) {
        hwnd = ::CreateWindowExW(0, L"YuntiRenderBench", L"云梯 benchmark",
                                 WS_POPUP | WS_VISIBLE | WS_MINIMIZEBOX, 0, 0, width, height,
                                 nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        skinui::AttachOptions options;
        options.backgroundColor = 0xF0E0D0;
        options.captionFlags = 2 | 4 | 16;
        options.opacity = opacity;
        skin.attachToWindow(hwnd, options);
        element.create(hwnd, makeRectF(120, 60, 100, 30));
        pumpMessages();
    }
    ~BenchWindow() {
        ::DestroyWindow(hwnd);
        pumpMessages();
    }
    skinui::WindowRecord& record() const { return *skinui::windowRecord(skin.windowIndex()); }
};

struct Row {
    std::string name;
    double measured = 0;
    double floor = 0;
};

void print(const std::vector<Row>& rows) {
    std::printf("%-44s %12s %12s %8s\n", "case", "median ms", "floor ms", "ratio");
    for (const Row& row : rows) {
        if (row.floor > 0)
            std::printf("%-44s %12.3f %12.3f %8.2f\n", row.name.c_str(), row.measured, row.floor,
                        row.measured / row.floor);
        else // a step of the redraw above, timed alone
            std::printf("%-44s %12.3f %12s %8s\n", row.name.c_str(), row.measured, "-", "-");
    }
}

// The floor of a full redraw: a clear of the window buffer and one copy of the window's size
// to the screen (BitBlt, or UpdateLayeredWindow of the layer).
double fullFloor(BenchWindow& window, int runs) {
    skinui::WindowRecord& record = window.record();
    return medianMs(runs, [&] {
        gdip::GdipGraphicsClear(record.windowBuffer.graphics(), 0xFEF0E0D0);
        gdip::GdipFlush(record.windowBuffer.graphics(), Gdiplus::FlushIntentionSync);
        if (window.layered) {
            gdip::GdipGraphicsClear(record.layer.graphics(), 0xFEF0E0D0);
            gdip::GdipFlush(record.layer.graphics(), Gdiplus::FlushIntentionSync);
            skinui::presentLayered(window.hwnd, record.layer.dc(), window.cx, window.cy);
        } else {
            ::BitBlt(record.windowDC.get(), 0, 0, window.cx, window.cy, record.frame.dc(), 0, 0,
                     SRCCOPY);
        }
    });
}

// The floor of an element repaint: a clear of the element's area of the frame and one copy of
// that area to the screen (the whole layer for a layered window).
double elementFloor(BenchWindow& window, int runs) {
    skinui::WindowRecord& record = window.record();
    const RectF area = window.element.getBounds();
    return medianMs(runs, [&] {
        Gdiplus::GpGraphics* frame = record.frame.graphics();
        skinui::setClipRect(frame, area);
        gdip::GdipGraphicsClear(frame, 0xFEF0E0D0);
        skinui::resetClip(frame);
        gdip::GdipFlush(frame, Gdiplus::FlushIntentionSync);
        const int x = static_cast<int>(area.x), y = static_cast<int>(area.y);
        const int w = static_cast<int>(area.width), h = static_cast<int>(area.height);
        if (window.layered) {
            ::BitBlt(record.layer.dc(), x, y, w, h, record.frame.dc(), x, y, SRCCOPY);
            skinui::presentLayered(window.hwnd, record.layer.dc(), window.cx, window.cy);
        } else {
            ::BitBlt(record.windowDC.get(), x, y, w, h, record.frame.dc(), x, y, SRCCOPY);
        }
    });
}

double elementRepaint(BenchWindow& window, int runs) {
    return medianMs(runs, [&] { window.element.redraw(); });
}

} // namespace

int main() {
    skinui::Library::instance().startUp();
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = benchWindowProc;
    windowClass.hInstance = ::GetModuleHandleW(nullptr);
    windowClass.lpszClassName = L"YuntiRenderBench";
    windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    ::RegisterClassW(&windowClass);

    std::printf("frame buffer limit %d x %d (SM_CXMAXTRACK x SM_CYMAXTRACK)\n",
                ::GetSystemMetrics(SM_CXMAXTRACK), ::GetSystemMetrics(SM_CYMAXTRACK));
    std::vector<Row> rows;
    double smallElement = 0, largeElement = 0;
    {
        BenchWindow small(418, 193, -1);
        rows.push_back({"redrawWindow 418x193 ordinary",
                        medianMs(40, [&] { small.skin.redrawWindow(); }), fullFloor(small, 40)});
        rows.push_back({"element 100x30 in 418x193 ordinary", elementRepaint(small, 200),
                        elementFloor(small, 200)});
        smallElement = rows.back().measured;
        rows.push_back(
            {"  of which setCaptionTitle",
             medianMs(40, [&] { small.skin.setCaptionTitle("云梯 benchmark", false, false); }), 0});
        rows.push_back({"  of which the border stamp",
                        medianMs(40,
                                 [&] {
                                     small.record().decorations.stampBorder(
                                         small.record().frame.dc());
                                 }),
                        0});
        rows.push_back({"  on a new shape only: drawWindowBorder",
                        medianMs(40,
                                 [&] {
                                     skinui::drawWindowBorder(small.record().frame.graphics(), 418,
                                                              193, 5, 5);
                                 }),
                        0});
        rows.push_back({"  of which redrawElements (caption buttons)",
                        medianMs(40, [&] { small.skin.redrawElements(0, false, false); }), 0});
        rows.push_back(
            {"  on a new shape only: applyWindowRegion",
             medianMs(40, [&] { skinui::applyWindowRegion(small.hwnd, 418, 193, 5, 5); }), 0});
    }
    {
        BenchWindow large(1920, 1080, -1);
        rows.push_back({"redrawWindow 1920x1080 ordinary",
                        medianMs(15, [&] { large.skin.redrawWindow(); }), fullFloor(large, 15)});
        rows.push_back({"element 100x30 in 1920x1080 ordinary", elementRepaint(large, 200),
                        elementFloor(large, 200)});
        largeElement = rows.back().measured;
    }
    {
        BenchWindow layered(320, 150, 200);
        rows.push_back({"redrawWindow 320x150 layered",
                        medianMs(40, [&] { layered.skin.redrawWindow(); }),
                        fullFloor(layered, 40)});
        rows.push_back({"element 100x30 in 320x150 layered", elementRepaint(layered, 200),
                        elementFloor(layered, 200)});
        Gdiplus::GpGraphics* frame = layered.record().frame.graphics();
        const RectF inside = makeRectF(5, 5, 310, 140);
        rows.push_back({"  of which the translucent rounded fill",
                        medianMs(40,
                                 [&] {
                                     skinui::drawRoundRect(frame, inside, 7.0f, 0xC8F0E0D0, true,
                                                           0, false);
                                 }),
                        0});
        rows.push_back({"  of which the shadow stamp",
                        medianMs(40,
                                 [&] {
                                     layered.record().decorations.stampShadow(
                                         layered.record().frame.dc());
                                 }),
                        0});
        rows.push_back({"  on a new shape only: drawWindowShadow",
                        medianMs(40, [&] { skinui::drawWindowShadow(frame, inside, 5, 0); }), 0});
        rows.push_back({"  of which redrawElements (caption buttons)",
                        medianMs(40, [&] { layered.skin.redrawElements(0, false, false); }), 0});
        rows.push_back({"  of which setCaptionTitle",
                        medianMs(40, [&] { layered.skin.setCaptionTitle("云梯 benchmark", false, false); }), 0});
    }
    print(rows);
    std::printf("element repaint, large / small window: %.2f\n", largeElement / smallElement);
    std::fflush(stdout);
    return 0;
}
