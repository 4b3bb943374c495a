#include "skinui/message_box/box_painter.h"

#include "skinui/drawing/primitives.h"
#include "skinui/library/color.h"
#include "skinui/library/library.h"
#include "skinui/message_box/box_layout.h"
#include "skinui/skin_image/skin_image.h"

#include "resource_ids.h"

#include <bit>
#include <cstdint>

namespace skinui {

namespace {

constexpr COLORREF White = 0xFFFFFF;

// The top band is 40.1 high: the float whose bits are 0x42206666.
constexpr float TopBandHeight = std::bit_cast<float>(std::uint32_t{0x42206666});

void band(Gdiplus::GpGraphics* graphics, const RectF& rect, int topAlpha, int bottomAlpha) {
    fillGradientRect(graphics, rect, rgbToArgb(White, topAlpha), rgbToArgb(White, bottomAlpha),
                     Gdiplus::LinearGradientModeVertical);
}

} // namespace

void paintMessageBox(HWND box, Gdiplus::GpGraphics* graphics, int width, int height) {
    if (!graphics)
        return;
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    band(graphics, makeRectF(5, 5, w - 10, TopBandHeight), 1, 190);
    band(graphics, makeRectF(5, 44, w - 10, h - 84), 188, 240);
    band(graphics, makeRectF(5, h - 40, w - 10, 35), 190, 1);
    drawLineArgb(graphics, rgbToArgb(White, 210), 6, h - 40, w - 6, h - 40);

    const int iconKind =
        static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropW(box, MessageBoxIconProperty)));
    if (iconKind == 0)
        return;
    SkinImage strip;
    Gdiplus::GpImage* picture = strip.loadFromBytes(moduleResource(IDR_MESSAGE_ICONS));
    if (!picture)
        return;
    Gdiplus::DllExports::GdipDrawImageRectRect(
        graphics, picture, 30, 40, 40, 40, static_cast<float>(iconSourceX(iconKind)), 0, 40, 40,
        Gdiplus::UnitPixel, nullptr, nullptr, nullptr);
}

} // namespace skinui
