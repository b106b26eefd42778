// Activity per application: a day's records, their UTF-8 file beside the day file, written whole
// through a file of the program's own, and the sums of a range of days.
#include "store/apps.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "res/texts.h"
#include "store/store.h"

enum { WeekDays = 7, MonthDays = 30, AppsFields = 5, MsPerSecond = 1000 };

// Cut at a character's start, so that a long name never ends in half a UTF-8 sequence.
static void CopyName(char* to, const char* from, int length)
{
    if (length >= AppNameSize) {
        length = AppNameSize - 1;
        while (length > 0 && (static_cast<unsigned char>(from[length]) & 0xC0) == 0x80) --length;
    }
    memcpy(to, from, length);
    to[length] = '\0';
}

static int FindApp(const AppRecord* records, int count, const char* name)
{
    for (int i = 0; i < count; ++i)
        if (strcmp(records[i].Name, name) == 0) return i;
    return NoApp;
}

static int AddRecord(AppRecord* records, int* count, const char* name)
{
    AppRecord* r = &records[(*count)++];
    memset(r, 0, sizeof *r);
    CopyName(r->Name, name, lstrlenA(name));
    return *count - 1;
}

int AppOfName(AppsDay* day, const char* name)
{
    int found = FindApp(day->Records, day->Count, name);
    if (found != NoApp) return found;
    int others = FindApp(day->Records, day->Count, AppNameOthers);
    int named = day->Count - (others != NoApp);
    if (strcmp(name, AppNameOthers) != 0 && named >= AppsPerDay - 1) {
        if (others != NoApp) return others;
        name = AppNameOthers;
    }
    return AddRecord(day->Records, &day->Count, name);
}

void ClearAppsDay(AppsDay* day, int date)
{
    day->Date = date;
    day->Count = day->Unread = day->Unsaved = 0;
}

const WCHAR* AppsFilePath(int date)
{
    char name[32];
    snprintf(name, sizeof name, FormatAppsFileName, date / 10000, date / 100 % 100, date % 100);
    return ComposeDataFilePath(name);
}

// A field of digits; -1 for anything else (the header's names).
static long long CountOf(const char* field, int length)
{
    if (length == 0 || length > 18) return -1;
    long long value = 0;
    for (int i = 0; i < length; ++i) {
        if (field[i] < '0' || field[i] > '9') return -1;
        value = value * 10 + (field[i] - '0');
    }
    return value;
}

typedef void (*AddAppLine)(void* target, const char* name, const long long* values);

// Hands each line of an apps file that holds a name and four counts to the adder; other lines
// (the header, a line cut short) are left out.
static void ParseAppsText(const char* text, int length, AddAppLine add, void* target)
{
    int at = length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0 ? 3 : 0;
    while (at < length) {
        int end = at;
        while (end < length && text[end] != '\n') ++end;
        int fieldStart[AppsFields], fieldLength[AppsFields], fields = 0, start = at;
        int lineEnd = end > at && text[end - 1] == '\r' ? end - 1 : end;
        for (int i = at; i <= lineEnd && fields < AppsFields; ++i) {
            if (i < lineEnd && text[i] != '\t') continue;
            fieldStart[fields] = start, fieldLength[fields++] = i - start;
            start = i + 1;
        }
        long long values[AppsFields - 1];
        int ok = fields == AppsFields && start == lineEnd + 1 && fieldLength[0] > 0;
        for (int f = 1; ok && f < AppsFields; ++f) ok = (values[f - 1] = CountOf(text + fieldStart[f], fieldLength[f])) >= 0;
        if (ok) {
            char name[AppNameSize];
            CopyName(name, text + fieldStart[0], fieldLength[0]);
            add(target, name, values);
        }
        at = end + 1;
    }
}

static void AddValues(AppRecord* r, const long long* values)
{
    r->Clicks += values[0], r->Keys += values[1], r->Travel += values[2];
    r->ActiveMs += values[3] * MsPerSecond;
}

