// The full redraw of real skinned windows, read back from their buffers: the background
// layer (windowBuffer), the frame, and the layer a layered window is shown from.

#include "skinui/drawing/frame.h"
#include "skinui/library/library.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"
#include "skinui/skinned_window_fixture.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

constexpr COLORREF RedRef = RGB(255, 0, 0);
constexpr COLORREF BlueRef = RGB(0, 0, 255);

class RenderPipeline : public SkinnedWindowTest {
  protected:
    static WindowRecord& record(const SkinWindow& window) {
        return *windowRecord(window.windowIndex());
    }

    // Frame pixels differ from the background layer's only inside `allowed`.
    static void expectFrameChangesOnlyIn(const WindowRecord& window, RECT scan, RECT allowed) {
        for (int y = scan.top; y < scan.bottom; ++y)
            for (int x = scan.left; x < scan.right; ++x) {
                const POINT point{x, y};
                if (!::PtInRect(&allowed, point)) {
                    ASSERT_EQ(window.frame.pixel(x, y), window.windowBuffer.pixel(x, y))
                        << x << "," << y;
                }
            }
    }
};

TEST_F(RenderPipeline, PictureAtTheMarginWithFadedEdgesAndARoundedRegion) {
    // 400 x 300, frameStyle 5, a 150 x 80 red picture whose pixel at 85 % (127, 68) is blue,
    // so the background colour becomes blue; edge fade fx = 100, fy = 40.
    const std::vector<std::uint8_t> picture =
        bmpBytes(150, 80, [](int x, int y) { return x >= 120 && y >= 60 ? BlueRef : RedRef; });
    AttachOptions options;
    options.backgroundImageBytes = picture;
    options.captionFlags = 0;
    SkinWindow& window = skinned(options);
    EXPECT_EQ(window.backgroundColor(), BlueRef);
    const WindowRecord& w = record(window);

    auto layer = [&](int x, int y) { return w.windowBuffer.pixel(x, y); };
    EXPECT_TRUE(colorNear(layer(10, 10), 0xFF0000)); // the picture at (5, 5)
    EXPECT_TRUE(colorNear(layer(4, 4), 0x0000FF));   // the margin: background
    EXPECT_TRUE(colorNear(layer(300, 200), 0x0000FF));
    // The vertical strip (5, 46, 155, 40) and the horizontal one (56, 5, 100, 85) fade the
    // red picture into blue.
    EXPECT_TRUE(colorNear(layer(30, 44), 0xFF0000));
    EXPECT_GT(redOf(layer(30, 48)), 200);
    EXPECT_LT(redOf(layer(30, 62)), redOf(layer(30, 52)));
    EXPECT_GT(blueOf(layer(30, 62)), blueOf(layer(30, 52)));
    EXPECT_TRUE(colorNear(layer(54, 20), 0xFF0000));
    EXPECT_GT(redOf(layer(58, 20)), 200);
    EXPECT_LT(redOf(layer(140, 20)), redOf(layer(100, 20)));
    EXPECT_LT(redOf(layer(153, 20)), 40);

    UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window.hwnd(), static_cast<HRGN>(region.get())), ERROR);
    RECT box{};
    ::GetRgnBox(static_cast<HRGN>(region.get()), &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 395); // CreateRoundRectRgn(5, 5, 396, 296, 5, 5)
    EXPECT_EQ(box.bottom, 295);
}

TEST_F(RenderPipeline, BorderDarkOutsideLightInside) {
    AttachOptions options = noCaption();
    options.backgroundColor = RGB(128, 128, 128);
    SkinWindow& window = skinned(options);
    const WindowRecord& w = record(window);
    const int background = redOf(w.frame.pixel(100, 150));
    EXPECT_NEAR(background, 128, 1);
    EXPECT_LT(redOf(w.frame.pixel(5, 150)), background - 30);   // outer line on the frame edge
    EXPECT_GT(redOf(w.frame.pixel(6, 150)), background + 20);   // inner line inside it
    EXPECT_LT(redOf(w.frame.pixel(394, 150)), background - 30); // right edge, x = cx - m - 1
    EXPECT_EQ(w.frame.pixel(8, 150), w.windowBuffer.pixel(8, 150));
    EXPECT_EQ(w.windowBuffer.pixel(5, 150), w.windowBuffer.pixel(100, 150)); // not in the layer
}

