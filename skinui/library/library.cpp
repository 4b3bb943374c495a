#include "skinui/library/library.h"

#include "skinui/library/fonts.h"
#include "skinui/text_conversion.h"

#include "resource_ids.h"

#include <gdiplus.h>

#include <string>

namespace skinui {

Library& Library::instance() {
    static Library* library = new Library; // never destroyed, see library.h
    return *library;
}

void Library::startUp() {
    if (started_)
        return;
    started_ = true;

    Gdiplus::GdiplusStartupInput input; // version 1, no debug callback, background thread
    Gdiplus::GdiplusStartup(&gdiplusToken, &input, nullptr);
    osMajorVersion = readOsMajorVersion();
    defaultFont = createDefaultFont();
    defaultTimerPeriod = DefaultTimerPeriodMs;
    captionButtonImage.loadFromBytes(moduleResource(IDR_CAPTION_BUTTONS));
    registerSkinWindowClass(defaultWindowProc);
}

void Library::releaseAtExit() {
    messageBox.releaseWindow(); // before the window table
    windowTable.clear();
    windowTable.shrink_to_fit();
    messageBox.releaseControls(); // after it: no record refers to them any more
    messageBox.ownerImage.dispose();
    captionButtonImage.dispose();
}

HINSTANCE skinModule() {
    return ::GetModuleHandleW(nullptr);
}

std::span<const std::uint8_t> moduleResource(int id, const wchar_t* type) {
    const HMODULE module = skinModule();
    HRSRC info = ::FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!info)
        return {};
    HGLOBAL loaded = ::LoadResource(module, info); // resources need no freeing
    const void* data = loaded ? ::LockResource(loaded) : nullptr;
    if (!data)
        return {};
    return {static_cast<const std::uint8_t*>(data), ::SizeofResource(module, info)};
}

int readOsMajorVersion() {
    // RtlGetVersion reads the process environment block's OSMajorVersion, which, unlike
    // GetVersionEx, no manifest or compatibility mode changes.
    using RtlGetVersionFn = LONG(WINAPI*)(OSVERSIONINFOW*);
    HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
    auto rtlGetVersion = ntdll ? reinterpret_cast<RtlGetVersionFn>(reinterpret_cast<void*>(
                                     ::GetProcAddress(ntdll, "RtlGetVersion")))
                               : nullptr;
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof(info);
    if (!rtlGetVersion || rtlGetVersion(&info) != 0)
        return 0;
    return static_cast<int>(info.dwMajorVersion);
}

LRESULT CALLBACK defaultWindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

bool registerSkinWindowClass(WNDPROC windowProc, std::string_view className,
                             std::optional<HICON> icon, std::optional<UINT> classStyle,
                             std::optional<HCURSOR> cursor) {
    const HINSTANCE instance = skinModule();
    const std::wstring name = toWide(className);
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = classStyle.value_or(CS_DBLCLKS);
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = icon ? *icon : ::LoadIconW(instance, MAKEINTRESOURCEW(IDI_APP_ICON));
    windowClass.hCursor = cursor ? *cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    windowClass.lpszClassName = name.c_str();
    return ::RegisterClassExW(&windowClass) != 0;
}

} // namespace skinui
