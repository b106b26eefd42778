// The real clock: the system's local time, and real waits.
#include "app/clock.h"

void ReadLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }

void WaitForShell(DWORD ms) { Sleep(ms); }
