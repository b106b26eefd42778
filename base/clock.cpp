// The real clocks and the real shell.
#include "base/clock.h"

// Local time is the system time plus the time zone's bias. Asking the system for the bias costs
// more than the rest of an idle tick (five times a second), so it is asked for again only a minute
// after the last time, and whenever the local time it gives enters another six-minute slot (where
// the clocks change for daylight saving time, and where a new slot begins anyway). A clock that is
// set shows at once; a new time zone within a minute.
struct LocalClock {
    long long Bias, Slot;
    DWORD BiasReadAt;
    int Known;
};
static LocalClock Clock;

enum : DWORD { BiasRereadMs = 60000 };
static const long long FileTimeUnitsPerSlot = 6LL * 60 * 10000000;

static long long FileTimeValue(const FILETIME* time)
{
    return static_cast<long long>(static_cast<unsigned long long>(time->dwHighDateTime) << 32 | time->dwLowDateTime);
}

static void ReadBias(const FILETIME* utc)
{
    FILETIME local;
    Clock.Known = FileTimeToLocalFileTime(utc, &local);
    Clock.Bias = FileTimeValue(&local) - FileTimeValue(utc);
    Clock.BiasReadAt = GetTickCount();
}

void ReadLocalTime(SYSTEMTIME* now)
{
    FILETIME utc;
    GetSystemTimeAsFileTime(&utc);
    if (!Clock.Known || GetTickCount() - Clock.BiasReadAt >= BiasRereadMs) ReadBias(&utc);
    long long local = FileTimeValue(&utc) + Clock.Bias;
    if (local / FileTimeUnitsPerSlot != Clock.Slot) {
        ReadBias(&utc);
        local = FileTimeValue(&utc) + Clock.Bias;
        Clock.Slot = local / FileTimeUnitsPerSlot;
    }
    FILETIME time = {static_cast<DWORD>(local), static_cast<DWORD>(static_cast<unsigned long long>(local) >> 32)};
    if (!Clock.Known || !FileTimeToSystemTime(&time, now)) GetLocalTime(now);
}

DWORD ReadTickCount(void) { return GetTickCount(); }

DWORD ReadLastInputTime(void)
{
    LASTINPUTINFO input = {sizeof input, 0};
    return GetLastInputInfo(&input) ? input.dwTime : 0;
}

BOOL NotifyShell(DWORD message, NOTIFYICONDATAW* record) { return Shell_NotifyIconW(message, record); }
