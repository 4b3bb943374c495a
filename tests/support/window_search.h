#pragma once
// Finding the windows of another process, for tests and benchmarks that drive the real
// program from outside.

#include <windows.h>

#include <functional>
#include <string>

namespace testing_support {

// Polls `done` every 20 ms until it holds or `timeoutMs` has passed; true when it held.
bool waitUntil(const std::function<bool()>& done, int timeoutMs = 10000);

// A window's text; works for controls of another process too.
std::wstring windowText(HWND hwnd);
std::wstring windowClassName(HWND hwnd);

// Calls `visit` for every top-level window (EnumWindows) or every descendant of `parent`
// (EnumChildWindows) until it returns false. Use these rather than passing a lambda to the
// Enum functions: the 32-bit build needs a CALLBACK (stdcall) routine there.
void forEachTopLevel(const std::function<bool(HWND)>& visit);
void forEachChild(HWND parent, const std::function<bool(HWND)>& visit);
// The same for the top-level windows of the calling thread (EnumThreadWindows).
void forEachThreadWindow(const std::function<bool(HWND)>& visit);

// A visible top-level window of the process, by caption and/or class (null: any).
HWND findTopLevel(DWORD processId, const wchar_t* caption, const wchar_t* windowClass = nullptr);

// The child window whose top-left corner lies at (x, y) from the top-left corner of
// `window`, the way a form places its controls; null when there is none.
HWND childAt(HWND window, int x, int y);

} // namespace testing_support
