#pragma once
// SkinCaptionButton: a caption system button of a skinned window (close, maximize/restore,
// minimize and four further ones), drawn as cells of the library's caption-button sheet
// (Library::captionButtonImage). The window creates them when it is skinned.
//
// Looks, by message (the window's routing decides which message reaches the button):
//   WM_PAINT                          normal (also while disabled)
//   WM_MOUSEMOVE, WM_LBUTTONUP        hover, unless the button holds the press
//   WM_LBUTTONDOWN                    pressed
// A look is not drawn again for the message that drew the last one, so a stream of mouse
// moves draws the hover look once. A new look fades in on the element timer from 102
// (normal, hover) or 153 (pressed), 51 more each tick, when the window fades its elements.
//
// Clicks: close posts WM_CLOSE, maximize posts SC_RESTORE on a zoomed window and SC_MAXIMIZE
// otherwise, minimize posts SC_MINIMIZE unless the window is iconic; the other four kinds
// only paint (the application hears of their clicks through the window's callbacks). A
// disabled button ignores the mouse and clicks.

#include "skinui/controls/skin_control.h"
#include "skinui/library/rect_f.h"

#include <optional>

namespace skinui {

// The kinds; each value is the caption flag bit of the same button.
enum CaptionButtonKind : int {
    CaptionButtonClose = 4,
    CaptionButtonMaximize = 8,
    CaptionButtonMinimize = 16,
    CaptionButtonMenu = 32,
    CaptionButtonSkin = 64,
    CaptionButtonFeedback = 128,
    CaptionButtonSettings = 256,
};

// The looks a caption button draws.
enum class CaptionLook { Normal, Hover, Pressed };

// The fade alpha a look starts from.
constexpr int captionLookStartAlpha(CaptionLook look) {
    return look == CaptionLook::Pressed ? 153 : 102;
}

// The cell of the caption-button sheet that shows `look` of `kind`; `zoomed` picks the
// restore cells of the maximize button. Nothing for a kind outside the table.
std::optional<RectF> captionButtonCell(int kind, CaptionLook look, bool zoomed);

class SkinCaptionButton final : public SkinControl {
  public:
    // Registers the button (focusable, ElementCaptionButton) and paints it when visible.
    // Returns the element id, 0 when `parent` is not skinned.
    int create(HWND parent, int x, int y, int width, int height, int kind, int visible = 1);

    int getKind() const { return kind_; }
    // The last message the handler took (0 before the first), and the alpha of the fade in
    // progress (0 when none).
    UINT lastMessage() const { return lastMessage_; }
    int fadeAlpha() const { return fadeAlpha_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

  private:
    void drawLook(CaptionLook look, int windowIndex, int elementIndex, bool direct);
    void click(HWND hwnd) const;

    UINT lastMessage_ = 0;
    int fadeAlpha_ = 0;
    int kind_ = 0;
};

} // namespace skinui