// The border and shadow are stamped onto the frame from strips drawn once; what they leave
// must be what drawing them straight onto the frame leaves.
TEST_F(RenderPipeline, StampedBorderAndShadowMatchTheStrokesDrawnOnTheFrame) {
    struct Case {
        int opacity;
        int frameStyle;
    };
    for (const Case c : {Case{-1, 5}, Case{-1, 0}, Case{-1, 9}, Case{255, 5}, Case{200, 0},
                         Case{170, 5}}) {
        SCOPED_TRACE("opacity " + std::to_string(c.opacity) + " frameStyle " +
                     std::to_string(c.frameStyle));
        AttachOptions options = noCaption();
        options.backgroundColor = RGB(128, 128, 128);
        options.opacity = c.opacity;
        options.frameStyle = c.frameStyle;
        SkinWindow& window = skinned(options, 400, 300);
        const WindowRecord& w = record(window);
        std::vector<std::uint32_t> stamped;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                stamped.push_back(w.frame.pixel(x, y));

        ::BitBlt(w.frame.dc(), 0, 0, 400, 300, w.windowBuffer.dc(), 0, 0, SRCCOPY);
        drawWindowBorder(w.frame.graphics(), 400, 300, 5, c.frameStyle);
        if (c.opacity != -1)
            drawWindowShadow(w.frame.graphics(), frameRect(400, 300, 5), c.frameStyle, 0x000000);
        int mismatches = 0;
        std::string first;
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x) {
                const std::uint32_t drawn = w.frame.pixel(x, y);
                const std::uint32_t got = stamped[static_cast<size_t>(y * 400 + x)];
                const bool alike = colorNear(got, drawn, 2) &&
                                  std::abs(alphaOf(got) - alphaOf(drawn)) <= 2;
                if (!alike && mismatches++ == 0) {
                    std::ostringstream where;
                    where << "(" << x << ", " << y << ") " << ::testing::PrintToString(got)
                          << " drawn " << ::testing::PrintToString(drawn);
                    first = where.str();
                }
            }
        EXPECT_EQ(mismatches, 0) << first;
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(RenderPipeline, MaximizedWindowHasNoMarginAndAnUninsetRegion) {
    SkinWindow& window = skinned(noCaption(), 400, 300, WS_POPUP | WS_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(window.hwnd()));
    const SIZE size = window.windowSize();
    UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    ASSERT_NE(::GetWindowRgn(window.hwnd(), static_cast<HRGN>(region.get())), ERROR);
    RECT box{};
    ::GetRgnBox(static_cast<HRGN>(region.get()), &box);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.top, 0);
    EXPECT_EQ(box.right, size.cx);
    EXPECT_EQ(box.bottom, size.cy);
    // The border sits on the window's own edge.
    const WindowRecord& w = record(window);
    EXPECT_NE(w.frame.pixel(0, size.cy / 2), w.windowBuffer.pixel(0, size.cy / 2));
}

