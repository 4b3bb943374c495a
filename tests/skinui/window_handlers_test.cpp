// The skinned window's message handlers (size, timers, keys, access keys, wheel, sizing
// border), its properties and switches, keyboard focus and the show animation, on real
// windows with the messages sent through the window procedure.

#include "skinned_window_fixture.h"

#include "skinui/library/window_table.h"
#include "skinui/skin_window/messages.h"

#include <chrono>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

// What one probe saw, as (message, lParam) pairs, in order.
std::vector<std::pair<UINT, LPARAM>> seenBy(const std::string& who) {
    std::vector<std::pair<UINT, LPARAM>> messages;
    for (const Seen& seen : seenLog())
        if (seen.who == who)
            messages.emplace_back(seen.message, seen.lParam);
    return messages;
}

using Pairs = std::vector<std::pair<UINT, LPARAM>>;

// Pumps until the condition holds or the time is up.
template <typename Condition> bool pumpUntil(Condition condition, int milliseconds = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > end)
            return false;
        pumpMessages();
    }
    return true;
}

// Element callbacks as "event id" texts.
struct CallbackLog {
    std::vector<std::string> events;
    void attach(SkinWindow& window) {
        const std::pair<ElementEvent, const char*> kinds[] = {{ElementEvent::Click, "click"},
                                                              {ElementEvent::Focus, "focus"},
                                                              {ElementEvent::Blur, "blur"}};
        for (const auto& [event, name] : kinds) {
            const std::string label = name;
            window.setElementCallback(event, [this, label](HWND, int id, SkinControl*, int) {
                events.push_back(label + " " + std::to_string(id));
            });
        }
    }
};

TEST(SizingZones, BandsAndCornersOfA400By300Window) {
    struct Case {
        int x, y;
        SizingZone zone;
        int cursor;
    };
    const Case cases[] = {
        {5, 3, SizingTopLeft, 32642},      {9, 3, SizingTopLeft, 32642},
        {10, 3, SizingTop, 32645},         {200, 7, SizingTop, 32645},
        {391, 3, SizingTopRight, 32643},   {200, 8, SizingNone, 0},
        {5, 295, SizingBottomLeft, 32643}, {395, 295, SizingBottomRight, 32642},
        {200, 291, SizingBottom, 32645},   {200, 290, SizingNone, 0},
        {7, 150, SizingLeft, 32644},       {8, 150, SizingNone, 0},
        {395, 150, SizingRight, 32644},    {390, 150, SizingNone, 0},
        {9, 150, SizingNone, 0}, // the left band is narrower than the corners
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sizingZone(c.x, c.y, 400, 300), c.zone) << c.x << ", " << c.y;
        EXPECT_EQ(sizingCursorId(c.zone), c.cursor) << c.x << ", " << c.y;
    }
}

TEST(ShowAnimationPlan, AlphasRiseByATwentyFifthOfTheTarget) {
    std::vector<int> forOpacity200;
    for (int i = 0; i < 25; ++i)
        forOpacity200.push_back(8 * i);
    forOpacity200.push_back(254);
    EXPECT_EQ(showAnimationAlphas(1, 200), forOpacity200);

    const std::vector<int> ordinary = showAnimationAlphas(1, 255);
    ASSERT_EQ(ordinary.size(), 26u);
    EXPECT_EQ(ordinary[1], 10);
    EXPECT_EQ(ordinary[24], 240);
    EXPECT_EQ(ordinary[25], 254);

    EXPECT_TRUE(showAnimationAlphas(0, 200).empty());
    EXPECT_TRUE(showAnimationAlphas(2, 200).empty());
}

using WindowHandlers = SkinnedWindowTest;

