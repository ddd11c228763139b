// The floor of every GUI program under Wine for bench/reg: a Win32 program
// that loads user32 and returns at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    return GetDesktopWindow() != nullptr ? 0 : 1;
}
