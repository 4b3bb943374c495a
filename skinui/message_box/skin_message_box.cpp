// showSkinMessageBox: building the box, its handlers and the modal loop.
//
// Showing a box, in order: the window (class "Ex_DirectUI", centred, 320 x 150) with the
// owner's small icon and the icon-kind property; the painter and the re-layout installed;
// attached as a layered, fixed-size skinned window with a title and a close button; the
// click and key handlers installed; the text measured and the box grown to fit it; the
// owner's look taken over; the buttons and the label created; onCreated; the beep; the
// focus on button 1; shown, the owner disabled; the modal loop until the box is gone.

#include "skinui/message_box/skin_message_box.h"

#include "skinui/library/helpers.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/message_box/box_layout.h"
#include "skinui/message_box/box_painter.h"
#include "skinui/skin_window/messages.h"
#include "skinui/text_conversion.h"

#include <cstdlib>
#include <string>

namespace skinui {

namespace gdip = Gdiplus::DllExports;

namespace {

constexpr const char* DefaultTitle = "提示：";
constexpr DWORD BoxExStyle = WS_EX_APPWINDOW | WS_EX_TOPMOST;
constexpr DWORD BoxStyle = WS_POPUP | WS_BORDER | WS_SYSMENU;
constexpr COLORREF BoxBackground = 0xFF8800;
constexpr int BoxOpacity = 170;

MessageBoxObjects& objects() {
    return Library::instance().messageBox;
}

void enableOwner() {
    if (objects().owner)
        ::EnableWindow(objects().owner, TRUE);
}

POINT centredOnScreen(int width, int height) {
    return centredOn(::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN), width,
                     height);
}

// A copy of the whole picture in its own pixel format; the caller owns it.
Gdiplus::GpImage* cloneWhole(Gdiplus::GpImage* picture) {
    Gdiplus::PixelFormat format = 0;
    UINT width = 0, height = 0;
    gdip::GdipGetImagePixelFormat(picture, &format);
    gdip::GdipGetImageWidth(picture, &width);
    gdip::GdipGetImageHeight(picture, &height);
    Gdiplus::GpBitmap* clone = nullptr;
    if (width == 0 || height == 0 ||
        gdip::GdipCloneBitmapAreaI(0, 0, static_cast<INT>(width), static_cast<INT>(height),
                                   format, static_cast<Gdiplus::GpBitmap*>(picture),
                                   &clone) != Gdiplus::Ok)
        return nullptr;
    return clone;
}

// A skinned owner that is not a picture-only skin lends the box its picture, frame style
// and background colour.
void takeOwnersLook(HWND owner, SkinWindow& box) {
    if (!owner)
        return;
    auto* picture =
        reinterpret_cast<Gdiplus::GpImage*>(::SendMessageW(owner, BackgroundImageMessage, 0, 0));
    const auto color = static_cast<COLORREF>(::SendMessageW(owner, BackgroundColorMessage, 0, 0));
    if (!picture && color == 0)
        return;
    const SkinWindow* ownerSkin = windowObject(findWindowIndex(owner));
    const int frameStyle = ownerSkin ? ownerSkin->frameStyle() : 0;
    if (frameStyle == 1)
        return;
    if (picture) {
        MessageBoxObjects& shared = objects();
        shared.ownerImage.dispose();
        shared.ownerImage.setHandle(cloneWhole(picture));
        // The box disposes its background picture when it closes, so it gets a copy of the
        // clone and the clone itself stays with the library.
        if (Gdiplus::GpImage* own = shared.ownerImage.handle())
            box.backgroundImageHandle(cloneWhole(own));
    }
    box.frameStyle(frameStyle, false);
    box.redrawWindow(std::nullopt, color, false);
}

// Button 1, 2 and 3 by position from the right.
void createButtons(HWND box, int buttonSet, int width, int height) {
    const std::vector<BoxButton> set = buttonSetOf(buttonSet);
    for (size_t i = 0; i < set.size(); ++i) {
        SkinButton& button = *objects().buttons[i];
        const int position = static_cast<int>(i) + 1;
        button.create(box, set[i].caption, buttonCreateX(position, width), buttonY(height),
                      MessageBoxButtonWidth, MessageBoxButtonHeight);
        button.tag(std::to_string(set[i].result));
    }
}

// After a size change: the created buttons moved to the re-layout places.
void relayoutButtons(HWND, int width, int height) {
    for (int position = 1; position <= 3; ++position) {
        SkinButton& button = *objects().buttons[position - 1];
        if (button.isCreated())
            button.move(buttonLayoutX(position, width), buttonY(height));
    }
}

// A click on one of the box's buttons closes it with the button's result; a click on the
// close button leaves the result at 取消 (the close button closes the box itself).
void handleClick(HWND box, int elementId, SkinControl*, int elementType) {
    if (elementType == ElementCaptionButton) {
        enableOwner();
        return;
    }
    if (elementType != ElementButton)
        return;
    const int windowIndex = findWindowIndex(box);
    if (SkinControl* control =
            elementObject(windowIndex, findElementIndex(windowIndex, elementId))) {
        const std::string tag = control->tag();
        if (!tag.empty())
            objects().result = static_cast<int>(std::strtol(tag.c_str(), nullptr, 10));
    }
    ::RemovePropW(box, MessageBoxIconProperty);
    enableOwner();
    ::PostMessageW(box, WM_CLOSE, 0, 0);
}

// Esc closes the box with the result 取消; other keys take their usual way.
LRESULT handleKey(HWND box, int, WPARAM key, LPARAM) {
    if (key != VK_ESCAPE)
        return -1;
    enableOwner();
    ::PostMessageW(box, WM_CLOSE, 0, 0);
    return 0;
}

// What the box's own handlers do not see:
// - Esc when no element has the focus (a box without buttons): the key handler is only
//   asked about keys for a focused element, and such a box must still close from the
//   keyboard;
// - the box being hidden on its way out, however it is closed (Alt+F4, a WM_CLOSE or a
//   DestroyWindow from elsewhere): the owner is enabled first, so that it is the window
//   that becomes active again.
LRESULT boxMessageHook(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && wParam == VK_ESCAPE && objects().window->focusedElement() == 0)
        return handleKey(box, 0, wParam, lParam);
    if (message == WM_WINDOWPOSCHANGING &&
        (reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_HIDEWINDOW))
        enableOwner();
    return -1;
}

