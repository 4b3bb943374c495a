// Caption buttons: the sheet cells of each kind and look, the fades, the clicks of close,
// maximize/restore and minimize, the disabled button and the hover look drawn once.

#include "skinui/controls/element_painting.h"
#include "skinui/controls/skin_caption_button.h"
#include "skinui/drawing/primitives.h"
#include "skinui/library/library.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skinned_window_fixture.h"
#include "skinui/pictures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;
namespace gdip = Gdiplus::DllExports;

constexpr int AllButtons = CaptionClose | CaptionMaximize | CaptionMinimize | CaptionExtra1 |
                           CaptionExtra2 | CaptionExtra3 | CaptionExtra4;

const char* kindName(int kind) {
    switch (kind) {
    case CaptionButtonClose: return "close";
    case CaptionButtonMaximize: return "maximize";
    case CaptionButtonMinimize: return "minimize";
    case CaptionButtonMenu: return "menu";
    case CaptionButtonSkin: return "skin";
    case CaptionButtonFeedback: return "feedback";
    case CaptionButtonSettings: return "settings";
    default: return "?";
    }
}

const char* lookName(CaptionLook look) {
    return look == CaptionLook::Normal ? "normal" : look == CaptionLook::Hover ? "hover" : "pressed";
}

// The posted window commands a click may leave in the queue, taken out of it.
std::vector<MSG> takeCommands(HWND hwnd) {
    std::vector<MSG> posted;
    MSG msg;
    for (UINT message : {WM_CLOSE, WM_SYSCOMMAND})
        while (::PeekMessageW(&msg, hwnd, message, message, PM_REMOVE))
            posted.push_back(msg);
    return posted;
}

class CaptionButtons : public SkinnedWindowTest {
  protected:
    // A window with all seven buttons on black, its picture readable from its layer
    // (layered) or from its frame. Presses on the background do not move it.
    SkinWindow& captionWindow(int fadeElements, bool layered = true,
                              DWORD style = WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX) {
        AttachOptions options;
        options.backgroundColor = RGB(0, 0, 0);
        options.captionFlags = AllButtons;
        options.opacity = layered ? 255 : -1;
        options.fadeElements = fadeElements;
        options.dragDisabled = 1;
        return skinned(options, 400, 120, style);
    }

    static SkinCaptionButton& button(const SkinWindow& window, int kind) {
        for (const auto& candidate : window.captionButtons())
            if (candidate->getKind() == kind)
                return *candidate;
        ADD_FAILURE() << "no button " << kind;
        return *window.captionButtons().front();
    }

    static int indexOf(const SkinControl& control) {
        return findElementIndex(control.getWindowIndex(), control.getElementId());
    }

    static LPARAM centreOf(const SkinControl& control) {
        const RectF b = control.getBounds();
        return at(static_cast<int>(b.x + b.width / 2), static_cast<int>(b.y + b.height / 2));
    }

    // Sends one message to the button as the window's routing does.
    static void send(const SkinWindow& window, const SkinCaptionButton& button, UINT message,
                     WPARAM wParam = 0) {
        dispatchToElement(window.windowIndex(), indexOf(button), window.hwnd(), message, wParam,
                          message == WM_PAINT ? static_cast<LPARAM>(RepaintAny) : 0, true);
    }

    // How many pixels of the button's area in `surface` differ from the sheet cell laid over
    // the window's background. The cell's last row lies below the sheet and is not compared;
    // nor is its first, which the border's light inner line runs over.
    static int cellMismatches(const SkinWindow& window, const SkinCaptionButton& button,
                              const BackBuffer& surface, int kind, CaptionLook look, bool zoomed,
                              std::string* first = nullptr) {
        const WindowRecord& record = *windowRecord(window.windowIndex());
        gdip::GdipFlush(record.frame.graphics(), Gdiplus::FlushIntentionSync);
        const SkinImage& sheet = Library::instance().captionButtonImage;
        const RectF cell = *captionButtonCell(kind, look, zoomed);
        const RectF b = button.getBounds();
        int mismatches = 0;
        for (int y = 1; y < static_cast<int>(cell.height) - 1; ++y) {
            for (int x = 0; x < static_cast<int>(cell.width); ++x) {
                const std::uint32_t s = sheet.pixel(static_cast<int>(cell.x) + x,
                                                    static_cast<int>(cell.y) + y);
                const std::uint32_t bg =
                    record.windowBuffer.pixel(static_cast<int>(b.x) + x, static_cast<int>(b.y) + y);
                const int a = alphaOf(s);
                auto over = [a](int source, int below) { return (source * a + below * (255 - a)) / 255; };
                const std::uint32_t expected =
                    static_cast<std::uint32_t>(over(redOf(s), redOf(bg)) << 16 |
                                               over(greenOf(s), greenOf(bg)) << 8 |
                                               over(blueOf(s), blueOf(bg)));
                const std::uint32_t got =
                    surface.pixel(static_cast<int>(b.x) + x, static_cast<int>(b.y) + y);
                if (!colorNear(got, expected, 3)) {
                    if (mismatches == 0 && first) {
                        char where[96];
                        std::snprintf(where, sizeof where, "(%d, %d) %08X want %08X", x, y,
                                      static_cast<unsigned>(got),
                                      static_cast<unsigned>(expected));
                        *first = where;
                    }
                    ++mismatches;
                }
            }
        }
        return mismatches;
    }
};

