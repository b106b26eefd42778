// The start-up baseline: a Win32 program that does nothing and exits at once.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 0; }
