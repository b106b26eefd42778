// The keys file: its name, its lines parsed, and its text composed and written whole.
#include "store/keysfile.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/shareindex.h"
#include "store/textfile.h"

KeysFileBuffers KeysFileWork;

const char KeysFilePattern[] = "*.keys.txt";
const char KeysFileSuffix[] = ".keys.txt";
static const char FormatKeysFileName[] = "%04d%02d%02d.keys.txt";
static const char FormatKeysTempName[] = "%04d%02d%02d.keys.new";
static_assert(sizeof "20240307.keys.new" - 1 <= LongestDataFileName, "the longest name of the data folder");
// The header is UTF-8 and Japanese whatever the UI language.
static const char KeysHeader[] = u8"キー\t回数\r\n";

void ComposeKeysFileName(int date, char* name, int size) { FormatDate(FormatKeysFileName, date, name, size); }

static const WCHAR* KeysFilePath(int date)
{
    char name[32];
    ComposeKeysFileName(date, name, sizeof name);
    return ComposeDataFilePath(name);
}

// A line of a key's name and its count is added; any other line (the header, a line cut short)
// is not.
static void TakeKeysLine(void* target, const char* line, int length)
{
    long long* counts = static_cast<long long*>(target);
    int tab = 0;
    while (tab < length && line[tab] != '\t') ++tab;
    int key = tab < length ? KeyOfName(line, tab) : -1;
    long long count = key >= 0 ? ParseCount(line + tab + 1, length - tab - 1) : -1;
    if (count >= 0) counts[key] += count;
}

// A keys file being read, and the fingerprint of its lines so far.
struct KeysReading {
    long long* Counts;
    unsigned long long Fingerprint;
    int Lines;
};

static void TakeKeysLineAndPrint(void* target, const char* line, int length)
{
    KeysReading* reading = static_cast<KeysReading*>(target);
    reading->Fingerprint = FingerprintOfLine(reading->Fingerprint, line, length);
    ++reading->Lines;
    TakeKeysLine(reading->Counts, line, length);
}

// The file's counts are gathered apart and added only once the whole file was read.
int AddKeysFile(int date, long long* counts, unsigned long long* fingerprint)
{
    memset(KeysFileWork.Read, 0, sizeof KeysFileWork.Read);
    KeysReading reading = {KeysFileWork.Read, FingerprintOfLine(0, nullptr, -1), 0};
    int ok = ReadTextLines(KeysFilePath(date), KeysFileWork.Text, KeysTextSize, TakeKeysLineAndPrint, &reading);
    if (fingerprint) *fingerprint = reading.Lines ? reading.Fingerprint : 0;
    if (!ok) return 0;
    for (int key = 0; key < KeyIndexCount; ++key) counts[key] += KeysFileWork.Read[key];
    return 1;
}

static int ComposeKeysText(const KeysDay* day)
{
    char* text = KeysFileWork.Text;
    int length = snprintf(text, KeysTextSize, "%s", KeysHeader);
    for (int key = 0; key < KeyIndexCount; ++key) {
        if (day->Counts[key] <= 0) continue;
        char name[KeyNameSize];
        ComposeKeyName(key, name, sizeof name);
        length += snprintf(text + length, KeysTextSize - length, "%s\t%lld\r\n", name, day->Counts[key]);
    }
    return length;
}

int WriteKeysFile(const KeysDay* day)
{
    if (day->Unread) return 0;
    int length = ComposeKeysText(day);
    char name[32];
    FormatDate(FormatKeysTempName, day->Date, name, sizeof name);
    lstrcpynW(KeysFileWork.TempPath, ComposeDataFilePath(name), PathCapacity);
    return ReplaceFileWith(KeysFilePath(day->Date), KeysFileWork.TempPath, KeysFileWork.Text, length);
}
