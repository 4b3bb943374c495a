// Hit testing, mouse routing (hover, press, capture, click, focus, window dragging), element
// removal and the renumbering when a window is detached.

#include "skinned_window_fixture.h"

#include "skinui/controls/element_painting.h"
#include "skinui/skin_window/element_dispatch.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"

#include <array>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

TEST(HitTesting, EdgesAndTolerance) {
    const RectF r = makeRectF(10, 20, 30, 40);
    struct Case {
        double x, y;
        bool inside;
    };
    for (const Case c : {Case{10, 20, true}, Case{39.9, 59.9, true}, Case{40, 30, false},
                         Case{20, 60, false}, Case{9.99, 30, false}, Case{10 - 1e-8, 20, true},
                         Case{40 - 1e-8, 30, false}}) {
        EXPECT_EQ(pointInRectF(r, c.x, c.y), c.inside) << c.x << ", " << c.y;
    }

    struct Pair {
        RectF other;
        bool overlap;
    };
    for (const Pair p : {Pair{makeRectF(40, 20, 10, 10), false}, // touches the right edge
                         Pair{makeRectF(0, 0, 10, 20), false},   // touches the top-left corner
                         Pair{makeRectF(39, 59, 10, 10), true},
                         Pair{makeRectF(15, 25, 1, 1), true},
                         Pair{makeRectF(10, 60, 30, 5), false}}) {
        EXPECT_EQ(rectsIntersect(r, p.other), p.overlap);
        EXPECT_EQ(rectsIntersect(p.other, r), p.overlap);
    }
}

using InputRouting = SkinnedWindowTest;

TEST_F(InputRouting, TopmostVisibleElementGetsTheMessage) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement below("below"), above("above");
    below.create(hwnd, makeRectF(10, 10, 100, 100));
    above.create(hwnd, makeRectF(50, 50, 100, 100));

    EXPECT_EQ(hitTestElements(1, at(60, 60)).elementIndex, 2);
    EXPECT_EQ(hitTestElements(1, at(60, 60)).elementId, above.getElementId());
    EXPECT_EQ(hitTestElements(1, at(20, 20)).elementIndex, 1);
    EXPECT_EQ(hitTestElements(1, at(150, 60)).elementIndex, 0); // right edge of "above"
    EXPECT_EQ(hitTestElements(1, at(60, 150)).elementIndex, 0); // bottom edge
    EXPECT_EQ(hitTestElements(1, at(50, 50)).elementIndex, 2);  // top-left corner

    seenLog().clear();
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(60, 60));
    EXPECT_EQ(above.count(WM_MOUSEMOVE), 1u);
    EXPECT_EQ(below.count(WM_MOUSEMOVE), 0u);
    EXPECT_EQ(window.hoverElement(), 2);

    // Hidden, the upper one is passed over.
    above.visible(0);
    seenLog().clear();
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(61, 61));
    EXPECT_EQ(below.count(WM_MOUSEMOVE), 1u);
    EXPECT_EQ(above.count(WM_MOUSEMOVE), 0u);
    EXPECT_EQ(window.hoverElement(), 1);
}

TEST_F(InputRouting, HoverEnterAndLeave) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement a("a"), b("b");
    a.create(hwnd, makeRectF(10, 10, 50, 50));
    b.create(hwnd, makeRectF(100, 10, 50, 50));
    std::vector<std::string> events;
    window.setElementCallback(ElementEvent::Enter, [&](HWND, int id, SkinControl*, int) {
        events.push_back("enter " + std::to_string(id));
    });
    window.setElementCallback(ElementEvent::Leave, [&](HWND, int id, SkinControl*, int) {
        events.push_back("leave " + std::to_string(id));
    });

    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(20, 20));
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(21, 20)); // still over a: nothing new
    seenLog().clear();
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(110, 20));
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(300, 200)); // background
    EXPECT_EQ(events, (std::vector<std::string>{"enter 1", "leave 1", "enter 2", "leave 2"}));
    ASSERT_GE(seenLog().size(), 1u);
    EXPECT_EQ(seenLog()[0].who, "a"); // the repaint after leaving comes first
    EXPECT_EQ(seenLog()[0].message, ElementRepaintMessage);
    EXPECT_EQ(seenLog()[0].lParam, RepaintMouseLeft);
    EXPECT_EQ(window.hoverElement(), 0);
}