static void AddLineToDay(void* target, const char* name, const long long* values)
{
    AppsDay* day = static_cast<AppsDay*>(target);
    AddValues(&day->Records[AppOfName(day, name)], values);
}

// Reads the date's file into the text buffer: its length, 0 for no file, -1 when it cannot be read.
static int ReadAppsText(int date)
{
    const WCHAR* path = AppsFilePath(date);
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    DWORD total = 0, got = 0;
    while (total < AppsTextSize && ReadFile(file, App.AppsText + total, AppsTextSize - total, &got, nullptr) && got > 0)
        total += got;
    CloseHandle(file);
    return static_cast<int>(total);
}

int ReadAppsFile(AppsDay* day)
{
    int length = ReadAppsText(day->Date);
    if (length < 0) return 0;
    ParseAppsText(App.AppsText, length, AddLineToDay, day);
    return 1;
}

// Most active time first, then most clicks; the name decides the rest, so the order is stable.
static int CompareApps(const AppRecord* a, const AppRecord* b)
{
    if (a->ActiveMs / MsPerSecond != b->ActiveMs / MsPerSecond) return a->ActiveMs / MsPerSecond > b->ActiveMs / MsPerSecond ? -1 : 1;
    if (a->Clicks != b->Clicks) return a->Clicks > b->Clicks ? -1 : 1;
    return strcmp(a->Name, b->Name);
}

static int CompareAppRows(const void* a, const void* b)
{
    return CompareApps(static_cast<const AppRecord*>(a), static_cast<const AppRecord*>(b));
}

static int ComposeAppsText(const AppsDay* day)
{
    int order[AppsPerDay];
    for (int i = 0; i < day->Count; ++i) {
        int j = i;
        for (; j > 0 && CompareApps(&day->Records[order[j - 1]], &day->Records[i]) > 0; --j) order[j] = order[j - 1];
        order[j] = i;
    }
    int length = snprintf(App.AppsText, AppsTextSize, "%s", AppsHeader);
    for (int i = 0; i < day->Count; ++i) {
        const AppRecord* r = &day->Records[order[i]];
        length += snprintf(App.AppsText + length, AppsTextSize - length, "%s\t%lld\t%lld\t%lld\t%lld\r\n", r->Name,
                           r->Clicks, r->Keys, r->Travel, r->ActiveMs / MsPerSecond);
    }
    return length;
}

