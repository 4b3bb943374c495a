// The element base: creation and ids, geometry, visibility, z-order, event bindings,
// tooltips and removal.

#include "skinned_window_fixture.h"

#include "skinui/controls/element_painting.h"
#include "skinui/skin_window/hit_testing.h"
#include "skinui/skin_window/messages.h"

#include <commctrl.h>

#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

using SkinControlTest = SkinnedWindowTest;

std::vector<UINT> messagesOf(const std::string& who) {
    std::vector<UINT> messages;
    for (const Seen& seen : seenLog())
        if (seen.who == who)
            messages.push_back(seen.message);
    return messages;
}

TEST_F(SkinControlTest, IdsAreTheSmallestFree) {
    const HWND hwnd = skinned(noCaption()).hwnd();
    ProbeElement a, b, c;
    a.create(hwnd, makeRectF(0, 0, 10, 10));
    b.create(hwnd, makeRectF(0, 0, 10, 10));
    EXPECT_EQ(a.getElementId(), 1);
    EXPECT_EQ(b.getElementId(), 2);
    EXPECT_EQ(a.getWindowIndex(), 1);
    EXPECT_TRUE(a.destroy());
    EXPECT_FALSE(a.isCreated());
    c.create(hwnd, makeRectF(0, 0, 10, 10));
    EXPECT_EQ(c.getElementId(), 1);
    EXPECT_EQ(firstFreeElementId(hwnd), 2 + 1);

    // Created once: a second create changes nothing.
    c.create(hwnd, makeRectF(5, 5, 1, 1));
    EXPECT_EQ(c.getElementId(), 1);
    EXPECT_EQ(c.getBounds(), makeRectF(0, 0, 10, 10));
    EXPECT_EQ(windowTable()[0].elements.size(), 2u);

    // Destroyed and created again, it gets the smallest free id anew.
    EXPECT_TRUE(a.destroy()); // not created: true
    a.create(hwnd, makeRectF(0, 0, 10, 10));
    EXPECT_EQ(a.getElementId(), 3);
}

TEST_F(SkinControlTest, CreateUnderAnUnskinnedWindowLeavesItNotCreated) {
    const HWND unskinned = plain();
    seenLog().clear();
    ProbeElement probe;
    probe.create(unskinned, makeRectF(0, 0, 10, 10));
    EXPECT_FALSE(probe.isCreated());
    EXPECT_EQ(probe.getWindowIndex(), 0);
    EXPECT_EQ(probe.getElementId(), 0);
    EXPECT_EQ(probe.visible(1), 0);
    EXPECT_EQ(probe.focusable(), 0);
    probe.move(1, 2, 3, 4); // nothing to move
    EXPECT_EQ(probe.left(), 0);
    EXPECT_TRUE(probe.destroy());
    EXPECT_TRUE(messagesOf("probe").empty());
}

TEST_F(SkinControlTest, MoveWritesOnlyTheGivenValues) {
    const HWND hwnd = skinned(noCaption()).hwnd();
    ProbeElement probe, neighbour("neighbour");
    probe.create(hwnd, makeRectF(10, 20, 30, 40));
    neighbour.create(hwnd, makeRectF(0, 0, 15, 25)); // under the old place

    seenLog().clear();
    probe.move(std::nullopt, std::nullopt, -5, std::nullopt, false);
    EXPECT_EQ(probe.getBounds(), makeRectF(10, 20, 0, 40));
    EXPECT_EQ(windowTable()[0].elements[0].bounds, makeRectF(10, 20, 0, 40));
    EXPECT_TRUE(seenLog().empty()); // without redraw nothing is repainted

    probe.move(std::nullopt, std::nullopt, 30);
    // The old area is repainted without the element (the neighbour overlaps it), then the
    // element paints itself at its place.
    EXPECT_EQ(messagesOf("neighbour"), (std::vector<UINT>{ElementRepaintMessage}));
    EXPECT_EQ(messagesOf("probe"), (std::vector<UINT>{ElementRepaintMessage}));
    EXPECT_TRUE(seenLog().back().direct);
    EXPECT_TRUE(windowTable()[0].elements[0].visible);

    EXPECT_EQ(probe.left(50), 50);
    EXPECT_EQ(probe.top(60), 60);
    EXPECT_EQ(probe.height(-1), 0);
    EXPECT_EQ(probe.getBounds(), makeRectF(50, 60, 30, 0));
}

