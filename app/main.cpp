// Entry of yunti.exe.
//
// The program's windows are built on the skin library, which is still being written; until
// they exist the program says so instead of showing a half-made window.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::MessageBoxW(nullptr,
                  L"云梯助手的窗口尚未完成：这个版本只含军衔文件的修改与还原功能（由测试驱动）。",
                  L"云梯助手", MB_OK | MB_ICONINFORMATION);
    return 0;
}