TEST_F(InputRouting, PressMoveOffReleaseOutsideGivesNoClick) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement button("button"), other("other");
    button.create(hwnd, makeRectF(10, 10, 50, 30));
    other.create(hwnd, makeRectF(200, 10, 50, 30));
    int clicks = 0;
    window.setElementCallback(ElementEvent::Click, [&](HWND, int, SkinControl*, int) { ++clicks; });

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    EXPECT_TRUE(window.captureActive());
    EXPECT_EQ(window.pressedElement(), 1);
    EXPECT_EQ(window.focusedElement(), 1);
    EXPECT_EQ(::GetCapture(), hwnd);

    // While the capture is held the pressed element gets everything, wherever the mouse is.
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(210, 20));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(210, 20));
    EXPECT_EQ(button.count(WM_MOUSEMOVE), 1u);
    EXPECT_EQ(button.count(WM_LBUTTONUP), 1u);
    EXPECT_EQ(other.count(WM_MOUSEMOVE), 0u);
    EXPECT_EQ(other.count(WM_LBUTTONUP), 0u);
    EXPECT_EQ(button.count(ElementClickMessage), 0u);
    EXPECT_EQ(clicks, 0);
    EXPECT_FALSE(window.captureActive());
    EXPECT_EQ(window.pressedElement(), 0);
    EXPECT_NE(::GetCapture(), hwnd);
    EXPECT_EQ(window.routeMouseMessage(hwnd, WM_MOUSEMOVE, 0, at(300, 200)), 0);
}

TEST_F(InputRouting, PressAndReleaseOverTheElementClicks) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement first("first"), second("second");
    first.create(hwnd, makeRectF(10, 10, 50, 30));
    second.create(hwnd, makeRectF(100, 10, 50, 30));
    // Active first: activating the window on the first press would report the focus again.
    ::SetFocus(hwnd);
    std::vector<std::string> events;
    for (auto [event, name] : {std::pair{ElementEvent::Click, "click"},
                               std::pair{ElementEvent::Focus, "focus"},
                               std::pair{ElementEvent::Blur, "blur"},
                               std::pair{ElementEvent::LButtonDown, "down"},
                               std::pair{ElementEvent::LButtonUp, "up"}}) {
        const std::string label = name;
        window.setElementCallback(event, [&events, label](HWND, int id, SkinControl*, int) {
            events.push_back(label + " " + std::to_string(id));
        });
    }

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(21, 21));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(110, 20));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(110, 20));
    EXPECT_EQ(events, (std::vector<std::string>{"focus 1", "down 1", "click 1", "up 1", "blur 1",
                                                "focus 2", "down 2", "click 2", "up 2"}));
    EXPECT_EQ(first.count(ElementClickMessage), 1u);
    EXPECT_EQ(second.count(ElementClickMessage), 1u);
    EXPECT_EQ(window.focusedElement(), 2);
    EXPECT_EQ(::GetFocus(), hwnd);
}

// A press on something that is not a focusable, enabled element moves the window (the hook
// sees WM_NCLBUTTONDOWN and keeps the system's move loop out of the test).
TEST_F(InputRouting, PressOnALabelOrTheBackgroundMovesTheWindow) {
    for (int dragDisabled : {0, 1}) {
        SCOPED_TRACE(dragDisabled);
        AttachOptions options = noCaption();
        options.dragDisabled = dragDisabled;
        SkinWindow& window = skinned(options);
        const HWND hwnd = window.hwnd();
        std::vector<std::string> order;
        window.setMessageHook([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
            if (message == WM_NCLBUTTONDOWN && wParam == HTCAPTION) {
                order.push_back("move");
                return 0;
            }
            return -1;
        });
        ProbeElement label("label"), disabled("disabled");
        label.create(hwnd, makeRectF(10, 10, 50, 30), 1, false, ElementLabel);
        disabled.create(hwnd, makeRectF(100, 10, 50, 30));
        disabled.disabled(1);

        seenLog().clear();
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
        for (const Seen& seen : seenLog())
            if (seen.who == "label" && seen.message == WM_LBUTTONDOWN)
                order.push_back("label");
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(110, 20));
        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 200));

        const std::vector<std::string> expected =
            dragDisabled ? std::vector<std::string>{"label"}
                         : std::vector<std::string>{"move", "label", "move", "move"};
        EXPECT_EQ(order, expected);
        EXPECT_FALSE(window.captureActive());
        EXPECT_EQ(window.focusedElement(), 0);
        EXPECT_EQ(disabled.count(WM_LBUTTONDOWN), 1u);
        EXPECT_EQ(::GetFocus(), hwnd);
    }
}