TEST_F(CaptionButtons, EachKindShowsItsOwnCellForEachLook) {
    SkinWindow& window = captionWindow(0);
    const WindowRecord& record = *windowRecord(window.windowIndex());
    ASSERT_EQ(window.captionButtons().size(), 7u);
    struct Step {
        UINT message;
        CaptionLook look;
    };
    for (const auto& owned : window.captionButtons()) {
        SkinCaptionButton& b = *owned;
        EXPECT_EQ(b.getBounds().width, b.getKind() == CaptionButtonClose ? 39 : 28);
        EXPECT_EQ(b.getBounds().height, 19);
        for (const Step step : {Step{WM_MOUSEMOVE, CaptionLook::Hover},
                                Step{WM_LBUTTONDOWN, CaptionLook::Pressed},
                                Step{WM_PAINT, CaptionLook::Normal}}) {
            send(window, b, step.message);
            std::string first;
            // What reached the screen (the layer), so the look was presented at once.
            EXPECT_EQ(cellMismatches(window, b, record.layer, b.getKind(), step.look, false,
                                     &first),
                      0)
                << kindName(b.getKind()) << " " << lookName(step.look) << ": " << first;
        }
    }
    EXPECT_FALSE(captionButtonCell(2, CaptionLook::Normal, false));
    EXPECT_FALSE(captionButtonCell(512, CaptionLook::Hover, false));
}

TEST_F(CaptionButtons, LooksFadeInFromTheirStartingAlpha) {
    struct Case {
        UINT message;
        CaptionLook look;
        int startAlpha;
        int blends; // ticks that blend before the one that stops the timer
    };
    for (const Case c : {Case{WM_MOUSEMOVE, CaptionLook::Hover, 102, 3},
                         Case{WM_LBUTTONDOWN, CaptionLook::Pressed, 153, 2},
                         Case{WM_PAINT, CaptionLook::Normal, 102, 3}}) {
        SCOPED_TRACE(lookName(c.look));
        SkinWindow& window = captionWindow(1);
        const WindowRecord& record = *windowRecord(window.windowIndex());
        SkinCaptionButton& menu = button(window, CaptionButtonMenu);
        // What the screen shows before: a hover look for the normal one, else the normal.
        send(window, menu, c.look == CaptionLook::Normal ? WM_MOUSEMOVE : WM_PAINT);
        for (int tick = 0; tick < 4 && menu.fadeAlpha() != 0; ++tick)
            send(window, menu, WM_TIMER, elementTimerId(window.windowIndex(), indexOf(menu)));
        ASSERT_EQ(menu.fadeAlpha(), 0);
        const BackBuffer& screen = record.layer;
        const RectF b = menu.getBounds();
        const int px = static_cast<int>(b.x) + 3, py = static_cast<int>(b.y) + 8;
        const std::uint32_t before = screen.pixel(px, py);

        send(window, menu, c.message);
        EXPECT_EQ(menu.fadeAlpha(), c.startAlpha);
        EXPECT_EQ(screen.pixel(px, py), before) << "the screen keeps the old look until a tick";
        const std::uint32_t target = record.frame.pixel(px, py);
        const UINT_PTR timerId = elementTimerId(window.windowIndex(), indexOf(menu));
        for (int tick = 1; tick <= c.blends; ++tick) {
            send(window, menu, WM_TIMER, timerId);
            const int alpha = c.startAlpha + 51 * tick;
            EXPECT_EQ(menu.fadeAlpha(), alpha);
            if (tick == 1) {
                // One blend of the new look over the old at that alpha.
                const int expected = (greenOf(target) * alpha + greenOf(before) * (255 - alpha)) / 255;
                EXPECT_NEAR(greenOf(screen.pixel(px, py)), expected, 3);
            }
        }
        EXPECT_EQ(cellMismatches(window, menu, screen, CaptionButtonMenu, c.look, false), 0);
        send(window, menu, WM_TIMER, timerId); // the tick after 255 stops the fade
        EXPECT_EQ(menu.fadeAlpha(), 0);
        EXPECT_FALSE(::KillTimer(window.hwnd(), timerId)) << "the timer was stopped";
        ::DestroyWindow(window.hwnd());
        pumpMessages();
    }
}

