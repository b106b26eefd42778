// The real clock: the system's local time and calendar time.
#include "app/clock.h"

void ReadLocalTime(SYSTEMTIME* now) { GetLocalTime(now); }

time_t ReadCalendarTime(void) { return time(nullptr); }
