// The skinned window procedure: which messages it answers itself, which it forwards to the
// hook and the previous procedure, the size and placement rules, double clicks and the close
// effects.

#include "skinned_window_fixture.h"

#include "skinui/skin_window/close_effect.h"
#include "skinui/skin_window/messages.h"
#include "skinui/skin_window/window_limits.h"

#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

using WindowProcedure = SkinnedWindowTest;

TEST_F(WindowProcedure, NonClientSizeIsAnsweredWithoutHookOrPreviousProcedure) {
    SkinWindow& window = skinned(noCaption());
    int hookCalls = 0;
    window.setMessageHook([&](HWND, UINT, WPARAM, LPARAM) -> LRESULT {
        ++hookCalls;
        return -1;
    });
    seenLog().clear();
    NCCALCSIZE_PARAMS params{};
    params.rgrc[0] = RECT{100, 100, 500, 400};
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_NCCALCSIZE, 1, reinterpret_cast<LPARAM>(&params)), 1);
    EXPECT_EQ(params.rgrc[0].left, 100);
    EXPECT_EQ(params.rgrc[0].bottom, 400);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_EQ(countSeen("previous", WM_NCCALCSIZE), 0u);

    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_NCACTIVATE, 0, 0), 1);
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_NCACTIVATE, 1, 0), 0);
    EXPECT_EQ(hookCalls, 0);
    EXPECT_EQ(countSeen("previous", WM_NCACTIVATE), 0u);
}

TEST_F(WindowProcedure, HookDecidesWhetherThePreviousProcedureRuns) {
    SkinWindow& window = skinned(noCaption());
    LRESULT answer = -1;
    window.setMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
        return message == WM_MOVE ? answer : -1;
    });
    seenLog().clear();
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_MOVE, 0, 0), 0);
    EXPECT_EQ(countSeen("previous", WM_MOVE), 1u);

    answer = 5;
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_MOVE, 0, 0), 5);
    EXPECT_EQ(countSeen("previous", WM_MOVE), 1u);
}

TEST_F(WindowProcedure, FixedResultsAndPrivateMessages) {
    SkinWindow& window = skinned(noCaption());
    seenLog().clear();
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_SIZE, 0, MAKELPARAM(400, 300)), 0);
    EXPECT_EQ(countSeen("previous", WM_SIZE), 0u);
    EXPECT_EQ(::SendMessageW(window.hwnd(), BackgroundColorMessage, 0, 0), 0xFFFFFF);
    EXPECT_EQ(::SendMessageW(window.hwnd(), BackgroundImageMessage, 0, 0), 0);
    EXPECT_EQ(countSeen("previous", BackgroundColorMessage), 0u);
    // Anything else reaches the previous procedure.
    ::SendMessageW(window.hwnd(), WM_USER + 5, 0, 0);
    EXPECT_EQ(countSeen("previous", WM_USER + 5), 1u);
}

TEST(SizeLimits, MaximizedWindowCoversTheWorkArea) {
    struct Case {
        RECT workArea;
        size_t buttons;
        int flags;
        POINT maxSize, maxPosition, minTrack;
    };
    for (const Case c : {
             Case{{0, 0, 1920, 1040}, 2, 4 | 16, {1921, 1040}, {0, 0}, {107, 40}},
             Case{{100, 20, 1380, 1020}, 0, 0, {1281, 1000}, {100, 20}, {40, 40}},
             Case{{0, 0, 0, 0}, 3, 4 | 8 | 16, {1, 0}, {0, 0}, {135, 40}}, // failed query
         }) {
        MINMAXINFO info{};
        info.ptMaxTrackSize = POINT{1234, 567};
        fillSizeLimits(info, c.workArea, c.buttons, c.flags);
        EXPECT_EQ(info.ptMaxSize.x, c.maxSize.x);
        EXPECT_EQ(info.ptMaxSize.y, c.maxSize.y);
        EXPECT_EQ(info.ptMaxPosition.x, c.maxPosition.x);
        EXPECT_EQ(info.ptMaxPosition.y, c.maxPosition.y);
        EXPECT_EQ(info.ptMinTrackSize.x, c.minTrack.x);
        EXPECT_EQ(info.ptMinTrackSize.y, c.minTrack.y);
        EXPECT_EQ(info.ptMaxTrackSize.x, 1234); // left as the system filled it
    }
}

