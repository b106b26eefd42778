// Start-up of the store: the data folder beside the program, the day tables, the 21 days loaded.
#include <stdio.h>
#include <string.h>

#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"

enum { DirectoryLimit = 255 };
// At logon a sync client or an indexer may hold a day file for a moment: the start-up waits for
// held files up to this long in all; a file held longer is read at a later change of slot.
enum : DWORD { StartReadWaitMs = 3000 };

const char* AfterLastSeparator(const char* path)
{
    // A lead byte and its trail byte are stepped over together: a trail byte of 5C is part of a
    // character, not a '\'.
    const char* end = path;
    for (const char* q = path; *q; ++q) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*q)) && q[1]) {
            ++q;
            continue;
        }
        if (*q == '\\' || *q == '/') end = q + 1;
    }
    return end;
}

void ComposeDataDirectory(const char* exePath)
{
    char drive[3] = "";
    char directory[DirectoryLimit + 1] = "";
    const char* p = exePath;
    if (p[0] && p[1] == ':') {
        drive[0] = p[0];
        drive[1] = ':';
        p += 2;
    }
    // The directory runs up to and including the last separator.
    const char* end = AfterLastSeparator(p);
    size_t length = static_cast<size_t>(end - p);
    if (length > DirectoryLimit) length = DirectoryLimit;
    memcpy(directory, p, length);
    directory[length] = '\0';
    snprintf(App.DataDirectory, sizeof App.DataDirectory, FormatDataDirectory, drive, directory);
}

int SlotOfTime(const SYSTEMTIME* t) { return t->wHour * 10 + t->wMinute / 6; }

// The data part of the start-up, in the data folder that the program entry composed; the monitor
// window adds the tray icon before it and starts the clock and the hooks after it. One reading of
// the local time gives today's date and the current slot, so the tick that compares them later
// cannot find another date than the one the tables were built on.
int Startup(const SYSTEMTIME* now)
{
    CreateDirectoryA(App.DataDirectory, nullptr);  // an existing folder is the normal case

    BuildDayTables(DateNumber(now->wYear, now->wMonth, now->wDay));
    int result = 1;
    DWORD start = GetTickCount();
    if (DayFileExists(0)) {
        if (!LoadDayColumn(0, StartReadWaitMs)) result = 0;
    } else {
        ClearDayColumn(0);
        if (CreateDayFile() != 1) {
            App.TodayFileUnmade = 1;
            result = -1;
        }
    }
    for (int day = 1; day < DayCount; ++day) {
        DWORD waited = GetTickCount() - start;
        if (!LoadDayColumn(day, waited < StartReadWaitMs ? StartReadWaitMs - waited : 0) && result == 1) result = 0;
    }
    App.CurrentSlot = SlotOfTime(now);
    return result;
}
