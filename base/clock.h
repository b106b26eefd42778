// The program's only view of the clocks and of the shell's notification area; a test build links
// its own instead.
#pragma once
#include <windows.h>
#include <shellapi.h>

// Local wall-clock time, as GetLocalTime gives it. Dates and slots all come from it.
void ReadLocalTime(SYSTEMTIME* now);
// Milliseconds since the system started, as GetTickCount gives them, and the time of the last
// input the system took (GetLastInputInfo), in the same clock; 0 when it cannot be read.
DWORD ReadTickCount(void);
DWORD ReadLastInputTime(void);
// Asks the shell to add, change or remove a notification-area icon (Shell_NotifyIconW).
BOOL NotifyShell(DWORD message, NOTIFYICONDATAW* record);
