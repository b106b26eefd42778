// The test build's clock: tests set the local time the program sees.
#pragma once
#include <time.h>

void SetFakeTime(int year, int month, int day, int hour, int minute, int second);
// The fake local date as year * 10000 + month * 100 + day, as the day tables take it.
int FakeDate(void);
// What the C runtime's calendar clock would say: the fake local time moved by the offset.
// A laptop that changed time zone has the two disagree; the program must not take dates from it.
void SetFakeCalendarOffset(long seconds);
time_t ReadCalendarTime(void);
// How many waits for the shell the program made since the last call; the test clock does not
// wait.
int TakeShellWaits(void);
