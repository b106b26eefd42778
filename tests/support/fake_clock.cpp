// Replaces the program's clock at link time with a time the tests set.
#include <gtest/gtest.h>
#include <stdio.h>

#include "app/clock.h"
#include "store/state.h"
#include "support/fake_clock.h"
#include "support/testwin.h"

namespace {
SYSTEMTIME FakeNow = {2024, 3, 4, 7, 10, 0, 0, 0};
int ShellWaits = 0, WaitsInARow = 0;
const int ShellWaitsAtMost = 20;
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

void ReadLocalTime(SYSTEMTIME* now)
{
    *now = FakeNow;
    WaitsInARow = 0;
}

int FakeDate(void) { return FakeNow.wYear * 10000 + FakeNow.wMonth * 100 + FakeNow.wDay; }

// A start-up reads the clock once it has the tray icon: waits with no reading between belong to
// one start-up. Too many fail the test; the icon is then removed, so that the next add succeeds,
// and should even that not end the waits, the test program ends rather than hang.
void WaitForShell(DWORD)
{
    ++ShellWaits;
    if (++WaitsInARow % ShellWaitsAtMost) return;
    ADD_FAILURE() << "the start-up still waits for the shell after " << WaitsInARow << " attempts";
    if (WaitsInARow > ShellWaitsAtMost) {
        fflush(stdout);
        ExitProcess(3);
    }
    NotifyTrayIcon(NIM_DELETE, App.MonitorWindow);
}

int TakeShellWaits(void)
{
    int waits = ShellWaits;
    ShellWaits = 0;
    return waits;
}
