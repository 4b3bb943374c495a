// Window backgrounds and frames: what drawBackgroundImage, drawNineGrid, drawWindowBorder and
// drawWindowShadow put into a 32-bit DIB section, and the region applyWindowRegion gives a
// real window.

#include "skinui/drawing/background.h"
#include "skinui/drawing/frame.h"
#include "skinui/drawing/primitives.h"
#include "skinui/canvas.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using skinui::makeRectF;
using skinui::RectF;
using skinui::SkinImage;
using namespace skinui::testing;

constexpr std::uint32_t Red = 0xFFFF0000;
constexpr std::uint32_t Green = 0xFF00FF00;
constexpr std::uint32_t Blue = 0xFF0000FF;

TEST(EdgeFade, HundredPixelsOrHalfTheSide) {
    struct Case {
        int iw, ih;
        skinui::EdgeFadeSizes expected;
    };
    const Case cases[] = {
        {300, 80, {100, 40}},  {150, 80, {100, 40}}, {7, 7, {3, 3}},
        {100, 101, {50, 100}}, {1, 0, {0, 0}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinui::edgeFadeSizes(c.iw, c.ih), c.expected) << c.iw << "x" << c.ih;
}

TEST(BackgroundImage, FadesTheRightAndBottomEdgesIntoTheBackground) {
    // A 300 x 80 red picture on blue: fx = 100, fy = 40, so the vertical strip is
    // (0, 40, 300, 41) and the horizontal one (200, 0, 101, 80).
    SkinImage picture;
    makeSolidPicture(picture, 300, 80, Red);
    Canvas canvas(400, 120);
    ASSERT_TRUE(canvas.ready());
    skinui::drawBackgroundImage(canvas.graphics(), picture, makeRectF(0, 0, 400, 120), 0, Blue, 0,
                                nullptr, true);

    EXPECT_EQ(canvas.at(20, 20), Red); // untouched by either strip
    EXPECT_EQ(canvas.at(150, 38), Red);
    EXPECT_EQ(canvas.at(198, 20), Red);
    EXPECT_EQ(canvas.at(350, 100) & 0xFFFFFF, 0x0000FFu); // outside the picture: background
    EXPECT_EQ(canvas.at(50, 100) & 0xFFFFFF, 0x0000FFu);

    // Down the vertical strip red gives way to blue, steadily.
    int previousRed = 256;
    for (int y = 41; y < 80; y += 4) {
        const std::uint32_t pixel = canvas.at(50, y);
        EXPECT_LT(redOf(pixel), previousRed) << "y " << y;
        EXPECT_EQ(alphaOf(pixel), 255) << "y " << y; // composed on an opaque background
        previousRed = redOf(pixel);
    }
    EXPECT_GT(redOf(canvas.at(50, 42)), 200);
    EXPECT_LT(redOf(canvas.at(50, 78)), 40);
    // Across the horizontal strip likewise.
    EXPECT_GT(redOf(canvas.at(202, 20)), 200);
    EXPECT_GT(redOf(canvas.at(250, 20)), 80);
    EXPECT_LT(redOf(canvas.at(250, 20)), 180);
    EXPECT_LT(redOf(canvas.at(298, 20)), 40);
}

TEST(BackgroundImage, OnlyStretchOneStretches) {
    SkinImage picture;
    makeSolidPicture(picture, 20, 10, Red);
    for (int stretch : {0, 2, 1}) {
        Canvas canvas(60, 40);
        skinui::drawBackgroundImage(canvas.graphics(), picture, makeRectF(0, 0, 60, 40), 0, Blue,
                                    stretch, nullptr, false);
        EXPECT_EQ(canvas.at(5, 5), Red) << stretch;
        if (stretch == 1)
            EXPECT_EQ(canvas.at(50, 35), Red);
        else
            EXPECT_EQ(canvas.at(50, 35), 0u) << stretch; // natural size, nothing beyond it
    }
}

TEST(BackgroundImage, RoundedClipCutsTheCornersAndIsResetAfterwards) {
    SkinImage picture;
    makeSolidPicture(picture, 40, 40, Red);
    Canvas canvas(40, 40);
    skinui::drawBackgroundImage(canvas.graphics(), picture, makeRectF(0, 0, 40, 40), 9, Blue, 1,
                                nullptr, false);
    EXPECT_EQ(canvas.at(0, 0), 0u);
    EXPECT_EQ(canvas.at(20, 20), Red);
    EXPECT_EQ(canvas.at(20, 0), Red);

    skinui::fillRect(canvas.graphics(), makeRectF(0, 0, 40, 40), Green);
    EXPECT_EQ(greenOf(canvas.at(0, 0)), 255); // the clip is gone
}

TEST(BackgroundImage, WithoutAPictureDrawsNothingAndKeepsTheClip) {
    SkinImage empty;
    Canvas canvas(20, 20);
    skinui::setClipRect(canvas.graphics(), makeRectF(0, 0, 5, 5));
    skinui::drawBackgroundImage(canvas.graphics(), empty, makeRectF(0, 0, 20, 20), 9, Blue, 1,
                                nullptr, true);
    EXPECT_TRUE(canvas.blank());
    skinui::fillRect(canvas.graphics(), makeRectF(0, 0, 20, 20), Green);
    EXPECT_NE(canvas.at(2, 2), 0u);
    EXPECT_EQ(canvas.at(10, 10), 0u); // still clipped
}

TEST(BackgroundImage, AttributesScaleThePictureAlpha) {
    SkinImage picture;
    makeSolidPicture(picture, 20, 20, Red);
    Gdiplus::GpImageAttributes* raw = nullptr;
    Gdiplus::DllExports::GdipCreateImageAttributes(&raw);
    skinui::UniqueGpImageAttributes attributes(raw);
    ASSERT_TRUE(attributes);
    Gdiplus::ColorMatrix matrix{};
    const float diagonal[5] = {1, 1, 1, 0.5f, 1};
    for (int i = 0; i < 5; ++i)
        matrix.m[i][i] = diagonal[i];
    Gdiplus::DllExports::GdipSetImageAttributesColorMatrix(
        attributes.get(), Gdiplus::ColorAdjustTypeBitmap, TRUE, &matrix, nullptr,
        Gdiplus::ColorMatrixFlagsDefault);
    Canvas canvas(20, 20);
    skinui::drawBackgroundImage(canvas.graphics(), picture, makeRectF(0, 0, 20, 20), 0, Blue, 1,
                                attributes.get(), false);
    EXPECT_NEAR(alphaOf(canvas.at(10, 10)), 127, 2);
    EXPECT_EQ(canvas.at(10, 10) & 0xFFFFFF, 0xFF0000u);
}

TEST(NineGrid, PartsForAHundredBySixtyPicture) {
    const RectF centre = skinui::rectToRectF(RECT{10, 10, 90, 50});
    EXPECT_EQ(centre, makeRectF(10, 10, 80, 40));
    const skinui::NineGridParts grid =
        skinui::nineGridParts(100, 60, makeRectF(0, 0, 400, 300), centre);
    struct Expected {
        RectF dest, source;
    };
    const Expected expected[9] = {
        {{0, 0, 10, 10}, {0, 0, 10, 10}},       {{10, 0, 380, 10}, {10, 0, 80, 10}},
        {{390, 0, 10, 10}, {90, 0, 10, 10}},    {{0, 10, 10, 280}, {0, 10, 10, 40}},
        {{10, 10, 380, 280}, {10, 10, 80, 40}}, {{390, 10, 10, 280}, {90, 10, 10, 40}},
        {{0, 290, 10, 10}, {0, 50, 10, 10}},    {{10, 290, 380, 10}, {10, 50, 80, 10}},
        {{390, 290, 10, 10}, {90, 50, 10, 10}},
    };
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(grid.parts[i].dest, expected[i].dest) << "part " << i + 1;
        EXPECT_EQ(grid.parts[i].source, expected[i].source) << "part " << i + 1;
    }
}

