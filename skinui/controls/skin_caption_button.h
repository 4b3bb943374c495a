#pragma once
// SkinCaptionButton: a caption system button of a skinned window (close, maximize/restore,
// minimize and four further ones). The window creates them when it is skinned. Their looks
// and click actions are the caption buttons' own painting; until then they are elements
// that take the mouse like any focusable element and draw nothing.

#include "skinui/controls/skin_control.h"

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

class SkinCaptionButton final : public SkinControl {
  public:
    // Registers the button (focusable, ElementCaptionButton) and paints it when visible.
    // Returns the element id, 0 when `parent` is not skinned.
    int create(HWND parent, int x, int y, int width, int height, int kind, int visible = 1);

    int getKind() const { return kind_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

  private:
    int kind_ = 0;
};

} // namespace skinui
