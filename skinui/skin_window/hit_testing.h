#pragma once
// Which element lies under a point. Float comparisons use a tolerance of 1e-7, in double.

#include "skinui/library/rect_f.h"

#include <windows.h>

namespace skinui {

constexpr double RectTolerance = 0.0000001;

// The left and top edges belong to the rectangle, the right and bottom edges do not.
constexpr bool pointInRectF(const RectF& r, double x, double y) {
    return x - r.x >= -RectTolerance && y - r.y >= -RectTolerance &&
           x - (static_cast<double>(r.x) + r.width) < -RectTolerance &&
           y - (static_cast<double>(r.y) + r.height) < -RectTolerance;
}

// Rectangles that only touch do not overlap.
constexpr bool rectsIntersect(const RectF& a, const RectF& b) {
    return a.x - (static_cast<double>(b.x) + b.width) < -RectTolerance &&
           (static_cast<double>(a.x) + a.width) - b.x > RectTolerance &&
           (static_cast<double>(a.y) + a.height) - b.y > RectTolerance &&
           a.y - (static_cast<double>(b.y) + b.height) < -RectTolerance;
}

struct ElementHit {
    int elementIndex = 0; // 0: no element there
    int elementId = 0;
};

// The topmost visible element containing the client point in lParam (signed low and high
// words): the element list is walked from the last, which lies on top.
ElementHit hitTestElements(int windowIndex, LPARAM lParam);

// The signed client coordinates of a mouse message's lParam.
inline POINT pointFromLParam(LPARAM lParam) {
    return POINT{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
}

} // namespace skinui
