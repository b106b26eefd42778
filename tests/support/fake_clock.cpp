// Replaces the program's clock at link time with a time the tests set.
#include "app/clock.h"
#include "support/fake_clock.h"

namespace {
SYSTEMTIME FakeNow = {2024, 3, 4, 7, 10, 0, 0, 0};
long CalendarOffset = 0;
int ShellWaits = 0;
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

void SetFakeCalendarOffset(long seconds) { CalendarOffset = seconds; }

time_t ReadCalendarTime(void)
{
    struct tm t = {};
    t.tm_year = FakeNow.wYear - 1900;
    t.tm_mon = FakeNow.wMonth - 1;
    t.tm_mday = FakeNow.wDay;
    t.tm_hour = FakeNow.wHour;
    t.tm_min = FakeNow.wMinute;
    t.tm_sec = FakeNow.wSecond;
    t.tm_isdst = -1;
    return mktime(&t) + CalendarOffset;
}

void WaitForShell(DWORD) { ++ShellWaits; }

int TakeShellWaits(void)
{
    int waits = ShellWaits;
    ShellWaits = 0;
    return waits;
}
