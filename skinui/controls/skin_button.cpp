#include "skinui/controls/skin_button.h"

#include "skinui/controls/element_painting.h"
#include "skinui/drawing/primitives.h"
#include "skinui/drawing/text.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/skin_window.h"
#include "skinui/text_conversion.h"

#include <algorithm>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

// Each tick of a fade raises the alpha by this much.
constexpr int FadeStep = 51;

} // namespace

ButtonFaceColors buttonFaceColors(int state) {
    switch (state) {
    case ButtonDisabled:
        return {rgbToArgb(0x606060, 60), rgbToArgb(0x000000, 0), rgbToArgb(0x000000, 0),
                rgbToArgb(0x000000, 50), rgbToArgb(0xFFFFFF, 40)};
    case ButtonNormal:
        return {rgbToArgb(0xFFFFFF, 170), rgbToArgb(0xFFFFFF, 180), rgbToArgb(0x000000, 60),
                rgbToArgb(0x000000, 80), rgbToArgb(0xFFFFFF, 60)};
    case ButtonHover:
        return {rgbToArgb(0xFFFFFF, 170), rgbToArgb(0xFFFFFF, 180), rgbToArgb(0xFF8800, 110),
                rgbToArgb(0xC06000, 110), rgbToArgb(0xFFFFFF, 30)};
    case ButtonPressed:
        return {rgbToArgb(0xFFFFFF, 170), rgbToArgb(0x000000, 60), rgbToArgb(0xFFFFFF, 0),
                rgbToArgb(0x000000, 80), rgbToArgb(0xFFFFFF, 60)};
    case ButtonFocused:
        return {rgbToArgb(0xFFFFFF, 170), rgbToArgb(0xFFFFFF, 180), rgbToArgb(0xFF8800, 90),
                rgbToArgb(0xC06000, 110), rgbToArgb(0xFFFFFF, 60)};
    default:
        return {};
    }
}

ButtonLook buttonLookFor(UINT message, bool disabled, bool focused) {
    if (disabled)
        return {ButtonDisabled, 204};
    switch (message) {
    case WM_MOUSEMOVE:
        return {ButtonHover, 153};
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        return {ButtonPressed, 204};
    default:
        return {focused ? ButtonFocused : ButtonNormal, 204};
    }
}

void drawButtonFace(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* icon, const RectF& rect,
                    std::string_view caption, Argb captionColor, Gdiplus::GpFont* font,
                    int textEffect, bool roundedCorners, int state) {
    if (!graphics)
        return;
    const ButtonFaceColors colors = buttonFaceColors(state);
    RectF inner = rect;
    adjustRect(1, 1, -2, -2, inner);
    RectF captionRect = inner;
    if (state == ButtonPressed)
        adjustRect(1, 1, 0, 0, captionRect);

    UniqueGpPath clip;
    if (roundedCorners) {
        clip = roundRectPath2(inner, 3);
        setClipPath(graphics, clip.get(), Gdiplus::CombineModeReplace);
    }
    fillRect(graphics, rect, colors.fill);
    fillGradientRect(graphics, rect, colors.gradientTop, colors.gradientBottom,
                     Gdiplus::LinearGradientModeVertical);
    if (roundedCorners) {
        clip.reset();
        resetClip(graphics);
        drawRoundRect(graphics, rect, 7.0f, 0, false, colors.outerBorder, true);
        drawRoundRect(graphics, inner, 6.0f, 0, false, colors.innerBorder, true);
    } else {
        drawRectBorder(graphics, rect, colors.outerBorder);
        drawRectBorder(graphics, inner, colors.innerBorder);
    }

    if (icon) {
        // At its own size at the left, 2 px in; centred vertically when it is lower than
        // the room there.
        UINT width = 0, height = 0;
        gdip::GdipGetImageWidth(icon, &width);
        gdip::GdipGetImageHeight(icon, &height);
        const float iconWidth = static_cast<float>(width);
        const float iconHeight = static_cast<float>(height);
        const float room = captionRect.height - 4;
        const float y = iconHeight < room
                            ? static_cast<float>(static_cast<int>(
                                  captionRect.y + (captionRect.height - iconHeight) / 2))
                            : captionRect.y + 2;
        gdip::GdipDrawImageRect(graphics, icon, captionRect.x + 2, y, iconWidth, iconHeight);
    }

    drawSkinText(captionRect, graphics, caption, font, captionColor, TextAlignCenterMiddle,
                 Gdiplus::StringTrimmingEllipsisCharacter, Gdiplus::HotkeyPrefixShow,
                 Gdiplus::StringFormatFlagsNoWrap, textEffect, AutomaticEffectColor);
}

