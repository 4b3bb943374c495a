#pragma once
// showSkinMessageBox: the library's modal message box, a small layered skinned popup with
// an optional icon, the text in a SkinLabel and up to three SkinButtons. Its parameters
// follow the system message box: icon kinds are the MB_ICON... values (0 none, 16 error,
// 48 warning, 32 question, 64 information, 128 a fifth picture) and button sets the MB_...
// set values; the result numbers the pressed button from 0 (0 确认, 1 取消, 2 放弃,
// 3 重试, 4 忽略, 5 是, 6 否). A box closed without one of its buttons returns 1.
//
// The box's window, label and buttons are library-wide objects (Library::messageBox), so
// one box can be open at a time; a call while a box is open shows nothing and returns 1.
// However the box goes, the owner is enabled again when the call returns; a WM_QUIT that
// ends the modal loop closes the box and is posted again for the program's own loop.

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace skinui {

struct MessageBoxOptions {
    int buttonSet = 0;
    std::optional<std::string> title; // omitted: "提示："
    int iconKind = 0;
    // Called once the box is built, before it is shown, with the box and its size.
    std::function<void(HWND box, int width, int height)> onCreated;
    bool beep = true; // MessageBeep(iconKind) when there is an icon
    // Plays the beep; null: MessageBeep. Lets a caller (a test) hear which beep was asked for.
    std::function<void(UINT type)> playBeep;
};

// Shows the box over `owner` (may be null; a skinned owner lends the box its look), runs
// the modal loop until the box is gone and returns the result.
int showSkinMessageBox(HWND owner, std::string_view text, const MessageBoxOptions& options = {});

} // namespace skinui
