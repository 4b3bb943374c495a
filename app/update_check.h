#pragma once
// The version check at start: fetch the maker's version text, compare it with this
// program's, and when they differ send the user to the download page and end.

#include "app/http_client.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace yunti {

// This program's version text.
inline constexpr std::string_view kLocalVersion = "1";

// The build's settings (CMake cache variables YUNTI_VERSION_URL and YUNTI_DOWNLOAD_PAGE).
const std::string& versionUrl();
const std::string& downloadPage();

// The fetched body as the program keeps it: the bytes up to the first NUL, unconverted
// (the text is only ever compared byte for byte).
std::string remoteVersionText(const std::vector<std::uint8_t>& body);

// Exact byte equality with kLocalVersion: no trimming, so "1\r\n", " 1" and "" all differ.
bool isCurrentVersion(std::string_view remote);

// The system calls of the update notice, so tests can answer the boxes and keep the
// process alive. Texts are UTF-8.
class SystemShell {
  public:
    virtual ~SystemShell() = default;
    // A system message box without an owner window; returns the button pressed (IDYES...).
    virtual int messageBox(const std::string& text, const std::string& caption, UINT flags) = 0;
    // Opens a web address in the user's browser; the outcome is not examined.
    virtual void openUrl(const std::string& url) = 0;
    // Ends the process. The real one never returns; a fake may.
    virtual void exitProcess(UINT code) = 0;
};

// MessageBoxW, ShellExecuteW "open" and ExitProcess.
SystemShell& realSystemShell();

// Tells the user to get the new version: up to three boxes (Yes on either of the first
// two skips the rest), then opens `page` and ends the process with exit code 0.
void runUpdateNotice(SystemShell& shell, const std::string& page);

// Fetches `url`, compares its text with kLocalVersion and runs the update notice when they
// differ (a failed fetch counts as different). Returns true when the program may go on;
// false only when the shell's exitProcess returned.
bool checkVersion(SystemShell& shell = realSystemShell(), const std::string& url = versionUrl(),
                  const std::string& page = downloadPage(), const HttpLimits& limits = {});

} // namespace yunti
