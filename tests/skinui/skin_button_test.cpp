// SkinButton: looks by message and their colours, the corners, access keys, the single
// repaint of a stream of moves and the fade on the element timer, read back from the
// window's frame and layer buffers.

#include "skinned_window_fixture.h"

#include "skinui/controls/element_painting.h"
#include "skinui/controls/skin_button.h"
#include "skinui/drawing/primitives.h"
#include "skinui/ink_box.h"
#include "skinui/pictures.h"
#include "skinui/skin_window/messages.h"

#include <cmath>

namespace {

using namespace skinui;
using namespace skinui::testing;

class SkinButtonTest : public SkinnedWindowTest {
  protected:
    static const WindowRecord& record(const SkinWindow& window) {
        return *windowRecord(window.windowIndex());
    }
    static AttachOptions whiteWindow(int frameStyle = 5, int fadeElements = 0) {
        AttachOptions options = noCaption();
        options.backgroundColor = 0xFFFFFF;
        options.frameStyle = frameStyle;
        options.fadeElements = fadeElements;
        return options;
    }
    // Paints over the button's area of the frame, so a repaint shows as the colour gone.
    static void scribble(const SkinWindow& window, const SkinButton& button) {
        fillRect(record(window).frame.graphics(), button.getBounds(), 0xFEFF00FF);
    }
    static bool scribbled(const SkinWindow& window, const SkinButton& button) {
        const RectF b = button.getBounds();
        return colorNear(record(window).frame.pixel(static_cast<int>(b.x) + 5,
                                                    static_cast<int>(b.y) + 5),
                         0xFF00FF, 1);
    }
    static int indexOf(const SkinControl& control) {
        return findElementIndex(control.getWindowIndex(), control.getElementId());
    }
};

TEST(ButtonLook, StateAndStartingFadeByMessage) {
    struct Case {
        UINT message;
        bool disabled, focused;
        int state, fadeAlpha;
    };
    const Case cases[] = {
        {WM_PAINT, false, false, ButtonNormal, 204},
        {WM_PAINT, false, true, ButtonFocused, 204},
        {WM_MOUSEMOVE, false, true, ButtonHover, 153},
        {WM_LBUTTONDOWN, false, false, ButtonPressed, 204},
        {WM_LBUTTONUP, false, true, ButtonPressed, 204},
        {WM_PAINT, true, true, ButtonDisabled, 204},
        {WM_MOUSEMOVE, true, false, ButtonDisabled, 204},
    };
    for (const Case& c : cases) {
        const ButtonLook look = buttonLookFor(c.message, c.disabled, c.focused);
        EXPECT_EQ(look.state, c.state) << c.message;
        EXPECT_EQ(look.fadeAlpha, c.fadeAlpha) << c.message;
    }
    EXPECT_EQ(buttonFaceColors(7), ButtonFaceColors{}); // outside the table: transparent
}

TEST(Mnemonic, TheCharacterAfterTheFirstAmpersand) {
    EXPECT_EQ(mnemonicOf("&Save"), std::optional<wchar_t>(L'S'));
    EXPECT_EQ(mnemonicOf("Sa&ve &it"), std::optional<wchar_t>(L'v'));
    EXPECT_EQ(mnemonicOf("Save&"), std::optional<wchar_t>(L'\0'));
    EXPECT_EQ(mnemonicOf("保&存"), std::optional<wchar_t>(L'存'));
    EXPECT_EQ(mnemonicOf("Save"), std::nullopt);
    EXPECT_EQ(mnemonicOf(""), std::nullopt);
}

// What a window was told about access keys: (element id, character) of each 0x2800.
std::vector<std::pair<WPARAM, LPARAM>>& mnemonicLog() {
    static std::vector<std::pair<WPARAM, LPARAM>> log;
    return log;
}
WNDPROC skinnedProcedure = nullptr;
LRESULT CALLBACK mnemonicSpy(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == RegisterMnemonicMessage)
        mnemonicLog().emplace_back(wParam, lParam);
    return ::CallWindowProcW(skinnedProcedure, hwnd, message, wParam, lParam);
}

