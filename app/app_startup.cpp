#include "app/app_startup.h"

#include "app/child_painting.h"
#include "app/rank_files.h"

namespace yunti {

skinui::AttachOptions mainWindowSkinOptions() {
    skinui::AttachOptions options;
    options.backgroundColor = 0xFFFFFF;
    options.captionFlags = skinui::CaptionTitle | skinui::CaptionClose | skinui::CaptionMinimize;
    options.fixedSize = 0;
    options.dragDisabled = 0;
    options.backgroundMargins = RECT{};
    return options;
}

bool runStartupHandler(MainWindow& window, VersionTexts& texts, const StartupSettings& settings) {
    texts.local = std::string(kLocalVersion);
    texts.remote = remoteVersionText(httpGet(settings.versionUrl, settings.limits));
    if (texts.remote != texts.local) {
        runUpdateNotice(settings.shell, settings.downloadPage);
        return false;
    }
    window.attachSkin(mainWindowSkinOptions());
    setWindowText(window.hwnd(), kMainWindowCaption);
    dropArchive(); // silent: a failed drop shows up only when a restore needs the archive
    return true;
}

} // namespace yunti
