#pragma once
// Where text landed in a window's buffer: the box of the pixels that differ from the
// background beside them, read from a BackBuffer.

#include "skinui/pictures.h"
#include "skinui/skin_window/back_buffer.h"

#include <algorithm>
#include <cstdint>
#include <functional>

namespace skinui::testing {

struct InkBox {
    int left = 0, top = 0, right = -1, bottom = -1; // inclusive
    int darkest = 255;                              // lowest channel of any inked pixel
    int brightest = 0;                              // highest channel of any inked pixel
    bool empty() const { return right < left; }
    int width() const { return right - left + 1; }
    int height() const { return bottom - top + 1; }
    double centreY() const { return (top + bottom) / 2.0; }
};

// The box, inside (x, y, width, height) of `buffer`, of the pixels for which isInk holds.
inline InkBox inkBox(const BackBuffer& buffer, int x, int y, int width, int height,
                     const std::function<bool(std::uint32_t)>& isInk) {
    InkBox box{x + width, y + height, -1, -1};
    for (int j = y; j < y + height; ++j)
        for (int i = x; i < x + width; ++i) {
            const std::uint32_t pixel = buffer.pixel(i, j);
            if (!isInk(pixel))
                continue;
            box.left = std::min(box.left, i);
            box.top = std::min(box.top, j);
            box.right = std::max(box.right, i);
            box.bottom = std::max(box.bottom, j);
            const int low = std::min({redOf(pixel), greenOf(pixel), blueOf(pixel)});
            const int high = std::max({redOf(pixel), greenOf(pixel), blueOf(pixel)});
            box.darkest = std::min(box.darkest, low);
            box.brightest = std::max(box.brightest, high);
        }
    return box;
}

// Dark ink on a light background, light ink on a dark one.
inline bool darkerThan(std::uint32_t pixel, int level) {
    return redOf(pixel) < level && greenOf(pixel) < level && blueOf(pixel) < level;
}
inline bool lighterThan(std::uint32_t pixel, int level) {
    return redOf(pixel) > level && greenOf(pixel) > level && blueOf(pixel) > level;
}

} // namespace skinui::testing
