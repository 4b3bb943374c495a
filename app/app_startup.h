#pragma once
// The main window's "created" event: the version check, then the skin, the caption and the
// archive drop.

#include "app/http_client.h"
#include "app/main_window.h"
#include "app/update_check.h"
#include "skinui/skin_window/skin_window.h"

#include <string>

namespace yunti {

// The two version texts, kept for the whole run.
struct VersionTexts {
    std::string local;  // this program's: "1"
    std::string remote; // the server's, up to its first NUL; empty after a failed fetch
};

// Where the version comes from and how the notices reach the user.
struct StartupSettings {
    SystemShell& shell;
    std::string versionUrl = yunti::versionUrl();
    std::string downloadPage = yunti::downloadPage();
    HttpLimits limits{};
};

// The main window's skin: white, the title with the close and minimize buttons, a sizing
// border, draggable, every other argument left to its default.
skinui::AttachOptions mainWindowSkinOptions();

// The start-up handler, in this order: the local version "1"; the GET of the version text;
// an exact byte comparison, and on any difference the update notice (which ends the
// program); the skin; the caption "云梯助手 v8.0"; the archive drop at C:\WINDOWS\class.rar
// unless something of that name is there. Returns false only when the shell's exitProcess
// returned (a test's shell): the window is then left unskinned.
bool runStartupHandler(MainWindow& window, VersionTexts& texts, const StartupSettings& settings);

} // namespace yunti
