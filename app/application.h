#pragma once
// Application: the program's life from its entry to its exit.
//
//   construction  the main window's SkinWindow, the skin library's objects, the target
//                 picker's SkinWindow, the present picker's (this order, by member order)
//   run()         the library's start-up, the main window's load (its created event runs
//                 the start-up handler), the message loop until the main window is gone
//   exit routine  the version texts, then the main window's SkinWindow, the library's
//                 objects, the target picker's and the present picker's SkinWindows
//
// The exit routine runs once: from the destructor, or from the update notice just before
// the process ends (the notice ends the program at once with exit code 0).

#include "app/app_startup.h"
#include "app/folder_browser.h"
#include "app/main_window.h"
#include "app/update_check.h"
#include "skinui/library/library.h"
#include "skinui/skin_window/skin_window.h"

#include <memory>
#include <string>

namespace yunti {

class Application final {
  public:
    struct Settings {
        SystemShell* shell = nullptr;           // null: the real one
        FolderBrowser* folderBrowser = nullptr; // null: the real one
        std::string versionUrl = yunti::versionUrl();
        std::string downloadPage = yunti::downloadPage();
        HttpLimits limits{};
    };

    Application();
    explicit Application(Settings settings);
    // Destroys what is left of the windows, then runs the exit routine unless it ran.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The library's start-up, the main window, the message loop; returns the exit code.
    int run();

    // The steps of run(), for the program's tests.
    void startLibrary();
    // False when the main window could not be shown (the update notice ended the program).
    bool loadMainWindow();
    int runMessageLoop();

    // Releases the texts and the skin objects in exit order; nothing the second time.
    void runExitRoutine();
    bool exitRoutineRan() const { return exitRoutineRan_; }

    MainWindow* mainWindow() { return mainWindow_.get(); }
    const VersionTexts& versionTexts() const { return texts_; }
    skinui::SkinWindow* mainSkin() { return mainSkin_.get(); }

  private:
    // Passes the notices on, and runs the exit routine before the process ends.
    class ExitingShell final : public SystemShell {
      public:
        ExitingShell(SystemShell& inner, Application& application)
            : inner_(inner), application_(application) {}
        int messageBox(const std::string& text, const std::string& caption, UINT flags) override {
            return inner_.messageBox(text, caption, flags);
        }
        void openUrl(const std::string& url) override { inner_.openUrl(url); }
        void exitProcess(UINT code) override {
            application_.runExitRoutine();
            inner_.exitProcess(code);
        }

      private:
        SystemShell& inner_;
        Application& application_;
    };

    Settings settings_;
    ExitingShell shell_;
    // Construction order matters (see the top of this file).
    std::unique_ptr<skinui::SkinWindow> mainSkin_;
    skinui::Library& library_;
    std::unique_ptr<skinui::SkinWindow> targetPickerSkin_;
    std::unique_ptr<skinui::SkinWindow> presentPickerSkin_;
    VersionTexts texts_;
    std::unique_ptr<MainWindow> mainWindow_;
    bool exitRoutineRan_ = false;
};

} // namespace yunti
