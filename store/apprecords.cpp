// Activity per application: the records of a day, and today's as they are written at the changes
// of slot and of day; finished days that could not be written wait here.
#include "store/apprecords.h"

#include <string.h>

#include "base/dates.h"
#include "store/appsfile.h"
#include "store/datafolder.h"

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
    day->Count = day->Unread = day->Changed = 0;
}

void SetAppsRecording(int on) { AppsOfDays.Recording = on; }

int LoadAppsOfToday(int date)
{
    AppsDay* today = &AppsOfDays.Today;
    if (today->Changed && today->Date == date) return 0;
    ClearAppsDay(today, date);
    today->Unread = !ReadAppsFile(today);
    return 1;
}

// 1 when the day's file holds its records (a day without new counts writes nothing); 0 when the
// write failed; -1 while its file cannot be read.
static int SaveAppsDay(AppsDay* day)
{
    if (!day->Changed) return 1;
    if (day->Unread && ReadAppsFile(day)) day->Unread = 0;
    if (day->Unread) return -1;
    if (!WriteAppsFile(day)) return 0;
    day->Changed = 0;
    return 1;
}

// The worst of two results: a failed write before an unread file, either before success.
static int WorseResult(int a, int b) { return a == 0 || b == 0 ? 0 : a < b ? a : b; }

static int SaveWaitingDays(void)
{
    int result = 1, kept = 0;
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i) {
        int saved = SaveAppsDay(&AppsOfDays.Waiting[i]);
        result = WorseResult(result, saved);
        if (saved == 1) continue;
        if (kept != i) AppsOfDays.Waiting[kept] = AppsOfDays.Waiting[i];
        ++kept;
    }
    AppsOfDays.WaitingCount = kept;
    return result;
}

int SaveApps(void)
{
    int result = SaveWaitingDays();
    return WorseResult(result, SaveAppsDay(&AppsOfDays.Today));
}

// A day that could not be written waits; a second wait for the same date (a clock set back) adds
// to the first. Past the capacity the oldest waiting day goes, as the day files' oldest day does.
static void WaitToBeWritten(const AppsDay* day)
{
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i) {
        AppsDay* waiting = &AppsOfDays.Waiting[i];
        if (waiting->Date != day->Date) continue;
        for (int r = 0; r < day->Count; ++r) {
            const AppRecord* from = &day->Records[r];
            AppRecord* to = &waiting->Records[AppOfName(waiting, from->Name)];
            to->Clicks += from->Clicks, to->Keys += from->Keys, to->Travel += from->Travel, to->ActiveMs += from->ActiveMs;
        }
        return;
    }
    if (AppsOfDays.WaitingCount == AppsWaitingCapacity) {
        memmove(&AppsOfDays.Waiting[0], &AppsOfDays.Waiting[1], (AppsWaitingCapacity - 1) * sizeof(AppsDay));
        --AppsOfDays.WaitingCount;
    }
    AppsOfDays.Waiting[AppsOfDays.WaitingCount++] = *day;
}

int RollAppsOver(int date)
{
    AppsDay* today = &AppsOfDays.Today;
    if (date == today->Date) return 1;
    int waiting = SaveWaitingDays();
    int result = SaveAppsDay(today);
    if (result != 1) WaitToBeWritten(today);
    today->Changed = 0;
    LoadAppsOfToday(date);
    return WorseResult(waiting, result);
}

// The merged day is written at once, or waits in memory like any day whose file could not be
// written (its new version is gone by then: the write reuses its name).
static int TakeUpOrphan(void* context, int date)
{
    (void)context;
    if (AppsOfDays.WaitingCount == AppsWaitingCapacity) return 0;
    AppsDay* day = &AppsOfDays.Waiting[AppsOfDays.WaitingCount];
    if (!ReadOrphanedAppsFile(date, day)) return 1;
    day->Changed = 1;
    if (SaveAppsDay(day) != 1) ++AppsOfDays.WaitingCount;
    return 1;
}

void TakeUpOrphanedApps(void)
{
    ListDatedFiles(ComposeDataFilePath(AppsTempPattern), AppsTempSuffix, TakeUpOrphan, nullptr);
}

int AppsFilesUnread(void)
{
    int unread = AppsOfDays.Today.Unread;
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i) unread |= AppsOfDays.Waiting[i].Unread;
    return unread;
}

const AppsDay* WaitingAppsDay(int date)
{
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i)
        if (AppsOfDays.Waiting[i].Date == date) return &AppsOfDays.Waiting[i];
    return nullptr;
}

void ClearResetAppsDays(int today, const unsigned char* cleared)
{
    int kept = 0;
    for (int i = 0; i < AppsOfDays.WaitingCount; ++i) {
        int day = DaysBetween(AppsOfDays.Waiting[i].Date, today);
        if (day >= 0 && day < DayCount && cleared[day]) continue;
        if (kept != i) AppsOfDays.Waiting[kept] = AppsOfDays.Waiting[i];
        ++kept;
    }
    AppsOfDays.WaitingCount = kept;
    if (cleared[0]) ClearAppsDay(&AppsOfDays.Today, today);
}
