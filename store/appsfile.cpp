// The apps file: its name, its lines parsed, and its text composed and written whole.
#include "store/appsfile.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/shareindex.h"

AppsFileBuffers AppsFileWork;

const char AppsFilePattern[] = "*.apps.txt";
const char AppsFileSuffix[] = ".apps.txt";
const char AppsTempPattern[] = "*.apps.new";
const char AppsTempSuffix[] = ".apps.new";
static const char FormatAppsFileName[] = "%04d%02d%02d.apps.txt";
static const char FormatAppsTempName[] = "%04d%02d%02d.apps.new";

// The data folder's long path form starts where these names would pass MAX_PATH.
static_assert(sizeof "20240307.apps.new" - 1 == LongestDataFileName, "the longest name of the data folder");
// The header is UTF-8 and Japanese whatever the UI language, as are the names of the applications.
static const char AppsHeader[] = u8"アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n";

enum { AppsFields = 5 };

void ComposeAppsFileName(int date, char* name, int size) { FormatDate(FormatAppsFileName, date, name, size); }

const WCHAR* AppsFilePath(int date)
{
    char name[32];
    ComposeAppsFileName(date, name, sizeof name);
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

void ParseAppsText(const char* text, int length, AddAppLine add, void* target)
{
    int at = 0;
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
            CopyAppName(name, text + fieldStart[0], fieldLength[0]);
            add(target, name, values);
        }
        at = end + 1;
    }
}

static void AddLineToDay(void* target, const char* name, const long long* values)
{
    AppsDay* day = static_cast<AppsDay*>(target);
    AddAppValues(&day->Records[AppOfName(day, name)], values);
}

// Reads a file piece by piece into the day's records, each piece's whole lines parsed and the
// rest carried to the next; a line longer than a piece is no line of an apps file and is skipped.
// 1, also for no file; 0 when it cannot be opened or read to its end. The fingerprint of the bytes
// read when asked for (0 for no file).
static int ReadAppsPath(const WCHAR* path, AppsDay* day, unsigned long long* fingerprint = nullptr)
{
    if (fingerprint) *fingerprint = 0;
    HANDLE file = CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
    }
    char* text = AppsFileWork.Text;
    int carried = 0, skipping = 0, first = 1, ok = 1;
    unsigned long long hash = FingerprintOfBytes(nullptr, 0);
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file, text + carried, AppsTextSize - carried, &got, nullptr)) {
            ok = 0;
            break;
        }
        hash = FingerprintOfBytes(text + carried, static_cast<long>(got), hash);
        int length = carried + static_cast<int>(got), start = 0;
        if (first && length >= 3 && memcmp(text, "\xEF\xBB\xBF", 3) == 0) start = 3;
        first = 0;
        if (skipping) {
            while (start < length && text[start] != '\n') ++start;
            skipping = start == length;
        }
        int end = length;
        if (got > 0)
            while (end > start && text[end - 1] != '\n') --end;
        if (got > 0 && end == start && length == AppsTextSize) {
            skipping = 1, carried = 0;
            continue;
        }
        ParseAppsText(text + start, end - start, AddLineToDay, day);
        if (got == 0) break;
        carried = length - end;
        memmove(text, text + end, carried);
    }
    CloseHandle(file);
    if (fingerprint) *fingerprint = hash;
    return ok;
}

int ReadAppsLines(int date, AddAppLine add, void* target, unsigned long long* fingerprint)
{
    AppsDay* read = &AppsFileWork.Read;
    ClearAppsDay(read, date);
    if (!ReadAppsPath(AppsFilePath(date), read, fingerprint)) return 0;
    for (int i = 0; i < read->Count; ++i) {
        const AppRecord* r = &read->Records[i];
        long long values[AppsFields - 1] = {r->Clicks, r->Keys, r->Travel, r->ActiveMs / MsPerSecond};
        add(target, r->Name, values);
    }
    return 1;
}

int ReadAppsFile(AppsDay* day) { return ReadAppsLines(day->Date, AddLineToDay, day); }

static int ComposeAppsText(const AppsDay* day)
{
    int order[AppsPerDay];
    for (int i = 0; i < day->Count; ++i) {
        int j = i;
        for (; j > 0 && CompareAppRecords(&day->Records[order[j - 1]], &day->Records[i]) > 0; --j) order[j] = order[j - 1];
        order[j] = i;
    }
    char* text = AppsFileWork.Text;
    int length = snprintf(text, AppsTextSize, "%s", AppsHeader);
    for (int i = 0; i < day->Count; ++i) {
        const AppRecord* r = &day->Records[order[i]];
        if (AppRecordEmpty(r)) continue;
        length += snprintf(text + length, AppsTextSize - length, "%s\t%lld\t%lld\t%lld\t%lld\r\n", r->Name, r->Clicks,
                           r->Keys, r->Travel, r->ActiveMs / MsPerSecond);
    }
    return length;
}

int WriteAppsFile(const AppsDay* day)
{
    if (day->Unread) return 0;
    int length = ComposeAppsText(day);
    char name[32];
    FormatDate(FormatAppsTempName, day->Date, name, sizeof name);
    lstrcpynW(AppsFileWork.TempPath, ComposeDataFilePath(name), PathCapacity);
    HANDLE file = CreateFileW(AppsFileWork.TempPath, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE) return 0;
    int ok = WriteAll(file, AppsFileWork.Text, length) && FlushFileBuffers(file);
    CloseHandle(file);
    // A held target refuses the replace and keeps its old text whole; the next change of slot tries again.
    ok = ok && MoveFileExW(AppsFileWork.TempPath, AppsFilePath(day->Date), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH);
    if (!ok) DeleteFileW(AppsFileWork.TempPath);
    return ok;
}

// A line of the apps file laid over the new version's records: each count the larger.
static void MaxLineIntoDay(void* target, const char* name, const long long* values)
{
    AppsDay* day = static_cast<AppsDay*>(target);
    AppRecord* r = &day->Records[AppOfName(day, name)];
    long long active = values[3] * MsPerSecond;
    if (values[0] > r->Clicks) r->Clicks = values[0];
    if (values[1] > r->Keys) r->Keys = values[1];
    if (values[2] > r->Travel) r->Travel = values[2];
    if (active > r->ActiveMs) r->ActiveMs = active;
}

int ReadOrphanedAppsFile(int date, AppsDay* day)
{
    char name[32];
    FormatDate(FormatAppsTempName, date, name, sizeof name);
    ClearAppsDay(day, date);
    return ReadAppsPath(ComposeDataFilePath(name), day) && ReadAppsLines(date, MaxLineIntoDay, day);
}
