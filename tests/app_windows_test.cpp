// The application's windows and its start-up, driven through the real windows: presses on
// the picture boxes, clicks on the push buttons, the skinned message box answered from a
// timer of this thread (its modal loop dispatches them), the version text from a real
// server on 127.0.0.1, the system notices and the folder dialog through their seams.

#include "app/application.h"
#include "app/child_painting.h"
#include "app/rank_files.h"
#include "resource_ids.h"
#include "skinui/controls/skin_button.h"
#include "skinui/controls/skin_label.h"
#include "skinui/library/library.h"
#include "skinui/library/window_table.h"
#include "skinui/text_conversion.h"
#include "support/client_fixtures.h"
#include "support/local_http_server.h"
#include "support/temp_folder.h"
#include "support/window_search.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

using namespace yunti;
using namespace testing_support;
using skinui::toUtf8;
using skinui::toWide;

namespace {

constexpr wchar_t kPickerCaption[] = L"CF军衔等级列表";
const std::string kMainCaption = "云梯助手 v8.0";
const std::string kPage = "http://127.0.0.1:1/yunti/download/";

const UINT kQuestion = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL;
const UINT kInformation = MB_OK | MB_ICONINFORMATION | MB_TASKMODAL;
const std::string kFirst = "系统发现最新版本，请下载最新的版本。";
const std::string kSecond = "当前不是最新版本，请下载最新的版本。";
const std::string kFinal = "很抱歉，当前版本已失效停用，请下载最新版本使用。";

// Records the notices, the page and the exit in order and answers the boxes from a script
// (No once it runs out). Its exitProcess returns, so the test goes on.
class FakeShell final : public SystemShell {
  public:
    int messageBox(const std::string& text, const std::string& caption, UINT flags) override {
        calls.push_back(box(text, flags, caption));
        if (const HWND main = ::FindWindowW(L"YuntiMainWindow", nullptr); main && ::IsWindowVisible(main))
            mainWindowShownDuringNotice = true;
        return next_ < answers.size() ? answers[next_++] : IDNO;
    }
    void openUrl(const std::string& url) override { calls.push_back("open " + url); }
    void exitProcess(UINT code) override {
        calls.push_back("exit " + std::to_string(code));
        if (onExit)
            onExit();
    }

    static std::string box(const std::string& text, UINT flags,
                           const std::string& caption = "信息：") {
        return "box [" + caption + "] " + std::to_string(flags) + " " + text;
    }

    std::vector<int> answers;
    std::vector<std::string> calls;
    std::function<void()> onExit;
    bool mainWindowShownDuringNotice = false;

