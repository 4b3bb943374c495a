// SkinLabel: its defaults, border and gradient, the automatic text contrast and the font
// rule, read back from the window's frame buffer.

#include "skinned_window_fixture.h"

#include "skinui/controls/skin_label.h"
#include "skinui/ink_box.h"
#include "skinui/library/fonts.h"
#include "skinui/library/library.h"

namespace {

using namespace skinui;
using namespace skinui::testing;

class SkinLabelTest : public SkinnedWindowTest {
  protected:
    static const BackBuffer& frameOf(const SkinWindow& window) {
        return windowRecord(window.windowIndex())->frame;
    }
    static AttachOptions onColor(COLORREF color) {
        AttachOptions options = noCaption();
        options.backgroundColor = color;
        return options;
    }
};

float fontSize(Gdiplus::GpFont* font) {
    float size = 0;
    Gdiplus::DllExports::GdipGetFontSize(font, &size);
    return size;
}

INT fontStyle(Gdiplus::GpFont* font) {
    INT style = -1;
    Gdiplus::DllExports::GdipGetFontStyle(font, &style);
    return style;
}

TEST_F(SkinLabelTest, DefaultsBlackTextTwoPixelsInsideVerticallyCentredOnOneLine) {
    const SkinWindow& window = skinned(onColor(0xFFFFFF));
    SkinLabel label;
    // Far wider than the label: without wrapping it stays one line and is cut at the edge.
    const char* text = "一二三四五六七八九十一二三四五六七八九十";
    ASSERT_EQ(label.create(window.hwnd(), text, 40, 30, 100, 40), 1);
    EXPECT_EQ(label.textColor(), 0xE6000000u);
    EXPECT_TRUE(label.usesDefaultFont());
    EXPECT_EQ(label.font(), Library::instance().defaultFont.get());
    EXPECT_EQ(label.alignment(), TextAlignNearMiddle);
    EXPECT_EQ(label.formatFlags(), Gdiplus::StringFormatFlagsNoWrap);
    EXPECT_FALSE(windowRecord(window.windowIndex())->elements[0].focusable);

    const BackBuffer& frame = frameOf(window);
    const InkBox ink = inkBox(frame, 20, 10, 160, 80, [](std::uint32_t p) {
        return darkerThan(p, 200);
    });
    ASSERT_FALSE(ink.empty());
    EXPECT_GE(ink.left, 42); // near-aligned, 2 px in
    EXPECT_LE(ink.left, 44);
    EXPECT_LE(ink.right, 40 + 100 - 2);
    EXPECT_GE(ink.right, 40 + 100 - 14); // the text runs on to the edge
    EXPECT_LE(ink.height(), 14);         // one line of 12 px glyphs
    EXPECT_NEAR(ink.centreY(), 30 + 40 / 2.0, 2.5);
    // Black at alpha 230 over white leaves 255 - 230 = 25 where a glyph covers a pixel
    // wholly; thin anti-aliased strokes may cover none wholly, so a little lighter is fine.
    EXPECT_GE(ink.darkest, 25 - 3);
    EXPECT_LE(ink.darkest, 60);
    // No background: the label's corner shows the window's.
    EXPECT_EQ(frame.pixel(41, 31), windowRecord(window.windowIndex())->windowBuffer.pixel(41, 31));
}

TEST_F(SkinLabelTest, EmptyTextPaintsOnlyTheBorderAndTheGradientOverIt) {
    const SkinWindow& window = skinned(onColor(0xFFFFFF));
    SkinLabel label;
    LabelOptions options;
    options.gradientMode = Gdiplus::LinearGradientModeVertical;
    options.gradientStartColor = 0xFEFF0000; // red at the top, transparent at the bottom
    options.borderStyle = 0xFE0000FF;        // a colour: a blue outline
    label.create(window.hwnd(), "", 40, 30, 100, 41, options);
    const BackBuffer& frame = frameOf(window);
    EXPECT_TRUE(colorNear(frame.pixel(40, 30), 0xFF0000, 6));   // the fill covers the top line
    EXPECT_TRUE(colorNear(frame.pixel(139, 50), 0x0000FF, 6));  // the right line is left
    EXPECT_TRUE(colorNear(frame.pixel(90, 69), 0xFFFFFF, 12));  // transparent at the bottom
    EXPECT_GT(greenOf(frame.pixel(90, 50)), 100);               // halfway: pink
    EXPECT_LT(greenOf(frame.pixel(90, 50)), 160);

    // The gradient properties repaint; mode -1 takes the fill away.
    EXPECT_EQ(label.gradientMode(NoGradientFill), NoGradientFill);
    EXPECT_TRUE(colorNear(frame.pixel(60, 40), 0xFFFFFF, 1));
    label.gradientMode(Gdiplus::LinearGradientModeHorizontal);
    label.gradientEndColor(0xFE00FF00);
    EXPECT_TRUE(colorNear(frame.pixel(40, 50), 0xFF0000, 8));
    EXPECT_TRUE(colorNear(frame.pixel(137, 50), 0x00FF00, 14)); // 97 % of the way
}

TEST_F(SkinLabelTest, AutoContrastFollowsTheBackgroundAndKeepsTheAlpha) {
    struct Case {
        COLORREF background;
        Argb textColor;
        Argb expected;
    };
    const Case cases[] = {
        {RGB(0, 0, 0), 0xE6000000, 0xE6FFFFFF},       // dark: white, alpha kept
        {RGB(0, 0, 0), 0xFF000000, 0xFEFFFFFF},       // alpha 255 becomes 254
        {RGB(20, 40, 130), 0x80FF0000, 0x80FFFFFF},   // dark blue
        {RGB(255, 255, 255), 0xE6FFFFFF, 0xE6000000}, // light: black
    };
    for (const Case& c : cases) {
        SkinWindow& window = skinned(onColor(c.background), 200, 100);
        SkinLabel label;
        label.create(window.hwnd(), "一二三四", 20, 20, 120, 30);
        EXPECT_EQ(label.autoContrast(1), 1);
        label.setTextColor(c.textColor); // repaints, and the paint picks the colour
        EXPECT_EQ(label.textColor(), c.expected) << std::hex << c.background;
        const bool light = c.background == RGB(255, 255, 255);
        // Red and green are low in every dark background here.
        const InkBox ink = inkBox(frameOf(window), 20, 20, 120, 30, [&](std::uint32_t p) {
            return light ? darkerThan(p, 200) : redOf(p) > 90 && greenOf(p) > 90;
        });
        ASSERT_FALSE(ink.empty());
        if (light)
            EXPECT_LT(ink.darkest, 80);
        else
            EXPECT_GT(ink.brightest, 150);
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(SkinLabelTest, AutoContrastOffKeepsTheColour) {
    SkinWindow& window = skinned(onColor(RGB(0, 0, 0)));
    SkinLabel label;
    label.create(window.hwnd(), "一二三", 20, 20, 120, 30);
    EXPECT_EQ(label.autoContrast(), 0);
    EXPECT_EQ(label.textColor(), 0xE6000000u);
}

TEST_F(SkinLabelTest, FontRuleDefaultFontUnlessAFaceSizeOrStyleIsGiven) {
    const HWND hwnd = skinned(onColor(0xFFFFFF)).hwnd();
    const std::string family = fontFamilyName(Library::instance().defaultFont.get());
    ASSERT_FALSE(family.empty());
    // What a regular font of the default's face reports: some faces (WenQuanYi under Wine)
    // have no lighter weight and report bold.
    const INT regular = fontStyle(Library::instance().defaultFont.get());
    struct Case {
        FontChoice choice;
        bool isDefault;
        float size;
        INT style;
    };
    const Case cases[] = {
        {{}, true, 12, regular},
        {{std::nullopt, 20.0f, std::nullopt}, false, 20, regular},
        {{std::nullopt, std::nullopt, Gdiplus::FontStyleBold}, false, 12, Gdiplus::FontStyleBold},
        {{std::nullopt, std::nullopt, Gdiplus::FontStyleItalic}, false, 12,
         regular | Gdiplus::FontStyleItalic},
        {{"no such face", 16.0f, std::nullopt}, false, 16, regular},
    };
    for (const Case& c : cases) {
        SkinLabel label;
        LabelOptions options;
        options.font = c.choice;
        label.create(hwnd, "一", 0, 0, 50, 20, options);
        EXPECT_EQ(label.usesDefaultFont(), c.isDefault);
        ASSERT_NE(label.font(), nullptr);
        EXPECT_EQ(fontFamilyName(label.font()), family); // the default's family throughout
        EXPECT_FLOAT_EQ(fontSize(label.font()), c.size);
        EXPECT_EQ(fontStyle(label.font()), c.style);
        // Removing the element deletes a font of the label's own; the default stays.
        label.destroy();
        EXPECT_TRUE(label.usesDefaultFont());
    }
}

TEST_F(SkinLabelTest, TextSetterRepaints) {
    const SkinWindow& window = skinned(onColor(0xFFFFFF));
    SkinLabel label;
    label.create(window.hwnd(), "", 40, 30, 100, 40);
    auto dark = [](std::uint32_t p) { return darkerThan(p, 200); };
    EXPECT_TRUE(inkBox(frameOf(window), 40, 30, 100, 40, dark).empty());
    EXPECT_EQ(label.text("一二"), "一二");
    EXPECT_FALSE(inkBox(frameOf(window), 40, 30, 100, 40, dark).empty());
    label.text("");
    EXPECT_TRUE(inkBox(frameOf(window), 40, 30, 100, 40, dark).empty());
}

TEST_F(SkinLabelTest, HiddenLabelIsNotPainted) {
    const SkinWindow& window = skinned(onColor(0xFFFFFF));
    SkinLabel label;
    LabelOptions options;
    options.visible = 0;
    label.create(window.hwnd(), "一二三", 40, 30, 100, 40, options);
    EXPECT_TRUE(label.isCreated());
    EXPECT_TRUE(inkBox(frameOf(window), 40, 30, 100, 40, [](std::uint32_t p) {
                    return darkerThan(p, 200);
                }).empty());
}

} // namespace