int WriteAppsFile(const AppsDay* day)
{
    if (day->Unread) return 0;
    int length = ComposeAppsText(day);
    char name[32];
    int date = day->Date;
    snprintf(name, sizeof name, FormatAppsTempName, date / 10000, date / 100 % 100, date % 100);
    lstrcpynW(App.AppsTempPath, ComposeDataFilePath(name), PathCapacity);
    HANDLE file = CreateFileW(App.AppsTempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    DWORD written = 0;
    int ok = WriteFile(file, App.AppsText, length, &written, nullptr) && written == static_cast<DWORD>(length) &&
             FlushFileBuffers(file);
    CloseHandle(file);
    // A held target refuses the replace and keeps its old text whole; the next change of slot tries again.
    ok = ok && MoveFileExW(App.AppsTempPath, AppsFilePath(date), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(App.AppsTempPath);
    return ok;
}

// Indices of today's records change with the day: the foreground and the cache are looked up anew.
void LoadAppsOfToday(int date)
{
    AppsDay* today = &App.AppsOfToday;
    ClearAppsDay(today, date);
    today->Unread = !ReadAppsFile(today);
    memset(App.CachedProcess, 0, sizeof App.CachedProcess);
    App.ForegroundApp = NoApp;
    App.ForegroundCheckedAt = 0;
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
    int ok = 1;
    if (App.AppsOfEarlierDay.Unsaved) {
        int saved = SaveAppsDay(&App.AppsOfEarlierDay);
        if (saved == 1) App.AppsOfEarlierDay.Unsaved = 0;
        else ok = 0;
    }
    int saved = SaveAppsDay(&App.AppsOfToday);
    return saved == 0 || !ok ? 0 : saved;
}

int RollAppsOver(int date)
{
    if (date == App.AppsOfToday.Date) return 1;
    // Only one finished day waits in memory: an older one still waiting has its last try here.
    if (App.AppsOfEarlierDay.Unsaved && SaveAppsDay(&App.AppsOfEarlierDay) == 1) App.AppsOfEarlierDay.Unsaved = 0;
    int result = SaveAppsDay(&App.AppsOfToday) == 1;
    if (!result) {
        App.AppsOfEarlierDay = App.AppsOfToday;
        App.AppsOfEarlierDay.Unsaved = 1;
    }
    LoadAppsOfToday(date);
    return result;
}

// The row of a name among the shown ones; past their capacity, the row "(その他)".
static AppRecord* ShownRow(const char* name)
{
    int row = FindApp(App.AppsShown, App.AppsShownCount, name);
    if (row == NoApp && App.AppsShownCount < AppsShownCapacity - 1) row = AddRecord(App.AppsShown, &App.AppsShownCount, name);
    if (row == NoApp) row = FindApp(App.AppsShown, App.AppsShownCount, AppNameOthers);
    if (row == NoApp) row = AddRecord(App.AppsShown, &App.AppsShownCount, AppNameOthers);
    return &App.AppsShown[row];
}

static void AddLineToShown(void* target, const char* name, const long long* values)
{
    (void)target;
    AddValues(ShownRow(name), values);
    App.AppsShownMs += values[3] * MsPerSecond;
}

static int InRange(int range, int date)
{
    int age = DaysBetween(date, App.TodayDate);
    switch (range) {
    case AppsToday: return age == 0;
    case AppsWeek:  return age >= 0 && age < WeekDays;
    case AppsMonth: return age >= 0 && age < MonthDays;
    default:        return 1;  // all time: days after today (the clock was set back) too
    }
}

int CollectApps(int range)
{
    App.AppsShownCount = 0;
    App.AppsShownMs = 0;
    // Today comes from memory while it is recorded there (its file lags by up to a slot), and
    // also from its file while that has not been read into memory yet.
    int todayInMemory = App.AppsRecording;
    int todayFromFile = !App.AppsRecording || App.AppsOfToday.Unread;
    if (todayInMemory) {
        for (int i = 0; i < App.AppsOfToday.Count; ++i) {
            const AppRecord* r = &App.AppsOfToday.Records[i];
            AppRecord* row = ShownRow(r->Name);
            row->Clicks += r->Clicks, row->Keys += r->Keys, row->Travel += r->Travel, row->ActiveMs += r->ActiveMs;
            App.AppsShownMs += r->ActiveMs;
        }
    }
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ComposeDataFilePath(AppsFilePattern), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            int date = found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY ? 0 : DateOfFileName(found.cFileName, AppsFileSuffix);
            if (!date || !InRange(range, date) || (!todayFromFile && date == App.TodayDate)) continue;
            int length = ReadAppsText(date);
            if (length > 0) ParseAppsText(App.AppsText, length, AddLineToShown, nullptr);
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    qsort(App.AppsShown, App.AppsShownCount, sizeof App.AppsShown[0], CompareAppRows);
    return App.AppsShownCount;
}

int ReadAppsSetting(void)
{
    return GetPrivateProfileIntW(AppsSection, AppsRecordKey, 1, ComposeDataFilePath(SettingsFile)) != 0;
}

int WriteAppsSetting(int on)
{
    return WritePrivateProfileStringW(AppsSection, AppsRecordKey, on ? L"1" : L"0", ComposeDataFilePath(SettingsFile)) != 0;
}
