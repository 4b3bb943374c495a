// The skinned message box under its own modal loop: a timer on the test thread acts on the
// open box (reads its buffers, posts mouse and key input, closes it from outside) while
// showSkinMessageBox runs, and the test looks at the result, the owner and the queue after.

#include "skinned_window_fixture.h"

#include "support/window_search.h"
#include "skinui/ink_box.h"
#include "skinui/library/helpers.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/message_box/box_layout.h"
#include "skinui/message_box/skin_message_box.h"
#include "skinui/pictures.h"
#include "skinui/skin_image/skin_image.h"
#include "skinui/text_conversion.h"

#include "resources/resource_ids.h"

#include <chrono>
#include <cmath>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace skinui;
using namespace skinui::testing;

MessageBoxObjects& shared() {
    return Library::instance().messageBox;
}

const WindowRecord* boxRecord(HWND box) {
    return windowRecord(findWindowIndex(box));
}

// One thing to do to the open box; true when done, false to be asked again on the next tick.
using Step = std::function<bool(HWND box)>;

// Runs its steps, one per timer tick, while a box is open. The timer is a thread timer with
// a callback, so only a loop that dispatches the thread's messages (the box's) runs it.
// Boxes still open after some seconds are destroyed, so a fault cannot hang the test
// program.
class BoxDriver {
  public:
    explicit BoxDriver(std::vector<Step> steps) : steps_(std::move(steps)) {
        active() = this;
        started_ = std::chrono::steady_clock::now();
        timer_ = ::SetTimer(nullptr, 0, 15, &BoxDriver::tick);
    }
    ~BoxDriver() {
        ::KillTimer(nullptr, timer_);
        active() = nullptr;
    }
    BoxDriver(const BoxDriver&) = delete;
    BoxDriver& operator=(const BoxDriver&) = delete;

    bool finished() const { return next_ == steps_.size(); }
    bool timedOut() const { return timedOut_; }

  private:
    static BoxDriver*& active() {
        static BoxDriver* driver = nullptr;
        return driver;
    }
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        if (BoxDriver* driver = active())
            driver->step();
    }
    void step() {
        if (std::chrono::steady_clock::now() - started_ > std::chrono::seconds(10)) {
            // Also from inside a step, when the step opened a box that did not return.
            timedOut_ = true;
            destroyAllBoxes();
            return;
        }
        const HWND box = shared().box;
        if (!box || running_ || next_ == steps_.size())
            return;
        running_ = true;
        if (steps_[next_](box))
            ++next_;
        running_ = false;
    }
    static void destroyAllBoxes() {
        std::vector<HWND> boxes;
        testing_support::forEachThreadWindow([&](HWND hwnd) {
            if (testing_support::windowClassName(hwnd) == L"Ex_DirectUI")
                boxes.push_back(hwnd);
            return true;
        });
        for (HWND hwnd : boxes)
            ::DestroyWindow(hwnd);
    }

    std::vector<Step> steps_;
    size_t next_ = 0;
    UINT_PTR timer_ = 0;
    bool running_ = false;
    bool timedOut_ = false;
    std::chrono::steady_clock::time_point started_;
};

// --- steps ------------------------------------------------------------------------------

// Until the box is on the screen and takes the mouse.
Step whenShown() {
    return [](HWND box) { return ::IsWindowVisible(box) && !shared().window->animating(); };
}

Step check(std::function<void(HWND box)> what) {
    return [what = std::move(what)](HWND box) {
        what(box);
        return true;
    };
}

Step post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    return check([=](HWND box) { ::PostMessageW(box, message, wParam, lParam); });
}

void clickAt(HWND box, const RectF& bounds) {
    const LPARAM centre = at(static_cast<int>(bounds.x + bounds.width / 2),
                             static_cast<int>(bounds.y + bounds.height / 2));
    ::PostMessageW(box, WM_MOUSEMOVE, 0, centre);
    ::PostMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, centre);
    ::PostMessageW(box, WM_LBUTTONUP, 0, centre);
}

// The box's button at position 1, 2 or 3 from the right.
Step clickButton(int position) {
    return check([=](HWND box) { clickAt(box, shared().buttons[position - 1]->getBounds()); });
}

