// Text: alignment and vertical centring, the effects and their automatic colour, the glow,
// and the colour classification, read back from the pixels of a 32-bit DIB section.

#include "skinui/drawing/text.h"
#include "skinui/drawing/skin_string_format.h"
#include "skinui/library/fonts.h"
#include "skinui/library/helpers.h"
#include "skinui/library/library.h"
#include "skinui/canvas.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using skinui::makeRectF;
using skinui::RectF;
using namespace skinui::testing;

// The bounding box of the pixels that are not transparent; width 0 when there are none.
struct Box {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
};

Box paintedBox(const Canvas& canvas, unsigned minAlpha = 1) {
    Box box{canvas.width(), canvas.height(), -1, -1};
    for (int y = 0; y < canvas.height(); ++y)
        for (int x = 0; x < canvas.width(); ++x)
            if (static_cast<unsigned>(alphaOf(canvas.at(x, y))) >= minAlpha) {
                box.left = std::min(box.left, x);
                box.top = std::min(box.top, y);
                box.right = std::max(box.right, x);
                box.bottom = std::max(box.bottom, y);
            }
    return box;
}

Gdiplus::GpFont* font() {
    return skinui::Library::instance().defaultFont.get();
}

void draw(Canvas& canvas, const RectF& rect, const char* text, skinui::Argb argb, int alignment,
          int effect = skinui::TextEffectNone,
          std::optional<skinui::Argb> effectArgb = std::nullopt) {
    skinui::drawSkinText(rect, canvas.graphics(), text, font(), argb, alignment,
                         Gdiplus::StringTrimmingNone, Gdiplus::HotkeyPrefixNone, 0, effect,
                         effectArgb);
}

TEST(DarkColour, TwoLightChannelsMakeALightColour) {
    struct Case {
        skinui::Argb argb;
        bool dark;
    };
    const Case cases[] = {
        {0xFF7E7E00, false}, // (126, 126, 0)
        {0xFF7E7D7D, true},  // (126, 125, 125)
        {0xFFC800C8, false}, // (200, 0, 200)
        {0x00FFFFFF, false}, // alpha plays no part
        {0xFF000000, true},  {0xFFFF0000, true}, {0xFF7D7D7D, true},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinui::isDarkColour(c.argb), c.dark) << std::hex << c.argb;
    EXPECT_EQ(skinui::automaticEffectColor(0xFF000000), skinui::rgbToArgb(0xFFFFFF, 90));
    EXPECT_EQ(skinui::automaticEffectColor(0xFFFFFFFF), skinui::rgbToArgb(0x000000, 70));
}

TEST(VerticalCentring, HalvesTheRoomLeftByTheTruncatedHeight) {
    EXPECT_EQ(skinui::centredVertically(makeRectF(0, 0, 200, 100), 16.7f),
              makeRectF(0, 42, 200, 16));
    EXPECT_EQ(skinui::centredVertically(makeRectF(3, 10, 50, 25), 12.0f),
              makeRectF(3, 16.5f, 50, 12));
}

TEST(RectFToRect, TruncatesTheEdges) {
    const RECT rect = skinui::rectFToRect(makeRectF(1.7f, 2.2f, 10.6f, 5.5f));
    EXPECT_EQ(rect.left, 1);
    EXPECT_EQ(rect.top, 2);
    EXPECT_EQ(rect.right, 12);
    EXPECT_EQ(rect.bottom, 7);
}

TEST(SkinText, AlignmentCodesPlaceTheText) {
    ASSERT_NE(font(), nullptr);
    const char* text = "Yunti 云梯";
    const RectF rect = makeRectF(0, 0, 200, 100);
    Box boxes[6];
    for (int code = 0; code < 6; ++code) {
        Canvas canvas(200, 100);
        draw(canvas, rect, text, 0xFF000000, code);
        boxes[code] = paintedBox(canvas);
        ASSERT_GT(boxes[code].width(), 0) << code;
    }
    // Horizontal: near, centre, far.
    EXPECT_LT(boxes[0].left, 3);
    EXPECT_NEAR((boxes[1].left + boxes[1].right) / 2.0, 100, 3);
    EXPECT_GT(boxes[2].right, 195);

    // Codes 3 to 5 move the text down by half the room its truncated height leaves.
    Canvas measuring(8, 8);
    skinui::SkinStringFormat format;
    format.useGenericTypographic();
    const auto measured =
        skinui::measureString(measuring.graphics(), text, font(), format.handle(), RectF{});
    ASSERT_TRUE(measured);
    const double shift = (100 - static_cast<int>(measured->height)) / 2.0;
    for (int code = 0; code < 3; ++code) {
        EXPECT_LT(boxes[code].top, 6) << code;
        EXPECT_EQ(boxes[code + 3].left, boxes[code].left) << code;
        EXPECT_NEAR(boxes[code + 3].top - boxes[code].top, shift, 1.0) << code;
        EXPECT_NEAR(boxes[code + 3].height(), boxes[code].height(), 1) << code;
    }
}