TEST_F(WindowHandlers, SizingBorderTakesMovesAndPressesOverTheEdges) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement all("all");
    all.create(hwnd, makeRectF(0, 0, 400, 300));
    std::vector<WPARAM> sysCommands;
    window.setMessageHook([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message != WM_SYSCOMMAND)
            return -1;
        sysCommands.push_back(wParam);
        return 0; // keeps the system's sizing loop out of the test
    });

    struct Case {
        int x, y;
        SizingZone zone;
        LPCWSTR cursor;
    };
    const Case cases[] = {{5, 3, SizingTopLeft, IDC_SIZENWSE},
                          {395, 150, SizingRight, IDC_SIZEWE},
                          {390, 150, SizingNone, nullptr},
                          {7, 150, SizingLeft, IDC_SIZEWE},
                          {8, 150, SizingNone, nullptr}};
    for (const Case& c : cases) {
        ::SetCursor(::LoadCursorW(nullptr, IDC_ARROW));
        seenLog().clear();
        sysCommands.clear();
        const bool border = c.zone != SizingNone;
        EXPECT_EQ(window.sizingBorderFilter(hwnd, WM_MOUSEMOVE, at(c.x, c.y)), border)
            << c.x << ", " << c.y;
        EXPECT_EQ(::GetCursor(), ::LoadCursorW(nullptr, border ? c.cursor : IDC_ARROW));

        ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(c.x, c.y));
        if (border) {
            EXPECT_EQ(sysCommands, std::vector<WPARAM>{SC_SIZE | static_cast<WPARAM>(c.zone)});
            EXPECT_EQ(all.count(WM_LBUTTONDOWN), 0u) << "the element never sees the press";
        } else {
            EXPECT_TRUE(sysCommands.empty());
            EXPECT_EQ(all.count(WM_LBUTTONDOWN), 1u);
            ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(c.x, c.y));
        }
    }

    // The element under the mouse is told to repaint when the border takes over; a right
    // press is taken too but starts nothing; a release is never taken.
    ::SendMessageW(hwnd, WM_MOUSEMOVE, 0, at(200, 150));
    ASSERT_EQ(window.hoverElement(), 1);
    seenLog().clear();
    sysCommands.clear();
    EXPECT_TRUE(window.sizingBorderFilter(hwnd, WM_RBUTTONDOWN, at(200, 295)));
    EXPECT_EQ(seenBy("all"), (Pairs{{ElementRepaintMessage, 0}}));
    EXPECT_TRUE(sysCommands.empty());
    EXPECT_FALSE(window.sizingBorderFilter(hwnd, WM_LBUTTONUP, at(200, 295)));
    EXPECT_FALSE(window.sizingBorderFilter(hwnd, WM_RBUTTONUP, at(200, 295)));
}

TEST_F(WindowHandlers, SizingBorderIsOffForFixedSizeCaptureAndMaximized) {
    AttachOptions fixed = noCaption();
    fixed.fixedSize = 1;
    SkinWindow& fixedWindow = skinned(fixed);
    EXPECT_FALSE(fixedWindow.sizingBorderFilter(fixedWindow.hwnd(), WM_MOUSEMOVE, at(5, 3)));

    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement button("button");
    button.create(hwnd, makeRectF(0, 0, 100, 100));
    ::SendMessageW(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at(50, 50));
    ASSERT_TRUE(window.captureActive());
    EXPECT_FALSE(window.sizingBorderFilter(hwnd, WM_MOUSEMOVE, at(5, 3)));
    seenLog().clear();
    ::SendMessageW(hwnd, WM_MOUSEMOVE, MK_LBUTTON, at(5, 3));
    EXPECT_EQ(button.count(WM_MOUSEMOVE), 1u) << "the held element keeps getting the mouse";
    ::SendMessageW(hwnd, WM_LBUTTONUP, 0, at(50, 50));

    EXPECT_EQ(window.resizeSwitch(0), 0);
    EXPECT_FALSE(window.sizingBorderFilter(hwnd, WM_MOUSEMOVE, at(5, 3)));
    EXPECT_EQ(window.resizeSwitch(1), 1);
    EXPECT_TRUE(window.sizingBorderFilter(hwnd, WM_MOUSEMOVE, at(5, 3)));

    ::ShowWindow(hwnd, SW_MAXIMIZE);
    if (::IsZoomed(hwnd)) {
        EXPECT_FALSE(window.sizingBorderFilter(hwnd, WM_MOUSEMOVE, at(5, 3)));
    }
    ::ShowWindow(hwnd, SW_HIDE);
}