  private:
    std::size_t next_ = 0;
};

// Answers the folder dialog with a scripted path and records how it was asked.
class FakeFolderBrowser final : public FolderBrowser {
  public:
    std::string browse(HWND owner, const std::string& title) override {
        ++calls;
        lastOwner = owner;
        lastTitle = title;
        return answer;
    }
    std::string answer;
    int calls = 0;
    HWND lastOwner = nullptr;
    std::string lastTitle;
};

HttpLimits quickLimits() {
    HttpLimits limits;
    limits.connectMs = 500;
    limits.sendMs = 500;
    limits.receiveMs = 300;
    limits.totalMs = 2000;
    return limits;
}

// The exit routine releases the library's message box objects and its caption-button
// picture, as at the end of the process. The next application of this test program gets
// fresh ones, as the next process would.
void renewLibraryObjects() {
    skinui::Library& library = skinui::Library::instance();
    skinui::MessageBoxObjects& box = library.messageBox;
    if (!box.window)
        box.window = std::make_unique<skinui::SkinWindow>();
    if (!box.label)
        box.label = std::make_unique<skinui::SkinLabel>();
    for (auto& button : box.buttons)
        if (!button)
            button = std::make_unique<skinui::SkinButton>();
    if (!library.captionButtonImage.handle())
        library.captionButtonImage.loadFromBytes(skinui::moduleResource(IDR_CAPTION_BUTTONS));
}

// Takes a WM_QUIT left in this thread's queue (a closed main window posts one), so that it
// cannot end the next test's message box at once.
void dropPendingQuit() {
    MSG message{};
    while (::PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

// What one skinned message box showed.
struct ShownBox {
    std::string text;
    int iconKind = 0;
    bool operator==(const ShownBox&) const = default;
};

void PrintTo(const ShownBox& box, std::ostream* out) {
    *out << "{\"" << box.text << "\", " << box.iconKind << "}";
}

// While it lives, every skinned message box that opens is read (its label's text and icon
// kind) and confirmed with Enter, which presses its focused first button. A thread timer
// does it: the box's modal loop dispatches this thread's messages.
class BoxAnswerer {
  public:
    BoxAnswerer() {
        current_ = this;
        timer_ = ::SetTimer(nullptr, 0, 30, &BoxAnswerer::tick);
    }
    ~BoxAnswerer() {
        ::KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    std::vector<ShownBox> shown;

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR, DWORD) {
        skinui::MessageBoxObjects& objects = skinui::Library::instance().messageBox;
        const HWND box = objects.box;
        if (!current_ || !box || !::IsWindowVisible(box))
            return;
        if (!::GetPropW(box, kAnswered)) {
            ::SetPropW(box, kAnswered, reinterpret_cast<HANDLE>(1));
            current_->shown.push_back(
                {objects.label->text(),
                 static_cast<int>(reinterpret_cast<INT_PTR>(::GetPropW(box, L"msg_wnd")))});
            ::PostMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
            ::PostMessageW(box, WM_KEYUP, VK_RETURN, 0);
        } else if (++current_->ticksWaiting_ > 100) {
            // Enter did not close it: close it anyway, so the test fails instead of hanging.
            ADD_FAILURE() << "the message box stayed open after Enter";
            ::PostMessageW(box, WM_CLOSE, 0, 0);
        }
    }

    static constexpr const wchar_t* kAnswered = L"yunti_test_answered";
    static inline BoxAnswerer* current_ = nullptr;
    UINT_PTR timer_ = 0;
    int ticksWaiting_ = 0;
};

// The shown boxes of whatever `action` does.
std::vector<ShownBox> boxesOf(const std::function<void()>& action) {
    BoxAnswerer answerer;
    action();
    return answerer.shown;
}

// A press of the left button inside a picture box, the way the system delivers one.
void pressOn(HWND box) {
    ASSERT_TRUE(::IsWindow(box));
    ::SendMessageW(box, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(15, 15));
    if (::IsWindow(box))
        ::SendMessageW(box, WM_LBUTTONUP, 0, MAKELPARAM(15, 15));
}

BOOL CALLBACK collectPicker(HWND hwnd, LPARAM lParam) {
    if (::IsWindowVisible(hwnd) && testing_support::windowText(hwnd) == kPickerCaption)
        reinterpret_cast<std::vector<HWND>*>(lParam)->push_back(hwnd);
    return TRUE;
}

// The visible picker windows of this thread.
std::vector<HWND> openPickers() {
    std::vector<HWND> found;
    ::EnumThreadWindows(::GetCurrentThreadId(), collectPicker, reinterpret_cast<LPARAM>(&found));
    return found;
}

RECT windowRect(HWND hwnd) {
    RECT r{};
    ::GetWindowRect(hwnd, &r);
    return r;
}

// What a picture box shows, as 32-bit pixels, painted into a bitmap of its size.
std::vector<std::uint32_t> pixelsOf(HWND box) {
    const RECT r = windowRect(box);
    const int width = r.right - r.left, height = r.bottom - r.top;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HDC screen = ::GetDC(nullptr);
    HDC dc = ::CreateCompatibleDC(screen);
    HBITMAP bitmap = ::CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ::ReleaseDC(nullptr, screen);
    HGDIOBJ old = ::SelectObject(dc, bitmap);
    ::SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    ::GdiFlush();
    std::vector<std::uint32_t> pixels(static_cast<const std::uint32_t*>(bits),
                                      static_cast<const std::uint32_t*>(bits) + width * height);
    ::SelectObject(dc, old);
    ::DeleteObject(bitmap);
    ::DeleteDC(dc);
    return pixels;
}

// The application as the program builds it, started against a version server that answers
// `body`; fake shell and folder dialog.
class RunningApp {
  public:
    explicit RunningApp(std::string body = "1", std::string folder = {})
        : server_(200, std::move(body)) {
        browser.answer = std::move(folder);
        Application::Settings settings;
        settings.shell = &shell;
        settings.folderBrowser = &browser;
        settings.versionUrl = server_.url();
        settings.downloadPage = kPage;
        settings.limits = quickLimits();
        app = std::make_unique<Application>(std::move(settings));
        app->startLibrary();
        loaded = app->loadMainWindow();
    }
    ~RunningApp() {
        app.reset();
        renewLibraryObjects();
        dropPendingQuit();
    }

    MainWindow& main() { return *app->mainWindow(); }
    HWND control(MainWindow::ControlId id) { return main().control(id); }
    std::string text(MainWindow::ControlId id) { return main().controlText(id); }
    void click(MainWindow::ControlId id) { ::SendMessageW(control(id), BM_CLICK, 0, 0); }
    std::vector<std::string> requests() const { return server_.requests(); }

    FakeShell shell;
    FakeFolderBrowser browser;
    std::unique_ptr<Application> app;
    bool loaded = false;

  private:
    LocalHttpServer server_;
};

// Keeps whatever lies at C:\WINDOWS\class.rar aside for a test and puts it back after.
class DropPathSaved {
  public:
    DropPathSaved() {
        if (exists(path()))
            saved_ = readFile(path());
        ::SetFileAttributesW(path().c_str(), FILE_ATTRIBUTE_NORMAL);
        ::DeleteFileW(path().c_str());
    }
    ~DropPathSaved() {
        ::DeleteFileW(path().c_str());
        if (saved_)
            writeFile(path(), *saved_);
    }
    static std::wstring path() { return toWide(std::string(kArchiveDropPath)); }

  private:
    std::optional<std::string> saved_;
};

// --- the pickers ---

TEST(Pickers, AtMostOneIsOpenAndASecondClickOnItsBadgeClosesIt) {
    RunningApp run;
    ASSERT_TRUE(run.loaded);
    MainWindow& main = run.main();
    const HWND present = main.presentBadge().hwnd();
    const HWND target = main.targetBadge().hwnd();
    enum Open { None, Present, Target };
    struct Step {
        const char* name;
        HWND badge;
        Open open;
    } steps[] = {
        {"present badge opens its picker", present, Present},
        {"target badge switches to the target picker", target, Target},
        {"target badge again closes it", target, None},
        {"target badge opens its picker", target, Target},
        {"present badge switches to the present picker", present, Present},
        {"present badge again closes it", present, None},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        pressOn(step.badge);
        EXPECT_EQ(main.presentPicker().isLoaded(), step.open == Present);
        EXPECT_EQ(main.targetPicker().isLoaded(), step.open == Target);
        const std::vector<HWND> open = openPickers();
        ASSERT_EQ(open.size(), step.open == None ? 0u : 1u);
        if (!open.empty()) {
            const RankPicker& picker = step.open == Present ? main.presentPicker() : main.targetPicker();
            EXPECT_EQ(open[0], picker.hwnd());
            // Skinned by its created event; an ordinary window without parent or owner.
            EXPECT_NE(skinui::findWindowIndex(open[0]), 0);
            EXPECT_EQ(::GetAncestor(open[0], GA_PARENT), ::GetDesktopWindow());
            EXPECT_EQ(::GetWindow(open[0], GW_OWNER), nullptr);
        }
    }
    // Opening and closing without a pick changes neither rank nor badge.
    EXPECT_EQ(run.text(MainWindow::PresentRankEdit), "1");
    EXPECT_EQ(run.text(MainWindow::TargetRankEdit), "");
    EXPECT_EQ(main.presentBadge().picture(), main.pictures().presentPlaceholder());
    EXPECT_EQ(main.targetBadge().picture(), main.pictures().targetPlaceholder());
}

TEST(Pickers, APickWritesTheRankCopiesTheBadgeAndClosesThePicker) {
    RunningApp run;
    ASSERT_TRUE(run.loaded);
    MainWindow& main = run.main();
    struct Case {
        const char* name;
        bool target;
        int rank;
        POINT place; // of the rank's box in the picker, from its top-left corner
    } cases[] = {
        {"target 37", true, 37, {220, 128}},
        {"present 12", false, 12, {45, 58}},
        {"present 1, the first box", false, 1, {10, 23}},
        {"target 103, the last box", true, 103, {80, 373}},
        {"target 100, the end of row ten", true, 100, {325, 338}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PictureBox& badge = c.target ? main.targetBadge() : main.presentBadge();
        RankPicker& picker = c.target ? main.targetPicker() : main.presentPicker();
        const auto rankEdit = c.target ? MainWindow::TargetRankEdit : MainWindow::PresentRankEdit;
        const auto otherEdit = c.target ? MainWindow::PresentRankEdit : MainWindow::TargetRankEdit;
        const std::string otherBefore = run.text(otherEdit);

        pressOn(badge.hwnd());
        ASSERT_TRUE(picker.isLoaded());
        const HWND box = childAt(picker.hwnd(), c.place.x, c.place.y);
        ASSERT_NE(box, nullptr) << "no badge box at the rank's place";
        EXPECT_EQ(box, picker.badgeBox(c.rank)->hwnd());
        const std::vector<std::uint32_t> pickedLooks = pixelsOf(box);

        pressOn(box);
        EXPECT_FALSE(picker.isLoaded());
        EXPECT_TRUE(openPickers().empty());
        EXPECT_EQ(run.text(rankEdit), std::to_string(c.rank));
        EXPECT_EQ(run.text(otherEdit), otherBefore);
        EXPECT_EQ(badge.picture(), main.pictures().badge(c.rank));
        EXPECT_EQ(pixelsOf(badge.hwnd()), pickedLooks) << "the main window shows another picture";
    }
}

TEST(Pickers, OpenBesideTheMainWindowOverlappingItsRightEdge) {
    RunningApp run;
    ASSERT_TRUE(run.loaded);
    MainWindow& main = run.main();
    struct Case {
        int left, top, width;
        int expectedLeft;
    } cases[] = {
        {200, 50, 418, 606},
        {50, 300, 418, 456},
        {-100, 10, 418, 306},
        {200, 50, 500, 688},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.left);
        ::SetWindowPos(main.hwnd(), nullptr, c.left, c.top, c.width, MainWindow::kHeight,
                       SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_EQ(windowRect(main.hwnd()).left, c.left);
        for (bool target : {false, true}) {
            PictureBox& badge = target ? main.targetBadge() : main.presentBadge();
            const RankPicker& picker = target ? main.targetPicker() : main.presentPicker();
            pressOn(badge.hwnd());
            ASSERT_TRUE(picker.isLoaded());
            const RECT r = windowRect(picker.hwnd());
            EXPECT_EQ(r.left, c.expectedLeft);
            EXPECT_EQ(r.top, RankPicker::kFormPlace.y) << "the top stays where the form put it";
            EXPECT_EQ(r.right - r.left, RankPicker::kWidth);
            EXPECT_EQ(r.bottom - r.top, RankPicker::kHeight);
            pressOn(badge.hwnd());
        }
    }
}

TEST(MainWindowClose, ClosesAnOpenPickerAndEndsTheMessageLoop) {
    for (bool target : {false, true}) {
        SCOPED_TRACE(target ? "target picker" : "present picker");
        RunningApp run;
        ASSERT_TRUE(run.loaded);
        MainWindow& main = run.main();
        pressOn(target ? main.targetBadge().hwnd() : main.presentBadge().hwnd());
        ASSERT_EQ(openPickers().size(), 1u);
        const HWND picker = openPickers()[0];

        ::PostMessageW(main.hwnd(), WM_CLOSE, 0, 0);
        EXPECT_EQ(run.app->runMessageLoop(), 0);
        EXPECT_FALSE(::IsWindow(picker));
        EXPECT_FALSE(main.isLoaded());
        EXPECT_FALSE(main.presentPicker().isLoaded());
        EXPECT_FALSE(main.targetPicker().isLoaded());
    }
}

// --- the commands ---

TEST(SwitchCommand, BeforeAnyPickAsksForTheTargetRank) {
    StockClient client;
    RunningApp run("1", client.dir());
    ASSERT_TRUE(run.loaded);
    EXPECT_EQ(boxesOf([&] { run.click(MainWindow::ChooseFolderButton); }),
              (std::vector<ShownBox>{{"选择游戏路径正确!", 64}}));
    const std::map<std::wstring, std::string> before = snapshot(client.path());

    EXPECT_EQ(boxesOf([&] { run.click(MainWindow::SwitchButton); }),
              (std::vector<ShownBox>{{"请选择要切换的军衔", 16}}));
    EXPECT_EQ(snapshot(client.path()), before);
}

// The switch step by step: the folder, a pick in each picker, "修改".
TEST(SwitchCommand, ThePickedRanksReachTheClientFiles) {
    StockClient client;
    RunningApp run("1", client.dir());
    ASSERT_TRUE(run.loaded);
    MainWindow& main = run.main();
    boxesOf([&] { run.click(MainWindow::ChooseFolderButton); });

    pressOn(main.presentBadge().hwnd());
    ASSERT_TRUE(main.presentPicker().isLoaded());
    pressOn(childAt(main.presentPicker().hwnd(), 45, 58)); // rank 12
    pressOn(main.targetBadge().hwnd());
    ASSERT_TRUE(main.targetPicker().isLoaded());
    pressOn(childAt(main.targetPicker().hwnd(), 220, 128)); // rank 37
    ASSERT_EQ(run.text(MainWindow::PresentRankEdit), "12");
    ASSERT_EQ(run.text(MainWindow::TargetRankEdit), "37");

    const std::map<std::wstring, std::string> before = snapshot(client.ui());
    EXPECT_EQ(boxesOf([&] { run.click(MainWindow::SwitchButton); }),
              (std::vector<ShownBox>{{"军衔切换成功!", 64}}));
    std::map<std::wstring, std::string> expected = before;
    for (const wchar_t* kind : {L"BigClass_", L"class_", L"sclass_"})
        expected[std::wstring(L"class\\") + kind + L"12.tga"] =
            client.stockFile(std::wstring(L"class\\") + kind + L"37.tga");
    EXPECT_EQ(snapshot(client.ui()), expected);
    // The box was owned by the main window and gave it back enabled.
    EXPECT_TRUE(::IsWindowEnabled(main.hwnd()));
}

TEST(ChooseFolder, WritesTheChosenFolderAndSaysWhetherItIsAClient) {
    StockClient client;
    TempFolder notAClient(L"不是 客户端");
    struct Case {
        const char* name;
        std::string chosen;
        ShownBox expected;
    } cases[] = {
        {"a client folder", client.dir(), {"选择游戏路径正确!", 64}},
        {"cancelled", "", {"选择游戏路径错误!", 48}},
        {"a folder without the client", toUtf8(notAClient.path()), {"选择游戏路径错误!", 48}},
        {"a folder that does not exist", client.dir() + "\\gone", {"选择游戏路径错误!", 48}},
    };
    RunningApp run;
    ASSERT_TRUE(run.loaded);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        yunti::setWindowText(run.control(MainWindow::ClientDirEdit), "D:\\earlier choice");
        run.browser.answer = c.chosen;
        const int callsBefore = run.browser.calls;
        EXPECT_EQ(boxesOf([&] { run.click(MainWindow::ChooseFolderButton); }),
                  std::vector<ShownBox>{c.expected});
        EXPECT_EQ(run.browser.calls, callsBefore + 1);
        EXPECT_EQ(run.browser.lastTitle, "请选择目录");
        EXPECT_EQ(run.text(MainWindow::ClientDirEdit), c.chosen);
    }
}

TEST(AboutButton, ShowsTheAboutTextWithoutAnIcon) {
    RunningApp run;
    ASSERT_TRUE(run.loaded);
    const std::vector<ShownBox> shown = boxesOf([&] { run.click(MainWindow::AboutButton); });
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].text.find("云梯助手"), std::string::npos) << shown[0].text;
    EXPECT_EQ(shown[0].iconKind, 0);
}

// --- start-up ---

TEST(Startup, ExactlyOneGoesOnWithTheSkinnedCaptionedMainWindow) {
    RunningApp run("1");
    ASSERT_TRUE(run.loaded);
    const HWND main = run.main().hwnd();
    EXPECT_TRUE(::IsWindowVisible(main));
    EXPECT_NE(skinui::findWindowIndex(main), 0) << "the main window is not skinned";
    EXPECT_EQ(toUtf8(testing_support::windowText(main)), kMainCaption);
    EXPECT_TRUE(run.shell.calls.empty());
    EXPECT_EQ(run.requests().size(), 1u);
    EXPECT_EQ(run.app->versionTexts().local, "1");
    EXPECT_EQ(run.app->versionTexts().remote, "1");
    EXPECT_FALSE(run.app->exitRoutineRan());
    // The rank texts as the form gives them.
    EXPECT_EQ(run.text(MainWindow::PresentRankEdit), "1");
    EXPECT_EQ(run.text(MainWindow::TargetRankEdit), "");
    EXPECT_EQ(run.text(MainWindow::ClientDirEdit), "");
}

// Any other answer of the server, or none, sends the user to the download page and ends
// the program before the main window is shown, skinned or the archive dropped.
TEST(Startup, AnyOtherVersionTextEndsWithTheNoticesThePageAndExitZero) {
    using Behaviour = LocalHttpServer::Behaviour;
    const std::vector<std::string> yes = {FakeShell::box(kFirst, kQuestion), "open " + kPage,
                                          "exit 0"};
    const std::vector<std::string> noYes = {FakeShell::box(kFirst, kQuestion),
                                            FakeShell::box(kSecond, kQuestion), "open " + kPage,
                                            "exit 0"};
    const std::vector<std::string> noNo = {
        FakeShell::box(kFirst, kQuestion), FakeShell::box(kSecond, kQuestion),
        FakeShell::box(kFinal, kInformation), "open " + kPage, "exit 0"};
    struct Case {
        const char* name;
        std::function<std::unique_ptr<LocalHttpServer>()> server; // null: nothing listens
        std::vector<int> answers;
        std::vector<std::string> expected;
    } cases[] = {
        {"one and a line break", [] { return std::make_unique<LocalHttpServer>(200, "1\r\n"); },
         {IDYES}, yes},
        {"leading blank", [] { return std::make_unique<LocalHttpServer>(200, " 1"); },
         {IDNO, IDYES}, noYes},
        {"two", [] { return std::make_unique<LocalHttpServer>(200, "2"); }, {IDNO, IDNO, IDOK},
         noNo},
        {"empty body", [] { return std::make_unique<LocalHttpServer>(200, ""); }, {IDYES}, yes},
        {"not found", [] { return std::make_unique<LocalHttpServer>(404, "1"); }, {IDNO, IDNO},
         noNo},
        {"never answers", [] { return std::make_unique<LocalHttpServer>(Behaviour::Silent); },
         {IDNO, IDYES}, noYes},
        {"no server", nullptr, {IDYES}, yes},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        DropPathSaved drop;
        const std::unique_ptr<LocalHttpServer> server = c.server ? c.server() : nullptr;
        FakeShell shell;
        shell.answers = c.answers;
        Application::Settings settings;
        settings.shell = &shell;
        settings.versionUrl = server ? server->url()
                                     : "http://127.0.0.1:" +
                                           std::to_string(LocalHttpServer::closedPort()) + "/v";
        settings.downloadPage = kPage;
        settings.limits = quickLimits();
        {
            Application app(std::move(settings));
            bool exitRoutineBeforeExit = false;
            shell.onExit = [&] { exitRoutineBeforeExit = app.exitRoutineRan(); };
            app.startLibrary();
            EXPECT_FALSE(app.loadMainWindow());
            EXPECT_EQ(shell.calls, c.expected);
            EXPECT_TRUE(exitRoutineBeforeExit) << "the exit routine did not run before the end";
            EXPECT_FALSE(shell.mainWindowShownDuringNotice);
            EXPECT_FALSE(app.mainWindow()->isLoaded());
            if (server) {
                EXPECT_EQ(server->requests().size(), 1u);
            }
            // After the exit routine nothing loads again.
            EXPECT_FALSE(app.loadMainWindow());
            EXPECT_EQ(shell.calls, c.expected);
        }
        renewLibraryObjects();
        dropPendingQuit();
        EXPECT_FALSE(exists(DropPathSaved::path())) << "the archive was dropped after all";
    }
}

TEST(Startup, DropsTheArchiveOnlyWhereNothingOfThatNameIs) {
    const std::span<const std::uint8_t> stock = stockBadgeArchive();
    ASSERT_FALSE(stock.empty());
    {
        SCOPED_TRACE("absent");
        DropPathSaved drop;
        RunningApp run;
        ASSERT_TRUE(run.loaded);
        ASSERT_TRUE(exists(drop.path()));
        EXPECT_EQ(readFile(drop.path()), std::string(stock.begin(), stock.end()));
    }
    {
        SCOPED_TRACE("present");
        DropPathSaved drop;
        const std::string earlier = "an archive the user put there";
        writeFile(drop.path(), earlier);
        FILETIME written{};
        {
            HANDLE file = ::CreateFileW(drop.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
            ::GetFileTime(file, nullptr, nullptr, &written);
            ::CloseHandle(file);
        }
        ::Sleep(50);
        RunningApp run;
        ASSERT_TRUE(run.loaded);
        EXPECT_EQ(readFile(drop.path()), earlier);
        HANDLE file = ::CreateFileW(drop.path().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                    OPEN_EXISTING, 0, nullptr);
        FILETIME after{};
        ::GetFileTime(file, nullptr, nullptr, &after);
        ::CloseHandle(file);
        EXPECT_EQ(::CompareFileTime(&written, &after), 0) << "the file was written again";
    }
}

} // namespace