TEST(SkinText, OffsetEffectsSitOnePixelAway) {
    // The text itself fully transparent, so only the effect copy shows.
    const RectF rect = makeRectF(10, 10, 120, 30);
    Canvas plain(140, 50);
    draw(plain, rect, "Effect", 0xFF0000FF, 0);
    const Box reference = paintedBox(plain);
    ASSERT_GT(reference.width(), 0);
    struct Case {
        int effect, dx;
    };
    for (const Case c :
         {Case{skinui::TextEffectUpLeft, -1}, Case{skinui::TextEffectDownRight, 1}}) {
        Canvas canvas(140, 50);
        draw(canvas, rect, "Effect", 0x00000000, 0, c.effect, 0xFF0000FF);
        const Box box = paintedBox(canvas);
        EXPECT_EQ(box.left, reference.left + c.dx) << c.effect;
        EXPECT_EQ(box.top, reference.top + c.dx) << c.effect;
        EXPECT_EQ(box.right, reference.right + c.dx) << c.effect;
        EXPECT_EQ(box.bottom, reference.bottom + c.dx) << c.effect;
    }
}

TEST(SkinText, AutomaticEffectColourContrastsWithTheText) {
    // Transparent dark text gets a white halo of alpha 90, transparent light text a black one
    // of alpha 70; leaving the colour out and passing AutomaticEffectColor are the same.
    struct Case {
        skinui::Argb text;
        std::optional<skinui::Argb> effect;
        std::uint32_t haloColor;
        int haloAlpha;
    };
    const Case cases[] = {
        {0x00000000, std::nullopt, 0xFFFFFF, 90},
        {0x00FFFFFF, std::nullopt, 0x000000, 70},
        {0x00000000, skinui::AutomaticEffectColor, 0xFFFFFF, 90},
    };
    for (const Case& c : cases) {
        Canvas canvas(100, 30);
        draw(canvas, makeRectF(5, 5, 90, 20), "Halo", c.text, 0, skinui::TextEffectDownRight,
             c.effect);
        int strongest = 0;
        for (int y = 0; y < 30; ++y)
            for (int x = 0; x < 100; ++x) {
                const std::uint32_t pixel = canvas.at(x, y);
                if (alphaOf(pixel) == 0)
                    continue;
                strongest = std::max(strongest, alphaOf(pixel));
                EXPECT_EQ(pixel & 0xFFFFFF, c.haloColor) << x << "," << y;
            }
        EXPECT_NEAR(strongest, c.haloAlpha, 2) << std::hex << c.text;
    }
}

TEST(GlowText, BitmapsAndHaloForAHundredByTwentyRectangle) {
    const skinui::GlowLayout layout = skinui::glowLayout(makeRectF(10, 10, 100, 20));
    EXPECT_EQ(layout.textWidth, 102);
    EXPECT_EQ(layout.textHeight, 22);
    EXPECT_EQ(layout.smallWidth, 34);
    EXPECT_EQ(layout.smallHeight, 7);
    EXPECT_EQ(layout.halo, makeRectF(8, 8, 102, 23));
}

TEST(GlowText, ASoftHaloAroundTheTextInsideItsRectangle) {
    const RectF rect = makeRectF(10, 10, 100, 20);
    Canvas plain(130, 45);
    draw(plain, rect, "Glow glow", 0xFF000000, 0);
    const Box text = paintedBox(plain);

    Canvas canvas(130, 45);
    draw(canvas, rect, "Glow glow", 0x00000000, 0, skinui::TextEffectGlow, 0xFFFF0000);
    const Box halo = paintedBox(canvas);
    ASSERT_GT(halo.width(), 0);
    // Blurred, it spreads beyond the text but stays inside (8, 8, 102, 23).
    EXPECT_LE(halo.left, text.left);
    EXPECT_GE(halo.bottom, text.bottom);
    EXPECT_GE(halo.left, 8);
    EXPECT_GE(halo.top, 8);
    EXPECT_LE(halo.right, 8 + 102);
    EXPECT_LE(halo.bottom, 8 + 23);
    // Soft: many partial alphas, never fully opaque where it is faint.
    int partial = 0;
    for (int y = halo.top; y <= halo.bottom; ++y)
        for (int x = halo.left; x <= halo.right; ++x) {
            const int alpha = alphaOf(canvas.at(x, y));
            partial += alpha > 0 && alpha < 200;
        }
    EXPECT_GT(partial, 50);
}

