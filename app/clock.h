// The program's only view of the clock; a test build links its own clock instead.
#pragma once
#include <windows.h>

// Local wall-clock time, as GetLocalTime gives it. Dates and slots all come from it.
void ReadLocalTime(SYSTEMTIME* now);
// Waits before an attempt to reach the shell (the tray icon at a start before the taskbar).
void WaitForShell(DWORD ms);