TEST_F(CaptionButtons, MaximizeRestoresAZoomedWindowAndShowsTheRestoreGlyph) {
    SkinWindow& window =
        captionWindow(0, false, WS_POPUP | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX);
    const HWND hwnd = window.hwnd();
    const WindowRecord& record = *windowRecord(window.windowIndex());
    SkinCaptionButton& maximize = button(window, CaptionButtonMaximize);
    const LPARAM centre = centreOf(maximize);
    takeCommands(hwnd);

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, centre);
    std::vector<MSG> posted = takeCommands(hwnd);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_SYSCOMMAND));
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_MAXIMIZE));
    EXPECT_EQ(cellMismatches(window, maximize, record.frame, CaptionButtonMaximize,
                             CaptionLook::Pressed, false),
              0);

    ::DispatchMessageW(&posted[0]);
    pumpMessages();
    ASSERT_TRUE(::IsZoomed(hwnd));
    maximize.redraw();
    std::string first;
    EXPECT_EQ(cellMismatches(window, maximize, record.frame, CaptionButtonMaximize,
                             CaptionLook::Normal, true, &first),
              0)
        << first;
    EXPECT_GT(cellMismatches(window, maximize, record.frame, CaptionButtonMaximize,
                             CaptionLook::Normal, false),
              10)
        << "the maximize glyph is not what a zoomed window shows";
    send(window, maximize, WM_MOUSEMOVE);
    EXPECT_EQ(cellMismatches(window, maximize, record.frame, CaptionButtonMaximize,
                             CaptionLook::Hover, true, &first),
              0)
        << first;

    // Zoomed, the window is wider and the buttons have moved with its right edge.
    const LPARAM zoomedCentre = centreOf(maximize);
    ASSERT_NE(zoomedCentre, centre);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, zoomedCentre);
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, zoomedCentre);
    posted = takeCommands(hwnd);
    ASSERT_EQ(posted.size(), 1u);
    EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(SC_RESTORE));
}

TEST_F(CaptionButtons, MinimizeAndCloseCarryOutTheirCommands) {
    struct Case {
        int kind;
        bool iconic;
        std::vector<std::pair<UINT, WPARAM>> posted;
    };
    const Case cases[] = {
        {CaptionButtonMinimize, false, {{WM_SYSCOMMAND, SC_MINIMIZE}}},
        {CaptionButtonMinimize, true, {}}, // already iconic: nothing
        {CaptionButtonClose, false, {{WM_CLOSE, 0}}},
        {CaptionButtonMenu, false, {}},
        {CaptionButtonSkin, false, {}},
        {CaptionButtonFeedback, false, {}},
        {CaptionButtonSettings, false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(kindName(c.kind)) + (c.iconic ? " iconic" : ""));
        SkinWindow& window = captionWindow(0);
        const HWND hwnd = window.hwnd();
        if (c.iconic)
            ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_MINIMIZE);
        ASSERT_EQ(::IsIconic(hwnd) != FALSE, c.iconic);
        SkinCaptionButton& b = button(window, c.kind);
        takeCommands(hwnd);
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(b));
        ::SendMessageW(hwnd, WM_LBUTTONUP, 0, centreOf(b));
        std::vector<std::pair<UINT, WPARAM>> posted;
        for (const MSG& msg : takeCommands(hwnd))
            posted.emplace_back(msg.message, msg.wParam);
        EXPECT_EQ(posted, c.posted);
        // The release over the button that holds the press draws nothing: the pressed look
        // stays until the click has been acted on.
        const WindowRecord& record = *windowRecord(window.windowIndex());
        EXPECT_EQ(cellMismatches(window, b, record.layer, c.kind, CaptionLook::Pressed, false), 0);
        ::DestroyWindow(hwnd);
        pumpMessages();
    }
}