TEST_F(InputRouting, RightButtonNeverCapturesOrFocuses) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement probe;
    probe.create(hwnd, makeRectF(10, 10, 50, 30));
    int rightDowns = 0;
    window.setElementCallback(ElementEvent::RButtonDown,
                              [&](HWND, int, SkinControl* control, int type) {
                                  ++rightDowns;
                                  EXPECT_EQ(control, &probe);
                                  EXPECT_EQ(type, ElementButton);
                              });
    ::SendMessageW(hwnd, WM_RBUTTONDOWN, MK_RBUTTON, at(20, 20));
    ::SendMessageW(hwnd, WM_RBUTTONUP, 0, at(20, 20));
    EXPECT_EQ(rightDowns, 1);
    EXPECT_EQ(probe.count(WM_RBUTTONDOWN), 1u);
    EXPECT_FALSE(window.captureActive());
    EXPECT_EQ(window.focusedElement(), 0);
}

TEST_F(InputRouting, RemovingAnElementMovesTheIndicesAfterIt) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    std::array<ProbeElement, 5> probes;
    for (int i = 0; i < 5; ++i)
        probes[static_cast<size_t>(i)].create(hwnd, makeRectF(10.0f + 60 * i, 10, 50, 30));

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(200, 20)); // element 4
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(200, 20));
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(80, 20)); // element 2
    ASSERT_EQ(window.focusedElement(), 4);
    ASSERT_EQ(window.hoverElement(), 2);

    seenLog().clear();
    EXPECT_TRUE(probes[1].destroy());
    EXPECT_EQ(window.focusedElement(), 3);
    EXPECT_EQ(window.hoverElement(), 0);
    EXPECT_EQ(probes[1].count(WM_DESTROY), 1u);
    EXPECT_FALSE(probes[1].isCreated());
    EXPECT_EQ(windowTable()[0].elements.size(), 4u);
    EXPECT_TRUE(probes[3].isFocused());
    // The area it covered is repainted: nothing else lay there.
    for (const Seen& seen : seenLog())
        EXPECT_NE(seen.message, ElementRepaintMessage) << seen.who;

    // Removing the focused element clears the focus; an unknown id is refused.
    EXPECT_TRUE(removeElement(1, probes[3].getElementId()));
    EXPECT_EQ(window.focusedElement(), 0);
    EXPECT_FALSE(removeElement(1, 99));
}

TEST_F(InputRouting, RemovingThePressedElementEndsTheCapture) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement probe;
    probe.create(hwnd, makeRectF(10, 10, 50, 30));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(20, 20));
    ASSERT_TRUE(window.captureActive());
    probe.destroy();
    EXPECT_FALSE(window.captureActive());
    EXPECT_EQ(window.pressedElement(), 0);
    EXPECT_NE(::GetCapture(), hwnd);
}

TEST_F(InputRouting, AreaRepaintReachesOnlyOverlappingVisibleElements) {
    skinned(noCaption());
    const HWND hwnd = windowTable()[0].hwnd;
    ProbeElement left("left"), right("right"), hidden("hidden");
    left.create(hwnd, makeRectF(0, 0, 50, 50));
    right.create(hwnd, makeRectF(50, 0, 50, 50)); // edge to edge with the area below
    hidden.create(hwnd, makeRectF(0, 0, 50, 50), 0);
    seenLog().clear();
    repaintArea(1, makeRectF(10, 10, 40, 20), true);
    EXPECT_EQ(left.count(ElementRepaintMessage), 1u);
    EXPECT_EQ(right.count(ElementRepaintMessage), 0u);
    EXPECT_EQ(hidden.count(ElementRepaintMessage), 0u);
    ASSERT_EQ(seenLog().size(), 1u);
    EXPECT_FALSE(seenLog()[0].direct);
    EXPECT_EQ(seenLog()[0].lParam, RepaintAny);
}

