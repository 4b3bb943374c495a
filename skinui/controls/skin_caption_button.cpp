#include "skinui/controls/skin_caption_button.h"

namespace skinui {

int SkinCaptionButton::create(HWND parent, int x, int y, int width, int height, int kind,
                              int visible) {
    kind_ = kind;
    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementCaptionButton, visible, true);
    if (visible && isCreated())
        redraw();
    return getElementId();
}

LRESULT SkinCaptionButton::handleMessage(HWND, UINT, WPARAM, LPARAM, int, int, bool) {
    return 0;
}

} // namespace skinui