TEST_F(WindowHandlers, ElementTimersReachTheElementNamedByTheId) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement first("first"), second("second");
    first.create(hwnd, makeRectF(10, 10, 50, 50));
    second.create(hwnd, makeRectF(100, 10, 50, 50));
    ASSERT_EQ(window.windowIndex(), 1);

    // A real timer: window 1 in the low word, element 2 in the high word.
    seenLog().clear();
    ::SetTimer(hwnd, 0x00020001, 10, nullptr);
    EXPECT_TRUE(pumpUntil([&] { return second.count(WM_TIMER) > 0; }));
    ::KillTimer(hwnd, 0x00020001);
    EXPECT_EQ(first.count(WM_TIMER), 0u);
    for (const Seen& seen : seenLog()) {
        if (seen.who != "second")
            continue;
        EXPECT_EQ(seen.wParam, 0x00020001u) << "the element gets its timer id";
        EXPECT_TRUE(seen.direct);
    }

    // Ids naming no element, or another window, go nowhere (the previous procedure still
    // sees them).
    seenLog().clear();
    for (WPARAM id : {WPARAM{0x00030001}, WPARAM{0x00010002}, WPARAM{0x00000001}, WPARAM{7}})
        ::SendMessageW(hwnd, WM_TIMER, id, 0);
    EXPECT_EQ(first.count(WM_TIMER) + second.count(WM_TIMER), 0u);
    EXPECT_EQ(countSeen("previous", WM_TIMER), 4u);

    // The fade-in's id runs a fade step; element timers wait while the window animates.
    window.redrawWindow(std::nullopt, std::nullopt, true);
    ASSERT_TRUE(window.animating());
    ::KillTimer(hwnd, FadeInTimerId); // the steps are sent by hand below
    seenLog().clear();
    ::SendMessageW(hwnd, WM_TIMER, 0x00020001, 0);
    EXPECT_EQ(second.count(WM_TIMER), 0u);
    ::SendMessageW(hwnd, WM_TIMER, FadeInTimerId, 0);
    EXPECT_EQ(window.fadeInAlpha(), 51);
    EXPECT_EQ(first.count(WM_TIMER) + second.count(WM_TIMER), 0u);
    for (int tick = 2; tick <= 6; ++tick)
        ::SendMessageW(hwnd, WM_TIMER, FadeInTimerId, 0);
    EXPECT_FALSE(window.animating());
    EXPECT_EQ(window.fadeInAlpha(), 0);
    ::SendMessageW(hwnd, WM_TIMER, 0x00020001, 0);
    EXPECT_EQ(second.count(WM_TIMER), 1u);
}

TEST_F(WindowHandlers, EnterAndSpaceClickAnEnabledFocusedElement) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement button("button");
    button.create(hwnd, makeRectF(10, 10, 80, 30));
    CallbackLog callbacks;
    callbacks.attach(window);

    // No focused element: keys go nowhere.
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_TRUE(seenBy("button").empty());
    EXPECT_TRUE(callbacks.events.empty());

    window.setFocusElement(button.getElementId());
    for (WPARAM key : {WPARAM{VK_RETURN}, WPARAM{VK_SPACE}}) {
        seenLog().clear();
        callbacks.events.clear();
        ::SendMessageW(hwnd, WM_KEYDOWN, key, 0x1C0001);
        EXPECT_EQ(seenBy("button"), (Pairs{{ElementClickMessage, 0},
                                           {ElementRepaintMessage, RepaintAny},
                                           {WM_KEYDOWN, 0x1C0001}}))
            << key;
        EXPECT_EQ(callbacks.events, std::vector<std::string>{"click 1"});
    }

    // Disabled (it keeps the focus it had): only the key itself arrives.
    button.disabled(1);
    seenLog().clear();
    callbacks.events.clear();
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(seenBy("button"), (Pairs{{WM_KEYDOWN, 0}}));
    EXPECT_TRUE(callbacks.events.empty());
    button.disabled(0);

    // Tab on key down goes to the element and moves nothing; other keys just arrive.
    seenLog().clear();
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_TAB, 0);
    ::SendMessageW(hwnd, WM_KEYDOWN, 'A', 0);
    EXPECT_EQ(seenBy("button"), (Pairs{{WM_KEYDOWN, 0}, {WM_KEYDOWN, 0}}));
    EXPECT_EQ(window.focusedElement(), 1);
}