Step clickCloseButton() {
    return check([](HWND box) {
        const auto& parts = shared().window->captionButtons();
        ASSERT_EQ(parts.size(), 1u) << "the box's caption has only the close button";
        // At the top right, every time the shared window is attached to a new box.
        const RectF bounds = parts.front()->getBounds();
        RECT client{};
        ::GetClientRect(box, &client);
        EXPECT_GT(bounds.x, client.right - 60.0f);
        EXPECT_LE(bounds.x + bounds.width, float(client.right));
        EXPECT_LT(bounds.y, 10.0f);
        clickAt(box, bounds);
    });
}

Step pressEscape() {
    return post(WM_KEYDOWN, VK_ESCAPE, 0x00010001);
}

// --- what a box looked like when it was built ---------------------------------------------

struct BuiltBox {
    HWND hwnd = nullptr;
    int width = 0, height = 0; // as given to onCreated
    RECT windowRect{};
    RectF label;
    std::string title;
    struct Button {
        std::string caption, tag;
        RectF bounds;
    };
    std::vector<Button> buttons; // by position from the right
    int windowsInTable = 0;
};

// onCreated that records the box into `built`, then runs `also`.
std::function<void(HWND, int, int)> recordInto(BuiltBox& built,
                                               std::function<void(HWND)> also = nullptr) {
    return [&built, also = std::move(also)](HWND box, int width, int height) {
        built.hwnd = box;
        built.width = width;
        built.height = height;
        ::GetWindowRect(box, &built.windowRect);
        built.label = shared().label->getBounds();
        wchar_t title[64] = {};
        ::GetWindowTextW(box, title, 64);
        built.title = toUtf8(title);
        for (const auto& button : shared().buttons)
            if (button->isCreated())
                built.buttons.push_back({button->text(), button->tag(), button->getBounds()});
        built.windowsInTable = static_cast<int>(windowTable().size());
        if (also)
            also(box);
    };
}

// Top-level windows of the skinned class on this thread that are visible.
int visibleBoxes() {
    int count = 0;
    testing_support::forEachThreadWindow([&](HWND hwnd) {
        count += ::IsWindowVisible(hwnd) && testing_support::windowClassName(hwnd) == L"Ex_DirectUI";
        return true;
    });
    return count;
}

class MessageBoxTest : public SkinnedWindowTest {
  protected:
    void TearDown() override {
        MSG msg;
        EXPECT_FALSE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
            << "a WM_QUIT was left in the queue";
        EXPECT_EQ(shared().box, nullptr);
        SkinnedWindowTest::TearDown();
    }

    // Shows a box driven by the steps; the result of showSkinMessageBox.
    int show(HWND owner, std::string_view text, const MessageBoxOptions& options,
             std::vector<Step> steps) {
        BoxDriver driver(std::move(steps));
        const int result = showSkinMessageBox(owner, text, options);
        EXPECT_TRUE(driver.finished()) << "the box closed before all its steps ran";
        EXPECT_FALSE(driver.timedOut()) << "the box did not close; the test destroyed it";
        return result;
    }

    // An ordinary skinned window to own boxes.
    HWND owner() {
        AttachOptions options = noCaptionFixedSize();
        return skinned(options, 400, 300).hwnd();
    }
};

TEST(MessageBoxTables, ButtonSetsFromTheRightAndIconCells) {
    struct SetCase {
        int set;
        std::vector<std::pair<std::string, int>> buttons;
    };
    const SetCase sets[] = {
        {0, {{"确认", 0}}},
        {1, {{"取消", 1}, {"确认", 0}}},
        {2, {{"放弃", 2}, {"重试", 3}, {"忽略", 4}}},
        {3, {{"取消", 1}, {"否", 6}, {"是", 5}}},
        {4, {{"否", 6}, {"是", 5}}},
        {5, {{"取消", 1}, {"重试", 3}}},
        {6, {}},
        {-1, {}},
    };
    for (const SetCase& c : sets) {
        std::vector<std::pair<std::string, int>> got;
        for (const BoxButton& button : buttonSetOf(c.set))
            got.emplace_back(button.caption, button.result);
        EXPECT_EQ(got, c.buttons) << "set " << c.set;
    }
    const std::pair<int, int> icons[] = {{16, 0},    {48, 40}, {32, 80}, {64, 120},
                                         {128, 160}, {1, 0},   {80, 0}};
    for (const auto& [kind, x] : icons)
        EXPECT_EQ(iconSourceX(kind), x) << "kind " << kind;
}

