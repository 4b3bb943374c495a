#include "skinui/controls/element_painting.h"

#include "skinui/drawing/primitives.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/redraw_window.h"
#include "skinui/skin_window/skin_window.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

struct IntRect {
    int x, y, width, height;
};

IntRect truncated(const RectF& rect) {
    return IntRect{static_cast<int>(rect.x), static_cast<int>(rect.y), static_cast<int>(rect.width),
                   static_cast<int>(rect.height)};
}

// Asks the visible elements with indices [first, last] that overlap rect to draw into the
// frame. The list is read again on each step: a handler may change it.
void repaintOverlapping(int windowIndex, int first, int last, const RectF& rect) {
    for (int index = first; index <= last; ++index) {
        const ElementRecord* element = elementRecord(windowIndex, index);
        if (!element)
            return;
        if (element->visible && rectsIntersect(element->bounds, rect))
            dispatchToElement(windowIndex, index, element->hwnd, ElementRepaintMessage, 0,
                              RepaintAny, false);
    }
}

int elementCount(int windowIndex) {
    const WindowRecord* window = windowRecord(windowIndex);
    return window ? static_cast<int>(window->elements.size()) : 0;
}

} // namespace

void beginElementPaint(int windowIndex, int elementIndex, const RectF& rect, int finishFade,
                       bool direct) {
    if (!isValidIndex(windowIndex, elementIndex, true) || !direct)
        return;
    WindowRecord* window = windowRecord(windowIndex);
    if (window->owner && window->owner->animating())
        return;
    if (finishFade != 0)
        blendElementArea(windowIndex, rect, 255);

    window = windowRecord(windowIndex);
    const IntRect area = truncated(rect);
    if (window->frame.dc() && window->windowBuffer.dc())
        ::BitBlt(window->frame.dc(), area.x, area.y, area.width, area.height,
                 window->windowBuffer.dc(), area.x, area.y, SRCCOPY);
    // Kept until endElementPaint: everything drawn in between stays inside the area.
    setClipRect(window->frame.graphics(), rect, Gdiplus::CombineModeReplace);
    repaintOverlapping(windowIndex, 1, elementIndex - 1, rect);
}

void endElementPaint(int windowIndex, int elementIndex, const RectF& rect, int fadeAlpha,
                     bool direct, bool presentNow, bool leaveToCaller) {
    if (!direct) {
        restoreFrameEdges(windowIndex, rect, false);
        return;
    }
    WindowRecord* window = windowRecord(windowIndex);
    if (!window)
        return;
    const SkinWindow* owner = window->owner;
    if (owner && owner->focusedElement() == elementIndex && owner->keyboardFocusShown()) {
        if (const ElementRecord* element = elementRecord(windowIndex, elementIndex))
            drawRectBorder(window->frame.graphics(), element->bounds, BorderDashed);
    }
    repaintOverlapping(windowIndex, elementIndex + 1, elementCount(windowIndex), rect);

    window = windowRecord(windowIndex);
    if (!window)
        return;
    resetClip(window->frame.graphics());
    restoreFrameEdges(windowIndex, rect, true);
    if (leaveToCaller)
        return;
    if (presentNow) {
        blendElementArea(windowIndex, rect, 255);
        return;
    }
    window = windowRecord(windowIndex);
    if (window && window->fadeElements != 0 && fadeAlpha != 1) {
        // The screen keeps the old look until the kind's timer ticks blend the new one in.
        const UINT_PTR timerId = elementTimerId(windowIndex, elementIndex);
        ::KillTimer(window->hwnd, timerId);
        ::SetTimer(window->hwnd, timerId, Library::instance().defaultTimerPeriod, nullptr);
        return;
    }
    blendElementArea(windowIndex, rect, 255);
}

void blendElementArea(int windowIndex, const RectF& rect, int alpha) {
    WindowRecord* window = windowRecord(windowIndex);
    if (!window || !window->frame.dc())
        return;
    if (Gdiplus::GpGraphics* frameGraphics = window->frame.graphics())
        gdip::GdipFlush(frameGraphics, Gdiplus::FlushIntentionSync);
    const IntRect area = truncated(rect);
    const BLENDFUNCTION blend{AC_SRC_OVER, 0, static_cast<BYTE>(alpha), 0};
    if (window->opacity == -1) {
        if (window->windowDC)
            ::AlphaBlend(window->windowDC.get(), area.x, area.y, area.width, area.height,
                         window->frame.dc(), area.x, area.y, area.width, area.height, blend);
        return;
    }
    if (!window->layer.dc())
        return;
    ::AlphaBlend(window->layer.dc(), area.x, area.y, area.width, area.height, window->frame.dc(),
                 area.x, area.y, area.width, area.height, blend);
    presentLayered(window->hwnd, window->layer.dc(),
                   window->windowRect.right - window->windowRect.left,
                   window->windowRect.bottom - window->windowRect.top);
}

bool drawImageInRect(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* image, const RectF& dest,
                     RectF source, bool useSource) {
    if (!graphics || !image)
        return false;
    if (!useSource) {
        UINT width = 0, height = 0;
        gdip::GdipGetImageWidth(image, &width);
        gdip::GdipGetImageHeight(image, &height);
        source.width = static_cast<float>(width);
        source.height = static_cast<float>(height);
    }
    return gdip::GdipDrawImageRectRect(graphics, image, dest.x, dest.y, dest.width, dest.height,
                                       source.x, source.y, source.width, source.height,
                                       Gdiplus::UnitPixel, nullptr, nullptr,
                                       nullptr) == Gdiplus::Ok;
}

} // namespace skinui
