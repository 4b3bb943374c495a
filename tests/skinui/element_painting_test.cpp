// Painting one element on its own: what beginElementPaint and endElementPaint repaint,
// where the area ends up (frame, layer) and when it fades.

#include "skinui/controls/element_painting.h"
#include "skinui/drawing/primitives.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skinned_window_fixture.h"
#include "skinui/canvas.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

namespace {

using namespace skinui;
using namespace skinui::testing;

TEST(ElementTimerId, WindowIndexLowElementIndexHigh) {
    EXPECT_EQ(elementTimerId(3, 2), 0x00020003u);
    EXPECT_EQ(elementTimerId(1, 1), 0x00010001u);
    EXPECT_EQ(elementTimerId(0xFFFF, 0xFFFF), 0xFFFFFFFFu);
    EXPECT_NE(elementTimerId(1, 1), FadeInTimerId);
}

TEST(DrawImageInRect, WholePictureOrTheGivenSource) {
    SkinImage picture;
    makeSolidPicture(picture, 10, 10, 0xFFFF0000);
    paintBlock(picture, 5, 0, 5, 10, 0xFF0000FF); // right half blue
    {
        Canvas canvas(40, 20);
        EXPECT_TRUE(drawImageInRect(canvas.graphics(), picture.handle(), makeRectF(0, 0, 40, 20),
                                    RectF{}, false));
        EXPECT_EQ(canvas.at(5, 10), 0xFFFF0000u); // stretched: the left half fills x < 20
        EXPECT_EQ(canvas.at(35, 10), 0xFF0000FFu);
    }
    {
        Canvas canvas(40, 20);
        EXPECT_TRUE(drawImageInRect(canvas.graphics(), picture.handle(), makeRectF(0, 0, 40, 20),
                                    makeRectF(5, 0, 5, 10), true));
        EXPECT_EQ(canvas.at(5, 10), 0xFF0000FFu); // only the blue half
    }
    Canvas canvas(4, 4);
    EXPECT_FALSE(
        drawImageInRect(canvas.graphics(), nullptr, makeRectF(0, 0, 4, 4), RectF{}, false));
}

// An element that paints itself like the kinds do: a solid fill between beginElementPaint and
// endElementPaint when asked directly, a fill alone otherwise.
class FillElement final : public SkinControl {
  public:
    FillElement(std::string name, Argb argb) : name_(std::move(name)), argb_(argb) {}
    void create(HWND parent, RectF bounds) {
        SkinControl::create(parent, bounds, ElementButton, 1, false);
    }
    LRESULT handleMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam, int windowIndex,
                          int elementIndex, bool direct) override {
        seenLog().push_back({message, wParam, lParam, direct, name_});
        if (message != WM_PAINT)
            return 0;
        const RectF bounds = getBounds();
        beginElementPaint(windowIndex, elementIndex, bounds, 0, direct);
        if (const WindowRecord* window = windowRecord(windowIndex))
            fillRect(window->frame.graphics(), bounds, argb_);
        endElementPaint(windowIndex, elementIndex, bounds, fadeAlpha, direct, presentNow);
        return 0;
    }
    int fadeAlpha = 255;
    bool presentNow = false;

  private:
    std::string name_;
    Argb argb_;
};

class ElementPainting : public SkinnedWindowTest {
  protected:
    static WindowRecord& record(const SkinWindow& window) {
        return *windowRecord(window.windowIndex());
    }
    static int paints(const std::string& who) { return static_cast<int>(countSeen(who, WM_PAINT)); }
    // The element's index in its window.
    static int indexOf(const SkinControl& element) {
        return findElementIndex(element.getWindowIndex(), element.getElementId());
    }
};

TEST_F(ElementPainting, NeighboursEdgeToEdgeAreNotRepainted) {
    SkinWindow& window = skinned(noCaption());
    FillElement left("left", 0xFEFF0000), middle("middle", 0xFE00FF00), right("right", 0xFE0000FF),
        above("above", 0xFE00FFFF), below("below", 0xFEFFFF00);
    below.create(window.hwnd(), makeRectF(70, 30, 20, 20));  // 1: under the middle one
    left.create(window.hwnd(), makeRectF(10, 20, 50, 20));   // 2: ends where middle starts
    middle.create(window.hwnd(), makeRectF(60, 20, 50, 20)); // 3
    right.create(window.hwnd(), makeRectF(110, 20, 50, 20)); // 4: starts where middle ends
    above.create(window.hwnd(), makeRectF(100, 10, 30, 15)); // 5: over middle and right
    seenLog().clear();

    middle.presentNow = true;
    middle.redraw();
    EXPECT_EQ(paints("middle"), 1);
    EXPECT_EQ(paints("below"), 1); // repainted first, by beginElementPaint
    EXPECT_EQ(paints("above"), 1); // then over it, by endElementPaint
    EXPECT_EQ(paints("left"), 0);
    EXPECT_EQ(paints("right"), 0);
    const WindowRecord& w = record(window);
    EXPECT_TRUE(colorNear(w.frame.pixel(65, 25), 0x00FF00));
    EXPECT_TRUE(colorNear(w.frame.pixel(75, 35), 0x00FF00));          // middle covers below
    EXPECT_TRUE(colorNear(w.frame.pixel(105, 22), 0x00FFFF));         // above covers middle
    EXPECT_EQ(w.frame.pixel(120, 12), w.windowBuffer.pixel(120, 12)); // outside the area
}