TEST_F(WindowHandlers, KeyCallbacksSeeTheFocusedElementAndMayConsume) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement first("first"), second("second");
    first.create(hwnd, makeRectF(10, 10, 80, 30));
    second.create(hwnd, makeRectF(10, 50, 80, 30));
    window.setFocusElement(second.getElementId());

    struct Call {
        std::string which;
        int elementId;
        WPARAM code;
        LPARAM lParam;
        bool operator==(const Call&) const = default;
    };
    std::vector<Call> calls;
    LRESULT answer = -1;
    auto record = [&](const std::string& which) {
        return [&, which](HWND target, int elementId, WPARAM code, LPARAM lParam) -> LRESULT {
            EXPECT_EQ(target, hwnd);
            calls.push_back({which, elementId, code, lParam});
            return answer;
        };
    };
    window.onKeyDown(record("down"));
    window.onKeyUp(record("up"));
    window.onChar(record("char"));

    seenLog().clear();
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 11);
    ::SendMessageW(hwnd, WM_KEYUP, 'Q', 12);
    ::SendMessageW(hwnd, WM_CHAR, 'q', 13);
    EXPECT_EQ(calls, (std::vector<Call>{
                         {"down", 2, VK_RETURN, 11}, {"up", 2, 'Q', 12}, {"char", 2, 'q', 13}}));
    EXPECT_EQ(seenBy("second"), (Pairs{{ElementClickMessage, 0},
                                       {ElementRepaintMessage, RepaintAny},
                                       {WM_KEYDOWN, 11},
                                       {WM_KEYUP, 12},
                                       {WM_CHAR, 13}}));
    EXPECT_TRUE(seenBy("first").empty());

    // Any other answer consumes the key: the element sees nothing, and nothing is clicked.
    answer = 0;
    seenLog().clear();
    ::SendMessageW(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    ::SendMessageW(hwnd, WM_KEYUP, 'Q', 0);
    ::SendMessageW(hwnd, WM_CHAR, 'q', 0);
    EXPECT_TRUE(seenBy("second").empty());
    EXPECT_EQ(calls.size(), 6u);
    // The window's previous procedure still sees every key.
    EXPECT_EQ(countSeen("previous", WM_KEYDOWN), 1u);
}