TEST_F(SkinButtonTest, CreateAndTextTellTheWindowTheAccessKey) {
    SkinWindow& window = skinned(whiteWindow());
    // Listen in front of the skinned procedure.
    mnemonicLog().clear();
    skinnedProcedure = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&mnemonicSpy)));
    SkinButton save, trailing, plainCaption;
    save.create(window.hwnd(), "&Save", 10, 10, 70, 24);
    trailing.create(window.hwnd(), "Go&", 10, 40, 70, 24);
    plainCaption.create(window.hwnd(), "Close", 10, 70, 70, 24);
    using Log = std::vector<std::pair<WPARAM, LPARAM>>;
    // A caption without "&" asks the window to forget any key the button had (code 0).
    EXPECT_EQ(mnemonicLog(), (Log{{1, 'S'}, {2, 0}, {3, 0}}));
    EXPECT_EQ(plainCaption.text("&Close"), "&Close");
    EXPECT_EQ(mnemonicLog().back(), (std::pair<WPARAM, LPARAM>{3, 'C'}));
    ::SetWindowLongPtrW(window.hwnd(), GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(skinnedProcedure));

    // The answer decides the result: a plain window's default procedure answers 0.
    const HWND other = plain();
    seenLog().clear();
    EXPECT_FALSE(registerMnemonic(other, 4, "&Yes"));
    ASSERT_EQ(countSeen("previous", RegisterMnemonicMessage), 1u);
    EXPECT_FALSE(registerMnemonic(other, 4, "Yes"));
    EXPECT_EQ(countSeen("previous", RegisterMnemonicMessage), 2u);
    EXPECT_FALSE(registerMnemonic(other, 0, "&Yes"));
    EXPECT_FALSE(registerMnemonic(nullptr, 4, "&Yes"));
    EXPECT_EQ(countSeen("previous", RegisterMnemonicMessage), 2u);
}

// An access key lasts as long as the caption that has it and the button that shows it.
TEST_F(SkinButtonTest, AnAccessKeyGoesWithItsCaptionAndItsButton) {
    SkinWindow& window = skinned(whiteWindow());
    const HWND hwnd = window.hwnd();
    int clicks = 0;
    auto pressAlt = [&](wchar_t key) { window.handleSysKeyDown(hwnd, key, 0); };
    {
        SkinButton save;
        save.create(hwnd, "&Save", 10, 10, 70, 24);
        save.bindEvent(ElementClickMessage, [&](int, int, WPARAM, LPARAM, bool) { ++clicks; });
        pressAlt('S');
        EXPECT_EQ(clicks, 1);
        save.text("Save");
        pressAlt('S');
        EXPECT_EQ(clicks, 1) << "the caption without the key still answered to it";
        save.text("&Save");
        pressAlt('S');
        EXPECT_EQ(clicks, 2);
    } // the button goes; its element id becomes free again
    SkinButton other;
    other.create(hwnd, "Other", 10, 10, 70, 24);
    int otherClicks = 0;
    other.bindEvent(ElementClickMessage, [&](int, int, WPARAM, LPARAM, bool) { ++otherClicks; });
    pressAlt('S');
    EXPECT_EQ(otherClicks, 0) << "a new element took over the removed button's access key";
    EXPECT_TRUE(window.mnemonics().empty());
}

TEST_F(SkinButtonTest, AccessKeyIsUnderlined) {
    const SkinWindow& window = skinned(whiteWindow());
    SkinButton marked, unmarked;
    marked.create(window.hwnd(), "&Save", 20, 20, 80, 30);
    unmarked.create(window.hwnd(), "Save", 20, 70, 80, 30);
    auto dark = [](std::uint32_t p) { return darkerThan(p, 150); };
    // Inside the inner border only.
    const InkBox withKey = inkBox(record(window).frame, 23, 23, 74, 24, dark);
    const InkBox without = inkBox(record(window).frame, 23, 73, 74, 24, dark);
    ASSERT_FALSE(withKey.empty());
    ASSERT_FALSE(without.empty());
    // The "&" is not drawn: the captions are as wide; the underline hangs below the "S".
    EXPECT_NEAR(withKey.left, without.left, 1);
    EXPECT_NEAR(withKey.right, without.right, 1);
    EXPECT_GT(withKey.bottom - 20, without.bottom - 70);
    const int underline = withKey.bottom;
    const InkBox line = inkBox(record(window).frame, 23, underline, 74, 1, dark);
    EXPECT_LE(line.left, withKey.left + 1);
    EXPECT_LT(line.right, withKey.left + (withKey.width() / 3)); // under the first letter only
}

