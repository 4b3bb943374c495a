#pragma once
// MainWindow: the rank switcher's main window, its controls and their commands.
//
//   客户端路径 [............................] [选择目录]
//        现在的军衔等级： [badge]     修改的军衔等级： [badge]
//          [      还原      ]            [      修改      ]
//
// The two rank texts live in edit boxes outside the window's area (当前 starts as "1",
// 当前军衔 empty), and so does the about button. A click on a badge opens that badge's
// picker beside the window; at most one picker is open at a time. Every outcome is shown
// in the skinned message box, owned by this window.

#include "app/window_object.h"
#include "app/badge_pictures.h"
#include "app/folder_browser.h"
#include "app/picture_box.h"
#include "app/rank_picker.h"
#include "skinui/skin_window/skin_window.h"
#include "skinui/unique_handle.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

namespace yunti {

// The caption the window is given at start-up.
inline constexpr std::string_view kMainWindowCaption = "云梯助手 v8.0";

class MainWindow final {
  public:
    // The controls, by their ids.
    enum ControlId : int {
        ClientDirEdit = 101,     // 客户端路径
        ChooseFolderButton,      // 超级按钮1 "选择目录"
        PresentRankLabel,        // 标签1
        TargetRankLabel,         // 标签2
        RestoreButton,           // 超级按钮2 "还原"
        SwitchButton,            // 超级按钮3 "修改"
        PresentRankEdit,         // 当前
        TargetRankEdit,          // 当前军衔
        AboutButton,             // 超级按钮4 "？"
    };

    static constexpr int kWidth = 418;
    static constexpr int kHeight = 193;
    static constexpr POINT kFormPlace{50, 50};

    // The SkinWindow objects of the three windows; the application owns them.
    struct Skins {
        skinui::SkinWindow& main;
        skinui::SkinWindow& presentPicker;
        skinui::SkinWindow& targetPicker;
    };

    // The "created" event: runs once the window and its controls exist, before the window is
    // shown. Returning false ends the load: the window is destroyed again.
    using CreatedHandler = std::function<bool(MainWindow&)>;

    // The pictures are decoded here, so GDI+ must have been started.
    MainWindow(Skins skins, FolderBrowser& folderBrowser);
    // Destroys the window (and with it an open picker) when it still exists.
    ~MainWindow();
    MainWindow(const MainWindow&) = delete;
    MainWindow& operator=(const MainWindow&) = delete;

    void setOnCreated(CreatedHandler handler) { onCreated_ = std::move(handler); }
    // Called when the window is destroyed (the program ends then).
    void setOnDestroyed(std::function<void()> handler) { onDestroyed_ = std::move(handler); }

    // Creates the window and its controls, runs the created event and shows the window.
    // False when the window could not be made or the created event declined it.
    bool load();
    bool isLoaded() const { return hwnd_ != nullptr && ::IsWindow(hwnd_); }
    HWND hwnd() const { return hwnd_; }

    // Skins the window with `options` (the start-up handler's arguments).
    void attachSkin(const skinui::AttachOptions& options);

    // --- the event handlers ---
    void chooseFolder();
    void switchCommand();
    void restoreCommand();
    void aboutMessage();
    void togglePresentPicker();
    void toggleTargetPicker();
    // The close query: closes whichever picker is open. Never vetoes the close.
    void closeQuery();

    // --- the controls ---
    HWND control(ControlId id) const { return ::GetDlgItem(hwnd_, id); }
    std::string controlText(ControlId id) const;
    PictureBox& presentBadge() { return presentBadge_; }
    PictureBox& targetBadge() { return targetBadge_; }
    RankPicker& presentPicker() { return presentPicker_; }
    RankPicker& targetPicker() { return targetPicker_; }
    const BadgePictures& pictures() const { return pictures_; }

  private:
    template <typename> friend LRESULT CALLBACK objectWindowProc(HWND, UINT, WPARAM, LPARAM);
    void setHandle(HWND hwnd) { hwnd_ = hwnd; }
    LRESULT handleMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void createControls();
    void onCommand(int id);
    // Shows `text` in the skinned message box with this window as its owner.
    void showMessage(std::string_view text, int iconKind);

    skinui::SkinWindow& skin_;
    FolderBrowser& folderBrowser_;
    BadgePictures pictures_;
    skinui::UniqueGdiObject textFont_;  // buttons and labels: 12 px regular
    skinui::UniqueGdiObject aboutFont_; // the about button: 14 px bold
    PictureBox presentBadge_;
    PictureBox targetBadge_;
    RankPicker presentPicker_;
    RankPicker targetPicker_;
    CreatedHandler onCreated_;
    std::function<void()> onDestroyed_;
    HWND hwnd_ = nullptr;
};

} // namespace yunti