TEST_F(SkinControlTest, VisibleTellsTheElementAndRepaints) {
    const HWND hwnd = skinned(noCaption()).hwnd();
    ProbeElement shown("shown"), hidden("hidden");
    shown.create(hwnd, makeRectF(0, 0, 10, 10));
    hidden.create(hwnd, makeRectF(20, 0, 10, 10), 0);
    seenLog().clear();

    EXPECT_EQ(hidden.visible(0), 0);
    EXPECT_TRUE(seenLog().empty());

    EXPECT_EQ(shown.visible(1), 1);
    EXPECT_EQ(messagesOf("shown"), (std::vector<UINT>{ElementShownMessage, ElementRepaintMessage}));

    seenLog().clear();
    EXPECT_EQ(shown.visible(0), 0);
    // Hidden is forced through; the area repaint then skips the hidden element.
    EXPECT_EQ(messagesOf("shown"), (std::vector<UINT>{ElementHiddenMessage}));
    EXPECT_EQ(shown.visible(), 0);
    EXPECT_EQ(hitTestElements(1, at(5, 5)).elementIndex, 0);
}

TEST_F(SkinControlTest, ZOrderTopOrJustAboveTheCaptionButtons) {
    AttachOptions options = noCaption();
    options.captionFlags = 4 | 16;
    const HWND hwnd = skinned(options).hwnd();
    ProbeElement a("a"), b("b"), c("c");
    a.create(hwnd, makeRectF(0, 0, 10, 10));
    b.create(hwnd, makeRectF(0, 0, 10, 10));
    c.create(hwnd, makeRectF(0, 0, 10, 10));
    auto order = [] {
        std::vector<int> ids;
        for (const ElementRecord& element : windowTable()[0].elements)
            ids.push_back(element.id);
        return ids;
    };
    ASSERT_EQ(order(), (std::vector<int>{1, 2, 3, 4, 5}));

    seenLog().clear();
    a.setZOrder();
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 4, 5, 3}));
    EXPECT_EQ(messagesOf("a"), (std::vector<UINT>{ElementRepaintMessage}));
    c.setZOrder(0);
    EXPECT_EQ(order(), (std::vector<int>{1, 2, 5, 4, 3}));
    EXPECT_EQ(hitTestElements(1, at(5, 5)).elementId, a.getElementId());
}

TEST_F(SkinControlTest, BindingTheSameMessageTwiceKeepsOnePair) {
    const HWND hwnd = skinned(noCaptionFixedSize()).hwnd();
    ProbeElement probe;
    probe.create(hwnd, makeRectF(0, 0, 10, 10));
    std::vector<std::string> calls;
    probe.bindEvent(ElementClickMessage, [&](int, int, WPARAM, LPARAM, bool) { calls.push_back("first"); });
    probe.bindEvent(WM_MOUSEMOVE, [&](int, int, WPARAM, LPARAM, bool) { calls.push_back("move"); });
    probe.bindEvent(ElementClickMessage, [&](int, int, WPARAM, LPARAM, bool) { calls.push_back("second"); });
    EXPECT_EQ(probe.eventBindingCount(), 2u);

    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(5, 5));
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(5, 5));
    EXPECT_EQ(calls, (std::vector<std::string>{"second"}));
}

TEST_F(SkinControlTest, TooltipRegistersOnceWithTheRectangleOfThatMoment) {
    SkinWindow& window = skinned(noCaption());
    ProbeElement probe;
    probe.create(window.hwnd(), makeRectF(10.7f, 20.2f, 30.5f, 40.9f));

    // No tooltip control until some element has a tip to show.
    probe.setTooltip("");
    EXPECT_EQ(window.tooltipWindow(), nullptr);
    EXPECT_EQ(probe.toolId(), 0u);

    probe.setTooltip("保存");
    const HWND tooltip = window.tooltipWindow();
    ASSERT_TRUE(::IsWindow(tooltip));
    auto toolCount = [&] { return ::SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0); };
    EXPECT_EQ(toolCount(), 1);
    EXPECT_EQ(probe.toolId(), static_cast<UINT_PTR>(probe.getElementId()));
    const RECT first = probe.toolRect();
    EXPECT_EQ(first.left, 10);
    EXPECT_EQ(first.top, 20);
    EXPECT_EQ(first.right, 41);
    EXPECT_EQ(first.bottom, 61);

    wchar_t text[64] = {};
    TOOLINFOW info{};
    info.cbSize = TTTOOLINFOW_V2_SIZE;
    info.hwnd = window.hwnd();
    info.uId = probe.toolId();
    info.lpszText = text;
    ::SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"保存");

    // Later texts only replace the text; the tool keeps its rectangle.
    probe.tooltipText("打开", true);
    EXPECT_EQ(probe.tooltipText(), "打开");
    EXPECT_EQ(toolCount(), 1);
    ::SendMessageW(tooltip, TTM_GETTEXTW, 64, reinterpret_cast<LPARAM>(&info));
    EXPECT_STREQ(text, L"打开");
    ::SendMessageW(tooltip, TTM_GETTOOLINFOW, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.rect.left, 10);
    EXPECT_EQ(info.rect.right, 41);

    // Storing without apply shows nothing new; removal deletes the tool.
    probe.tooltipText("x");
    EXPECT_EQ(probe.toolText(), "打开");
    probe.destroy();
    EXPECT_EQ(toolCount(), 0);
}

