#include "app/main_window.h"

#include "app/child_painting.h"
#include "app/rank_files.h"
#include "resource_ids.h"
#include "skinui/message_box/skin_message_box.h"
#include "skinui/text_conversion.h"

#include <string>

namespace yunti {

namespace {

constexpr const wchar_t* kMainClassName = L"YuntiMainWindow";

constexpr const char* kBrowseTitle = "请选择目录";
constexpr const char* kFolderRight = "选择游戏路径正确!";
constexpr const char* kFolderWrong = "选择游戏路径错误!";
constexpr int kIconNone = 0;
constexpr int kIconWarning = 48;

constexpr const char* kAboutText =
    "云梯助手 v8.0\n"
    "更换游戏客户端显示的军衔图标：选择客户端目录，点选现在的军衔和要显示的军衔，"
    "再点“修改”；“还原”把全部军衔图标恢复为原版。\n"
    "问题和建议请提交到本工具项目的问题跟踪，维护者会在那里答复。";

} // namespace

MainWindow::MainWindow(Skins skins, FolderBrowser& folderBrowser)
    : skin_(skins.main), folderBrowser_(folderBrowser), textFont_(createUiFont(12, FW_NORMAL)),
      aboutFont_(createUiFont(14, FW_BOLD)),
      presentPicker_(skins.presentPicker, pictures_,
                     [this](int rank, const Picture& picture) {
                         setWindowText(control(PresentRankEdit), std::to_string(rank));
                         presentBadge_.setPicture(picture);
                     }),
      targetPicker_(skins.targetPicker, pictures_, [this](int rank, const Picture& picture) {
          setWindowText(control(TargetRankEdit), std::to_string(rank));
          targetBadge_.setPicture(picture);
      }) {}

MainWindow::~MainWindow() {
    if (isLoaded()) {
        onDestroyed_ = nullptr; // the program is not ending because this object goes away
        ::DestroyWindow(hwnd_);
    }
}

bool MainWindow::load() {
    if (isLoaded())
        return true;
    registerObjectClass<MainWindow>(
        {kMainClassName, CS_DBLCLKS, IDC_ARROW,
         ::LoadIconW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP_ICON))});
    const HWND hwnd = ::CreateWindowExW(
        WS_EX_APPWINDOW, kMainClassName, skinui::toWide(kMainWindowCaption).c_str(),
        WS_POPUP | WS_CLIPCHILDREN | WS_SYSMENU | WS_MINIMIZEBOX, kFormPlace.x, kFormPlace.y,
        kWidth, kHeight, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    if (!hwnd)
        return false;
    createControls();
    if (onCreated_ && !onCreated_(*this)) {
        if (isLoaded())
            ::DestroyWindow(hwnd_);
        return false;
    }
    if (!isLoaded())
        return false;
    ::ShowWindow(hwnd_, SW_SHOW);
    ::UpdateWindow(hwnd_);
    return true;
}

void MainWindow::createControls() {
    const auto text = static_cast<HFONT>(textFont_.get());
    const DWORD edit = WS_TABSTOP | ES_AUTOHSCROLL;
    const DWORD button = WS_TABSTOP | BS_OWNERDRAW;
    auto editBox = [&](int id, std::string_view content, int x, int y, int width, int height) {
        createControl(hwnd_, L"EDIT", content, edit, x, y, width, height, id, text,
                      WS_EX_CLIENTEDGE);
    };

    editBox(ClientDirEdit, "", 25, 52, 290, 24);
    createControl(hwnd_, L"BUTTON", "选择目录", button, 322, 52, 75, 24, ChooseFolderButton, text);
    createControl(hwnd_, L"STATIC", "现在的军衔等级：", SS_OWNERDRAW, 42, 95, 96, 24,
                  PresentRankLabel, text);
    presentBadge_.create(hwnd_, 144, 92, 30, 30);
    presentBadge_.setPicture(pictures_.presentPlaceholder());
    presentBadge_.setOnLeftPress([this] { togglePresentPicker(); });
    createControl(hwnd_, L"STATIC", "修改的军衔等级：", SS_OWNERDRAW, 215, 95, 96, 24,
                  TargetRankLabel, text);
    targetBadge_.create(hwnd_, 317, 92, 30, 30);
    targetBadge_.setPicture(pictures_.targetPlaceholder());
    targetBadge_.setOnLeftPress([this] { toggleTargetPicker(); });
    createControl(hwnd_, L"BUTTON", "还原", button, 45, 144, 120, 24, RestoreButton, text);
    createControl(hwnd_, L"BUTTON", "修改", button, 255, 144, 120, 24, SwitchButton, text);
    // Storage of the two rank texts, outside the window's area.
    editBox(PresentRankEdit, "1", 436, 108, 85, 16);
    editBox(TargetRankEdit, "", 436, 131, 85, 17);
    createControl(hwnd_, L"BUTTON", "？", button, 1296, 202, 20, 20, AboutButton,
                  static_cast<HFONT>(aboutFont_.get()));
}