TEST_F(SkinButtonTest, CornersFollowTheWindowsFrameStyleUnlessGiven) {
    struct Case {
        int frameStyle;
        std::optional<bool> rounded;
        bool expectRounded;
    };
    const Case cases[] = {
        {0, std::nullopt, false}, {5, std::nullopt, true}, {0, true, true}, {5, false, false}};
    for (const Case& c : cases) {
        SkinWindow& window = skinned(whiteWindow(c.frameStyle), 200, 100);
        SkinButton button;
        ButtonOptions options;
        options.roundedCorners = c.rounded;
        button.create(window.hwnd(), "", 40, 30, 70, 24, options);
        EXPECT_EQ(button.roundedCorners(), c.expectRounded) << c.frameStyle;
        const std::uint32_t corner = record(window).frame.pixel(40, 30);
        const std::uint32_t edge = record(window).frame.pixel(40, 42); // the left border
        EXPECT_LT(redOf(edge), 235) << c.frameStyle;
        if (c.expectRounded)
            EXPECT_GT(redOf(corner), 245) << c.frameStyle;
        else
            EXPECT_LT(redOf(corner), 235) << c.frameStyle;
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

// The colour a fill of argb leaves over an opaque channel value.
double over(double below, std::uint32_t argb, int shift) {
    const double alpha = (argb >> 24) / 255.0;
    return ((argb >> shift) & 0xFF) * alpha + below * (1 - alpha);
}

// One channel of a face over white at row t of the rectangle (0 top, 1 bottom).
double faceChannel(int state, double t, int shift) {
    const ButtonFaceColors colors = buttonFaceColors(state);
    auto lerp = [t](std::uint32_t a, std::uint32_t b, int s) {
        return ((a >> s) & 0xFF) * (1 - t) + ((b >> s) & 0xFF) * t;
    };
    const double alpha = lerp(colors.gradientTop, colors.gradientBottom, 24) / 255.0;
    const double channel = lerp(colors.gradientTop, colors.gradientBottom, shift);
    const double filled = over(255, colors.fill, shift);
    return channel * alpha + filled * (1 - alpha);
}

TEST_F(SkinButtonTest, EachLooksColoursReadBackFromThePixels) {
    const SkinWindow& window = skinned(whiteWindow(0));
    SkinButton button, other;
    const int x = 40, y = 40, h = 24;
    button.create(window.hwnd(), "", x, y, 70, h);
    other.create(window.hwnd(), "", 200, 40, 70, h);
    auto expectLook = [&](int state, const char* what) {
        const BackBuffer& frame = record(window).frame;
        // GDI+ implementations blend a gradient between colours of different alphas in
        // slightly different ways (straight or premultiplied), hence the tolerance; the looks
        // differ from each other by far more.
        constexpr double tolerance = 20;
        for (int row : {y + 3, y + h - 4}) {
            const double t = double(row - y) / h;
            const std::uint32_t pixel = frame.pixel(x + 8, row);
            EXPECT_NEAR(redOf(pixel), faceChannel(state, t, 16), tolerance) << what << " row " << row;
            EXPECT_NEAR(greenOf(pixel), faceChannel(state, t, 8), tolerance) << what << " row " << row;
            EXPECT_NEAR(blueOf(pixel), faceChannel(state, t, 0), tolerance) << what << " row " << row;
        }
    };
    expectLook(ButtonNormal, "normal");
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(x + 30, y + 10));
    expectLook(ButtonHover, "hover");
    ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(x + 30, y + 10));
    expectLook(ButtonPressed, "pressed");
    ::SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, at(x + 30, y + 10));
    expectLook(ButtonPressed, "released: pressed until the next move or paint");
    ASSERT_TRUE(button.isFocused());
    button.redraw();
    expectLook(ButtonFocused, "focused");
    button.disabled(1);
    expectLook(ButtonDisabled, "disabled");
    // The hover's bottom is blue, the pressed look dark at the top.
    EXPECT_GT(faceChannel(ButtonHover, 0.85, 0) - faceChannel(ButtonHover, 0.85, 16), 60);
    EXPECT_LT(faceChannel(ButtonPressed, 0.1, 16), faceChannel(ButtonPressed, 0.85, 16) - 20);
}