TEST_F(MessageBoxTest, SizeTextPlaceAndTitleFollowTheText) {
    const HWND parent = owner();
    const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = ::GetSystemMetrics(SM_CYSCREEN);
    auto measured = [](HWND box, const std::string& text) {
        return *measureString(boxRecord(box)->frame.graphics(), text,
                              Library::instance().defaultFont.get(), nullptr, RectF{});
    };

    // One short line with an icon: the first size; the text 4 lower than its rectangle.
    {
        BuiltBox built;
        MessageBoxOptions options;
        options.iconKind = MB_ICONINFORMATION;
        options.beep = false;
        options.onCreated = recordInto(built);
        EXPECT_EQ(show(parent, "已切换。", options, {whenShown(), pressEscape()}), 1);
        EXPECT_EQ(built.width, 320);
        EXPECT_EQ(built.height, 150);
        EXPECT_EQ(built.windowRect.right - built.windowRect.left, 320);
        EXPECT_EQ(built.windowRect.bottom - built.windowRect.top, 150);
        EXPECT_EQ(built.label, makeRectF(85, 47, 200, 50));
        EXPECT_EQ(built.title, "提示：") << "the title when none is given";
        EXPECT_EQ(built.windowRect.left, (screenWidth - 320) / 2);
        EXPECT_EQ(built.windowRect.top, (screenHeight - 150) / 2);
    }

    // A line about 300 wide without an icon: the box grows by the margin beside the text
    // (60) and is centred again; the text rectangle is 10 wider than the text.
    {
        const std::string wide = "Rank badges switched: all files are in place, restart now";
        BuiltBox built;
        RectF m;
        MessageBoxOptions options;
        options.title = "切换";
        options.onCreated = recordInto(built, [&](HWND box) { m = measured(box, wide); });
        EXPECT_EQ(show(parent, wide, options, {whenShown(), pressEscape()}), 1);
        ASSERT_GT(m.width, 280);
        ASSERT_LT(m.width, 330);
        const int width = static_cast<int>(m.width + 60);
        EXPECT_EQ(built.width, width);
        EXPECT_EQ(built.windowRect.right - built.windowRect.left, width);
        EXPECT_EQ(built.height, 150);
        EXPECT_EQ(built.windowRect.left, static_cast<int>((screenWidth - width) / 2.0));
        EXPECT_EQ(built.label,
                  makeRectF(30, 47, static_cast<float>(static_cast<int>(m.width + 10)), 50));
        EXPECT_EQ(built.title, "切换");
        // The one button sits at the creation offset from the grown width.
        ASSERT_EQ(built.buttons.size(), 1u);
        EXPECT_EQ(built.buttons[0].bounds, makeRectF(float(width - 83), 114, 70, 24));
    }

    // Six lines: taller by the margin above and below (100); not moved down.
    {
        const std::string tall = "一\n二\n三\n四\n五\n六";
        BuiltBox built;
        RectF m;
        MessageBoxOptions options;
        options.buttonSet = 1;
        options.onCreated = recordInto(built, [&](HWND box) { m = measured(box, tall); });
        EXPECT_EQ(show(parent, tall, options, {whenShown(), pressEscape()}), 1);
        ASSERT_GT(m.height, 50);
        const int height = static_cast<int>(m.height + 100);
        EXPECT_EQ(built.width, 320);
        EXPECT_EQ(built.height, height);
        EXPECT_EQ(built.windowRect.bottom - built.windowRect.top, height);
        EXPECT_EQ(built.windowRect.top, static_cast<int>((screenHeight - height) / 2.0));
        EXPECT_EQ(built.label,
                  makeRectF(30, 43, 260, static_cast<float>(static_cast<int>(m.height + 5))));
        ASSERT_EQ(built.buttons.size(), 2u);
        EXPECT_EQ(built.buttons[1].bounds.y, float(height - 36));
    }
}

TEST_F(MessageBoxTest, TheTextIsDrawnInItsRectangle) {
    const HWND parent = owner();
    MessageBoxOptions options;
    options.iconKind = MB_ICONWARNING;
    options.beep = false;
    InkBox ink;
    show(parent, "请先关闭客户端", options,
         {whenShown(), check([&](HWND box) {
              ink = inkBox(boxRecord(box)->frame, 70, 41, 240, 60,
                           [](std::uint32_t p) { return darkerThan(p, 110); });
          }),
          pressEscape()});
    ASSERT_FALSE(ink.empty()) << "no dark text beside the icon";
    EXPECT_GE(ink.left, 85);
    EXPECT_LE(ink.left, 90);
    EXPECT_GE(ink.top, 47);
    EXPECT_LE(ink.top, 56);
    EXPECT_LT(ink.bottom, 75) << "one line";
}

