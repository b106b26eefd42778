// The start-up baseline: a Win32 program that loads what vantle.exe loads at start (the common
// controls 6 through the same manifest, shell32 and the hook library) and exits at once.
#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include "hook/hookapi.h"

// Taken by its address, not called: shell32 comes in through the import table, as for vantle.exe.
static decltype(&Shell_NotifyIconA) volatile ShellEntry = Shell_NotifyIconA;

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    InitCommonControls();
    return LostHookEvents() + (ShellEntry == nullptr);
}
