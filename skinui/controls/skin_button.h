#pragma once
// SkinButton: the push-button element. A translucent glass face (a solid fill, a vertical
// gradient over it, an outer and an inner border, square or rounded) with a centred
// caption whose "&" marks the access key.
//
// Looks, by the message that repaints the button:
//   WM_PAINT        focused when the window's focus is on it, else normal
//   WM_MOUSEMOVE    hover            (not while it is pressed, once for a stream of moves)
//   WM_LBUTTONDOWN  pressed          WM_LBUTTONUP  pressed, kept until the next move or paint
//   any, disabled   disabled         (mouse messages are ignored on a direct update)
// In a window that fades its elements the new look is blended in on the element timer:
// from 153 (hover) or 204 (the others) in steps of 51 up to 255. Clicks reach the
// application through the window's element callbacks; the button itself only paints.

#include "skinui/controls/control_font.h"
#include "skinui/controls/skin_control.h"
#include "skinui/library/color.h"
#include "skinui/skin_image/skin_image.h"

#include <optional>
#include <string>
#include <string_view>

namespace skinui {

enum ButtonState : int {
    ButtonDisabled = -1,
    ButtonNormal = 0,
    ButtonHover = 1,
    ButtonPressed = 2,
    ButtonFocused = 3,
};

// The five colours of a face, as ARGB.
struct ButtonFaceColors {
    Argb fill = 0;
    Argb gradientTop = 0;
    Argb gradientBottom = 0;
    Argb outerBorder = 0;
    Argb innerBorder = 0;

    friend bool operator==(const ButtonFaceColors&, const ButtonFaceColors&) = default;
};

// The colours of a state; a value outside ButtonState is fully transparent throughout.
ButtonFaceColors buttonFaceColors(int state);

// The look a message gives the button and the fade alpha it starts from.
struct ButtonLook {
    int state = ButtonNormal;
    int fadeAlpha = 0;
};
ButtonLook buttonLookFor(UINT message, bool disabled, bool focused);

// Draws a face into `graphics`: fill and gradient over rect (clipped to the rounded inner
// rectangle when rounded), the two borders, an icon when one is given, and the caption
// centred with its "&" key underlined, one pixel right and down when pressed.
void drawButtonFace(Gdiplus::GpGraphics* graphics, Gdiplus::GpImage* icon, const RectF& rect,
                    std::string_view caption, Argb captionColor, Gdiplus::GpFont* font,
                    int textEffect, bool roundedCorners, int state);

// Tells the window `hwnd` the access key of element `elementId`: the character after the
// first "&" of the caption (0 when the "&" ends it), by RegisterMnemonicMessage. False when
// hwnd or the id is 0 or the caption has no "&"; otherwise whether the window answered 1.
bool registerMnemonic(HWND hwnd, int elementId, std::string_view caption);

// The access key character of a caption: what follows the first "&" (as a UTF-16 code
// unit), 0 when the "&" is last; nothing when there is no "&".
std::optional<wchar_t> mnemonicOf(std::string_view caption);

// The optional arguments of SkinButton::create, with their defaults.
struct ButtonOptions {
    Argb textColor = 0xD2000000; // black, alpha 210
    FontChoice font;             // nothing given: the library's default font
    int textEffect = 0;
    // Omitted: rounded when the window's frameStyle is not 0 (its corners are round).
    std::optional<bool> roundedCorners;
    int visible = 1;
};

class SkinButton final : public SkinControl {
  public:
    // Registers the button (ElementButton, focusable) in the skinned window `parent`, tells
    // the window its access key and paints it when visible. Returns the element id, 0 when
    // `parent` is not skinned.
    int create(HWND parent, std::string_view caption, int x, int y, int width, int height,
               const ButtonOptions& options = {});

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

    // Sets the caption when given: registers its access key again and repaints. Returns it.
    std::string text(std::optional<std::string_view> caption = std::nullopt);

    // A picture drawn at its own size at the left of the caption; empty unless the
    // application loads one (then a redraw shows it).
    SkinImage& icon() { return icon_; }

    Argb textColor() const { return textColor_; }
    Gdiplus::GpFont* font() const { return font_.get(); }
    bool usesDefaultFont() const { return font_.isDefault(); }
    bool roundedCorners() const { return roundedCorners_; }
    int fadeAlpha() const { return fadeAlpha_; }
    UINT lastMessage() const { return lastMessage_; }

  private:
    void paint(HWND hwnd, UINT message, int windowIndex, int elementIndex, bool direct);
    void fadeStep(HWND hwnd, WPARAM timerId, int windowIndex, int elementIndex);

    UINT lastMessage_ = 0;
    SkinImage icon_;
    std::string text_;
    ControlFont font_;
    int textEffect_ = 0;
    int fadeAlpha_ = 0;
    Argb textColor_ = 0xD2000000;
    bool roundedCorners_ = false;
};

} // namespace skinui