TEST_F(ElementPainting, WhileAnimatingTheFrameIsLeftAlone) {
    SkinWindow& window = skinned(noCaption());
    FillElement element("element", 0xFE00FF00);
    element.create(window.hwnd(), makeRectF(50, 50, 40, 20));
    window.redrawWindow(std::nullopt, RGB(10, 20, 30), true); // fading in: animating
    ASSERT_TRUE(window.animating());
    const WindowRecord& w = record(window);
    fillRect(w.frame.graphics(), makeRectF(40, 40, 60, 40), 0xFEFF00FF);
    Gdiplus::DllExports::GdipFlush(w.frame.graphics(), Gdiplus::FlushIntentionSync);
    beginElementPaint(window.windowIndex(), indexOf(element), element.getBounds(), 0, true);
    EXPECT_TRUE(colorNear(w.frame.pixel(60, 60), 0xFF00FF));
    for (int i = 0; i < 7; ++i)
        window.fadeInStep(window.hwnd());
    EXPECT_FALSE(window.animating());
}

TEST_F(ElementPainting, AtOnceOrOnTheElementTimer) {
    // A layered window, so the area reaching the screen can be read back from the layer.
    struct Case {
        int fadeElements;
        int fadeAlpha;
        bool presentNow;
        bool fades;
    };
    const Case cases[] = {
        {0, 255, false, false}, // the window does not fade its elements
        {1, 1, false, false},   // alpha 1: at once
        {1, 255, true, false},  // presentNow
        {1, 255, false, true},  // faded in by the timer
    };
    for (const Case& c : cases) {
        AttachOptions options = noCaption();
        options.opacity = 255;
        options.fadeElements = c.fadeElements;
        SkinWindow& window = skinned(options, 200, 120);
        FillElement element("element", 0xFE00FF00);
        element.create(window.hwnd(), makeRectF(50, 50, 40, 20));
        const WindowRecord& w = record(window);
        // What the screen shows now, then the element's new look.
        ::BitBlt(w.layer.dc(), 0, 0, 200, 120, w.frame.dc(), 0, 0, SRCCOPY);
        const std::uint32_t before = w.layer.pixel(60, 60);
        element.fadeAlpha = c.fadeAlpha;
        element.presentNow = c.presentNow;
        element.redraw();
        const UINT_PTR timerId = elementTimerId(window.windowIndex(), indexOf(element));
        if (c.fades) {
            EXPECT_EQ(w.layer.pixel(60, 60), before);
            EXPECT_TRUE(::KillTimer(window.hwnd(), timerId));
        } else {
            EXPECT_EQ(w.layer.pixel(60, 60), w.frame.pixel(60, 60)) << c.fadeElements;
            EXPECT_TRUE(colorNear(w.layer.pixel(60, 60), 0x00FF00)) << c.fadeElements;
            EXPECT_FALSE(::KillTimer(window.hwnd(), timerId)) << c.fadeElements;
        }
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(ElementPainting, BlendElementAreaBlendsTheFrameWithAConstantAlpha) {
    AttachOptions options = noCaption();
    options.opacity = 255;
    options.backgroundColor = RGB(0, 0, 0);
    SkinWindow& window = skinned(options, 200, 120);
    const WindowRecord& w = record(window);
    fillRect(w.frame.graphics(), makeRectF(50, 50, 41, 21), 0xFEFFFFFF);
    Gdiplus::DllExports::GdipFlush(w.frame.graphics(), Gdiplus::FlushIntentionSync);
    blendElementArea(window.windowIndex(), makeRectF(50, 50, 40, 20), 102);
    EXPECT_NEAR(redOf(w.layer.pixel(60, 60)), 254 * 102 / 255, 2);
    EXPECT_LT(redOf(w.layer.pixel(95, 60)), 3); // outside the area
}

TEST_F(ElementPainting, DrawOnlyRepaintTouchesNothingButTheFrame) {
    SkinWindow& window = skinned(noCaption());
    FillElement element("element", 0xFE00FF00);
    element.create(window.hwnd(), makeRectF(50, 50, 40, 20));
    const WindowRecord& w = record(window);
    fillRect(w.frame.graphics(), makeRectF(40, 40, 60, 40), 0xFEFF00FF);
    seenLog().clear();
    // direct false: beginElementPaint restores nothing, the fill lands on the magenta.
    dispatchToElement(window.windowIndex(), indexOf(element), window.hwnd(), WM_PAINT, 0, -1,
                      false);
    EXPECT_TRUE(colorNear(w.frame.pixel(60, 60), 0x00FF00));
    EXPECT_TRUE(colorNear(w.frame.pixel(45, 45), 0xFF00FF));
    EXPECT_FALSE(
        ::KillTimer(window.hwnd(), elementTimerId(window.windowIndex(), indexOf(element))));
}

} // namespace
