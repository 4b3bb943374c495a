// Drawing primitives and SkinStringFormat: what they really draw, read back from the pixels
// of a 32-bit DIB section, and the points of the rounded paths.

#include "skinui/drawing/primitives.h"
#include "skinui/drawing/skin_string_format.h"
#include "skinui/canvas.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using skinui::Argb;
using skinui::RectF;
using skinui::testing::Canvas;
namespace gdip = Gdiplus::DllExports;

unsigned alphaOf(std::uint32_t pixel) {
    return pixel >> 24;
}

// How many pixels of column x, rows [from, to), are not transparent.
int paintedInColumn(const Canvas& canvas, int x, int from, int to) {
    int count = 0;
    for (int y = from; y < to; ++y)
        count += canvas.at(x, y) != 0;
    return count;
}

int paintedInRow(const Canvas& canvas, int y, int from, int to) {
    int count = 0;
    for (int x = from; x < to; ++x)
        count += canvas.at(x, y) != 0;
    return count;
}

TEST(ColorHelpers, ConvertAndReplaceAlpha) {
    EXPECT_EQ(skinui::withAlpha(0xFE646464, 0), 0x00646464u);
    EXPECT_EQ(skinui::withAlpha(0xFE646464, 255), 0xFF646464u);
    EXPECT_EQ(skinui::withAlpha(0x12345678, 0x9A), 0x9A345678u);

    struct Case {
        COLORREF color;
        std::optional<int> alpha;
        Argb expected;
    };
    const Case cases[] = {
        {0x00332211, std::nullopt, 0xFE112233}, // omitted: 254, red and blue swapped
        {0x00332211, 255, 0xFE112233},          // fully opaque is stored as 254
        {0x00332211, 0, 0x00112233},            // 0 is not "omitted"
        {0x00FFFFFF, 245, 0xF5FFFFFF},
        {0x00646464, 254, 0xFE646464},
    };
    for (const Case& c : cases)
        EXPECT_EQ(skinui::rgbToArgb(c.color, c.alpha), c.expected) << std::hex << c.color;

    EXPECT_EQ(skinui::argbToColorref(0xFF112233), (skinui::ColorAndAlpha{0x00332211, 0xFF}));
    EXPECT_EQ(skinui::argbToColorref(0x80FF8800), (skinui::ColorAndAlpha{0x000088FF, 0x80}));
}

TEST(AdjustRect, AddsEachDelta) {
    RectF rect = skinui::makeRectF(5, 5, 100, 50);
    skinui::adjustRect(1, 1, -2, -2, rect);
    EXPECT_EQ(rect, skinui::makeRectF(6, 6, 98, 48));
    skinui::adjustRect(-0.5f, 0.25f, 0, 10, rect);
    EXPECT_EQ(rect, skinui::makeRectF(5.5f, 6.25f, 98, 58));
}

TEST(Fills, CoverOnePixelLessThanTheRectangle) {
    Canvas canvas(16, 16);
    ASSERT_TRUE(canvas.ready());
    skinui::fillRect(canvas.graphics(), skinui::makeRectF(0, 0, 10, 10),
                     skinui::rgbToArgb(0x0000FF)); // red, alpha 254
    for (int y = 0; y < 16; ++y) {
        for (int x = 0; x < 16; ++x) {
            const std::uint32_t pixel = canvas.at(x, y);
            if (x <= 8 && y <= 8) {
                EXPECT_EQ(alphaOf(pixel), 254u) << x << "," << y;
                EXPECT_EQ(pixel & 0xFFFFFF, 0xFF0000u) << x << "," << y;
            } else {
                EXPECT_EQ(pixel, 0u) << x << "," << y;
            }
        }
    }
}

