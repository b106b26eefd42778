// The program's only view of the clock; a test build links its own clock instead.
#pragma once
#include <windows.h>
#include <time.h>

// Local wall-clock time, as GetLocalTime gives it.
void ReadLocalTime(SYSTEMTIME* now);
// Calendar time, as time() gives it.
time_t ReadCalendarTime(void);