TEST(NineGrid, CornersKeepTheirSize) {
    SkinImage picture;
    makeSolidPicture(picture, 100, 60, Green);
    paintBlock(picture, 0, 0, 10, 10, Red);
    paintBlock(picture, 90, 50, 10, 10, Blue);
    Canvas canvas(400, 300);
    skinui::drawNineGrid(canvas.graphics(), picture.handle(), makeRectF(0, 0, 400, 300),
                         makeRectF(10, 10, 80, 40));
    EXPECT_EQ(canvas.at(4, 4), Red);
    EXPECT_EQ(canvas.at(395, 295), Blue);
    EXPECT_EQ(canvas.at(20, 20), Green); // a stretched corner would reach here
    EXPECT_EQ(canvas.at(380, 280), Green);
    EXPECT_EQ(canvas.at(200, 150), Green);

    Canvas untouched(20, 20);
    skinui::drawNineGrid(untouched.graphics(), nullptr, makeRectF(0, 0, 20, 20),
                         makeRectF(1, 1, 2, 2));
    EXPECT_TRUE(untouched.blank());
}

TEST(WindowBorder, DarkOuterAndLightInnerLine) {
    // A 40 x 30 window with margin 5: the frame rectangle is (5, 5, 30, 20), its outline runs
    // through x = 5 and x = 34.
    for (int frameStyle : {0, 5}) {
        Canvas canvas(40, 30);
        skinui::drawWindowBorder(canvas.graphics(), 40, 30, 5, frameStyle);
        const int outerAlpha = frameStyle == 0 ? 110 : 120;
        for (int x : {5, 34}) {
            const std::uint32_t outer = canvas.at(x, 15);
            EXPECT_NEAR(alphaOf(outer), outerAlpha, 2) << frameStyle << " x " << x;
            EXPECT_EQ(outer & 0xFFFFFF, 0u);
        }
        for (int x : {6, 33}) {
            const std::uint32_t inner = canvas.at(x, 15);
            EXPECT_NEAR(alphaOf(inner), 70, 2) << frameStyle << " x " << x;
            EXPECT_EQ(inner & 0xFFFFFF, 0xFFFFFFu);
        }
        EXPECT_EQ(canvas.at(7, 15), 0u);
        EXPECT_EQ(canvas.at(4, 15), 0u);
        EXPECT_NEAR(alphaOf(canvas.at(20, 5)), outerAlpha, 2);
        EXPECT_NEAR(alphaOf(canvas.at(20, 6)), 70, 2);
        if (frameStyle != 0) {
            EXPECT_LT(alphaOf(canvas.at(5, 5)), outerAlpha); // the corner is rounded off
        }
    }
}

