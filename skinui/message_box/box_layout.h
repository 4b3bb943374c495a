#pragma once
// The message box's fixed tables and its geometry, apart from any window: the button sets,
// the icon cells, the size a text needs and where the box goes on the screen.

#include "skinui/library/rect_f.h"

#include <windows.h>

#include <optional>
#include <vector>

namespace skinui {

// The box before it is measured.
constexpr int MessageBoxWidth = 320;
constexpr int MessageBoxHeight = 150;
// Buttons are 70 x 24; the icon cell is drawn 40 x 40 at (30, 40).
constexpr int MessageBoxButtonWidth = 70;
constexpr int MessageBoxButtonHeight = 24;

// Window property of an open box: its icon kind.
constexpr const wchar_t* MessageBoxIconProperty = L"msg_wnd";

// The results: the system's IDOK to IDNO minus one.
enum MessageBoxResult : int {
    ResultConfirm = 0, // 确认
    ResultCancel = 1,  // 取消, also a box closed without its buttons
    ResultAbort = 2,   // 放弃
    ResultRetry = 3,   // 重试
    ResultIgnore = 4,  // 忽略
    ResultYes = 5,     // 是
    ResultNo = 6,      // 否
};

struct BoxButton {
    const char* caption;
    int result;
};

// The buttons of a button set from the right: position 1 (the right-most) first. No
// buttons for a set outside 0 to 5.
std::vector<BoxButton> buttonSetOf(int buttonSet);

// The x of the strip cell for an icon kind: 16 error 0, 48 warning 40, 32 question 80,
// 64 information 120, 128 the fifth 160, any other non-zero kind the error picture.
int iconSourceX(int iconKind);

// Where the button at position 1, 2 or 3 is created in a box `width` wide, and where the
// re-layout after a size change puts it (the offsets differ: 83/158/233 and 85/165/245).
int buttonCreateX(int position, int width);
int buttonLayoutX(int position, int width);
int buttonY(int height);

// The box's size and its text rectangle for a text measured `measured` (nothing: the
// measurement failed, the box keeps its first size).
struct BoxGeometry {
    int width = MessageBoxWidth;
    int height = MessageBoxHeight;
    RectF text;
    bool grewWider = false;
    bool grewTaller = false;
};
BoxGeometry boxGeometry(int iconKind, const std::optional<RectF>& measured);

// The top-left corner that centres a box of that size on a screen of that size.
POINT centredOn(int screenWidth, int screenHeight, int width, int height);

} // namespace skinui