TEST(Fills, GradientRunsAlongItsModeAndFillsOnePixelLess) {
    const Argb red = 0xFFFF0000, blue = 0xFF0000FF;
    auto redOf = [](std::uint32_t p) { return int((p >> 16) & 0xFF); };
    auto blueOf = [](std::uint32_t p) { return int(p & 0xFF); };
    {
        Canvas canvas(16, 16);
        skinui::fillGradientRect(canvas.graphics(), skinui::makeRectF(0, 0, 10, 10), red, blue);
        EXPECT_EQ(paintedInColumn(canvas, 4, 0, 16), 9); // rows 0..8
        EXPECT_EQ(paintedInRow(canvas, 4, 0, 16), 9);
        // Vertical by default: top red, bottom blue, each row one colour.
        EXPECT_GT(redOf(canvas.at(4, 0)), 200);
        EXPECT_GT(blueOf(canvas.at(4, 8)), redOf(canvas.at(4, 8)));
        EXPECT_EQ(canvas.at(0, 6), canvas.at(8, 6));
        // The brush spans all ten rows: the last filled row is not yet pure blue.
        EXPECT_GT(redOf(canvas.at(4, 8)), 0);
    }
    {
        Canvas canvas(16, 16);
        skinui::fillGradientRect(canvas.graphics(), skinui::makeRectF(0, 0, 10, 10), red, blue,
                                 Gdiplus::LinearGradientModeHorizontal);
        EXPECT_GT(redOf(canvas.at(0, 4)), 200);
        EXPECT_GT(blueOf(canvas.at(8, 4)), redOf(canvas.at(8, 4)));
        EXPECT_EQ(canvas.at(6, 0), canvas.at(6, 8));
        EXPECT_EQ(canvas.at(9, 4), 0u);
    }
}

// The outline of (5, 5, 20, 20): top line y = 5, bottom y = 24, left x = 5, right x = 24.
TEST(RectBorder, ThreeDStylesUseFullAndHalfWidthPens) {
    struct Case {
        Argb style;
        int topLeftWidth;          // rows (or columns) the top and left lines cover
        int bottomRightWidth;      // ... the bottom and right lines
        std::uint32_t topColor;    // a pixel of the top line
        std::uint32_t bottomColor; // a pixel of the bottom line
    };
    const Case cases[] = {
        {skinui::BorderSunken, 2, 1, 0xA0000000, 0xF5FFFFFF},
        {skinui::BorderRaised, 1, 2, 0xF5FFFFFF, 0xA8000000},
    };
    for (const Case& c : cases) {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), skinui::makeRectF(5, 5, 20, 20), c.style,
                               std::nullopt, 2.0f);
        EXPECT_EQ(paintedInColumn(canvas, 15, 0, 14), c.topLeftWidth) << c.style;
        EXPECT_EQ(paintedInColumn(canvas, 15, 14, 32), c.bottomRightWidth) << c.style;
        EXPECT_EQ(paintedInRow(canvas, 15, 0, 14), c.topLeftWidth) << c.style;
        EXPECT_EQ(paintedInRow(canvas, 15, 14, 32), c.bottomRightWidth) << c.style;
        EXPECT_EQ(canvas.at(15, 5), c.topColor) << c.style;
        EXPECT_EQ(canvas.at(15, 24), c.bottomColor) << c.style;
        EXPECT_EQ(canvas.at(15, 15), 0u) << "inside stays empty";
    }
}

TEST(RectBorder, SolidDashedAndColourOutlines) {
    const RectF rect = skinui::makeRectF(5, 5, 20, 20);
    {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), rect, skinui::BorderSolid);
        EXPECT_EQ(canvas.at(15, 5), 0xFE646464u) << "default grey, never fully opaque";
        EXPECT_EQ(canvas.at(5, 15), 0xFE646464u);
        EXPECT_EQ(canvas.at(24, 15), 0xFE646464u) << "right edge at x + w - 1";
        EXPECT_EQ(canvas.at(15, 24), 0xFE646464u);
        EXPECT_EQ(canvas.at(25, 15), 0u);
        EXPECT_EQ(canvas.at(15, 25), 0u);
    }
    {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), rect, skinui::BorderSolid, 0xFF0000FFu);
        EXPECT_EQ(canvas.at(15, 5), 0xFF0000FFu) << "the given colour is used as is";
    }
    {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), rect, skinui::BorderDashed);
        const int painted = paintedInRow(canvas, 5, 5, 25);
        EXPECT_GT(painted, 4);
        EXPECT_LT(painted, 20) << "dashes leave gaps";
        EXPECT_EQ(canvas.at(5, 5), 0x5A000000u);
    }
    {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), rect, 0x8000FF00u, 0xFFFF0000u);
        EXPECT_EQ(canvas.at(15, 5), 0x8000FF00u) << "the value is the colour; the colour "
                                                    "argument is ignored";
        EXPECT_EQ(canvas.at(24, 24), 0x8000FF00u);
    }
    {
        Canvas canvas(32, 32);
        skinui::drawRectBorder(canvas.graphics(), rect, 0, std::nullopt, 3.0f);
        EXPECT_TRUE(canvas.blank()) << "0 is a transparent pen";
    }
}