TEST_F(InputRouting, DetachingRenumbersTheLaterWindowsAndTheirElements) {
    SkinWindow& first = skinned(noCaption());
    SkinWindow& second = skinned(noCaption());
    SkinWindow& third = skinned(noCaptionFixedSize());
    ProbeElement inSecond, inThirdA, inThirdB;
    inSecond.create(second.hwnd(), makeRectF(0, 0, 10, 10));
    inThirdA.create(third.hwnd(), makeRectF(0, 0, 10, 10));
    inThirdB.create(third.hwnd(), makeRectF(20, 0, 10, 10));

    ::DestroyWindow(second.hwnd());
    EXPECT_EQ(first.windowIndex(), 1);
    EXPECT_EQ(third.windowIndex(), 2);
    EXPECT_EQ(inThirdA.getWindowIndex(), 2);
    EXPECT_EQ(inThirdB.getWindowIndex(), 2);
    EXPECT_FALSE(inSecond.isCreated());
    ASSERT_EQ(windowTable().size(), 2u);
    EXPECT_EQ(windowTable()[1].owner, &third);

    // The renumbered window still routes to its elements.
    seenLog().clear();
    ::SendMessageW(third.hwnd(), WM_MOUSEMOVE, 0, at(25, 5));
    EXPECT_EQ(countSeen("probe", WM_MOUSEMOVE), 1u);
    EXPECT_EQ(third.hoverElement(), 2);
}

TEST_F(InputRouting, DetachingMovesTheLaterWindowsElementTimers) {
    SkinWindow& first = skinned(noCaption());
    SkinWindow& second = skinned(noCaptionFixedSize());
    ProbeElement inSecond("inSecond");
    inSecond.create(second.hwnd(), makeRectF(20, 20, 10, 10));
    ASSERT_EQ(second.windowIndex(), 2);
    ::SetTimer(second.hwnd(), elementTimerId(2, 1), 10000, nullptr);

    ::DestroyWindow(first.hwnd());
    ASSERT_EQ(second.windowIndex(), 1);
    EXPECT_FALSE(::KillTimer(second.hwnd(), elementTimerId(2, 1)));
    seenLog().clear();
    second.handleTimer(second.hwnd(), elementTimerId(1, 1), 0);
    EXPECT_EQ(countSeen("inSecond", WM_TIMER), 1u);
    EXPECT_TRUE(::KillTimer(second.hwnd(), elementTimerId(1, 1)));
}

TEST_F(InputRouting, DispatchCallsTheHandlerThenTheFirstBinding) {
    skinned(noCaption());
    const HWND hwnd = windowTable()[0].hwnd;
    ProbeElement probe;
    probe.create(hwnd, makeRectF(0, 0, 10, 10));
    std::vector<std::string> calls;
    probe.bindEvent(WM_USER, [&](int windowIndex, int elementIndex, WPARAM wParam, LPARAM,
                                 bool direct) {
        calls.push_back("bound " + std::to_string(windowIndex) + " " +
                        std::to_string(elementIndex) + " " + std::to_string(wParam) +
                        (direct ? " direct" : ""));
    });
    seenLog().clear();
    EXPECT_EQ(dispatchToElement(1, 1, hwnd, WM_USER, 3, 0, true), 7);
    EXPECT_EQ(calls, (std::vector<std::string>{"bound 1 1 3 direct"}));
    EXPECT_EQ(probe.count(WM_USER), 1u);

    // Invalid indices, a hidden element and suspended redraw reach nothing unless forced.
    EXPECT_EQ(dispatchToElement(1, 2, hwnd, WM_USER, 0, 0, true), 0);
    EXPECT_EQ(dispatchToElement(2, 1, hwnd, WM_USER, 0, 0, true), 0);
    probe.suspendRedraw();
    EXPECT_EQ(dispatchToElement(1, 1, hwnd, WM_USER, 0, 0, true), 0);
    EXPECT_EQ(dispatchToElement(1, 1, hwnd, WM_USER, 0, 0, true, true), 7);
    probe.resumeRedraw();
    windowTable()[0].elements[0].visible = false;
    EXPECT_EQ(dispatchToElement(1, 1, hwnd, WM_USER, 0, 0, true), 0);
    EXPECT_EQ(probe.count(WM_USER), 2u);
}

} // namespace
