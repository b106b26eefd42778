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
            CopyAppName(name, text + fieldStart[0], fieldLength[0]);
            add(target, name, values);
        }
        at = end + 1;
    }
}

// Reads the date's file into the text buffer: its length, 0 for no file, -1 when it cannot be read.
static int ReadAppsText(int date)
{
    HANDLE file = CreateFileW(AppsFilePath(date), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND ? 0 : -1;
    }
    DWORD total = 0, got = 0;
    while (total < AppsTextSize && ReadFile(file, AppsFileWork.Text + total, AppsTextSize - total, &got, nullptr) &&
           got > 0)
        total += got;
    CloseHandle(file);
    return static_cast<int>(total);
}

int ReadAppsLines(int date, AddAppLine add, void* target, unsigned long long* fingerprint)
{
    int length = ReadAppsText(date);
    if (length < 0) return 0;
    if (fingerprint) *fingerprint = length > 0 ? FingerprintOfBytes(AppsFileWork.Text, length) : 0;
    ParseAppsText(AppsFileWork.Text, length, add, target);
    return 1;
}

static void AddLineToDay(void* target, const char* name, const long long* values)
{
    AppsDay* day = static_cast<AppsDay*>(target);
    AddAppValues(&day->Records[AppOfName(day, name)], values);
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