TEST_F(WindowHandlers, TabWrapsOverTabStopsOnly) {
    // The standard caption: close and minimize buttons, then the icon, are elements 1 to 3.
    SkinWindow& window = skinned();
    const HWND hwnd = window.hwnd();
    ASSERT_EQ(windowRecord(1)->elements.size(), 3u);
    ProbeElement first("first"), hidden("hidden"), disabled("disabled"), plain("plain"),
        last("last");
    first.create(hwnd, makeRectF(20, 40, 50, 20));
    hidden.create(hwnd, makeRectF(20, 70, 50, 20), 0);
    disabled.create(hwnd, makeRectF(20, 100, 50, 20));
    disabled.disabled(1);
    plain.create(hwnd, makeRectF(20, 130, 50, 20), 1, false);
    last.create(hwnd, makeRectF(20, 160, 50, 20));
    CallbackLog callbacks;
    callbacks.attach(window);

    std::vector<int> visited;
    for (int press = 0; press < 4; ++press) {
        ::SendMessageW(hwnd, WM_KEYUP, VK_TAB, 0);
        visited.push_back(window.focusedElement());
    }
    EXPECT_EQ(visited, (std::vector<int>{4, 8, 4, 8}));
    EXPECT_TRUE(window.keyboardFocusShown());
    EXPECT_EQ(::GetFocus(), hwnd);

    // One move: the old element repaints without focus, then the new one with it.
    seenLog().clear();
    callbacks.events.clear();
    ::SendMessageW(hwnd, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(seenBy("last"), (Pairs{{ElementRepaintMessage, RepaintLostFocus}}));
    EXPECT_EQ(seenBy("first"), (Pairs{{ElementRepaintMessage, RepaintAny}}));
    EXPECT_EQ(callbacks.events,
              (std::vector<std::string>{"blur " + std::to_string(last.getElementId()),
                                        "focus " + std::to_string(first.getElementId())}));

    // With Ctrl held Tab moves nothing.
    BYTE keys[256];
    ::GetKeyboardState(keys);
    const BYTE control = keys[VK_CONTROL];
    keys[VK_CONTROL] = 0x80;
    ::SetKeyboardState(keys);
    ::SendMessageW(hwnd, WM_KEYUP, VK_TAB, 0);
    keys[VK_CONTROL] = control;
    ::SetKeyboardState(keys);
    EXPECT_EQ(window.focusedElement(), 4);

    // The only tab stop left keeps the focus through a whole pass.
    last.disabled(1);
    ::SendMessageW(hwnd, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(window.focusedElement(), 4);
}

TEST_F(WindowHandlers, TabWithoutTabStopsLeavesTheFocus) {
    // Only caption parts and an element that takes no focus.
    SkinWindow& window = skinned();
    const HWND hwnd = window.hwnd();
    ProbeElement only("only");
    only.create(hwnd, makeRectF(20, 40, 50, 20));
    window.setFocusElement(only.getElementId());
    ASSERT_EQ(window.focusedElement(), 4);
    only.disabled(1);
    seenLog().clear();
    ::SendMessageW(hwnd, WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(window.focusedElement(), 4);
    EXPECT_FALSE(window.keyboardFocusShown());
    EXPECT_TRUE(seenBy("only").empty());

    // No elements at all.
    SkinWindow& empty = skinned(noCaption());
    ::SendMessageW(empty.hwnd(), WM_KEYUP, VK_TAB, 0);
    EXPECT_EQ(empty.focusedElement(), 0);
    EXPECT_FALSE(empty.keyboardFocusShown());
}

TEST_F(WindowHandlers, AccessKeysClickTheFirstVisibleEnabledMatch) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement save("save"), hidden("hidden"), other("other");
    save.create(hwnd, makeRectF(10, 10, 80, 30));
    hidden.create(hwnd, makeRectF(10, 50, 80, 30), 0);
    other.create(hwnd, makeRectF(10, 90, 80, 30));
    CallbackLog callbacks;
    callbacks.attach(window);

    // Registered the way buttons do it, with the character after "&" in their caption.
    EXPECT_EQ(::SendMessageW(hwnd, RegisterMnemonicMessage, hidden.getElementId(), 's'), 1);
    EXPECT_EQ(::SendMessageW(hwnd, RegisterMnemonicMessage, save.getElementId(), 's'), 1);
    EXPECT_EQ(::SendMessageW(hwnd, RegisterMnemonicMessage, other.getElementId(), 'O'), 1);

    seenLog().clear();
    ::SendMessageW(hwnd, WM_SYSKEYDOWN, 'S', 0x20000000); // Alt+S: virtual key 0x53
    EXPECT_EQ(seenBy("save"),
              (Pairs{{ElementClickMessage, 0}, {ElementRepaintMessage, RepaintAny}}));
    EXPECT_TRUE(seenBy("hidden").empty());
    EXPECT_EQ(callbacks.events, std::vector<std::string>{"click 1"});
    EXPECT_EQ(window.handleSysKeyDown(hwnd, 'o', 0), 7) << "the repaint's result";

    // A disabled match is passed over too; a key without a match clicks nothing.
    save.disabled(1);
    seenLog().clear();
    ::SendMessageW(hwnd, WM_SYSKEYDOWN, 'S', 0x20000000);
    ::SendMessageW(hwnd, WM_SYSKEYDOWN, 'X', 0x20000000);
    EXPECT_TRUE(seenBy("save").empty());
    EXPECT_TRUE(seenBy("other").empty());
}

TEST_F(WindowHandlers, StoreMnemonicResults) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    auto store = [&](int id, int character) {
        return ::SendMessageW(hwnd, RegisterMnemonicMessage, id, character);
    };
    auto characters = [&] {
        std::vector<std::pair<int, int>> list;
        for (const Mnemonic& m : window.mnemonics())
            list.emplace_back(m.elementId, m.character);
        return list;
    };
    using List = std::vector<std::pair<int, int>>;

    EXPECT_EQ(store(7, 0), 0) << "nothing to remove";
    EXPECT_EQ(store(7, 'S'), 1);
    EXPECT_EQ(store(7, 'S'), 1);
    EXPECT_EQ(characters(), (List{{7, 'S'}})) << "one record per element";
    EXPECT_EQ(store(8, 'y'), 1);
    EXPECT_EQ(store(7, 'x'), 1);
    EXPECT_EQ(characters(), (List{{7, 'x'}, {8, 'y'}})) << "replaced in place";
    EXPECT_EQ(store(7, 0), 1);
    EXPECT_EQ(characters(), (List{{8, 'y'}}));
    EXPECT_EQ(store(7, 0), 0);
}

TEST_F(WindowHandlers, WheelGoesToTheElementUnderTheScreenPoint) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement list("list");
    list.create(hwnd, makeRectF(10, 10, 100, 100));
    RECT rect;
    ::GetWindowRect(hwnd, &rect);

    seenLog().clear();
    const LPARAM over = MAKELPARAM(rect.left + 50, rect.top + 60);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), over);
    ::SendMessageW(hwnd, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA),
                   MAKELPARAM(rect.left + 200, rect.top + 60));
    EXPECT_EQ(list.count(WM_MOUSEWHEEL), 1u) << "only the first is over the element";
    EXPECT_EQ(countSeen("previous", WM_MOUSEWHEEL), 2u);
    for (const Seen& seen : seenLog()) {
        if (seen.who != "list")
            continue;
        EXPECT_EQ(seen.lParam, over) << "passed on in screen coordinates";
        EXPECT_FALSE(seen.direct) << "it draws into the frame only";
    }
}

