// The test build's clocks and shell: tests set the local time and the tick clock the program
// sees, and can keep the shell away.
#pragma once
#include <windows.h>
#include <time.h>

void SetFakeTime(int year, int month, int day, int hour, int minute, int second);
// The fake local date as year * 10000 + month * 100 + day, as the day tables take it.
int FakeDate(void);
// The tick clock (GetTickCount and the last input time alike) moved ahead by ms more, and back to
// the real one (each test starts there).
void AdvanceTickClock(DWORD ms);
void ResetTickClock(void);
// The tick clock stands still until advanced (or reset): what happens meanwhile happens at once.
void StopTickClock(void);
// The last input seen as made this long before every reading of it; negative: the system's own.
void SetInputAge(long ms);
// The shell refuses the next requests to add or change an icon, as when there is no
// notification area yet; 0 brings it back.
void SetShellAway(int requests);