struct Point {
    float x, y;
};

std::vector<Point> pathPoints(Gdiplus::GpPath* path) {
    INT count = 0;
    gdip::GdipGetPointCount(path, &count);
    std::vector<Gdiplus::PointF> raw(static_cast<size_t>(count));
    if (count > 0)
        gdip::GdipGetPathPoints(path, raw.data(), count);
    std::vector<Point> points;
    for (const Gdiplus::PointF& p : raw)
        points.push_back({p.X, p.Y});
    return points;
}

// Each 90° arc adds four points (its start, two controls, its end), so arc k starts at point
// 4k and ends at 4k + 3.
void expectArcEnds(const std::vector<Point>& points, const Point (&ends)[8]) {
    ASSERT_EQ(points.size(), 16u);
    for (int arc = 0; arc < 4; ++arc) {
        const Point& start = points[static_cast<size_t>(4 * arc)];
        const Point& end = points[static_cast<size_t>(4 * arc + 3)];
        EXPECT_NEAR(start.x, ends[2 * arc].x, 0.01) << "arc " << arc;
        EXPECT_NEAR(start.y, ends[2 * arc].y, 0.01) << "arc " << arc;
        EXPECT_NEAR(end.x, ends[2 * arc + 1].x, 0.01) << "arc " << arc;
        EXPECT_NEAR(end.y, ends[2 * arc + 1].y, 0.01) << "arc " << arc;
    }
}

TEST(RoundRectPaths, ArcsSitWhereTheBoxesPutThem) {
    // (10, 20, 100, 50), corner box 8: radius 4.
    const RectF rect = skinui::makeRectF(10, 20, 100, 50);
    {
        skinui::UniqueGpPath path = skinui::roundRectPath(rect, 8.0f);
        ASSERT_TRUE(path);
        const Point ends[8] = {
            {10, 24},  {14, 20},  // top left, boxes at (x, y)
            {105, 20}, {109, 24}, // top right, box at (x + w - d - 1, y)
            {109, 65}, {105, 69}, // bottom right, box at (x + w - d - 1, y + h - d - 1)
            {14, 69},  {10, 65},  // bottom left, box at (x, y + h - d - 1)
        };
        expectArcEnds(pathPoints(path.get()), ends);
    }
    {
        skinui::UniqueGpPath path = skinui::roundRectPath2(rect, 8);
        ASSERT_TRUE(path);
        const Point ends[8] = {
            {106, 20},   {110, 24},   // top right, box at (R - d, y)
            {110, 65},   {106, 69},   // bottom right, box at (R - d, B - d - 1)
            {14, 69.5f}, {10, 65.5f}, // bottom left, box at (x, B - d - 0.5)
            {10, 23.5f}, {14, 19.5f}, // top left, box at (x, y - 0.5)
        };
        expectArcEnds(pathPoints(path.get()), ends);
    }
}

TEST(RoundRect, FillsAndOutlinesOnlyWhatIsAsked) {
    const RectF rect = skinui::makeRectF(2, 2, 20, 20);
    const Argb fill = 0xFF00FF00, pen = 0xFFFF0000;
    {
        Canvas canvas(24, 24);
        skinui::drawRoundRect(canvas.graphics(), rect, 6, fill, false, pen, false);
        EXPECT_TRUE(canvas.blank());
    }
    {
        Canvas canvas(24, 24);
        skinui::drawRoundRect(canvas.graphics(), rect, 6, fill, true, pen, false);
        EXPECT_EQ(canvas.at(12, 12), fill);
        EXPECT_EQ(canvas.at(2, 2), 0u) << "the corner is cut";
        EXPECT_EQ(canvas.at(22, 12), 0u) << "the right edge ends at x + w - 1";
    }
    {
        Canvas canvas(24, 24);
        skinui::drawRoundRect(canvas.graphics(), rect, 6, fill, false, pen, true);
        EXPECT_EQ(canvas.at(12, 12), 0u);
        EXPECT_EQ(canvas.at(12, 2), pen);
        EXPECT_EQ(canvas.at(21, 12), pen);
    }
}