TEST_F(WindowHandlers, SizeRecreatesTheWindowBuffersAndCallsOnSize) {
    AttachOptions layered = noCaption();
    layered.backgroundColor = 0x00FF00;
    layered.opacity = 200;
    SkinWindow& window = skinned(layered);
    const HWND hwnd = window.hwnd();
    std::vector<std::pair<int, int>> sizes;
    int paints = 0;
    window.onSize([&](HWND target, int cx, int cy) {
        EXPECT_EQ(target, hwnd);
        EXPECT_EQ(paints, 0) << "onSize comes before the redraw";
        sizes.emplace_back(cx, cy);
    });
    window.setOnPaint([&](HWND, Gdiplus::GpGraphics*, HDC, int cx, int cy) {
        EXPECT_EQ(cx, 500);
        EXPECT_EQ(cy, 350);
        ++paints;
    });
    const int frameWidth = windowRecord(1)->frame.width();

    ::SetWindowPos(hwnd, nullptr, 0, 0, 500, 350, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(sizes, (std::vector<std::pair<int, int>>{{500, 350}}));
    EXPECT_EQ(paints, 1);
    const WindowRecord& record = *windowRecord(1);
    EXPECT_EQ(window.windowSize().cx, 500);
    EXPECT_EQ(window.windowSize().cy, 350);
    EXPECT_EQ(record.windowBuffer.width(), 500);
    EXPECT_EQ(record.windowBuffer.height(), 350);
    EXPECT_EQ(record.layer.width(), 500);
    EXPECT_EQ(record.layer.height(), 350);
    EXPECT_EQ(record.frame.width(), frameWidth) << "the frame buffer keeps its size";
    // The new area is painted: the background colour at the new bottom right, with the
    // window's alpha.
    const std::uint32_t pixel = record.layer.pixel(480, 330);
    EXPECT_TRUE(nearColor(pixel, 0x00C800)) << std::hex << pixel; // premultiplied by 200
    EXPECT_NEAR(static_cast<int>(pixel >> 24), 200, 2);

    // Minimized (0, 0): nothing.
    ::SendMessageW(hwnd, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_EQ(sizes.size(), 1u);
    EXPECT_EQ(windowRecord(1)->windowBuffer.width(), 500);
}

TEST_F(WindowHandlers, OpacityAndLookPropertiesRedrawOnlyWhenTheyChange) {
    SkinWindow& ordinary = skinned(noCaption());
    EXPECT_EQ(ordinary.opacity(128), -1);
    EXPECT_EQ(windowRecord(1)->opacity, -1);
    EXPECT_EQ(::GetWindowLongPtrW(ordinary.hwnd(), GWL_EXSTYLE) & WS_EX_LAYERED, 0);

    AttachOptions layeredOptions = noCaption();
    layeredOptions.opacity = 200;
    SkinWindow& layered = skinned(layeredOptions);
    int paints = 0;
    layered.setOnPaint([&](HWND, Gdiplus::GpGraphics*, HDC, int, int) { ++paints; });

    EXPECT_EQ(layered.opacity(128), 128);
    EXPECT_EQ(paints, 1);
    EXPECT_NEAR(static_cast<int>(windowRecord(2)->frame.pixel(200, 150) >> 24), 128, 2);
    EXPECT_EQ(layered.opacity(-1), 128) << "a layered window stays layered";
    EXPECT_EQ(layered.opacity(), 128);
    EXPECT_EQ(paints, 1);

    EXPECT_EQ(layered.imageDrawMode(0), 0);
    EXPECT_EQ(paints, 1) << "the same mode redraws nothing";
    EXPECT_EQ(layered.imageDrawMode(1), 1);
    EXPECT_EQ(paints, 2);

    EXPECT_EQ(layered.frameStyle(0, false), 0);
    EXPECT_EQ(layered.frameStyle(), 0);
    EXPECT_EQ(paints, 2);
    EXPECT_EQ(layered.frameStyle(5), 5);
    EXPECT_EQ(paints, 3);

    EXPECT_EQ(layered.fadeElements(0), 0);
    EXPECT_EQ(windowRecord(2)->fadeElements, 0);
    EXPECT_EQ(layered.fadeElements(), 0);
    EXPECT_EQ(paints, 3);
}

TEST_F(WindowHandlers, SwitchesReadBackWhatWasSet) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    EXPECT_EQ(window.resizeSwitch(), 1);
    EXPECT_EQ(window.resizeSwitch(0), 0);
    EXPECT_EQ(window.fixedSize(), 1);
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME, 0);
    EXPECT_EQ(window.resizeSwitch(1), 1);
    EXPECT_EQ(window.fixedSize(), 0);
    EXPECT_NE(::GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_THICKFRAME, 0);

    EXPECT_EQ(window.dragSwitch(), 1);
    EXPECT_EQ(window.dragSwitch(0), 0);
    EXPECT_EQ(window.dragDisabled(), 1);
    EXPECT_EQ(window.dragSwitch(1), 1);
    EXPECT_EQ(window.dragDisabled(), 0);
}

