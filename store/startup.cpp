// Start-up of the store: the data folder made, the day tables built, the 21 days loaded.
#include "store/startup.h"

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/dayfile.h"
#include "store/days.h"

// In the data folder that the program entry composed; the monitor window adds the tray icon before
// it and starts the clock and the hooks after it. One reading of the local time gives today's date
// and the current slot, so the tick that compares them later cannot find another date than the one
// the tables were built on.
int Startup(const SYSTEMTIME* now)
{
    MakeDataDirectory();
    BuildDayTables(DateOfTime(now));
    int result = LoadTodayFile();
    for (int day = 1; day < DayCount; ++day)
        if (!LoadDayColumn(day) && result == 1) result = 0;
    MoveToSlot(SlotOfTime(now));
    return result;
}
