// Entry of yunti.exe: the rank switcher.
//
// The C++ run time initialises itself first; then the application object builds the skin
// objects in their fixed order, and run() starts the skin library, loads the main window
// (whose created event checks the version and skins it) and runs the message loop until
// the main window has closed. The application's destructor is the exit routine.

#include "app/application.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    yunti::Application application;
    return application.run();
}