TEST_F(WindowHandlers, CaptionButtonsAreConfiguredByKind) {
    AttachOptions options = noCaption();
    options.captionFlags = CaptionTitle | CaptionClose | CaptionMinimize;
    SkinWindow& window = skinned(options);
    ASSERT_EQ(window.captionButtons().size(), 2u);
    SkinCaptionButton& close = *window.captionButtons()[0];
    SkinCaptionButton& minimize = *window.captionButtons()[1];
    ProbeElement probe("probe");
    probe.create(window.hwnd(), makeRectF(20, 40, 50, 20));

    EXPECT_EQ(window.captionButtonKindOf(close.getElementId()), CaptionButtonClose);
    EXPECT_EQ(window.captionButtonKindOf(minimize.getElementId()), CaptionButtonMinimize);
    EXPECT_EQ(window.captionButtonKindOf(probe.getElementId()), 0);

    EXPECT_EQ(window.configureCaptionButton(CaptionButtonClose, CaptionButtonSetting::Disabled, 5),
              0);
    EXPECT_EQ(close.disabled(), 1);
    EXPECT_EQ(minimize.disabled(), 0);
    window.configureCaptionButton(CaptionButtonClose, CaptionButtonSetting::Disabled, 0);
    EXPECT_EQ(close.disabled(), 0);

    window.configureCaptionButton(CaptionButtonMinimize, CaptionButtonSetting::TooltipText,
                                  std::string("最小化"));
    EXPECT_EQ(minimize.tooltipText(), "最小化");
    EXPECT_EQ(minimize.toolText(), "") << "stored, not shown";

    window.configureCaptionButton(CaptionButtonMinimize, CaptionButtonSetting::Bounds,
                                  makeRectF(300.9f, 6.5f, 30.99f, 19.2f));
    EXPECT_EQ(minimize.getBounds(), makeRectF(300, 6, 30, 19));

    // A kind the window lacks, or a value of the wrong type, changes nothing.
    window.configureCaptionButton(CaptionButtonMaximize, CaptionButtonSetting::Disabled, 1);
    window.configureCaptionButton(CaptionButtonClose, CaptionButtonSetting::Disabled,
                                  std::string("1"));
    EXPECT_EQ(close.disabled(), 0);
    EXPECT_EQ(minimize.disabled(), 0);
}

