#pragma once
// The message box's library-wide objects, kept by the Library between boxes: one window,
// one label and three buttons, attached and created anew for every box.

#include "skinui/controls/skin_button.h"
#include "skinui/controls/skin_label.h"
#include "skinui/skin_image/skin_image.h"
#include "skinui/skin_window/skin_window.h"

#include <windows.h>

#include <array>
#include <memory>

namespace skinui {

// Library::releaseAtExit releases the window before the window table and the label and
// buttons after it; a box asked for after that shows nothing.
struct MessageBoxObjects {
    std::unique_ptr<SkinWindow> window = std::make_unique<SkinWindow>();
    std::unique_ptr<SkinLabel> label = std::make_unique<SkinLabel>();
    // buttons[0] is button 1, the right-most.
    std::array<std::unique_ptr<SkinButton>, 3> buttons{std::make_unique<SkinButton>(),
                                                       std::make_unique<SkinButton>(),
                                                       std::make_unique<SkinButton>()};
    // The result of the box being shown.
    int result = 0;
    // The owner's background picture cloned for the latest box; kept after the box closes
    // and replaced by the next clone.
    SkinImage ownerImage;
    // The owner of the open box (may be null).
    HWND owner = nullptr;
    // The open box; null while none is open. One box at a time: the objects are shared.
    HWND box = nullptr;

    void releaseWindow() { window.reset(); }
    void releaseControls() {
        label.reset();
        for (auto& button : buttons)
            button.reset();
    }
};

} // namespace skinui