void MainWindow::attachSkin(const skinui::AttachOptions& options) {
    skin_.attachToWindow(hwnd_, options);
    repaintChildrenOnSize(skin_);
}

std::string MainWindow::controlText(ControlId id) const {
    return windowText(control(id));
}

void MainWindow::showMessage(std::string_view text, int iconKind) {
    skinui::MessageBoxOptions options;
    options.iconKind = iconKind;
    skinui::showSkinMessageBox(hwnd_, text, options);
}

void MainWindow::chooseFolder() {
    const std::string folder = folderBrowser_.browse(::GetActiveWindow(), kBrowseTitle);
    setWindowText(control(ClientDirEdit), folder);
    if (isClientDir(folder))
        showMessage(kFolderRight, kIconInformation);
    else
        showMessage(kFolderWrong, kIconWarning);
}

void MainWindow::switchCommand() {
    const RankOperationOutcome outcome = switchRank(
        controlText(ClientDirEdit), controlText(PresentRankEdit), controlText(TargetRankEdit));
    showMessage(outcome.message, outcome.iconKind);
}

void MainWindow::restoreCommand() {
    // The window does not respond while the archiver runs.
    const RankOperationOutcome outcome = restoreBadges(controlText(ClientDirEdit));
    showMessage(outcome.message, outcome.iconKind);
}

void MainWindow::aboutMessage() {
    showMessage(kAboutText, kIconNone);
}

void MainWindow::togglePresentPicker() {
    if (presentPicker_.isLoaded()) {
        presentPicker_.close();
        return;
    }
    targetPicker_.close();
    presentPicker_.load(hwnd_);
}

void MainWindow::toggleTargetPicker() {
    if (targetPicker_.isLoaded()) {
        targetPicker_.close();
        return;
    }
    presentPicker_.close();
    targetPicker_.load(hwnd_);
}

void MainWindow::closeQuery() {
    presentPicker_.close();
    targetPicker_.close();
}

void MainWindow::onCommand(int id) {
    switch (id) {
    case ChooseFolderButton:
        chooseFolder();
        break;
    case SwitchButton:
        switchCommand();
        break;
    case RestoreButton:
        restoreCommand();
        break;
    case AboutButton:
        aboutMessage();
        break;
    default:
        break;
    }
}

LRESULT MainWindow::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // the skin paints the whole window
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED && lParam != 0)
            onCommand(LOWORD(wParam));
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item.CtlType == ODT_BUTTON)
            drawPushButton(item);
        else if (item.CtlType == ODT_STATIC)
            drawLabel(item);
        return TRUE;
    }
    case WM_CLOSE:
        closeQuery();
        break; // on to DestroyWindow: the close is never vetoed
    case WM_DESTROY: {
        const std::function<void()> handler = onDestroyed_;
        if (handler)
            handler();
        return 0;
    }
    default:
        break;
    }
    return ::DefWindowProcW(hwnd_, message, wParam, lParam);
}

} // namespace yunti