std::optional<wchar_t> mnemonicOf(std::string_view caption) {
    const size_t amp = caption.find('&');
    if (amp == std::string_view::npos)
        return std::nullopt;
    const std::wstring rest = toWide(caption.substr(amp + 1));
    return rest.empty() ? L'\0' : rest.front();
}

bool registerMnemonic(HWND hwnd, int elementId, std::string_view caption) {
    if (!hwnd || elementId == 0)
        return false;
    const std::optional<wchar_t> key = mnemonicOf(caption);
    if (!key) {
        // A caption without "&": an access key the button's earlier caption had goes, or
        // Alt and that key would still click it.
        ::SendMessageW(hwnd, RegisterMnemonicMessage, static_cast<WPARAM>(elementId), 0);
        return false;
    }
    return ::SendMessageW(hwnd, RegisterMnemonicMessage, static_cast<WPARAM>(elementId),
                          static_cast<LPARAM>(*key)) == 1;
}

int SkinButton::create(HWND parent, std::string_view caption, int x, int y, int width,
                       int height, const ButtonOptions& options) {
    textColor_ = options.textColor;
    font_.choose(options.font);
    textEffect_ = options.textEffect;
    text_ = std::string(caption);
    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementButton, options.visible, true);
    if (isCreated()) {
        if (const WindowRecord* window = windowRecord(getWindowIndex()))
            registerMnemonic(window->hwnd, getElementId(), text_);
    }
    if (options.roundedCorners) {
        roundedCorners_ = *options.roundedCorners;
    } else {
        const SkinWindow* owner = windowObject(getWindowIndex());
        roundedCorners_ = owner && owner->frameStyle() != 0;
    }
    if (options.visible && isCreated())
        redraw();
    return getElementId();
}

std::string SkinButton::text(std::optional<std::string_view> caption) {
    if (caption) {
        text_ = std::string(*caption);
        if (isCreated()) {
            if (const WindowRecord* window = windowRecord(getWindowIndex()))
                registerMnemonic(window->hwnd, getElementId(), text_);
        }
        redraw();
    }
    return text_;
}

LRESULT SkinButton::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM, int windowIndex,
                                  int elementIndex, bool direct) {
    switch (message) {
    case WM_PAINT:
    case WM_MOUSEMOVE:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
        paint(hwnd, message, windowIndex, elementIndex, direct);
        break;
    case WM_TIMER:
        fadeStep(hwnd, wParam, windowIndex, elementIndex);
        break;
    case WM_DESTROY:
        // A fade still running would tick on for whatever element takes this index.
        if (const WindowRecord* window = windowRecord(windowIndex))
            ::KillTimer(window->hwnd, elementTimerId(windowIndex, elementIndex));
        fadeAlpha_ = 0;
        font_.release();
        break;
    default:
        break;
    }
    return 0;
}

void SkinButton::paint(HWND, UINT message, int windowIndex, int elementIndex, bool direct) {
    const bool isDisabled = disabled() != 0;
    if (message != WM_PAINT && ((isDisabled && direct) || message == lastMessage_))
        return;
    const SkinWindow* owner = windowObject(windowIndex);
    if (message == WM_MOUSEMOVE && owner && owner->pressedElement() == elementIndex)
        return;
    const ElementRecord* element = elementRecord(windowIndex, elementIndex);
    if (!element)
        return;
    const RectF rect = element->bounds;

    const ButtonLook look = buttonLookFor(message, isDisabled, isFocused());
    fadeAlpha_ = look.fadeAlpha;
    beginElementPaint(windowIndex, elementIndex, rect, fadeAlpha_, direct);
    if (const WindowRecord* window = windowRecord(windowIndex)) {
        const Argb captionColor = look.state == ButtonDisabled ? rgbToArgb(0x000000, 90)
                                                               : textColor_;
        drawButtonFace(window->frame.graphics(), icon_.handle(), rect, text_, captionColor,
                       font_.get(), textEffect_, roundedCorners_, look.state);
    }
    endElementPaint(windowIndex, elementIndex, rect, fadeAlpha_, direct, false, false);
    lastMessage_ = message;
}

// One tick of the element timer: the new look blended in 51 alpha stronger, until the
// tick after the one at 255 stops the timer.
void SkinButton::fadeStep(HWND hwnd, WPARAM timerId, int windowIndex, int elementIndex) {
    if (fadeAlpha_ > 254) {
        ::KillTimer(hwnd, timerId);
        fadeAlpha_ = 0;
        return;
    }
    fadeAlpha_ = std::min(fadeAlpha_ + FadeStep, 255);
    if (const ElementRecord* element = elementRecord(windowIndex, elementIndex))
        blendElementArea(windowIndex, element->bounds, fadeAlpha_);
}

} // namespace skinui
