// The apps file: its name, its lines parsed, and its text composed and written whole.
#include "store/appsfile.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/shareindex.h"
#include "store/textfile.h"

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

// A line of a name and four counts, tab-separated, is handed to the adder; any other line (the
// header, a line cut short) is not.
void ParseAppsLine(const char* line, int length, AddAppLine add, void* target)
{
    int fieldStart[AppsFields], fieldLength[AppsFields], fields = 0, start = 0;
    for (int i = 0; i <= length && fields < AppsFields; ++i) {
        if (i < length && line[i] != '\t') continue;
        fieldStart[fields] = start, fieldLength[fields++] = i - start;
        start = i + 1;
    }
    long long values[AppsFields - 1];
    int ok = fields == AppsFields && start == length + 1 && fieldLength[0] > 0;
    for (int f = 1; ok && f < AppsFields; ++f) ok = (values[f - 1] = ParseCount(line + fieldStart[f], fieldLength[f])) >= 0;
    if (!ok) return;
    char name[AppNameSize];
    CopyAppName(name, line + fieldStart[0], fieldLength[0]);
    add(target, name, values);
}

static void AddLineToDay(void* target, const char* name, const long long* values)
{
    AppsDay* day = static_cast<AppsDay*>(target);
    AddAppValues(&day->Records[AppOfName(day, name)], values);
}

// A day's records being read, and the fingerprint of the lines read so far.
struct AppsReading {
    AppsDay* Day;
    unsigned long long Fingerprint;
    int Lines;
};

static void TakeLineIntoDay(void* target, const char* line, int length)
{
    AppsReading* reading = static_cast<AppsReading*>(target);
    reading->Fingerprint = FingerprintOfLine(reading->Fingerprint, line, length);
    ++reading->Lines;
    ParseAppsLine(line, length, AddLineToDay, reading->Day);
}

// A file's lines into the day's records; 1, also for no file; 0 when it cannot be read to its end.
// The fingerprint of its lines when asked for (0 for no file, or one without lines, which counts
// for nothing anyway).
static int ReadAppsPath(const WCHAR* path, AppsDay* day, unsigned long long* fingerprint = nullptr)
{
    AppsReading reading = {day, FingerprintOfLine(0, nullptr, -1), 0};
    int ok = ReadTextLines(path, AppsFileWork.Text, AppsTextSize, TakeLineIntoDay, &reading);
    if (fingerprint) *fingerprint = reading.Lines ? reading.Fingerprint : 0;
    return ok;
}

// The records read, handed on as a file's lines.
static void HandReadRecords(AddAppLine add, void* target)
{
    const AppsDay* read = &AppsFileWork.Read;
    for (int i = 0; i < read->Count; ++i) {
        const AppRecord* r = &read->Records[i];
        long long values[AppsFields - 1] = {r->Clicks, r->Keys, r->Travel, r->ActiveMs / MsPerSecond};
        add(target, r->Name, values);
    }
}

int ReadAppsLines(int date, AddAppLine add, void* target, unsigned long long* fingerprint)
{
    ClearAppsDay(&AppsFileWork.Read, date);
    if (!ReadAppsPath(AppsFilePath(date), &AppsFileWork.Read, fingerprint)) return 0;
    HandReadRecords(add, target);
    return 1;
}

unsigned long long ReadAppsText(int date, const char* text, long size, AddAppLine add, void* target)
{
    AppsReading reading = {&AppsFileWork.Read, FingerprintOfLine(0, nullptr, -1), 0};
    ClearAppsDay(reading.Day, date);
    SplitTextLines(text, size, TakeLineIntoDay, &reading);
    HandReadRecords(add, target);
    return reading.Lines ? reading.Fingerprint : 0;
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
    return ReplaceFileWith(AppsFilePath(day->Date), AppsFileWork.TempPath, AppsFileWork.Text, length);
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