TEST_F(WindowProcedure, MinMaxInfoCountsTheCaptionButtons) {
    AttachOptions options = noCaption();
    options.captionFlags = 2 | 4 | 16;
    SkinWindow& window = skinned(options);
    MINMAXINFO info{};
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info)), 0);
    EXPECT_EQ(info.ptMinTrackSize.x, 107);
    EXPECT_EQ(info.ptMinTrackSize.y, 40);
    RECT workArea{};
    ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea, 0);
    EXPECT_EQ(info.ptMaxSize.x, workArea.right - workArea.left + 1);
}

TEST(Placement, StateChangeShownAtANewPlaceGoesBelowTheScreen) {
    struct Case {
        UINT flags;
        bool applies;
    };
    for (const Case c : {Case{0x8000 | SWP_SHOWWINDOW, true}, Case{SWP_SHOWWINDOW, false},
                         Case{0x8000, false}, Case{0x8000 | SWP_SHOWWINDOW | SWP_NOMOVE, false},
                         Case{0x18000 | SWP_SHOWWINDOW, true}}) {
        WINDOWPOS position{};
        position.x = 7;
        position.y = 8;
        position.cx = 300;
        position.flags = c.flags;
        EXPECT_EQ(placeOnStateChange(position, 1920, 1080), c.applies) << c.flags;
        EXPECT_EQ(position.x, c.applies ? 1620 : 7);
        EXPECT_EQ(position.y, c.applies ? 1080 : 8);
    }
}

// The system's move loop is kept out: the hook answers WM_NCLBUTTONDOWN.
TEST_F(WindowProcedure, DoubleClickOnTheCaptionTogglesMaximizeOnlyWithTheMaximizeButton) {
    struct Case {
        int flags;
        int y;
        bool toggles;
    };
    for (const Case c : {Case{4 | 8, 10, true}, Case{4 | 8, 25, false}, Case{4 | 16, 10, false}}) {
        SCOPED_TRACE(std::to_string(c.flags) + " at y " + std::to_string(c.y));
        AttachOptions options = noCaption();
        options.captionFlags = c.flags;
        SkinWindow& window = skinned(options);
        int moves = 0;
        window.setMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_NCLBUTTONDOWN) {
                ++moves;
                return 0;
            }
            return -1;
        });
        ::SendMessageW(window.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(200, c.y));
        pumpMessages();
        EXPECT_EQ(::IsZoomed(window.hwnd()) != FALSE, c.toggles);
        EXPECT_EQ(moves, c.toggles ? 3 : 1); // the press itself moves the window too
        if (c.toggles) {
            ::SendMessageW(window.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(200, c.y));
            pumpMessages();
            EXPECT_FALSE(::IsZoomed(window.hwnd()));
        }
    }
}

TEST_F(WindowProcedure, DoubleClickOnAnElementIsAPressThenADoubleClick) {
    SkinWindow& window = skinned(noCaption());
    ProbeElement probe;
    probe.create(window.hwnd(), makeRectF(10, 10, 50, 30));
    std::vector<std::string> events;
    window.setElementCallback(ElementEvent::DoubleClick,
                              [&](HWND, int, SkinControl*, int) { events.push_back("double"); });
    window.setElementCallback(ElementEvent::LButtonDown,
                              [&](HWND, int, SkinControl*, int) { events.push_back("down"); });
    seenLog().clear();
    EXPECT_EQ(::SendMessageW(window.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, at(20, 20)), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"double"}));
    std::vector<UINT> received;
    for (const Seen& seen : seenLog())
        if (seen.who == "probe" && seen.message != ElementRepaintMessage)
            received.push_back(seen.message);
    EXPECT_EQ(received, (std::vector<UINT>{WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}));
    EXPECT_EQ(seenLog().back().wParam, DoubleClickMarker);
    EXPECT_EQ(countSeen("previous", WM_LBUTTONDBLCLK), 0u);
}

TEST_F(WindowProcedure, MouseLeaveClearsTheHover) {
    SkinWindow& window = skinned(noCaption());
    ProbeElement probe;
    probe.create(window.hwnd(), makeRectF(10, 10, 50, 30));
    ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(20, 20));
    ASSERT_EQ(window.hoverElement(), 1);
    seenLog().clear();
    ::SendMessageW(window.hwnd(), WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(window.hoverElement(), 0);
    EXPECT_FALSE(window.mouseTracking());
    ASSERT_EQ(probe.count(ElementRepaintMessage), 1u);
    EXPECT_EQ(seenLog()[0].lParam, RepaintMouseLeft);
}