TEST_F(MessageBoxTest, EachButtonSetShowsItsButtonsAndReturnsTheOnePressed) {
    const HWND parent = owner();
    struct Case {
        int set;
        std::vector<std::string> captions; // from the right
        int press;                         // position from the right
        int result;
    };
    const Case cases[] = {
        {2, {"放弃", "重试", "忽略"}, 3, 4},
        {0, {"确认"}, 1, 0},
        {4, {"否", "是"}, 2, 5},
        {4, {"否", "是"}, 1, 6},
        {3, {"取消", "否", "是"}, 2, 6},
        {1, {"取消", "确认"}, 2, 0},
        {5, {"取消", "重试"}, 2, 3},
        {5, {"取消", "重试"}, 1, 1},
    };
    for (const Case& c : cases) {
        BuiltBox built;
        MessageBoxOptions options;
        options.buttonSet = c.set;
        options.onCreated = recordInto(built);
        EXPECT_EQ(show(parent, "继续吗？", options, {whenShown(), clickButton(c.press)}), c.result)
            << "set " << c.set << " position " << c.press;
        ASSERT_EQ(built.buttons.size(), c.captions.size()) << "set " << c.set;
        const int offsets[] = {83, 158, 233};
        for (size_t i = 0; i < c.captions.size(); ++i) {
            EXPECT_EQ(built.buttons[i].caption, c.captions[i]) << "set " << c.set;
            EXPECT_EQ(built.buttons[i].bounds, makeRectF(float(320 - offsets[i]), 150 - 36, 70, 24))
                << "set " << c.set << " position " << i + 1;
        }
        EXPECT_TRUE(::IsWindowEnabled(parent));
        EXPECT_FALSE(::IsWindow(built.hwnd));
    }
}

TEST_F(MessageBoxTest, BoxesClosedWithoutAButtonReturnCancelAndEnableTheOwner) {
    struct Case {
        const char* how;
        int buttonSet;
        Step close;
    };
    const Case cases[] = {
        {"Esc", 4, pressEscape()},
        {"Esc, no buttons", 9, pressEscape()},
        {"close button", 0, clickCloseButton()},
        {"close button, no buttons", 9, clickCloseButton()},
        {"WM_CLOSE", 4, post(WM_CLOSE)},
        {"Alt+F4", 4, post(WM_SYSKEYDOWN, VK_F4, 0x203E0001)},
        {"SC_CLOSE", 1, post(WM_SYSCOMMAND, SC_CLOSE)},
        {"DestroyWindow", 2, check([](HWND box) { ::DestroyWindow(box); })},
    };
    const HWND parent = owner();
    ::ShowWindow(parent, SW_SHOW);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.how);
        bool disabledWhileOpen = false;
        MessageBoxOptions options;
        options.buttonSet = c.buttonSet;
        const int result =
            show(parent, "确定要退出吗？", options,
                 {whenShown(), check([&](HWND) { disabledWhileOpen = !::IsWindowEnabled(parent); }),
                  c.close});
        EXPECT_EQ(result, 1) << c.how;
        EXPECT_TRUE(disabledWhileOpen) << c.how;
        EXPECT_TRUE(::IsWindowEnabled(parent)) << c.how;
        EXPECT_EQ(visibleBoxes(), 0) << c.how;
        EXPECT_EQ(::GetActiveWindow(), parent) << c.how << "the owner is not active again";
    }
}

