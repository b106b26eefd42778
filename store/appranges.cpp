// The applications of a range of days: today's records from memory, the other days' from their
// files, summed by name.
#include "store/appranges.h"

#include <stdlib.h>

#include "store/appsfile.h"
#include "store/datafolder.h"
#include "store/days.h"
#include "store/ranges.h"
#include "store/sharedpcs.h"

ApplicationRange ShownApps;


// The row of a name among the shown ones; past their capacity, the row "(その他)".
static AppRecord* ShownRow(const char* name)
{
    AppRecord* rows = ShownApps.Rows;
    int row = FindAppRecord(rows, ShownApps.Count, name);
    if (row == NoApp && ShownApps.Count < AppsShownCapacity - 1) row = AddAppRecord(rows, &ShownApps.Count, name);
    if (row == NoApp) row = FindAppRecord(rows, ShownApps.Count, AppNameOthers);
    if (row == NoApp) row = AddAppRecord(rows, &ShownApps.Count, AppNameOthers);
    return &rows[row];
}

static void AddLineToShown(void* target, const char* name, const long long* values)
{
    (void)target;
    AddAppValues(ShownRow(name), values);
    ShownApps.TotalMs += values[3] * MsPerSecond;
}

// Records held in memory: rows without a count (an application that was only looked at) are not
// shown.
static void AddDayToShown(const AppsDay* day)
{
    for (int i = 0; i < day->Count; ++i) {
        const AppRecord* r = &day->Records[i];
        if (AppRecordEmpty(r)) continue;
        AppRecord* row = ShownRow(r->Name);
        row->Clicks += r->Clicks, row->Keys += r->Keys, row->Travel += r->Travel, row->ActiveMs += r->ActiveMs;
        ShownApps.TotalMs += r->ActiveMs;
    }
}

struct RangeFiles {
    int Range;
    int TodayFromFile;
};

// A day held in memory comes from there; from its file too while that has not been read into
// memory yet.
static int AddRangeFile(void* context, int date)
{
    const RangeFiles* files = static_cast<const RangeFiles*>(context);
    if (!DateInRange(files->Range, date)) return 1;
    const AppsDay* waiting = WaitingAppsDay(date);
    int fromFile = date == Days.TodayDate ? files->TodayFromFile : !waiting || waiting->Unread;
    unsigned long long fingerprint = 0;
    if (fromFile && ReadAppsLines(date, AddLineToShown, nullptr, &fingerprint) && fingerprint)
        CountDayOnce(-date, fingerprint);
    return 1;
}

static int DateOfRange(void* context, int date) { return DateInRange(*static_cast<const int*>(context), date); }

static int CompareAppRows(const void* a, const void* b)
{
    return CompareAppRecords(static_cast<const AppRecord*>(a), static_cast<const AppRecord*>(b));
}

static void CollectOwnApps(int range)
{
    // Today comes from memory while it is recorded there (its file lags by up to a slot), and
    // also from its file while that has not been read into memory yet.
    const AppsDay* today = &AppsOfDays.Today;
    // (Switched off, memory holds only counts that could not be written when it was switched off.)
    int inMemory = AppsOfDays.Recording || today->Changed;
    RangeFiles files = {range, !inMemory || today->Unread};
    if (inMemory) AddDayToShown(today);
    // Finished days whose files could not be written yet count from memory.
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i)
        if (DateInRange(range, AppsOfDays.Waiting[i].Date)) AddDayToShown(&AppsOfDays.Waiting[i]);
    ListDatedFiles(ComposeDataFilePath(AppsFilePattern), AppsFileSuffix, AddRangeFile, &files);
}

// This PC's files come first, so that a copy of them that another identity published counts not
// again.
int CollectApps(int range, int pc)
{
    ShownApps.Count = 0;
    ShownApps.TotalMs = 0;
    ClearCountedDays();
    if (pc == ThisPc || pc == AllPcs) CollectOwnApps(range);
    for (int other = 0; other < SharedPcCount(); ++other)
        if (pc == AllPcs || pc == other) ReadPcApps(other, DateOfRange, &range, AddLineToShown, nullptr);
    qsort(ShownApps.Rows, ShownApps.Count, sizeof ShownApps.Rows[0], CompareAppRows);
    return ShownApps.Count;
}
