#include "skinui/drawing/primitives.h"

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

float asFloat(double value) {
    return static_cast<float>(value);
}

void drawLine(Gdiplus::GpGraphics* graphics, Gdiplus::GpPen* pen, double x1, double y1, double x2,
              double y2) {
    if (graphics && pen)
        gdip::GdipDrawLine(graphics, pen, asFloat(x1), asFloat(y1), asFloat(x2), asFloat(y2));
}

// GdipDrawRectangle(x, y, w - 1, h - 1) with one pen.
void drawOutline(Gdiplus::GpGraphics* graphics, const RectF& rect, Gdiplus::GpPen* pen) {
    if (!graphics || !pen)
        return;
    gdip::GdipDrawRectangle(graphics, pen, rect.x, rect.y, asFloat(double(rect.width) - 1),
                            asFloat(double(rect.height) - 1));
}

void fillOneSmaller(Gdiplus::GpGraphics* graphics, Gdiplus::GpBrush* brush, const RectF& rect) {
    if (!graphics || !brush)
        return;
    gdip::GdipFillRectangle(graphics, brush, rect.x, rect.y, asFloat(double(rect.width) - 1),
                            asFloat(double(rect.height) - 1));
}

void addArc(Gdiplus::GpPath* path, double x, double y, float size, float startAngle) {
    gdip::GdipAddPathArc(path, asFloat(x), asFloat(y), size, size, startAngle, 90.0f);
}

} // namespace

void setClipRect(Gdiplus::GpGraphics* graphics, const RectF& rect,
                 Gdiplus::CombineMode combineMode) {
    if (graphics)
        gdip::GdipSetClipRect(graphics, rect.x, rect.y, rect.width, rect.height, combineMode);
}

void setClipPath(Gdiplus::GpGraphics* graphics, Gdiplus::GpPath* path,
                 Gdiplus::CombineMode combineMode) {
    if (graphics && path)
        gdip::GdipSetClipPath(graphics, path, combineMode);
}

void resetClip(Gdiplus::GpGraphics* graphics) {
    if (graphics)
        gdip::GdipResetClip(graphics);
}

UniqueGpPen createPen(Argb argb, float width, Gdiplus::Unit unit) {
    Gdiplus::GpPen* pen = nullptr;
    gdip::GdipCreatePen1(argb, width, unit, &pen);
    return UniqueGpPen(pen);
}

UniqueGpBrush createSolidBrush(Argb argb) {
    Gdiplus::GpSolidFill* brush = nullptr;
    gdip::GdipCreateSolidFill(argb, &brush);
    return UniqueGpBrush(brush);
}

void adjustRect(float dx, float dy, float dw, float dh, RectF& rect) {
    rect.x = asFloat(double(rect.x) + dx);
    rect.y = asFloat(double(rect.y) + dy);
    rect.width = asFloat(double(rect.width) + dw);
    rect.height = asFloat(double(rect.height) + dh);
}

void fillRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb argb) {
    if (!graphics)
        return;
    fillOneSmaller(graphics, createSolidBrush(argb).get(), rect);
}

void fillGradientRect(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb argb1, Argb argb2,
                      Gdiplus::LinearGradientMode mode) {
    if (!graphics)
        return;
    const Gdiplus::RectF span = toGpRectF(rect);
    Gdiplus::GpLineGradient* brush = nullptr;
    gdip::GdipCreateLineBrushFromRect(&span, argb1, argb2, mode, Gdiplus::WrapModeTileFlipXY,
                                      &brush);
    UniqueGpBrush owner(brush);
    fillOneSmaller(graphics, owner.get(), rect);
}

void drawLineArgb(Gdiplus::GpGraphics* graphics, Argb argb, float x1, float y1, float x2, float y2,
                  float width) {
    if (!graphics)
        return;
    drawLine(graphics, createPen(argb, width).get(), x1, y1, x2, y2);
}

