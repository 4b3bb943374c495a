#include "app/application.h"

namespace yunti {

Application::Application() : Application(Settings{}) {}

Application::Application(Settings settings)
    : settings_(std::move(settings)),
      shell_(settings_.shell ? *settings_.shell : realSystemShell(), *this),
      mainSkin_(std::make_unique<skinui::SkinWindow>()), library_(skinui::Library::instance()),
      targetPickerSkin_(std::make_unique<skinui::SkinWindow>()),
      presentPickerSkin_(std::make_unique<skinui::SkinWindow>()) {}

Application::~Application() {
    mainWindow_.reset();
    runExitRoutine();
}

int Application::run() {
    startLibrary();
    if (!loadMainWindow())
        return 0;
    return runMessageLoop();
}

void Application::startLibrary() {
    library_.startUp();
}

bool Application::loadMainWindow() {
    if (exitRoutineRan_)
        return false;
    mainWindow_ = std::make_unique<MainWindow>(
        MainWindow::Skins{*mainSkin_, *presentPickerSkin_, *targetPickerSkin_},
        settings_.folderBrowser ? *settings_.folderBrowser : realFolderBrowser());
    mainWindow_->setOnCreated([this](MainWindow& window) {
        const StartupSettings startup{shell_, settings_.versionUrl, settings_.downloadPage,
                                      settings_.limits};
        return runStartupHandler(window, texts_, startup);
    });
    // When the main window has closed, the program ends.
    mainWindow_->setOnDestroyed([] { ::PostQuitMessage(0); });
    return mainWindow_->load();
}

int Application::runMessageLoop() {
    MSG message{};
    while (::GetMessageW(&message, nullptr, 0, 0) > 0) {
        ::TranslateMessage(&message);
        ::DispatchMessageW(&message);
    }
    return static_cast<int>(message.wParam);
}

void Application::runExitRoutine() {
    if (exitRoutineRan_)
        return;
    exitRoutineRan_ = true;
    texts_ = VersionTexts{};
    mainSkin_.reset();
    library_.releaseAtExit();
    targetPickerSkin_.reset();
    presentPickerSkin_.reset();
}

} // namespace yunti