TEST_F(MessageBoxTest, IconCellOfTheKindIsDrawnAndOnlyThenABeep) {
    SkinImage strip;
    ASSERT_NE(strip.loadFromBytes(moduleResource(IDR_MESSAGE_ICONS)), nullptr);
    ASSERT_EQ(strip.width(), 200);
    ASSERT_EQ(strip.height(), 40);
    const HWND parent = owner();

    // The box's background layer over the icon cell, and a column right of it.
    struct Drawn {
        std::vector<std::uint32_t> cell, beside;
    };
    auto readCell = [](Drawn& drawn) {
        return check([&drawn](HWND box) {
            const BackBuffer& layer = boxRecord(box)->windowBuffer;
            for (int y = 40; y < 80; ++y) {
                drawn.beside.push_back(layer.pixel(150, y));
                for (int x = 30; x < 70; ++x)
                    drawn.cell.push_back(layer.pixel(x, y));
            }
        });
    };
    // How many opaque pixels of the strip cell at sourceX show in the drawn cell, of how many.
    auto matches = [&](const Drawn& drawn, int sourceX) {
        std::pair<int, int> counts{0, 0};
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x) {
                const std::uint32_t source = strip.pixel(sourceX + x, y);
                if (alphaOf(source) != 255)
                    continue;
                ++counts.second;
                counts.first += nearColor(drawn.cell[y * 40 + x], source & 0xFFFFFF);
            }
        return counts;
    };

    std::vector<UINT> beeps;
    MessageBoxOptions options;
    options.playBeep = [&](UINT type) { beeps.push_back(type); };

    options.iconKind = MB_ICONWARNING;
    Drawn warning;
    show(parent, "文件已损坏", options, {whenShown(), readCell(warning), pressEscape()});
    const auto [warningShown, warningOpaque] = matches(warning, 40);
    ASSERT_GT(warningOpaque, 100);
    EXPECT_EQ(warningShown, warningOpaque) << "the warning cell (x 40) is drawn at (30, 40)";
    const auto [errorShown, errorOpaque] = matches(warning, 0);
    EXPECT_LT(errorShown, errorOpaque * 3 / 4) << "the error cell was drawn";
    EXPECT_EQ(beeps, std::vector<UINT>{MB_ICONWARNING});

    // No icon: the cell is the bands alone, the same as beside it, and nothing beeps.
    beeps.clear();
    options.iconKind = 0;
    Drawn none;
    show(parent, "关于", options, {whenShown(), readCell(none), pressEscape()});
    ASSERT_EQ(none.cell.size(), 1600u);
    int differing = 0;
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 40; ++x)
            differing += !nearColor(none.cell[y * 40 + x], none.beside[y] & 0xFFFFFF);
    EXPECT_EQ(differing, 0);
    EXPECT_TRUE(beeps.empty());

    // An icon with the beep turned off.
    options.iconKind = MB_ICONHAND;
    options.beep = false;
    Drawn error;
    show(parent, "失败", options, {whenShown(), readCell(error), pressEscape()});
    EXPECT_EQ(matches(error, 0).first, matches(error, 0).second);
    EXPECT_TRUE(beeps.empty());
}

TEST_F(MessageBoxTest, AnOwnerWithABackgroundPictureLendsTheBoxItsLook) {
    AttachOptions pictured = noCaptionFixedSize();
    const std::vector<std::uint8_t> red =
        bmpBytes(400, 300, [](int, int) { return RGB(230, 0, 0); });
    pictured.backgroundImageBytes = red;
    pictured.frameStyle = 0;
    SkinWindow& lender = skinned(pictured, 400, 300);
    AttachOptions pictureOnly = pictured;
    pictureOnly.frameStyle = 1;
    SkinWindow& skinOnly = skinned(pictureOnly, 400, 300);

    struct Look {
        int pictureWidth = 0, pictureHeight = 0, frameStyle = -1;
        COLORREF color = 0;
        std::uint32_t top = 0; // a pixel of the top band, where the white is thinnest
    };
    auto readLook = [](Look& look) {
        return check([&look](HWND box) {
            const SkinWindow& window = *shared().window;
            look.pictureWidth = window.backgroundImage().width();
            look.pictureHeight = window.backgroundImage().height();
            look.frameStyle = window.frameStyle();
            look.color = window.backgroundColor();
            look.top = boxRecord(box)->windowBuffer.pixel(160, 12);
        });
    };

    Look lent, own, ownerless;
    show(lender.hwnd(), "已切换", {}, {whenShown(), readLook(lent), pressEscape()});
    EXPECT_EQ(lent.pictureWidth, 400);
    EXPECT_EQ(lent.pictureHeight, 300);
    EXPECT_EQ(lent.frameStyle, 0);
    EXPECT_EQ(lent.color, lender.backgroundColor());
    EXPECT_GT(redOf(lent.top), greenOf(lent.top) + 60) << std::hex << lent.top;
    EXPECT_GT(redOf(lent.top), blueOf(lent.top) + 60) << std::hex << lent.top;
    // The library keeps its copy; the owner keeps its own picture.
    EXPECT_EQ(shared().ownerImage.width(), 400);
    EXPECT_EQ(lender.backgroundImage().width(), 400);
    EXPECT_NE(lender.backgroundImage().handle(), shared().ownerImage.handle());

    // A picture-only owner, and no owner: the box's own blue look, and no picture left over
    // from the box before.
    show(skinOnly.hwnd(), "已切换", {}, {whenShown(), readLook(own), pressEscape()});
    show(nullptr, "已切换", {}, {whenShown(), readLook(ownerless), pressEscape()});
    for (const Look* look : {&own, &ownerless}) {
        EXPECT_EQ(look->pictureWidth, 0);
        EXPECT_EQ(look->frameStyle, 5);
        EXPECT_EQ(look->color, 0xFF8800u);
        EXPECT_GT(blueOf(look->top), redOf(look->top) + 60) << std::hex << look->top;
    }
    // The owner still draws with its picture.
    EXPECT_EQ(lender.redrawWindow(), 1);
    EXPECT_EQ(lender.backgroundImage().width(), 400);
}