// The region is set again only when its shape changes, so it must follow every change.
TEST_F(RenderPipeline, RegionFollowsTheSizeAndTheZoomButIsNotSetAgainForNothing) {
    SkinWindow& window = skinned(noCaption(), 400, 300);
    const HWND hwnd = window.hwnd();
    auto regionBox = [&] {
        UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
        RECT box{-1, -1, -1, -1};
        if (::GetWindowRgn(hwnd, static_cast<HRGN>(region.get())) != ERROR)
            ::GetRgnBox(static_cast<HRGN>(region.get()), &box);
        return box;
    };
    auto expectBox = [&](RECT expected, const char* when) {
        const RECT box = regionBox();
        EXPECT_TRUE(::EqualRect(&box, &expected))
            << when << ": " << box.left << ", " << box.top << ", " << box.right << ", "
            << box.bottom;
    };
    expectBox(RECT{5, 5, 395, 295}, "attached");

    // A redraw of the same shape leaves a region set from elsewhere alone...
    ::SetWindowRgn(hwnd, ::CreateRectRgn(0, 0, 50, 50), FALSE);
    window.redrawWindow();
    expectBox(RECT{0, 0, 50, 50}, "same shape");

    // ...and a new size, a zoom and a restore each give the region of their shape.
    ::SetWindowPos(hwnd, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    expectBox(RECT{5, 5, 295, 195}, "resized");
    ::ShowWindow(hwnd, SW_MAXIMIZE);
    ASSERT_TRUE(::IsZoomed(hwnd));
    const SIZE zoomed = window.windowSize();
    expectBox(RECT{0, 0, zoomed.cx, zoomed.cy}, "maximized");
    ::ShowWindow(hwnd, SW_RESTORE);
    ASSERT_FALSE(::IsZoomed(hwnd));
    expectBox(RECT{5, 5, 295, 195}, "restored");
}

// Every pixel of a premultiplied picture has no channel above its alpha; a straight-alpha
// pixel handed to UpdateLayeredWindow would show as a light fringe.
void expectPremultiplied(const BackBuffer& buffer) {
    for (int y = 0; y < buffer.height(); ++y)
        for (int x = 0; x < buffer.width(); ++x) {
            const std::uint32_t p = buffer.pixel(x, y);
            const int a = alphaOf(p);
            ASSERT_TRUE(redOf(p) <= a && greenOf(p) <= a && blueOf(p) <= a)
                << x << "," << y << " " << std::hex << p;
        }
}

TEST_F(RenderPipeline, LayeredWindowMarginShadowAndTranslucentBackground) {
    AttachOptions options = noCaption();
    options.backgroundColor = 0x0088FF; // R FF, G 88, B 00
    options.opacity = 170;
    SkinWindow& window = skinned(options, 200, 120);
    const WindowRecord& w = record(window);
    ASSERT_TRUE(w.layer.dc());
    const BackBuffer& layer = w.layer;

    expectPremultiplied(layer);
    // The margin band: transparent at the window's edge, then the four rings, darkest nearest
    // the frame, all black.
    EXPECT_EQ(layer.pixel(0, 60), 0u);
    const int ringAlphas[4] = {15, 25, 55, 75}; // x = 1 .. 4
    for (int x = 1; x <= 4; ++x) {
        EXPECT_NEAR(alphaOf(layer.pixel(x, 60)), ringAlphas[x - 1], 2) << x;
        EXPECT_EQ(layer.pixel(x, 60) & 0xFFFFFF, 0u) << x;
        EXPECT_NEAR(alphaOf(layer.pixel(100, x)), ringAlphas[x - 1], 2) << x;
    }
    // Inside: the colour at the window's opacity, premultiplied.
    const std::uint32_t inside = layer.pixel(100, 60);
    EXPECT_NEAR(alphaOf(inside), 170, 1);
    EXPECT_NEAR(redOf(inside), 170, 1);
    EXPECT_NEAR(greenOf(inside), 0x88 * 170 / 255, 2);
    EXPECT_EQ(blueOf(inside), 0);
}

TEST_F(RenderPipeline, LayeredPictureAlphaIsScaledByTheOpacity) {
    // A red 50 x 50 picture, black at 85 % so the background is black; square frame, natural
    // size, no edge fade.
    const std::vector<std::uint8_t> picture =
        bmpBytes(50, 50, [](int x, int y) { return x >= 40 && y >= 40 ? RGB(0, 0, 0) : RedRef; });
    for (int opacity : {128, 255}) {
        AttachOptions options;
        options.backgroundImageBytes = picture;
        options.captionFlags = 0;
        options.opacity = opacity;
        options.frameStyle = 0;
        options.edgeEffect = 0;
        SkinWindow& window = skinned(options, 200, 120);
        const BackBuffer& layer = record(window).layer;
        expectPremultiplied(layer);
        const std::uint32_t pixel = layer.pixel(20, 20);
        if (opacity == 128) {
            // The picture at alpha 128 over the black background at alpha 128.
            EXPECT_NEAR(alphaOf(pixel), 192, 3);
            EXPECT_NEAR(redOf(pixel), 128, 3);
        } else {
            EXPECT_GE(alphaOf(pixel), 254); // the picture's matrix uses 1.0
            EXPECT_GE(redOf(pixel), 254);
        }
        EXPECT_EQ(greenOf(pixel), 0);
    }
}

TEST_F(RenderPipeline, ColourFromImageWithoutAPictureKeepsTheColour) {
    AttachOptions options = noCaption();
    options.backgroundColor = 0x123456;
    SkinWindow& window = skinned(options);
    EXPECT_EQ(window.redrawWindow(std::nullopt, ColorFromImage), 1);
    EXPECT_EQ(window.backgroundColor(), 0x123456u);
    EXPECT_TRUE(colorNear(record(window).windowBuffer.pixel(200, 150), 0x563412));
    window.redrawWindow(std::nullopt, 0x654321);
    EXPECT_EQ(window.backgroundColor(), 0x654321u);
    EXPECT_TRUE(colorNear(record(window).windowBuffer.pixel(200, 150), 0x214365));
    EXPECT_FALSE(window.animating());
}

TEST_F(RenderPipeline, PaintCallbacksGetTheBackgroundLayer) {
    SkinWindow window;
    HWND hwnd = plain();
    std::vector<std::string> calls;
    auto callback = [&](const char* name) {
        return [&, name](HWND h, Gdiplus::GpGraphics* graphics, HDC dc, int cx, int cy) {
            const WindowRecord* w = windowRecord(window.windowIndex());
            ASSERT_NE(w, nullptr);
            EXPECT_EQ(h, hwnd);
            EXPECT_EQ(graphics, w->windowBuffer.graphics());
            EXPECT_EQ(dc, w->windowBuffer.dc());
            EXPECT_EQ(cx, 400);
            EXPECT_EQ(cy, 300);
            calls.push_back(name);
        };
    };
    window.setOnPaint(callback("paint"));
    window.setOnPaintDone(callback("done"));
    window.attachToWindow(hwnd, noCaption());
    EXPECT_EQ(calls, (std::vector<std::string>{"paint", "done"}));
    ::DestroyWindow(hwnd);
}

TEST_F(RenderPipeline, FadeInBlendsFiveTimesAndTheSixthTickEndsIt) {
    AttachOptions options = noCaption();
    options.backgroundColor = RGB(0, 0, 0);
    options.opacity = 255;
    SkinWindow& window = skinned(options, 200, 120);
    const BackBuffer& layer = record(window).layer;
    ASSERT_LT(redOf(layer.pixel(100, 60)), 3);

    window.redrawWindow(std::nullopt, RGB(250, 250, 250), true);
    EXPECT_TRUE(window.animating());
    EXPECT_LT(redOf(layer.pixel(100, 60)), 3); // the screen keeps the old picture

    int previous = 0;
    for (int tick = 1; tick <= 5; ++tick) {
        window.fadeInStep(window.hwnd());
        EXPECT_EQ(window.fadeInAlpha(), 51 * tick);
        EXPECT_TRUE(window.animating());
        const int red = redOf(layer.pixel(100, 60));
        EXPECT_GT(red, previous) << tick;
        previous = red;
    }
    EXPECT_NEAR(redOf(layer.pixel(100, 60)), 249, 2); // the last blend is at 255: the frame
    window.fadeInStep(window.hwnd());
    EXPECT_EQ(window.fadeInAlpha(), 0);
    EXPECT_FALSE(window.animating());
    EXPECT_FALSE(::KillTimer(window.hwnd(), FadeInTimerId)); // the sixth tick killed it
}

TEST_F(RenderPipeline, FadeInRunsOnTheWindowTimer) {
    AttachOptions options = noCaption();
    SkinWindow& window = skinned(options, 200, 120);
    window.redrawWindow(std::nullopt, std::nullopt, true);
    ASSERT_TRUE(window.animating());
    for (int i = 0; i < 100 && window.animating(); ++i)
        pumpMessages();
    EXPECT_FALSE(window.animating());
    EXPECT_EQ(window.fadeInAlpha(), 0);
}

TEST_F(RenderPipeline, FrameEdgesAreRestoredOnlyWhereAnAreaTouchesThem) {
    AttachOptions options = noCaption();
    options.backgroundColor = RGB(128, 128, 128);
    SkinWindow& window = skinned(options);
    const WindowRecord& w = record(window);
    const std::uint32_t border = w.frame.pixel(20, 6);
    auto wipe = [&] { ::BitBlt(w.frame.dc(), 0, 0, 400, 300, w.windowBuffer.dc(), 0, 0, SRCCOPY); };
    wipe();
    restoreFrameEdges(window.windowIndex(), makeRectF(20, 20, 50, 20), true);
    expectFrameChangesOnlyIn(w, RECT{0, 0, 400, 300}, RECT{});

    restoreFrameEdges(window.windowIndex(), makeRectF(20, 6, 50, 20), true);
    EXPECT_EQ(w.frame.pixel(20, 6), border);
    expectFrameChangesOnlyIn(w, RECT{0, 0, 400, 300}, RECT{20, 6, 70, 26});
}

TEST_F(RenderPipeline, LayeredMarginBandIsClearedAndTheShadowRedrawn) {
    AttachOptions options = noCaption();
    options.opacity = 200;
    SkinWindow& window = skinned(options, 200, 120);
    const WindowRecord& w = record(window);
    const std::uint32_t ring = w.frame.pixel(4, 60);
    ASSERT_NE(ring, 0u);
    restoreFrameEdges(window.windowIndex(), makeRectF(1, 50, 30, 20), false);
    EXPECT_EQ(w.frame.pixel(4, 60), 0u); // the band is transparent until decorations return
    EXPECT_EQ(w.frame.pixel(4, 10), 0u);
    restoreFrameEdges(window.windowIndex(), makeRectF(1, 50, 30, 20), true);
    EXPECT_EQ(w.frame.pixel(4, 60), ring);
}

TEST_F(RenderPipeline, CaptionTitleInItsRectangleBlackOnLightWhiteOnDark) {
    // 300 wide with icon, title, close and minimize: the title goes into (33, 11, 190, 17).
    for (COLORREF background : {RGB(230, 230, 230), RGB(30, 30, 60)}) {
        AttachOptions options;
        options.backgroundColor = background;
        options.captionFlags = 1 | 2 | 4 | 16;
        SkinWindow& window = skinned(options, 300, 200);
        ::SetWindowTextW(window.hwnd(), L"Yunti 云梯");
        const WindowRecord& w = record(window);
        // The glow may reach two pixels out: (31, 9) to (224, 31). Below the border (rows 5
        // and 6), between the icon at (11, 11) and the minimize button at x = 225, nothing
        // else is drawn.
        expectFrameChangesOnlyIn(w, RECT{28, 7, 225, 45}, RECT{31, 9, 225, 32});
        int darkest = 255, lightest = 0;
        for (int y = 11; y < 28; ++y)
            for (int x = 33; x < 223; ++x) {
                darkest = std::min(darkest, greenOf(w.frame.pixel(x, y)));
                lightest = std::max(lightest, greenOf(w.frame.pixel(x, y)));
            }
        if (background == RGB(230, 230, 230)) {
            EXPECT_LT(darkest, 60);
        } else {
            EXPECT_GT(lightest, 200);
        }
    }
}

TEST_F(RenderPipeline, BackgroundImageHandleAdoptsWithoutRedraw) {
    SkinWindow& window = skinned(noCaption());
    EXPECT_EQ(window.backgroundImageHandle(), nullptr);
    Gdiplus::GpBitmap* bitmap = nullptr;
    Gdiplus::DllExports::GdipCreateBitmapFromScan0(8, 8, 0, PixelFormat32bppARGB, nullptr, &bitmap);
    ASSERT_NE(bitmap, nullptr);
    const std::uint32_t before = record(window).windowBuffer.pixel(100, 100);
    EXPECT_EQ(window.backgroundImageHandle(bitmap), bitmap);
    EXPECT_EQ(window.backgroundImage().handle(), bitmap);
    EXPECT_EQ(record(window).windowBuffer.pixel(100, 100), before);
}

TEST_F(RenderPipeline, NotAttachedRedrawsNothing) {
    SkinWindow window;
    EXPECT_EQ(window.redrawWindow(), 0);
    EXPECT_FALSE(window.animating());
}

} // namespace