TEST_F(WindowHandlers, SetFocusElementRules) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement a("a"), b("b"), disabled("disabled"), plain("plain");
    a.create(hwnd, makeRectF(10, 10, 50, 20));
    b.create(hwnd, makeRectF(10, 40, 50, 20));
    disabled.create(hwnd, makeRectF(10, 70, 50, 20));
    disabled.disabled(1);
    plain.create(hwnd, makeRectF(10, 100, 50, 20), 1, false);
    CallbackLog callbacks;
    callbacks.attach(window);

    seenLog().clear();
    window.setFocusElement(a.getElementId());
    EXPECT_EQ(window.focusedElement(), 1);
    EXPECT_EQ(window.hoverElement(), 1);
    EXPECT_EQ(seenBy("a"), (Pairs{{ElementRepaintMessage, RepaintAny}}));

    seenLog().clear();
    window.setFocusElement(b.getElementId());
    EXPECT_EQ(window.focusedElement(), 2);
    EXPECT_EQ(window.hoverElement(), 2);
    EXPECT_EQ(seenBy("a"), (Pairs{{ElementRepaintMessage, RepaintLostFocus}}));
    EXPECT_EQ(seenBy("b"), (Pairs{{ElementRepaintMessage, RepaintAny}}));

    seenLog().clear();
    window.setFocusElement(b.getElementId()); // again: no lost-focus look for itself
    EXPECT_EQ(seenBy("b"), (Pairs{{ElementRepaintMessage, RepaintAny}}));

    for (int id : {disabled.getElementId(), plain.getElementId(), 99, 0})
        window.setFocusElement(id);
    EXPECT_EQ(window.focusedElement(), 2);
    EXPECT_TRUE(callbacks.events.empty()) << "no focus callbacks";
    EXPECT_FALSE(window.keyboardFocusShown());
}

TEST_F(WindowHandlers, ShowAnimatedFadesAnOrdinaryWindowInAsALayeredOne) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ASSERT_FALSE(::IsWindowVisible(hwnd));
    bool sawShow = false;
    window.setMessageHook([&](HWND, UINT message, WPARAM wParam, LPARAM) -> LRESULT {
        if (message == WM_SHOWWINDOW && wParam) {
            sawShow = true;
            EXPECT_TRUE(window.animating());
            EXPECT_NE(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0)
                << "layered while the frames are presented";
        }
        return -1;
    });

    const auto start = std::chrono::steady_clock::now();
    window.showAnimated(1);
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(sawShow);
    EXPECT_GE(elapsed, std::chrono::milliseconds(25 * 8));
    EXPECT_TRUE(::IsWindowVisible(hwnd));
    EXPECT_FALSE(window.animating());
    EXPECT_EQ(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
    EXPECT_EQ(windowRecord(1)->layer.dc(), nullptr);
    ::ShowWindow(hwnd, SW_HIDE);
}

TEST_F(WindowHandlers, ShowAnimatedKeepsALayeredWindowLayered) {
    AttachOptions options = noCaption();
    options.opacity = 200;
    for (int mode : {1, 0}) {
        SkinWindow& window = skinned(options);
        const HWND hwnd = window.hwnd();
        window.showAnimated(mode);
        EXPECT_TRUE(::IsWindowVisible(hwnd)) << mode;
        EXPECT_FALSE(window.animating());
        EXPECT_NE(::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_LAYERED, 0);
        const WindowRecord* record = windowRecord(window.windowIndex());
        ASSERT_NE(record, nullptr);
        EXPECT_NE(record->layer.dc(), nullptr);
        // The layer still holds the window's picture at its alpha.
        EXPECT_NEAR(static_cast<int>(record->layer.pixel(200, 150) >> 24), 200, 3);
        ::ShowWindow(hwnd, SW_HIDE);
    }
}

TEST_F(WindowHandlers, DetachUndoesTheAttach) {
    SkinWindow& window = skinned(noCaption());
    const HWND hwnd = window.hwnd();
    ProbeElement probe("probe");
    probe.create(hwnd, makeRectF(10, 10, 50, 20));
    window.storeMnemonic(probe.getElementId(), 'p');
    window.detach();
    EXPECT_FALSE(window.isAttached());
    EXPECT_TRUE(windowTable().empty());
    EXPECT_TRUE(window.mnemonics().empty());
    EXPECT_EQ(probe.count(WM_DESTROY), 1u);
    EXPECT_FALSE(probe.isCreated());
    window.detach(); // nothing the second time
}

} // namespace
