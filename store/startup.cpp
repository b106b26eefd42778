// Start-up of the store: the data folder made, the day tables built, the 21 days loaded.
#include "store/state.h"
#include "store/store.h"

int SlotOfTime(const SYSTEMTIME* t) { return t->wHour * 10 + t->wMinute / 6; }

// The data part of the start-up, in the data folder that the program entry composed; the monitor
// window adds the tray icon before it and starts the clock and the hooks after it. One reading of
// the local time gives today's date and the current slot, so the tick that compares them later
// cannot find another date than the one the tables were built on.
int Startup(const SYSTEMTIME* now)
{
    CreateDirectoryW(App.DataDirectory, nullptr);  // an existing folder is the normal case

    BuildDayTables(DateNumber(now->wYear, now->wMonth, now->wDay));
    int result = 1;
    if (DayFileExists(0)) {
        if (!LoadDayColumn(0)) result = 0;
    } else {
        ClearDayColumn(0);
        if (CreateDayFile() != 1) {
            App.TodayFileUnmade = 1;
            result = -1;
        }
    }
    for (int day = 1; day < DayCount; ++day)
        if (!LoadDayColumn(day) && result == 1) result = 0;
    App.CurrentSlot = SlotOfTime(now);
    return result;
}