TEST(Clipping, RectanglePathAndReset) {
    Canvas canvas(16, 16);
    const Argb color = 0xFF0000FF;
    skinui::setClipRect(canvas.graphics(), skinui::makeRectF(0, 0, 5, 5),
                        Gdiplus::CombineModeExclude);
    skinui::fillRect(canvas.graphics(), skinui::makeRectF(0, 0, 10, 10), color);
    EXPECT_EQ(canvas.at(2, 2), 0u);
    EXPECT_EQ(canvas.at(6, 6), color);
    EXPECT_EQ(canvas.at(6, 2), color);

    skinui::resetClip(canvas.graphics());
    skinui::fillRect(canvas.graphics(), skinui::makeRectF(0, 0, 10, 10), color);
    EXPECT_EQ(canvas.at(2, 2), color);

    Canvas clipped(16, 16);
    skinui::UniqueGpPath path = skinui::roundRectPath2(skinui::makeRectF(0, 0, 16, 16), 10);
    skinui::setClipPath(clipped.graphics(), path.get());
    skinui::fillRect(clipped.graphics(), skinui::makeRectF(0, 0, 17, 17), color);
    EXPECT_EQ(clipped.at(0, 0), 0u);
    EXPECT_EQ(clipped.at(8, 8), color);
}

TEST(Primitives, NullGraphicsIsNeverHandedToGdiplus) {
    const RectF rect = skinui::makeRectF(0, 0, 10, 10);
    skinui::setClipRect(nullptr, rect);
    skinui::setClipPath(nullptr, nullptr);
    skinui::resetClip(nullptr);
    skinui::fillRect(nullptr, rect, 0xFF000000);
    skinui::fillGradientRect(nullptr, rect, 0xFF000000, 0xFFFFFFFF);
    skinui::drawLineArgb(nullptr, 0xFF000000, 0, 0, 5, 5);
    for (Argb style : {1u, 2u, 3u, 4u, 0xFF000000u})
        skinui::drawRectBorder(nullptr, rect, style);
    skinui::drawRoundRect(nullptr, rect, 4, 0xFF000000, true, 0xFF000000, true);
    SUCCEED();
}

TEST(LineArgb, DrawsWithTheGivenWidth) {
    Canvas canvas(16, 16);
    skinui::drawLineArgb(canvas.graphics(), 0xFF123456, 2, 8, 13, 8, 3.0f);
    EXPECT_EQ(paintedInColumn(canvas, 8, 0, 16), 3);
    EXPECT_EQ(canvas.at(8, 8), 0xFF123456u);
}

TEST(StringFormat, EmptyUntilGenericTypographic) {
    skinui::SkinStringFormat format;
    EXPECT_EQ(format.handle(), nullptr);
    EXPECT_FALSE(format.setAlign(Gdiplus::StringAlignmentCenter));
    EXPECT_FALSE(format.setFlags(0));
    EXPECT_FALSE(format.setTrimming(Gdiplus::StringTrimmingNone));
    EXPECT_FALSE(format.setHotkeyPrefix(Gdiplus::HotkeyPrefixShow));
    EXPECT_EQ(format.getAlign(), Gdiplus::StringAlignmentNear);
    format.release(); // nothing to release
}

TEST(StringFormat, SettingsApplyToAPrivateCopyOfTheGenericFormat) {
    skinui::SkinStringFormat format;
    format.useGenericTypographic();
    ASSERT_NE(format.handle(), nullptr);
    const INT genericFlags = format.flags();
    EXPECT_NE(genericFlags, 0) << "the generic typographic format sets flags";

    EXPECT_TRUE(format.setAlign(Gdiplus::StringAlignmentCenter));
    EXPECT_EQ(format.getAlign(), Gdiplus::StringAlignmentCenter);
    EXPECT_TRUE(format.setTrimming(Gdiplus::StringTrimmingEllipsisCharacter));
    EXPECT_TRUE(format.setHotkeyPrefix(Gdiplus::HotkeyPrefixShow));
    EXPECT_TRUE(format.setFlags(Gdiplus::StringFormatFlagsNoWrap));
    EXPECT_EQ(format.flags(), Gdiplus::StringFormatFlagsNoWrap) << "setFlags replaces all flags";

    // Another text's format starts from the untouched generic settings.
    skinui::SkinStringFormat next;
    next.useGenericTypographic();
    EXPECT_NE(next.handle(), format.handle());
    EXPECT_EQ(next.flags(), genericFlags);
    EXPECT_EQ(next.getAlign(), Gdiplus::StringAlignmentNear);

    // Asking again replaces (and releases) the format held.
    format.useGenericTypographic();
    EXPECT_EQ(format.flags(), genericFlags);
    format.release();
    EXPECT_EQ(format.handle(), nullptr);
}

} // namespace