TEST_F(MessageBoxTest, AQuitDuringTheBoxEndsItAndIsPostedAgain) {
    const HWND parent = owner();
    BuiltBox built;
    MessageBoxOptions options;
    options.buttonSet = 1;
    options.onCreated = recordInto(built);
    EXPECT_EQ(show(parent, "正在切换", options,
                   {whenShown(), check([](HWND) { ::PostQuitMessage(42); })}),
              1);
    EXPECT_FALSE(::IsWindow(built.hwnd));
    EXPECT_TRUE(::IsWindowEnabled(parent));
    MSG msg{};
    ASSERT_TRUE(::PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE))
        << "the quit was swallowed by the box";
    EXPECT_EQ(msg.wParam, 42u);
}

TEST_F(MessageBoxTest, ASecondBoxWhileOneIsOpenShowsNothingAndTheFirstGoesOn) {
    const HWND parent = owner();
    struct Second {
        int result = -1;
        int windows = 0, visible = 0;
    };
    auto secondBox = [parent](Second& second) {
        return [parent, &second](HWND) {
            second.result = showSkinMessageBox(parent, "第二个", {});
            second.windows = static_cast<int>(windowTable().size());
            second.visible = visibleBoxes();
        };
    };

    // From the first box's onCreated, before it is shown.
    {
        BuiltBox built;
        Second second;
        MessageBoxOptions options;
        options.buttonSet = 1;
        options.onCreated = recordInto(built, secondBox(second));
        EXPECT_EQ(show(parent, "第一个", options, {whenShown(), clickButton(2)}), 0);
        EXPECT_EQ(second.result, 1);
        EXPECT_EQ(second.windows, built.windowsInTable);
        EXPECT_EQ(second.visible, 0);
        EXPECT_TRUE(::IsWindowEnabled(parent));
    }

    // From its loop, while it is shown: the first box still answers its own buttons.
    {
        BuiltBox built;
        Second second;
        MessageBoxOptions options;
        options.buttonSet = 4;
        options.onCreated = recordInto(built);
        bool stillDisabled = false;
        EXPECT_EQ(show(parent, "第一个", options,
                       {whenShown(), check(secondBox(second)), check([&](HWND box) {
                            stillDisabled = !::IsWindowEnabled(parent);
                            EXPECT_EQ(box, built.hwnd);
                        }),
                        clickButton(2)}),
                  5);
        EXPECT_EQ(second.result, 1);
        EXPECT_EQ(second.windows, built.windowsInTable);
        EXPECT_EQ(second.visible, 1);
        EXPECT_TRUE(stillDisabled) << "the second call enabled the owner under the first box";
        EXPECT_TRUE(::IsWindowEnabled(parent));
    }
}

TEST_F(MessageBoxTest, AWindowThatCannotBeMadeShowsNothing) {
    // A destroyed window as the owner: CreateWindowEx refuses it.
    const HWND gone = plain();
    ::DestroyWindow(gone);
    MessageBoxOptions options;
    bool created = false;
    options.onCreated = [&](HWND, int, int) { created = true; };
    EXPECT_EQ(showSkinMessageBox(gone, "无主", options), 1);
    EXPECT_FALSE(created);
    EXPECT_TRUE(windowTable().empty());
}

} // namespace
