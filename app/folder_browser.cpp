#include "app/folder_browser.h"

#include "skinui/text_conversion.h"

#include <objbase.h>
#include <shlobj.h>

namespace yunti {

namespace {

class ShellFolderBrowser final : public FolderBrowser {
  public:
    std::string browse(HWND owner, const std::string& title) override {
        // The browser's tree is a COM control; it needs an apartment on this thread (a
        // second initialisation is harmless and is balanced below).
        const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        const std::wstring wideTitle = skinui::toWide(title);
        BROWSEINFOW info{};
        info.hwndOwner = owner;
        info.lpszTitle = wideTitle.c_str();
        info.ulFlags = BIF_EDITBOX;
        std::string path;
        if (PIDLIST_ABSOLUTE list = ::SHBrowseForFolderW(&info)) {
            wchar_t buffer[MAX_PATH] = {};
            if (::SHGetPathFromIDListW(list, buffer))
                path = skinui::toUtf8(buffer);
            ::CoTaskMemFree(list);
        }
        if (SUCCEEDED(com))
            ::CoUninitialize();
        return path;
    }
};

} // namespace

FolderBrowser& realFolderBrowser() {
    static ShellFolderBrowser browser;
    return browser;
}

} // namespace yunti
