// The test build's clock: tests set the local time the program sees.
#pragma once
#include <time.h>

void SetFakeTime(int year, int month, int day, int hour, int minute, int second);
// The fake local date as year * 10000 + month * 100 + day, as the day tables take it.
int FakeDate(void);
// How many waits for the shell the program made since the last call. The test clock does not
// wait; a start-up that goes on waiting fails the test and has the monitor window's tray icon
// removed, so that its next add succeeds and the test goes on instead of hanging.
int TakeShellWaits(void);
