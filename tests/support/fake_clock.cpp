// Replaces the program's clocks and shell at link time with ones the tests set.
#include "base/clock.h"
#include "support/fake_clock.h"

#include <vector>

namespace {
SYSTEMTIME FakeNow = {2024, 3, 4, 7, 10, 0, 0, 0};
DWORD TickOffset = 0;
struct TickAdvance {
    DWORD at, ms;  // the real tick count when the clock was advanced, and by how much
};
std::vector<TickAdvance> Advances;
int ShellAwayFor = 0;
bool Stopped = false;
DWORD StoppedAt = 0;
long InputAge = -1;
}

void SetFakeTime(int year, int month, int day, int hour, int minute, int second)
{
    struct tm t = {};
    t.tm_year = year - 1900;
    t.tm_mon = month - 1;
    t.tm_mday = day;
    t.tm_hour = hour;
    t.tm_min = minute;
    t.tm_sec = second;
    t.tm_isdst = -1;
    mktime(&t);  // normalises and fills the weekday
    FakeNow.wYear = static_cast<WORD>(t.tm_year + 1900);
    FakeNow.wMonth = static_cast<WORD>(t.tm_mon + 1);
    FakeNow.wDay = static_cast<WORD>(t.tm_mday);
    FakeNow.wDayOfWeek = static_cast<WORD>(t.tm_wday);
    FakeNow.wHour = static_cast<WORD>(t.tm_hour);
    FakeNow.wMinute = static_cast<WORD>(t.tm_min);
    FakeNow.wSecond = static_cast<WORD>(t.tm_sec);
    FakeNow.wMilliseconds = 0;
}

void ReadLocalTime(SYSTEMTIME* now) { *now = FakeNow; }

int FakeDate(void) { return FakeNow.wYear * 10000 + FakeNow.wMonth * 100 + FakeNow.wDay; }

DWORD ReadTickCount(void) { return Stopped ? StoppedAt : GetTickCount() + TickOffset; }

void StopTickClock(void)
{
    StoppedAt = ReadTickCount();
    Stopped = true;
}

// An input keeps the tick-clock time it was made at: the clock's advances since then do not
// move it.
DWORD ReadLastInputTime(void)
{
    if (InputAge >= 0) return ReadTickCount() - static_cast<DWORD>(InputAge);
    LASTINPUTINFO input = {sizeof input, 0};
    if (!GetLastInputInfo(&input)) return 0;
    DWORD offset = TickOffset;
    for (const TickAdvance& a : Advances)
        if (static_cast<LONG>(a.at - input.dwTime) > 0) offset -= a.ms;
    return input.dwTime + offset;
}

// An input made before an advance lies before it: the real clock is let pass the millisecond of
// the last input first, since an input and an advance read in the same millisecond would put the
// input after the advance and make it look as young as the clock's new time.
void AdvanceTickClock(DWORD ms)
{
    LASTINPUTINFO input = {sizeof input, 0};
    for (DWORD start = GetTickCount(); GetLastInputInfo(&input) && static_cast<LONG>(GetTickCount() - input.dwTime) <= 0 &&
                                       GetTickCount() - start < 100;)
        Sleep(1);
    Advances.push_back({GetTickCount(), ms});
    TickOffset += ms;
    StoppedAt += ms;
}

void ResetTickClock(void)
{
    Advances.clear();
    TickOffset = 0;
    Stopped = false;
}

BOOL NotifyShell(DWORD message, NOTIFYICONDATAW* record)
{
    if (ShellAwayFor > 0 && message != NIM_DELETE) {
        --ShellAwayFor;
        return FALSE;
    }
    return Shell_NotifyIconW(message, record);
}

void SetInputAge(long ms) { InputAge = ms; }

void SetShellAway(int requests) { ShellAwayFor = requests; }
