// Activity per application: the records of a day, and today's as they are written at the changes
// of slot and of day.
#include "store/apprecords.h"

#include <string.h>

#include "store/appsfile.h"

ApplicationDays AppsOfDays;

const char AppNameUnknown[] = u8"(不明)";
const char AppNameOthers[] = u8"(その他)";


// Cut at a character's start, so that a long name never ends in half a UTF-8 sequence.
void CopyAppName(char* to, const char* from, int length)
{
    if (length >= AppNameSize) {
        length = AppNameSize - 1;
        while (length > 0 && (static_cast<unsigned char>(from[length]) & 0xC0) == 0x80) --length;
    }
    memcpy(to, from, length);
    to[length] = '\0';
}

int FindAppRecord(const AppRecord* records, int count, const char* name)
{
    for (int i = 0; i < count; ++i)
        if (strcmp(records[i].Name, name) == 0) return i;
    return NoApp;
}

int AddAppRecord(AppRecord* records, int* count, const char* name)
{
    AppRecord* r = &records[(*count)++];
    memset(r, 0, sizeof *r);
    CopyAppName(r->Name, name, lstrlenA(name));
    return *count - 1;
}

void AddAppValues(AppRecord* r, const long long* values)
{
    r->Clicks += values[0], r->Keys += values[1], r->Travel += values[2];
    r->ActiveMs += values[3] * MsPerSecond;
}

int CompareAppRecords(const AppRecord* a, const AppRecord* b)
{
    if (a->ActiveMs / MsPerSecond != b->ActiveMs / MsPerSecond) return a->ActiveMs / MsPerSecond > b->ActiveMs / MsPerSecond ? -1 : 1;
    if (a->Clicks != b->Clicks) return a->Clicks > b->Clicks ? -1 : 1;
    return strcmp(a->Name, b->Name);
}

int AppOfName(AppsDay* day, const char* name)
{
    int found = FindAppRecord(day->Records, day->Count, name);
    if (found != NoApp) return found;
    int others = FindAppRecord(day->Records, day->Count, AppNameOthers);
    int named = day->Count - (others != NoApp);
    if (strcmp(name, AppNameOthers) != 0 && named >= AppsPerDay - 1) {
        if (others != NoApp) return others;
        name = AppNameOthers;
    }
    return AddAppRecord(day->Records, &day->Count, name);
}

int AppOfToday(const char* name) { return AppOfName(&AppsOfDays.Today, name); }

void ClearAppsDay(AppsDay* day, int date)
{
    day->Date = date;
    day->Count = day->Unread = day->Unsaved = 0;
}

void SetAppsRecording(int on) { AppsOfDays.Recording = on; }

void LoadAppsOfToday(int date)
{
    AppsDay* today = &AppsOfDays.Today;
    ClearAppsDay(today, date);
    today->Unread = !ReadAppsFile(today);
}

// 1 when the day's file holds its records (a day without records writes none); 0 when the write
// failed; -1 while its file cannot be read.
static int SaveAppsDay(AppsDay* day)
{
    if (day->Unread && ReadAppsFile(day)) day->Unread = 0;
    if (day->Unread) return -1;
    if (day->Count == 0) return 1;
    return WriteAppsFile(day);
}

int SaveApps(void)
{
    AppsDay* earlier = &AppsOfDays.EarlierDay;
    int ok = 1;
    if (earlier->Unsaved) {
        int saved = SaveAppsDay(earlier);
        if (saved == 1) earlier->Unsaved = 0;
        else ok = 0;
    }
    int saved = SaveAppsDay(&AppsOfDays.Today);
    return saved == 0 || !ok ? 0 : saved;
}

int RollAppsOver(int date)
{
    AppsDay* earlier = &AppsOfDays.EarlierDay;
    if (date == AppsOfDays.Today.Date) return 1;
    // Only one finished day waits in memory: an older one still waiting has its last try here.
    if (earlier->Unsaved && SaveAppsDay(earlier) == 1) earlier->Unsaved = 0;
    int result = SaveAppsDay(&AppsOfDays.Today) == 1;
    if (!result) {
        *earlier = AppsOfDays.Today;
        earlier->Unsaved = 1;
    }
    LoadAppsOfToday(date);
    return result;
}

void ClearAppsOfDays(int today)
{
    ClearAppsDay(&AppsOfDays.Today, today);
    ClearAppsDay(&AppsOfDays.EarlierDay, 0);
}
