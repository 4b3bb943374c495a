// Entry of yunti.exe.
//
// The program's windows are built on the skin library, which is still being written; until
// they exist the program says so instead of showing a half-made window.

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    ::MessageBoxW(nullptr,
                  L"云梯助手的窗口还在制作中：这一版只有军衔文件的修改与还原功能，尚无操作界面。",
                  L"云梯助手", MB_OK | MB_ICONINFORMATION);
    return 0;
}
