#include "skinui/controls/skin_picture.h"

namespace skinui {

int SkinPicture::create(HWND parent, int x, int y, int width, int height,
                        std::span<const std::uint8_t> imageBytes, int visible) {
    if (!imageBytes.empty())
        image_.loadFromBytes(imageBytes);
    SkinControl::create(parent,
                        makeRectF(static_cast<float>(x), static_cast<float>(y),
                                  static_cast<float>(width), static_cast<float>(height)),
                        ElementPicture, visible, true);
    if (visible && isCreated())
        redraw();
    return getElementId();
}

LRESULT SkinPicture::handleMessage(HWND, UINT message, WPARAM, LPARAM, int, int, bool) {
    if (message == WM_DESTROY)
        image_.dispose();
    return 0;
}

} // namespace skinui
