#pragma once
// The message box's library-wide objects, kept by the Library between boxes.

#include "skinui/skin_image/skin_image.h"

namespace skinui {

// The box's window, label and three buttons are held here too, once the message box
// itself exists; Library::releaseAtExit releases them in its documented order.
struct MessageBoxObjects {
    // The result of the box being shown.
    int result = 0;
    // The owner's background picture cloned for the latest box; kept after the box closes
    // and replaced by the next clone.
    SkinImage ownerImage;
};

} // namespace skinui
