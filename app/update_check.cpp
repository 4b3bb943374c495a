#include "app/update_check.h"

#include "skinui/text_conversion.h"

#include <objbase.h>
#include <shellapi.h>

#include <algorithm>

#ifndef YUNTI_VERSION_URL
#error "YUNTI_VERSION_URL comes from the build (app/CMakeLists.txt)"
#endif
#ifndef YUNTI_DOWNLOAD_PAGE
#error "YUNTI_DOWNLOAD_PAGE comes from the build (app/CMakeLists.txt)"
#endif

namespace yunti {

namespace {

const char* const kNoticeCaption = "信息：";
const char* const kFirstNotice = "系统发现最新版本，请下载最新的版本。";
const char* const kSecondNotice = "当前不是最新版本，请下载最新的版本。";
const char* const kFinalNotice = "很抱歉，当前版本已失效停用，请下载最新版本使用。";

class RealSystemShell final : public SystemShell {
  public:
    int messageBox(const std::string& text, const std::string& caption, UINT flags) override {
        return ::MessageBoxW(nullptr, skinui::toWide(text).c_str(), skinui::toWide(caption).c_str(),
                             flags);
    }

    void openUrl(const std::string& url) override {
        // The shell may hand the address to a COM handler; it asks for an initialised
        // apartment on the calling thread (a second initialisation is harmless).
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
        ::ShellExecuteW(nullptr, L"open", skinui::toWide(url).c_str(), nullptr, nullptr,
                        SW_SHOWNORMAL);
    }

    void exitProcess(UINT code) override { ::ExitProcess(code); }
};

} // namespace

const std::string& versionUrl() {
    static const std::string url = YUNTI_VERSION_URL;
    return url;
}

const std::string& downloadPage() {
    static const std::string page = YUNTI_DOWNLOAD_PAGE;
    return page;
}

std::string remoteVersionText(const std::vector<std::uint8_t>& body) {
    const auto end = std::find(body.begin(), body.end(), std::uint8_t{0});
    return std::string(body.begin(), end);
}

bool isCurrentVersion(std::string_view remote) {
    return remote == kLocalVersion;
}

SystemShell& realSystemShell() {
    static RealSystemShell shell;
    return shell;
}

void runUpdateNotice(SystemShell& shell, const std::string& page) {
    const UINT question = MB_YESNO | MB_ICONQUESTION | MB_TASKMODAL;
    if (shell.messageBox(kFirstNotice, kNoticeCaption, question) != IDYES &&
        shell.messageBox(kSecondNotice, kNoticeCaption, question) != IDYES)
        shell.messageBox(kFinalNotice, kNoticeCaption, MB_OK | MB_ICONINFORMATION | MB_TASKMODAL);
    shell.openUrl(page);
    shell.exitProcess(0);
}

bool checkVersion(SystemShell& shell, const std::string& url, const std::string& page,
                  const HttpLimits& limits) {
    if (isCurrentVersion(remoteVersionText(httpGet(url, limits))))
        return true;
    runUpdateNotice(shell, page);
    return false;
}

} // namespace yunti
