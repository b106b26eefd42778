// The real clocks and the real shell.
#include "base/clock.h"

void ReadLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }

DWORD ReadTickCount(void) { return GetTickCount(); }

DWORD ReadLastInputTime(void)
{
    LASTINPUTINFO input = {sizeof input, 0};
    return GetLastInputInfo(&input) ? input.dwTime : 0;
}

BOOL NotifyShell(DWORD message, NOTIFYICONDATAW* record) { return Shell_NotifyIconW(message, record); }