TEST_F(SkinButtonTest, MovesRepaintOnceAndNotWhilePressedOrDisabled) {
    const SkinWindow& window = skinned(whiteWindow());
    SkinButton button;
    button.create(window.hwnd(), "OK", 40, 40, 70, 24);
    const LPARAM inside = at(60, 50);

    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, inside);
    EXPECT_EQ(button.lastMessage(), static_cast<UINT>(WM_MOUSEMOVE));
    scribble(window, button);
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(62, 51));
    EXPECT_TRUE(scribbled(window, button)) << "a second move repainted the button";

    ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, inside);
    EXPECT_FALSE(scribbled(window, button));
    scribble(window, button);
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, MK_LBUTTON, at(64, 52));
    EXPECT_TRUE(scribbled(window, button)) << "a move while pressed repainted the button";
    ::SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, inside);
    EXPECT_FALSE(scribbled(window, button));

    button.disabled(1); // repaints: the disabled look
    EXPECT_FALSE(scribbled(window, button));
    scribble(window, button);
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(66, 53));
    ::SendMessageW(window.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, at(66, 53));
    ::SendMessageW(window.hwnd(), WM_LBUTTONUP, 0, at(66, 53));
    EXPECT_TRUE(scribbled(window, button)) << "a disabled button took the mouse";
    button.redraw();
    EXPECT_FALSE(scribbled(window, button));
}

TEST_F(SkinButtonTest, WithoutFadeElementsNoTimerIsArmed) {
    for (int fadeElements : {0, 1}) {
        AttachOptions options = whiteWindow(5, fadeElements);
        options.opacity = 255; // layered: what reaches the screen is in the layer
        SkinWindow& window = skinned(options, 200, 100);
        SkinButton button;
        button.create(window.hwnd(), "", 40, 30, 70, 24);
        const WindowRecord& w = record(window);
        const int index = indexOf(button);
        const UINT_PTR timerId = elementTimerId(window.windowIndex(), index);
        // Tick away the creation's own fade first.
        if (fadeElements)
            for (int i = 0; i < 3; ++i)
                button.handleMessage(window.hwnd(), WM_TIMER, timerId, 0, window.windowIndex(),
                                     index, true);
        const std::uint32_t normal = w.layer.pixel(48, 51);

        ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(60, 40));
        const std::uint32_t hover = w.frame.pixel(48, 51);
        ASSERT_NE(normal, hover);
        if (!fadeElements) {
            EXPECT_FALSE(::KillTimer(window.hwnd(), timerId));
            EXPECT_EQ(w.layer.pixel(48, 51), hover); // shown at once
        } else {
            EXPECT_EQ(w.layer.pixel(48, 51), normal); // the old look until the ticks
            EXPECT_EQ(button.fadeAlpha(), 153);
            for (int expected : {204, 255, 0}) {
                button.handleMessage(window.hwnd(), WM_TIMER, timerId, 0, window.windowIndex(),
                                     index, true);
                EXPECT_EQ(button.fadeAlpha(), expected);
                if (expected == 204) {
                    const std::uint32_t partly = w.layer.pixel(48, 51);
                    EXPECT_NE(partly, normal);
                    EXPECT_NE(partly, hover);
                }
            }
            EXPECT_EQ(w.layer.pixel(48, 51), hover);
            EXPECT_FALSE(::KillTimer(window.hwnd(), timerId)); // the last tick stopped it
        }
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(SkinButtonTest, AnIconDrawsAtItsSizeLeftOfTheCaption) {
    const SkinWindow& window = skinned(whiteWindow());
    SkinButton button;
    button.create(window.hwnd(), "OK", 40, 40, 70, 24);
    makeSolidPicture(button.icon(), 10, 10, 0xFFFF0000);
    button.redraw();
    const BackBuffer& frame = record(window).frame;
    // Caption rectangle (41, 41, 68, 22): the icon at x 43, centred: y 41 + (22 - 10) / 2.
    EXPECT_TRUE(colorNear(frame.pixel(43, 47), 0xFF0000, 4));
    EXPECT_TRUE(colorNear(frame.pixel(52, 56), 0xFF0000, 4));
    EXPECT_FALSE(colorNear(frame.pixel(53, 51), 0xFF0000, 40));
    EXPECT_FALSE(colorNear(frame.pixel(47, 46), 0xFF0000, 40));
}

TEST_F(SkinButtonTest, OwnFontUnlessNoneIsGiven) {
    const HWND hwnd = skinned(whiteWindow()).hwnd();
    SkinButton plainButton, sized;
    plainButton.create(hwnd, "A", 0, 0, 70, 24);
    ButtonOptions options;
    options.font.size = 18.0f;
    sized.create(hwnd, "B", 0, 30, 70, 24, options);
    EXPECT_TRUE(plainButton.usesDefaultFont());
    EXPECT_EQ(plainButton.textColor(), 0xD2000000u);
    ASSERT_FALSE(sized.usesDefaultFont());
    float size = 0;
    Gdiplus::DllExports::GdipGetFontSize(sized.font(), &size);
    EXPECT_FLOAT_EQ(size, 18.0f);
}

} // namespace