TEST(WindowShadow, FourRingsDarkestNearestTheFrame) {
    // Around (5, 5, 50, 40): rings one to four pixels outside, alphas 75, 55, 25, 15.
    for (int frameStyle : {0, 5}) {
        Canvas canvas(60, 50);
        skinui::drawWindowShadow(canvas.graphics(), makeRectF(5, 5, 50, 40), frameStyle, 0x000000);
        const int alphas[4] = {75, 55, 25, 15};
        for (int ring = 0; ring < 4; ++ring) {
            const int x = 4 - ring;
            EXPECT_NEAR(alphaOf(canvas.at(x, 25)), alphas[ring], 2) << frameStyle << " " << x;
            EXPECT_EQ(canvas.at(x, 25) & 0xFFFFFF, 0u);
            EXPECT_NEAR(alphaOf(canvas.at(30, x)), alphas[ring], 2) << frameStyle << " " << x;
        }
        EXPECT_EQ(canvas.at(5, 25), 0u);
        EXPECT_EQ(canvas.at(30, 30), 0u);
    }
}

class RegionWindow : public ::testing::Test {
  protected:
    void SetUp() override {
        hwnd_ = ::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 400, 300, nullptr, nullptr,
                                  nullptr, nullptr);
        ASSERT_NE(hwnd_, nullptr);
    }
    void TearDown() override { ::DestroyWindow(hwnd_); }
    HWND hwnd_ = nullptr;
};

TEST_F(RegionWindow, RoundedRegionWithoutTheMarginBand) {
    const RECT corners = skinui::windowRegionCorners(400, 300, 5);
    EXPECT_EQ(corners.left, 5);
    EXPECT_EQ(corners.top, 5);
    EXPECT_EQ(corners.right, 396);
    EXPECT_EQ(corners.bottom, 296);

    skinui::applyWindowRegion(hwnd_, 400, 300, 5, 5);
    skinui::UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    HRGN actual = static_cast<HRGN>(region.get());
    ASSERT_NE(::GetWindowRgn(hwnd_, actual), ERROR);
    // The same area as CreateRoundRectRgn(5, 5, 396, 296, 5, 5), whose box ends one pixel
    // before its right and bottom arguments: the frame's last column and row are inside.
    skinui::UniqueGdiObject expected(::CreateRoundRectRgn(5, 5, 396, 296, 5, 5));
    skinui::UniqueGdiObject difference(::CreateRectRgn(0, 0, 0, 0));
    EXPECT_EQ(::CombineRgn(static_cast<HRGN>(difference.get()), actual,
                           static_cast<HRGN>(expected.get()), RGN_XOR),
              NULLREGION);
    RECT box{};
    ::GetRgnBox(actual, &box);
    EXPECT_EQ(box.left, 5);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 395);
    EXPECT_EQ(box.bottom, 295);
    EXPECT_FALSE(::PtInRegion(actual, 4, 150));
    EXPECT_TRUE(::PtInRegion(actual, 5, 150));
    EXPECT_TRUE(::PtInRegion(actual, 394, 150));
    EXPECT_FALSE(::PtInRegion(actual, 395, 150));
    EXPECT_TRUE(::PtInRegion(actual, 200, 5));
    EXPECT_FALSE(::PtInRegion(actual, 200, 4));
    EXPECT_FALSE(::PtInRegion(actual, 5, 5)); // a corner cut off
}

TEST_F(RegionWindow, MaximizedWindowRegionHasNoInset) {
    skinui::applyWindowRegion(hwnd_, 400, 300, 0, 0);
    skinui::UniqueGdiObject region(::CreateRectRgn(0, 0, 0, 0));
    HRGN actual = static_cast<HRGN>(region.get());
    ASSERT_NE(::GetWindowRgn(hwnd_, actual), ERROR);
    EXPECT_TRUE(::PtInRegion(actual, 0, 0));
    EXPECT_TRUE(::PtInRegion(actual, 399, 299));
}

TEST(CaptionTitle, RectangleBetweenIconAndButtons) {
    struct Case {
        int cx, m, flags, buttons;
        RectF expected;
    };
    const Case cases[] = {
        {300, 5, 1 | 2 | 4 | 16, 2, {33, 11, 190, 17}}, // icon, close and minimize
        {300, 0, 1 | 2 | 4 | 16, 2, {28, 6, 200, 17}},  // maximized
        {300, 5, 2, 0, {13, 11, 277, 17}},              // title only
        {60, 5, 2 | 4 | 16, 2, {13, 11, -30, 17}},      // no room
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinui::captionTitleRect(c.cx, c.m, c.flags, c.buttons), c.expected)
            << c.cx << " " << c.m << " " << c.flags;
}

} // namespace
