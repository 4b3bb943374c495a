#pragma once
// The skin library's process-wide state and its start-up.
//
// Life of the library in a program:
//   1. construction: the first Library::instance() builds the library-wide objects below, in
//      their declaration order, all empty. The application builds its main window's
//      SkinWindow before that and its pickers' SkinWindows after it.
//   2. startUp(), once, before the first window is loaded: GDI+, the OS version, the default
//      font, the timer period, the caption-button picture, the window class.
//   3. releaseAtExit(), from the program's exit routine, after the application released its
//      main window's SkinWindow and before it releases the pickers'.
// Nothing here may be used before startUp(); no part of the library checks for that.
//
// GDI+ is never shut down, the default font is never deleted and the window class never
// unregistered: the process end reclaims them. For the same reason the Library object
// itself is never destroyed, so no GDI+ call can run from a static destructor.

#include "skinui/library/message_box_objects.h"
#include "skinui/library/window_table.h"
#include "skinui/skin_image/skin_image.h"
#include "skinui/unique_handle.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace skinui {

// Class of the library's own popup windows (the message box).
constexpr const char* SkinWindowClassName = "Ex_DirectUI";

// Period in milliseconds of every library timer started without one.
constexpr int DefaultTimerPeriodMs = 80;

class Library final {
  public:
    static Library& instance();

    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;

    // Runs the start-up steps in order; a second call does nothing. Failures are not
    // reported: a failed GDI+ start makes all drawing do nothing, a missing face leaves
    // defaultFont null, a failed class registration makes the message box return at once.
    void startUp();

    // Releases the library-wide objects in exit order: the message box window, the window
    // table, the message box label and buttons, the caption-button picture.
    void releaseAtExit();

    bool started() const { return started_; }

    // --- set by startUp() ---
    ULONG_PTR gdiplusToken = 0;
    // The OS's real major version (not the one a compatibility shim reports); the text
    // renderer picks its glow from it.
    int osMajorVersion = 0;
    // 12 px regular "宋体" or a fallback; null when no face could be found.
    UniqueGpFont defaultFont;
    int defaultTimerPeriod = 0;

    // --- library-wide objects, in construction order ---
    MessageBoxObjects messageBox;
    WindowTable windowTable;
    // All caption buttons: a 729 x 20 sheet with alpha, loaded from the program's resources.
    SkinImage captionButtonImage;

  private:
    Library() = default;
    ~Library() = default;

    bool started_ = false;
};

// The module whose resources the library loads and whose instance its windows use.
HINSTANCE skinModule();

// The bytes of a resource of the running program; empty when it has none by that id.
std::span<const std::uint8_t> moduleResource(int id, const wchar_t* type = RT_RCDATA);

// The major version the running system really is (from the process environment block).
int readOsMajorVersion();

// The window procedure the class is registered with; skinned windows are subclassed away
// from it.
LRESULT CALLBACK defaultWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

// Registers a window class for the library's popups. Defaults: class "Ex_DirectUI", the
// program icon (resource 129), CS_DBLCLKS, the arrow cursor; a given value is used as is,
// 0 included. The background is COLOR_BTNFACE. True when a class atom came back.
bool registerSkinWindowClass(WNDPROC windowProc, std::string_view className = SkinWindowClassName,
                             std::optional<HICON> icon = std::nullopt,
                             std::optional<UINT> classStyle = std::nullopt,
                             std::optional<HCURSOR> cursor = std::nullopt);

} // namespace skinui
