#pragma once
// The shell's folder browser behind "选择目录", as a small interface so tests can answer it
// without a dialog that would block them.

#include <windows.h>

#include <string>

namespace yunti {

class FolderBrowser {
  public:
    virtual ~FolderBrowser() = default;
    // Asks for a folder; returns its path (UTF-8), or the empty text when the user cancels
    // or picks something that has no file system path.
    virtual std::string browse(HWND owner, const std::string& title) = 0;
};

// SHBrowseForFolderW with an edit box for typing the path, then SHGetPathFromIDListW.
FolderBrowser& realFolderBrowser();

} // namespace yunti