TEST_F(CaptionButtons, CloseClosesTheWindow) {
    SkinWindow& window = captionWindow(1);
    const HWND hwnd = window.hwnd();
    SkinCaptionButton& close = button(window, CaptionButtonClose);
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, centreOf(close));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, centreOf(close));
    pumpMessages();
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(window.isAttached());
    EXPECT_TRUE(windowTable().empty());
}

TEST_F(CaptionButtons, DisabledButtonIgnoresTheMouseButPaints) {
    SkinWindow& window = captionWindow(0);
    const HWND hwnd = window.hwnd();
    const WindowRecord& record = *windowRecord(window.windowIndex());
    SkinCaptionButton& close = button(window, CaptionButtonClose);
    send(window, close, WM_MOUSEMOVE);
    ASSERT_EQ(cellMismatches(window, close, record.layer, CaptionButtonClose, CaptionLook::Hover,
                             false),
              0);

    close.disabled(1); // repaints: the normal look
    EXPECT_EQ(close.lastMessage(), static_cast<UINT>(WM_PAINT));
    EXPECT_EQ(cellMismatches(window, close, record.layer, CaptionButtonClose, CaptionLook::Normal,
                             false),
              0);
    takeCommands(hwnd);
    for (UINT message : {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_LBUTTONUP})
        ::SendMessageW(hwnd, message, message == WM_LBUTTONDOWN ? MK_LBUTTON : 0, centreOf(close));
    send(window, close, ElementClickMessage); // even a click that reaches it
    EXPECT_TRUE(takeCommands(hwnd).empty());
    EXPECT_EQ(cellMismatches(window, close, record.layer, CaptionButtonClose, CaptionLook::Normal,
                             false),
              0);
    EXPECT_EQ(close.lastMessage(), ElementClickMessage) << "refused mouse messages leave it";
    EXPECT_TRUE(::IsWindow(hwnd));

    close.disabled(0);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(close));
    EXPECT_EQ(cellMismatches(window, close, record.layer, CaptionButtonClose, CaptionLook::Hover,
                             false),
              0);
}

TEST_F(CaptionButtons, RepeatedMovesDrawTheHoverLookOnce) {
    SkinWindow& window = captionWindow(0);
    const HWND hwnd = window.hwnd();
    const WindowRecord& record = *windowRecord(window.windowIndex());
    SkinCaptionButton& skin = button(window, CaptionButtonSkin);
    const RectF b = skin.getBounds();
    const int px = static_cast<int>(b.x) + 2, py = static_cast<int>(b.y) + 3;

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(skin));
    EXPECT_EQ(cellMismatches(window, skin, record.layer, CaptionButtonSkin, CaptionLook::Hover,
                             false),
              0);
    // Marks the frame: a second hover drawing would paint over the mark.
    fillRect(record.frame.graphics(), b, 0xFEFF00FF);
    gdip::GdipFlush(record.frame.graphics(), Gdiplus::FlushIntentionSync);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(skin) + 1);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(skin));
    EXPECT_TRUE(colorNear(record.frame.pixel(px, py), 0xFF00FF));
    // A fade tick in between is not a new look: the next move draws nothing either.
    send(window, skin, WM_TIMER, elementTimerId(window.windowIndex(), indexOf(skin)));
    fillRect(record.frame.graphics(), b, 0xFEFF00FF);
    gdip::GdipFlush(record.frame.graphics(), Gdiplus::FlushIntentionSync);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(skin) + 1);
    EXPECT_TRUE(colorNear(record.frame.pixel(px, py), 0xFF00FF)) << "a tick restarted the hover";

    // Leaving repaints the normal look; coming back draws the hover look again.
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(200, 80));
    EXPECT_EQ(cellMismatches(window, skin, record.layer, CaptionButtonSkin, CaptionLook::Normal,
                             false),
              0);
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, centreOf(skin));
    EXPECT_EQ(cellMismatches(window, skin, record.layer, CaptionButtonSkin, CaptionLook::Hover,
                             false),
              0);
}

} // namespace