TEST_F(SkinControlTest, PropertiesKeepTheirValues) {
    const HWND hwnd = skinned(noCaption()).hwnd();
    ProbeElement probe;
    probe.create(hwnd, makeRectF(0, 0, 10, 10), 1, false);
    EXPECT_EQ(probe.cursor(), DefaultCursorId);
    EXPECT_EQ(probe.cursor(32649), 32649);
    EXPECT_EQ(probe.tag("5"), "5");
    EXPECT_EQ(probe.tag(), "5");
    EXPECT_EQ(probe.focusable(), 0);
    EXPECT_EQ(probe.focusable(1), 1);
    EXPECT_TRUE(windowTable()[0].elements[0].focusable);
    EXPECT_EQ(probe.redrawEnabled(), 1);
    seenLog().clear();
    EXPECT_EQ(probe.disabled(1), 1);
    EXPECT_EQ(probe.count(ElementRepaintMessage), 1u);
    probe.suspendRedraw();
    probe.redraw();
    EXPECT_EQ(probe.count(ElementRepaintMessage), 1u);
    probe.resumeRedraw();
    EXPECT_EQ(probe.count(ElementRepaintMessage), 1u); // resuming asks for no repaint
    EXPECT_FALSE(probe.isFocused());
}

// Element timers are named by the element's place, so a removal stops the removed
// element's timer and moves the running timers of the later ones down with them.
TEST_F(SkinControlTest, RemovingAnElementMovesTheLaterElementsTimers) {
    SkinWindow& window = skinned(noCaptionFixedSize());
    const HWND hwnd = window.hwnd();
    ProbeElement first("first"), second("second"), third("third");
    first.create(hwnd, makeRectF(20, 20, 10, 10));
    second.create(hwnd, makeRectF(40, 20, 10, 10));
    third.create(hwnd, makeRectF(60, 20, 10, 10));
    const int w = window.windowIndex();
    ::SetTimer(hwnd, elementTimerId(w, 1), 10000, nullptr);
    ::SetTimer(hwnd, elementTimerId(w, 3), 10000, nullptr);

    first.destroy();
    EXPECT_FALSE(::KillTimer(hwnd, elementTimerId(w, 3))) << "left at the old place";
    seenLog().clear();
    window.handleTimer(hwnd, elementTimerId(w, 2), 0);
    EXPECT_EQ(countSeen("third", WM_TIMER), 1u) << "the tick of its new place reaches it";
    EXPECT_TRUE(::KillTimer(hwnd, elementTimerId(w, 2)));
    EXPECT_FALSE(::KillTimer(hwnd, elementTimerId(w, 1)))
        << "the removed element's timer ran on for the element now in its place";
}

TEST_F(SkinControlTest, AControlGoingAwayTakesItsElementWithIt) {
    SkinWindow& window = skinned(noCaptionFixedSize());
    {
        ProbeElement shortLived;
        shortLived.create(window.hwnd(), makeRectF(0, 0, 50, 50));
        ::SendMessageW(window.hwnd(), WM_MOUSEMOVE, 0, at(5, 5));
        ASSERT_EQ(window.hoverElement(), 1);
    }
    EXPECT_TRUE(windowTable()[0].elements.empty());
    EXPECT_EQ(window.hoverElement(), 0);
    // Routing over the place where it was reaches nothing.
    EXPECT_EQ(window.routeMouseMessage(window.hwnd(), WM_MOUSEMOVE, 0, at(5, 5)), 0);
}

} // namespace
