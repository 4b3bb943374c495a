#pragma once
// SkinLabel: the static text element. A rectangle with an optional border, an optional
// two-colour gradient behind it and a text drawn 2 pixels inside it in the label's own
// font, colour, alignment and string format. It takes no input and never fades: a repaint
// is shown at once.

#include "skinui/controls/control_font.h"
#include "skinui/controls/skin_control.h"
#include "skinui/drawing/text.h"
#include "skinui/library/color.h"

#include <optional>
#include <string>
#include <string_view>

namespace skinui {

// gradientMode: no background fill.
constexpr int NoGradientFill = -1;
// A gradient colour that stands for fully transparent (0x00000000).
constexpr Argb TransparentGradientColor = 0xFFFFFFFF;

// The optional arguments of SkinLabel::create, with their defaults.
struct LabelOptions {
    Argb textColor = 0xE6000000; // black, alpha 230
    int gradientMode = NoGradientFill; // a Gdiplus::LinearGradientMode
    Argb gradientStartColor = TransparentGradientColor;
    Argb gradientEndColor = TransparentGradientColor;
    FontChoice font;               // nothing given: the library's default font
    int alignment = TextAlignNearMiddle;
    INT formatFlags = Gdiplus::StringFormatFlagsNoWrap;
    int trimming = Gdiplus::StringTrimmingNone;
    int hotkeyPrefix = Gdiplus::HotkeyPrefixNone;
    int textEffect = TextEffectNone; // drawn with the automatic effect colour
    Argb borderStyle = 0;            // drawRectBorder's style or colour; 0: no border
    int visible = 1;
};

class SkinLabel final : public SkinControl {
  public:
    // Registers the label (ElementLabel, not focusable) in the skinned window `parent` and
    // paints it when visible. Returns the element id, 0 when `parent` is not skinned.
    int create(HWND parent, std::string_view text, int x, int y, int width, int height,
               const LabelOptions& options = {});

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

    // Sets the text (and repaints) when given; returns it.
    std::string text(std::optional<std::string_view> value = std::nullopt);
    void setTextColor(Argb argb);
    // 1: before each paint the text turns white over a dark background behind it and black
    // over a light one, keeping its alpha. Setting it does not repaint.
    int autoContrast(std::optional<int> value = std::nullopt);
    Argb gradientStartColor(std::optional<Argb> value = std::nullopt);
    Argb gradientEndColor(std::optional<Argb> value = std::nullopt);
    int gradientMode(std::optional<int> value = std::nullopt);

    Argb textColor() const { return textColor_; }
    Gdiplus::GpFont* font() const { return font_.get(); }
    bool usesDefaultFont() const { return font_.isDefault(); }
    int alignment() const { return alignment_; }
    INT formatFlags() const { return formatFlags_; }

  private:
    void paint(int windowIndex, int elementIndex, bool direct);

    std::string text_;
    ControlFont font_;
    int alignment_ = TextAlignNearMiddle;
    INT formatFlags_ = Gdiplus::StringFormatFlagsNoWrap;
    int trimming_ = Gdiplus::StringTrimmingNone;
    int hotkeyPrefix_ = Gdiplus::HotkeyPrefixNone;
    Argb textColor_ = 0xE6000000;
    int gradientMode_ = NoGradientFill;
    Argb gradientStartColor_ = TransparentGradientColor;
    Argb gradientEndColor_ = TransparentGradientColor;
    int textEffect_ = TextEffectNone;
    Argb borderStyle_ = 0;
    int autoContrast_ = 0;
};

} // namespace skinui
