#include "skinui/message_box/box_layout.h"

namespace skinui {

namespace {

// Float comparisons of the layout allow this much.
constexpr double Tolerance = 0.0000001;

} // namespace

std::vector<BoxButton> buttonSetOf(int buttonSet) {
    switch (buttonSet) {
    case 0:
        return {{"确认", ResultConfirm}};
    case 1:
        return {{"取消", ResultCancel}, {"确认", ResultConfirm}};
    case 2:
        return {{"放弃", ResultAbort}, {"重试", ResultRetry}, {"忽略", ResultIgnore}};
    case 3:
        return {{"取消", ResultCancel}, {"否", ResultNo}, {"是", ResultYes}};
    case 4:
        return {{"否", ResultNo}, {"是", ResultYes}};
    case 5:
        return {{"取消", ResultCancel}, {"重试", ResultRetry}};
    default:
        return {};
    }
}

int iconSourceX(int iconKind) {
    switch (iconKind) {
    case MB_ICONWARNING: // 48
        return 40;
    case MB_ICONQUESTION: // 32
        return 80;
    case MB_ICONINFORMATION: // 64
        return 120;
    case MB_USERICON: // 128
        return 160;
    default: // 16, and any kind the strip has no picture for
        return 0;
    }
}

int buttonCreateX(int position, int width) {
    constexpr int offsets[] = {83, 158, 233};
    return width - offsets[position - 1];
}

int buttonLayoutX(int position, int width) {
    constexpr int offsets[] = {85, 165, 245};
    return width - offsets[position - 1];
}

int buttonY(int height) {
    return height - 36;
}

BoxGeometry boxGeometry(int iconKind, const std::optional<RectF>& measured) {
    BoxGeometry box;
    box.text = iconKind == 0 ? makeRectF(30, 43, 260, 50) : makeRectF(85, 43, 200, 50);
    const double marginWidth = box.width - double(box.text.width);
    const double marginHeight = box.height - double(box.text.height);
    if (!measured)
        return box;
    const RectF& m = *measured;
    if (m.width > box.text.width) {
        box.width = static_cast<int>(double(m.width) + marginWidth);
        box.text.width = static_cast<float>(double(m.width) + 10);
        box.grewWider = true;
    }
    if (m.height > box.text.height) {
        box.height = static_cast<int>(double(m.height) + marginHeight);
        box.text.height = static_cast<float>(double(m.height) + 5);
        box.grewTaller = true;
    }
    // One line (lower than 30 px) sits a little lower.
    if (double(m.height) - 30 < -Tolerance)
        box.text.y += 4;
    return box;
}

POINT centredOn(int screenWidth, int screenHeight, int width, int height) {
    return POINT{static_cast<LONG>((double(screenWidth) - width) / 2),
                 static_cast<LONG>((double(screenHeight) - height) / 2)};
}

} // namespace skinui
