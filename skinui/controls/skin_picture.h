#pragma once
// SkinPicture: the picture element, which shows one SkinImage in its rectangle. The skinned
// window keeps one, created without a picture, as its caption icon. Its drawing and frame
// animation are the picture's own painting; until then it holds its picture and draws
// nothing.

#include "skinui/controls/skin_control.h"
#include "skinui/skin_image/skin_image.h"

#include <cstdint>
#include <span>

namespace skinui {

class SkinPicture final : public SkinControl {
  public:
    // Decodes the picture (none when the bytes are empty) and registers the element
    // (focusable, ElementPicture); paints it when visible. Returns the element id, 0 when
    // `parent` is not skinned.
    int create(HWND parent, int x, int y, int width, int height,
               std::span<const std::uint8_t> imageBytes = {}, int visible = 1);

    const SkinImage& image() const { return image_; }

    LRESULT handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam,
                          int windowIndex, int elementIndex, bool direct) override;

  private:
    SkinImage image_;
};

} // namespace skinui