void drawRectBorder(Gdiplus::GpGraphics* graphics, const RectF& rect, Argb styleOrColor,
                    std::optional<Argb> color, float width) {
    if (!graphics)
        return;
    const double x = rect.x, y = rect.y, w = rect.width, h = rect.height;
    const float halfWidth = asFloat(width / 2.0);
    switch (styleOrColor) {
    case BorderSunken: {
        {
            UniqueGpPen dark = createPen(rgbToArgb(0x000000, 160), width);
            drawLine(graphics, dark.get(), x, y, x + w - 1, y);
            drawLine(graphics, dark.get(), x, y, x, y + h - 1);
        }
        UniqueGpPen light = createPen(rgbToArgb(0xFFFFFF, 245), halfWidth);
        drawLine(graphics, light.get(), x, y + h - 1, x + w - 1, y + h - 1);
        drawLine(graphics, light.get(), x + w - 1, y, x + w - 1, y + h - 1);
        break;
    }
    case BorderRaised: {
        {
            UniqueGpPen light = createPen(rgbToArgb(0xFFFFFF, 245), halfWidth);
            drawLine(graphics, light.get(), x, y, x + w - 2, y);
            drawLine(graphics, light.get(), x, y, x, y + h - 2);
        }
        UniqueGpPen dark = createPen(rgbToArgb(0x000000, 168), width);
        drawLine(graphics, dark.get(), x, y + h - 1, x + w - 1, y + h - 1);
        drawLine(graphics, dark.get(), x + w - 1, y, x + w - 1, y + h - 2);
        break;
    }
    case BorderSolid:
        drawOutline(graphics, rect,
                    createPen(color.value_or(rgbToArgb(0x646464, 255)), width).get());
        break;
    case BorderDashed: {
        UniqueGpPen pen = createPen(color.value_or(rgbToArgb(0x000000, 90)), width);
        if (pen)
            gdip::GdipSetPenDashStyle(pen.get(), Gdiplus::DashStyleDash);
        drawOutline(graphics, rect, pen.get());
        break;
    }
    default:
        drawOutline(graphics, rect, createPen(styleOrColor, width).get());
        break;
    }
}

UniqueGpPath roundRectPath(const RectF& rect, float corner) {
    Gdiplus::GpPath* created = nullptr;
    gdip::GdipCreatePath(Gdiplus::FillModeAlternate, &created);
    UniqueGpPath path(created);
    if (!path)
        return path;
    const double x = rect.x, y = rect.y, w = rect.width, h = rect.height, d = corner;
    addArc(path.get(), x, y, corner, 180);
    addArc(path.get(), x + w - d - 1, y, corner, 270);
    addArc(path.get(), x + w - d - 1, y + h - d - 1, corner, 0);
    addArc(path.get(), x, y + h - d - 1, corner, 90);
    gdip::GdipClosePathFigure(path.get());
    return path;
}

UniqueGpPath roundRectPath2(const RectF& rect, int corner) {
    Gdiplus::GpPath* created = nullptr;
    gdip::GdipCreatePath(Gdiplus::FillModeAlternate, &created);
    UniqueGpPath path(created);
    if (!path)
        return path;
    const float d = static_cast<float>(corner);
    const float right = rect.x + rect.width;
    const float bottom = rect.y + rect.height;
    addArc(path.get(), double(right) - d, rect.y, d, 270);
    addArc(path.get(), double(right) - d, double(bottom) - d - 1, d, 0);
    addArc(path.get(), rect.x, double(bottom) - d - 0.5, d, 90);
    addArc(path.get(), rect.x, double(rect.y) - 0.5, d, 180);
    gdip::GdipClosePathFigure(path.get());
    return path;
}

void drawRoundRect(Gdiplus::GpGraphics* graphics, const RectF& rect, float corner, Argb fillArgb,
                   bool doFill, Argb penArgb, bool doOutline, float penWidth) {
    UniqueGpPath path = roundRectPath(rect, corner);
    if (!graphics || !path)
        return;
    if (doFill) {
        UniqueGpBrush brush = createSolidBrush(fillArgb);
        if (brush)
            gdip::GdipFillPath(graphics, brush.get(), path.get());
    }
    if (doOutline) {
        UniqueGpPen pen = createPen(penArgb, penWidth);
        if (pen)
            gdip::GdipDrawPath(graphics, pen.get(), path.get());
    }
}

} // namespace skinui
