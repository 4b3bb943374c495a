#include "skinui/skin_window/hit_testing.h"

#include "skinui/library/window_table.h"

namespace skinui {

ElementHit hitTestElements(int windowIndex, LPARAM lParam) {
    const WindowRecord* window = windowRecord(windowIndex);
    if (!window)
        return {};
    const POINT point = pointFromLParam(lParam);
    for (size_t i = window->elements.size(); i > 0; --i) {
        const ElementRecord& element = window->elements[i - 1];
        if (element.visible && pointInRectF(element.bounds, point.x, point.y))
            return ElementHit{static_cast<int>(i), element.id};
    }
    return {};
}

} // namespace skinui
