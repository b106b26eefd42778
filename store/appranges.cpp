// The applications of a range of days: today's records from memory, the other days' from their
// files (or the index of them), summed by name.
#include "store/appranges.h"

#include <stdlib.h>

#include "store/appsfile.h"
#include "store/appsindex.h"
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

// The days of the range from their files: a day held in memory comes from there, and from its file
// too while that has not been read into memory yet. Finished days' texts come from the index of
// apps files where it holds them.
static void AddRangeFiles(int range, int todayFromFile)
{
    LoadOwnAppsIndex(Days.TodayDate);
    for (int i = 0; i < OwnAppsFileCount(); ++i) {
        const ListedAppsFile* file = OwnAppsFile(i);
        int date = file->Date;
        if (!DateInRange(range, date)) continue;
        const AppsDay* waiting = WaitingAppsDay(date);
        if (!(date == Days.TodayDate ? todayFromFile : !waiting || waiting->Unread)) continue;
        long size = 0;
        const char* text = OwnAppsIndexText(file, &size);
        unsigned long long fingerprint = 0;
        if (text) fingerprint = ReadAppsText(date, text, size, AddLineToShown, nullptr);
        else if (!ReadAppsLines(date, AddLineToShown, nullptr, &fingerprint)) continue;
        if (fingerprint) CountDayOnce(-date, fingerprint);
    }
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
    if (inMemory) AddDayToShown(today);
    // Finished days whose files could not be written yet count from memory.
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i)
        if (DateInRange(range, AppsOfDays.Waiting[i].Date)) AddDayToShown(&AppsOfDays.Waiting[i]);
    AddRangeFiles(range, !inMemory || today->Unread);
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