// Halos are kept between draws: the same title draws the same halo again, and a change of
// text, colour, font or rectangle size never gets the previous one.
TEST(GlowText, AHaloIsRedrawnAlikeAndNeverReusedForAnotherText) {
    auto haloOf = [](const char* text, skinui::Argb glow, const RectF& rect,
                     Gdiplus::GpFont* with) {
        Canvas canvas(130, 45);
        skinui::drawSkinText(rect, canvas.graphics(), text, with, 0x00000000, 0,
                             Gdiplus::StringTrimmingNone, Gdiplus::HotkeyPrefixNone, 0,
                             skinui::TextEffectGlow, glow);
        std::vector<std::uint32_t> pixels;
        for (int y = 0; y < 45; ++y)
            for (int x = 0; x < 130; ++x)
                pixels.push_back(canvas.at(x, y));
        return pixels;
    };
    const RectF rect = makeRectF(10, 10, 100, 20);
    const auto first = haloOf("Glow glow", 0xFFFF0000, rect, font());
    EXPECT_EQ(haloOf("Glow glow", 0xFFFF0000, rect, font()), first);
    EXPECT_NE(haloOf("Glow gloW", 0xFFFF0000, rect, font()), first);
    EXPECT_NE(haloOf("Glow glow", 0xFF0000FF, rect, font()), first);
    EXPECT_NE(haloOf("Glow glow", 0xFFFF0000, makeRectF(10, 10, 60, 20), font()), first);
    skinui::UniqueGpFont bigger(skinui::createFontOrFallback(skinui::fontFamilyName(font()), 20.0f, 0));
    ASSERT_TRUE(bigger);
    EXPECT_NE(haloOf("Glow glow", 0xFFFF0000, rect, bigger.get()), first);
    EXPECT_EQ(haloOf("Glow glow", 0xFFFF0000, rect, font()), first);

    // The same halo half a pixel lower is its own: it is kept enlarged at its fraction of
    // a pixel.
    const RectF lower = makeRectF(10, 10.5f, 100, 20);
    const auto halfway = haloOf("Glow glow", 0xFFFF0000, lower, font());
    EXPECT_NE(halfway, first) << "drawn at the whole pixel above";
    EXPECT_EQ(haloOf("Glow glow", 0xFFFF0000, rect, font()), first);
    EXPECT_EQ(haloOf("Glow glow", 0xFFFF0000, lower, font()), halfway);
}

// A DIB-section DC painted in columns of colours, for sampling.
class SampledBackground {
  public:
    SampledBackground() {
        dc_.reset(::CreateCompatibleDC(nullptr));
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = 100;
        info.bmiHeader.biHeight = 20;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        bitmap_.reset(::CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        old_ = ::SelectObject(dc_.get(), bitmap_.get());
    }
    ~SampledBackground() { ::SelectObject(dc_.get(), old_); }
    void paint(int left, int right, COLORREF color) {
        skinui::UniqueGdiObject brush(::CreateSolidBrush(color));
        const RECT rect{left, 0, right, 20};
        ::FillRect(dc_.get(), &rect, static_cast<HBRUSH>(brush.get()));
    }
    HDC dc() const { return dc_.get(); }

  private:
    skinui::UniqueDc dc_;
    skinui::UniqueGdiObject bitmap_;
    HGDIOBJ old_ = nullptr;
};

TEST(BackgroundDark, AllThreeSamplesMustBeDark) {
    // Samples at x = 20, 50 and 80 of a (0, 0, 100, 20) rectangle, row 10.
    const RectF rect = makeRectF(0, 0, 100, 20);
    SampledBackground background;
    background.paint(0, 100, RGB(20, 30, 40));
    EXPECT_TRUE(skinui::isBackgroundDark(background.dc(), rect));
    background.paint(75, 85, RGB(200, 200, 200)); // one light sample out of three
    EXPECT_FALSE(skinui::isBackgroundDark(background.dc(), rect));
    background.paint(75, 85, RGB(20, 30, 40));
    background.paint(0, 19, RGB(255, 255, 255)); // light, but left of every sample
    EXPECT_TRUE(skinui::isBackgroundDark(background.dc(), rect));
}

} // namespace