TEST(CloseEffect, FramePlans) {
    // Fade on opacity 200: 200, 192, ..., 8, eight milliseconds apart.
    const auto fade = closeEffectFrames(1, 200, 300, 200);
    ASSERT_EQ(fade.size(), 25u);
    for (size_t i = 0; i < fade.size(); ++i) {
        EXPECT_EQ(fade[i].alpha, 200 - 8 * static_cast<int>(i));
        EXPECT_EQ(fade[i].sleepMs, 8);
        EXPECT_EQ(fade[i].width, 300);
    }
    EXPECT_EQ(fade.back().alpha, 8);

    // Zoom: grows for three frames, then shrinks by 2 a frame.
    const auto zoom = closeEffectFrames(2, 255, 300, 200);
    ASSERT_EQ(zoom.size(), 20u);
    EXPECT_EQ(zoom[0].alpha, 255);
    EXPECT_EQ(zoom[1].alpha, 243);
    EXPECT_EQ(zoom[0].x, 0);       // d = 1.5: trunc(-0.75)
    EXPECT_EQ(zoom[0].width, 301); // trunc(301.5)
    EXPECT_EQ(zoom[2].x, -2);      // d = 4.5
    EXPECT_EQ(zoom[2].width, 304);
    EXPECT_EQ(zoom[3].x, -4); // s = 2
    EXPECT_EQ(zoom[3].width, 308);
    EXPECT_EQ(zoom[4].x, -3); // s = 4
    EXPECT_EQ(zoom[0].sleepMs, 14);
    EXPECT_EQ(zoom[13].sleepMs, 1);
    EXPECT_EQ(zoom[19].sleepMs, 1);

    // Wipe 3 on a window 300 wide: frame 1 draws 300 columns, the 100 nearest x = 0 fading;
    // frame 25 draws 300 - 12 x 24 = 12 columns, all fading.
    const auto wipe = closeEffectFrames(3, 200, 300, 200);
    ASSERT_EQ(wipe.size(), 25u);
    EXPECT_EQ(wipe[0].offset, 0);
    EXPECT_EQ(wipe[24].offset, 288);
    EXPECT_EQ(wipeLineAlpha(200, 300, 199), 200);
    EXPECT_EQ(wipeLineAlpha(200, 300, 200), 200);
    EXPECT_EQ(wipeLineAlpha(200, 300, 250), 100);
    EXPECT_EQ(wipeLineAlpha(200, 300, 300), 0);
    EXPECT_EQ(wipeLineAlpha(wipe[24].alpha, 12, 1), static_cast<int>(wipe[24].alpha / 100.0 * 11));
    // Vertical wipes move by the height.
    EXPECT_EQ(closeEffectFrames(6, 200, 300, 200)[1].offset, 8);
    EXPECT_TRUE(closeEffectFrames(0, 200, 300, 200).empty());
}

TEST_F(WindowProcedure, CloseEffectLeavesAnOrdinaryWindowLayeredAndTransparent) {
    for (int effect : {1, 2, 3, 5}) {
        SCOPED_TRACE(effect);
        SkinWindow& window = skinned(noCaption(), 120, 80);
        window.setCloseEffect(effect);
        bool animatingInside = false;
        window.setMessageHook([&](HWND, UINT message, WPARAM, LPARAM) -> LRESULT {
            if (message == WM_CLOSE) {
                animatingInside = window.animating();
                return 0; // keep the window to look at it
            }
            return -1;
        });
        ::SendMessageW(window.hwnd(), WM_CLOSE, 0, 0);
        EXPECT_FALSE(animatingInside); // the effect has ended when the message is forwarded
        EXPECT_FALSE(window.animating());
        EXPECT_TRUE(::GetWindowLongPtrW(window.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED);
        const WindowRecord& record = windowTable()[static_cast<size_t>(window.windowIndex()) - 1];
        EXPECT_EQ(record.opacity, 255);
        ASSERT_NE(record.layer.dc(), nullptr);
        // The layer holds the frame without its 5-pixel margin.
        EXPECT_EQ(record.layer.pixel(2, 2), 0u);
        EXPECT_TRUE(nearColor(record.layer.pixel(60, 40), 0xFFFFFF)) << std::hex
            << record.layer.pixel(60, 40);
    }
}

TEST_F(WindowProcedure, CloseWithAnEffectStillClosesTheWindow) {
    AttachOptions options = noCaption();
    options.opacity = 200;
    SkinWindow& window = skinned(options, 120, 80);
    window.setCloseEffect(1);
    const HWND hwnd = window.hwnd();
    ::SendMessageW(hwnd, WM_CLOSE, 0, 0);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_FALSE(window.isAttached());
    EXPECT_EQ(countSeen("previous", WM_DESTROY), 1u);
}

} // namespace
