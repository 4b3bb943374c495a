#include "skinui/controls/skin_caption_button.h"

#include "skinui/controls/element_painting.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/skin_window.h"

namespace skinui {

namespace {

// Where each kind's cells lie on the sheet: the x of the normal, hover and pressed cells.
struct CellColumns {
    int kind;
    int width;
    int normal, hover, pressed;
};

constexpr CellColumns SheetColumns[] = {
    {CaptionButtonClose, 39, 0, 40, 80},
    {CaptionButtonMaximize, 28, 120, 149, 178},
    {CaptionButtonMinimize, 28, 294, 323, 352},
    {CaptionButtonMenu, 28, 381, 410, 439},
    {CaptionButtonSkin, 28, 468, 497, 526},
    {CaptionButtonFeedback, 28, 555, 584, 613},
    {CaptionButtonSettings, 28, 642, 671, 700},
};
// The restore cells, which the maximize button shows while its window is zoomed.
constexpr CellColumns RestoreColumns{CaptionButtonMaximize, 28, 207, 236, 265};

// Every cell is taken from rows 2 to 20 of the sheet.
constexpr float CellTop = 2;
constexpr float CellHeight = 19;

constexpr int FadeStep = 51;

} // namespace

std::optional<RectF> captionButtonCell(int kind, CaptionLook look, bool zoomed) {
    const CellColumns* columns = nullptr;
    if (kind == CaptionButtonMaximize && zoomed)
        columns = &RestoreColumns;
    for (const CellColumns& candidate : SheetColumns)
        if (!columns && candidate.kind == kind)
            columns = &candidate;
    if (!columns)
        return std::nullopt;
    const int x = look == CaptionLook::Normal  ? columns->normal
                  : look == CaptionLook::Hover ? columns->hover
                                               : columns->pressed;
    return makeRectF(static_cast<float>(x), CellTop, static_cast<float>(columns->width),
                     CellHeight);
}

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

// Draws a look into the frame and starts bringing it to the screen: at once, or faded in by
// the element timer when the window fades its elements.
void SkinCaptionButton::drawLook(CaptionLook look, int windowIndex, int elementIndex,
                                 bool direct) {
    const ElementRecord* element = elementRecord(windowIndex, elementIndex);
    if (!element)
        return;
    const RectF rect = element->bounds;
    const HWND hwnd = element->hwnd;

    // A fade still running is shown to its end before the new look replaces it.
    beginElementPaint(windowIndex, elementIndex, rect, fadeAlpha_, direct);
    // The maximize cells follow the window's state at this moment.
    const std::optional<RectF> cell = captionButtonCell(kind_, look, ::IsZoomed(hwnd) != FALSE);
    const WindowRecord* window = windowRecord(windowIndex);
    Gdiplus::GpImage* sheet = Library::instance().captionButtonImage.handle();
    if (cell && window && sheet)
        drawImageInRect(window->frame.graphics(), sheet, rect, *cell, true);
    fadeAlpha_ = captionLookStartAlpha(look);
    endElementPaint(windowIndex, elementIndex, rect, 0, direct);
}

void SkinCaptionButton::click(HWND hwnd) const {
    switch (kind_) {
    case CaptionButtonClose:
        ::PostMessageW(hwnd, WM_CLOSE, 0, 0);
        break;
    case CaptionButtonMaximize:
        ::PostMessageW(hwnd, WM_SYSCOMMAND, ::IsZoomed(hwnd) ? SC_RESTORE : SC_MAXIMIZE, 0);
        break;
    case CaptionButtonMinimize:
        if (!::IsIconic(hwnd))
            ::PostMessageW(hwnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
        break;
    default: // menu, skin, feedback, settings: the application's callbacks act on them
        break;
    }
}

LRESULT SkinCaptionButton::handleMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM,
                                         int windowIndex, int elementIndex, bool direct) {
    const bool refusesMouse = disabled() != 0;
    switch (message) {
    case WM_PAINT:
        drawLook(CaptionLook::Normal, windowIndex, elementIndex, direct);
        break;
    case WM_MOUSEMOVE:
    case WM_LBUTTONUP: {
        if (refusesMouse)
            return 0;
        // The button that holds the press keeps its pressed look until the click is done.
        const SkinWindow* window = windowObject(windowIndex);
        const bool holdsPress = window && window->pressedElement() == elementIndex;
        if (!holdsPress && message != lastMessage_)
            drawLook(CaptionLook::Hover, windowIndex, elementIndex, direct);
        break;
    }
    case WM_LBUTTONDOWN:
        if (refusesMouse)
            return 0;
        if (message != lastMessage_)
            drawLook(CaptionLook::Pressed, windowIndex, elementIndex, direct);
        break;
    case WM_TIMER:
        if (fadeAlpha_ > 254) {
            fadeAlpha_ = 0;
            ::KillTimer(hwnd, wParam);
        } else if (const ElementRecord* element = elementRecord(windowIndex, elementIndex)) {
            fadeAlpha_ += FadeStep;
            blendElementArea(windowIndex, element->bounds, fadeAlpha_);
        }
        break;
    case ElementClickMessage:
        if (!refusesMouse)
            click(hwnd);
        break;
    default:
        break;
    }
    // A fade tick is not a look: were it remembered, the next move would draw the hover
    // look again and restart its fade every few ticks while the mouse moves on the button.
    if (message != WM_TIMER)
        lastMessage_ = message;
    return 0;
}

} // namespace skinui