// Dispatches the thread's messages until the box is gone. A WM_QUIT ends the loop too; it
// is posted again so that the program's own loop still ends.
void runModalLoop(HWND box) {
    MSG msg{};
    while (::IsWindow(box)) {
        const BOOL got = ::GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
        }
        if (got == -1)
            break;
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Marks the shared objects as in use for the life of one box.
class OpenBox final {
  public:
    OpenBox(HWND owner) { objects().owner = owner; }
    ~OpenBox() {
        MessageBoxObjects& shared = objects();
        // Also when the box went by a way it does not handle itself (Alt+F4, a WM_QUIT, a
        // DestroyWindow from elsewhere): the owner is never left disabled.
        if (shared.box && ::IsWindow(shared.box))
            ::DestroyWindow(shared.box);
        enableOwner();
        shared.box = nullptr;
        shared.owner = nullptr;
    }
    OpenBox(const OpenBox&) = delete;
    OpenBox& operator=(const OpenBox&) = delete;
};

} // namespace

int showSkinMessageBox(HWND owner, std::string_view text, const MessageBoxOptions& options) {
    MessageBoxObjects& shared = objects();
    // The window, label and buttons are one set: a box asked for while one is open (from a
    // message its modal loop dispatched) would take them from under it.
    if (shared.box || !shared.window || !shared.label)
        return ResultCancel;
    const std::string title = options.title.value_or(DefaultTitle);
    shared.result = ResultCancel;

    BoxGeometry geometry = boxGeometry(options.iconKind, std::nullopt);
    POINT at = centredOnScreen(geometry.width, geometry.height);
    const HWND box = ::CreateWindowExW(BoxExStyle, toWide(SkinWindowClassName).c_str(),
                                       toWide(title).c_str(), BoxStyle, at.x, at.y,
                                       geometry.width, geometry.height, owner, nullptr,
                                       skinModule(), nullptr);
    if (!box)
        return ResultCancel;
    OpenBox open(owner);
    shared.box = box;

    if (owner)
        ::SendMessageW(box, WM_SETICON, ICON_SMALL,
                       reinterpret_cast<LPARAM>(windowIconOf(owner)));
    ::SetPropW(box, MessageBoxIconProperty,
               reinterpret_cast<HANDLE>(static_cast<INT_PTR>(options.iconKind)));

    SkinWindow& window = *shared.window;
    window.setOnPaint([](HWND hwnd, Gdiplus::GpGraphics* graphics, HDC, int cx, int cy) {
        paintMessageBox(hwnd, graphics, cx, cy);
    });
    window.onSize(relayoutButtons);
    AttachOptions attach;
    attach.backgroundColor = BoxBackground;
    attach.captionFlags = CaptionTitle | CaptionClose;
    attach.opacity = BoxOpacity;
    attach.fadeElements = 0;
    attach.fixedSize = 1;
    attach.dragDisabled = 0;
    attach.backgroundMargins = RECT{};
    window.attachToWindow(box, attach);
    window.onElementClick(handleClick);
    window.onKeyDown(handleKey);
    window.setMessageHook(boxMessageHook);

    // The text unwrapped, in the library's font: a wider or taller text grows the box.
    if (const WindowRecord* record = windowRecord(findWindowIndex(box))) {
        const std::optional<RectF> measured =
            measureString(record->frame.graphics(), text, Library::instance().defaultFont.get(),
                          nullptr, RectF{});
        geometry = boxGeometry(options.iconKind, measured);
        if (geometry.grewWider || geometry.grewTaller) {
            // Each growth re-centres the box; the width first.
            if (geometry.grewWider) {
                const int height = MessageBoxHeight;
                at = centredOnScreen(geometry.width, height);
                ::MoveWindow(box, at.x, at.y, geometry.width, height, FALSE);
            }
            if (geometry.grewTaller) {
                at = centredOnScreen(geometry.width, geometry.height);
                ::MoveWindow(box, at.x, at.y, geometry.width, geometry.height, FALSE);
            }
        }
    }

    takeOwnersLook(owner, window);
    createButtons(box, options.buttonSet, geometry.width, geometry.height);

    LabelOptions label;
    label.textColor = rgbToArgb(0x000000, 210);
    label.alignment = TextAlignNear;
    label.formatFlags = Gdiplus::StringFormatFlagsMeasureTrailingSpaces; // wraps
    const RectF& r = geometry.text;
    shared.label->create(box, text, static_cast<int>(r.x), static_cast<int>(r.y),
                         static_cast<int>(r.width), static_cast<int>(r.height), label);
    shared.label->tag(std::to_string(reinterpret_cast<UINT_PTR>(owner)));

    if (options.onCreated)
        options.onCreated(box, geometry.width, geometry.height);
    if (options.iconKind != 0 && options.beep) {
        if (options.playBeep)
            options.playBeep(static_cast<UINT>(options.iconKind));
        else
            ::MessageBeep(static_cast<UINT>(options.iconKind));
    }
    window.setFocusElement(shared.buttons[0]->getElementId());

    ::ShowWindow(box, SW_SHOWNORMAL);
    if (owner)
        ::EnableWindow(owner, FALSE);
    runModalLoop(box);
    return shared.result;
}

} // namespace skinui
