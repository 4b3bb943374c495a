#include "skinui/controls/skin_label.h"

#include "skinui/controls/element_painting.h"
#include "skinui/drawing/primitives.h"
#include "skinui/library/window_table.h"

namespace skinui {

namespace {

Argb gradientColor(Argb argb) {
    return argb == TransparentGradientColor ? 0x00000000 : argb;
}

} // namespace

int SkinLabel::create(HWND parent, std::string_view text, int x, int y, int width, int height,
                      const LabelOptions& options) {
    font_.choose(options.font);
    textColor_ = options.textColor;
    gradientMode_ = options.gradientMode;
    gradientStartColor_ = options.gradientStartColor;
    gradientEndColor_ = options.gradientEndColor;
    alignment_ = options.alignment;
    formatFlags_ = options.formatFlags;
    trimming_ = options.trimming;
    hotkeyPrefix_ = options.hotkeyPrefix;
    textEffect_ = options.textEffect;
    borderStyle_ = options.borderStyle;
    text_ = std::string(text);

    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementLabel, options.visible, false);
    if (options.visible && isCreated())
        redraw();
    return getElementId();
}

LRESULT SkinLabel::handleMessage(HWND, UINT message, WPARAM, LPARAM, int windowIndex,
                                 int elementIndex, bool direct) {
    if (message == WM_PAINT)
        paint(windowIndex, elementIndex, direct);
    else if (message == WM_DESTROY)
        font_.release();
    return 0;
}

void SkinLabel::paint(int windowIndex, int elementIndex, bool direct) {
    RectF r = getBounds();
    beginElementPaint(windowIndex, elementIndex, r, 0, direct);
    const WindowRecord* window = windowRecord(windowIndex);
    Gdiplus::GpGraphics* graphics = window ? window->frame.graphics() : nullptr;
    if (graphics) {
        if (borderStyle_ != 0)
            drawRectBorder(graphics, r, borderStyle_);
        // Over the border: the fill stops one pixel short of the right and bottom edges.
        if (gradientMode_ != NoGradientFill)
            fillGradientRect(graphics, r, gradientColor(gradientStartColor_),
                             gradientColor(gradientEndColor_),
                             static_cast<Gdiplus::LinearGradientMode>(gradientMode_));
        if (!text_.empty()) {
            adjustRect(2, 2, -4, -4, r);
            if (autoContrast_ == 1) {
                const bool dark = isBackgroundDark(window->windowBuffer.dc(), r);
                textColor_ = rgbToArgb(dark ? 0xFFFFFF : 0x000000,
                                       static_cast<int>(textColor_ >> 24));
            }
            drawSkinText(r, graphics, text_, font_.get(), textColor_, alignment_,
                         static_cast<Gdiplus::StringTrimming>(trimming_),
                         static_cast<Gdiplus::HotkeyPrefix>(hotkeyPrefix_), formatFlags_,
                         textEffect_, AutomaticEffectColor);
        }
    }
    endElementPaint(windowIndex, elementIndex, getBounds(), 0, direct, direct);
}

std::string SkinLabel::text(std::optional<std::string_view> value) {
    if (value) {
        text_ = std::string(*value);
        redraw();
    }
    return text_;
}

void SkinLabel::setTextColor(Argb argb) {
    textColor_ = argb;
    redraw();
}

int SkinLabel::autoContrast(std::optional<int> value) {
    if (value)
        autoContrast_ = *value;
    return autoContrast_;
}

Argb SkinLabel::gradientStartColor(std::optional<Argb> value) {
    if (value) {
        gradientStartColor_ = *value;
        redraw();
    }
    return gradientStartColor_;
}

Argb SkinLabel::gradientEndColor(std::optional<Argb> value) {
    if (value) {
        gradientEndColor_ = *value;
        redraw();
    }
    return gradientEndColor_;
}

int SkinLabel::gradientMode(std::optional<int> value) {
    if (value) {
        gradientMode_ = *value;
        redraw();
    }
    return gradientMode_;
}

} // namespace skinui
