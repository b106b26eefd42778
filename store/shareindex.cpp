// The index of days and pc.ini: composed by the publishing PC, checked line by line by readers.
#include "store/shareindex.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "store/textfile.h"

const char PcFileName[] = "pc.ini";
const char IndexFileName[] = "days.idx";
const char AppsIndexFileName[] = "apps.idx";
static const char FormatAppsBlock[] = "%08d\t%016llX\t%016llX\t%ld\r\n";

static const char FormatIndexEntry[] = "%08d\t%016llX\t%016llX\t%lld\t%lld\t%lld\t%d\t%016llX\t%016llX\r\n";
// A day's sum of one measure cannot pass 240 slots of the largest count.
static const long long LargestDaySum = 240LL * 0x7FFFFFFF;

enum { IndexFields = 9 };
// An apps file's text is never longer (store/appsfile.h's AppsTextSize).
enum { AppsTextSizeLimit = 65536 };

int DayValuesOfBytes(const unsigned char* bytes, long size, int exact, int* values)
{
    if (size < 0 || (exact && size != DayFileSize)) return 0;
    for (int i = 0; i < MetricCount * SlotCount; ++i) {
        long offset = i * 4L;
        int v = NoData;
        if (offset + 4 <= size)
            v = static_cast<int>(bytes[offset] | bytes[offset + 1] << 8 | bytes[offset + 2] << 16 |
                                 static_cast<unsigned>(bytes[offset + 3]) << 24);
        values[i] = v < NoData ? NoData : v;
    }
    return 1;
}

// FNV-1a: contents that differ anywhere differ here but by rare chance.
static const unsigned long long FingerprintStart = 14695981039346656037ULL, FingerprintPrime = 1099511628211ULL;

unsigned long long FingerprintOfValues(const int* values)
{
    unsigned long long hash = FingerprintStart;
    for (int i = 0; i < MetricCount * SlotCount; ++i)
        for (int b = 0; b < 4; ++b) hash = (hash ^ ((static_cast<unsigned>(values[i]) >> (8 * b)) & 0xFF)) * FingerprintPrime;
    return hash;
}

unsigned long long FingerprintOfLine(unsigned long long from, const char* line, int length)
{
    if (length < 0) return FingerprintStart;
    for (int i = 0; i < length; ++i) from = (from ^ static_cast<unsigned char>(line[i])) * FingerprintPrime;
    return (from ^ '\n') * FingerprintPrime;
}

static void HashLine(void* target, const char* line, int length)
{
    unsigned long long* hash = static_cast<unsigned long long*>(target);
    *hash = FingerprintOfLine(*hash, line, length);
}

unsigned long long FingerprintOfText(const char* text, long size)
{
    unsigned long long hash = FingerprintStart;
    SplitTextLines(text, size, HashLine, &hash);
    return hash;
}

unsigned long long WriteTimeOf(const FILETIME* time)
{
    return static_cast<unsigned long long>(time->dwHighDateTime) << 32 | time->dwLowDateTime;
}

int FormatIndexLine(const IndexEntry* e, char* text)
{
    return snprintf(text, IndexLineSize, FormatIndexEntry, e->Date, e->Fingerprint, e->Written, e->Sums[0], e->Sums[1],
                    e->Sums[2], e->ActiveSlots, e->AppsFingerprint, e->KeysFingerprint);
}

// A field of 1..18 decimal digits, or of exactly 16 hexadecimal ones; -1 (or 0) when it is not.
static long long DecimalField(const char* field, int length)
{
    if (length < 1 || length > 18) return -1;
    long long value = 0;
    for (int i = 0; i < length; ++i) {
        if (field[i] < '0' || field[i] > '9') return -1;
        value = value * 10 + (field[i] - '0');
    }
    return value;
}

static int HexField(const char* field, int length, unsigned long long* value)
{
    if (length != 16) return 0;
    *value = 0;
    for (int i = 0; i < length; ++i) {
        char c = field[i];
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
        if (digit < 0) return 0;
        *value = *value << 4 | static_cast<unsigned>(digit);
    }
    return 1;
}

static int ParseIndexLine(const char* line, int length, IndexEntry* e)
{
    const char* field[IndexFields];
    int size[IndexFields], fields = 0, start = 0;
    for (int i = 0; i <= length && fields < IndexFields; ++i) {
        if (i < length && line[i] != '\t') continue;
        field[fields] = line + start, size[fields++] = i - start;
        start = i + 1;
    }
    if (fields != IndexFields || start != length + 1) return 0;
    long long date = DecimalField(field[0], size[0]);
    if (size[0] != 8 || !IsCalendarDate(static_cast<int>(date))) return 0;
    e->Date = static_cast<int>(date);
    if (!HexField(field[1], size[1], &e->Fingerprint) || !HexField(field[2], size[2], &e->Written)) return 0;
    for (int m = 0; m < MetricCount; ++m) {
        e->Sums[m] = DecimalField(field[3 + m], size[3 + m]);
        if (e->Sums[m] < 0 || e->Sums[m] > LargestDaySum) return 0;
    }
    long long active = DecimalField(field[6], size[6]);
    e->ActiveSlots = static_cast<int>(active);
    return active >= 0 && active <= SlotCount && HexField(field[7], size[7], &e->AppsFingerprint) &&
           HexField(field[8], size[8], &e->KeysFingerprint);
}

int ParseIndexText(const char* text, long length, IndexEntry* entries, int capacity)
{
    int count = 0;
    long at = 0;
    while (at < length && count < capacity) {
        long end = at;
        while (end < length && text[end] != '\n') ++end;
        long lineEnd = end > at && text[end - 1] == '\r' ? end - 1 : end;
        if (lineEnd - at < IndexLineSize && ParseIndexLine(text + at, static_cast<int>(lineEnd - at), &entries[count]))
            ++count;
        at = end + 1;
    }
    return count;
}

int FormatAppsBlockHeader(int date, unsigned long long written, unsigned long long fingerprint, long length, char* text)
{
    return snprintf(text, AppsBlockHeaderSize, FormatAppsBlock, date, written, fingerprint, length);
}

int ParseAppsIndex(const char* text, long size, AppsIndexBlock* blocks, int capacity)
{
    int count = 0;
    long at = 0;
    while (at < size && count < capacity) {
        long end = at;
        while (end < size && end - at < AppsBlockHeaderSize && text[end] != '\n') ++end;
        if (end == size || text[end] != '\n' || end == at || text[end - 1] != '\r') break;
        const char* line = text + at;
        int length = static_cast<int>(end - 1 - at), tabs[3], found = 0;
        for (int i = 0; i < length && found < 3; ++i)
            if (line[i] == '\t') tabs[found++] = i;
        if (found != 3 || tabs[0] != 8 || tabs[1] != 25 || tabs[2] != 42) break;
        AppsIndexBlock* b = &blocks[count];
        long long date = DecimalField(line, 8), bytes = DecimalField(line + 43, length - 43);
        if (!IsCalendarDate(static_cast<int>(date)) || !HexField(line + 9, 16, &b->Written) ||
            !HexField(line + 26, 16, &b->Fingerprint) || bytes < 0 || bytes > AppsTextSizeLimit || bytes > size - end - 1)
            break;
        b->Date = static_cast<int>(date);
        b->Offset = end + 1;
        b->Length = static_cast<long>(bytes);
        at = b->Offset + b->Length;
        ++count;
    }
    return count;
}

const AppsIndexBlock* AppsBlockFor(const AppsIndexBlock* blocks, int count, int date, unsigned long long written,
                                   long length)
{
    AppsIndexBlock key = {};
    key.Date = date;
    const AppsIndexBlock* block =
        static_cast<const AppsIndexBlock*>(bsearch(&key, blocks, count, sizeof key, CompareLeadingDates));
    return block && block->Written == written && block->Length == length ? block : nullptr;
}

int FormatPcFile(const WCHAR* id, const WCHAR* name, const WCHAR* computer, int offsetMinutes, char* text, int size)
{
    char utf8Name[PcNameSize * 3], utf8Computer[PcNameSize * 3], utf8Id[PcIdSize];
    if (!WideCharToMultiByte(CP_UTF8, 0, name, -1, utf8Name, sizeof utf8Name, nullptr, nullptr)) utf8Name[0] = '\0';
    if (!WideCharToMultiByte(CP_UTF8, 0, computer, -1, utf8Computer, sizeof utf8Computer, nullptr, nullptr))
        utf8Computer[0] = '\0';
    if (!WideCharToMultiByte(CP_UTF8, 0, id, -1, utf8Id, sizeof utf8Id, nullptr, nullptr)) utf8Id[0] = '\0';
    return snprintf(text, size, "[PC]\r\nId=%s\r\nName=%s\r\nComputer=%s\r\nUtcOffset=%d\r\n", utf8Id, utf8Name,
                    utf8Computer, offsetMinutes);
}

// The value of a key's line ("Name=...") in the text, and its length; null when there is none.
static const char* KeyValue(const char* text, long length, const char* key, int* size)
{
    int keyLength = static_cast<int>(strlen(key));
    long at = 0;
    while (at < length) {
        long end = at;
        while (end < length && text[end] != '\n') ++end;
        long lineEnd = end > at && text[end - 1] == '\r' ? end - 1 : end;
        if (lineEnd - at > keyLength && memcmp(text + at, key, keyLength) == 0 && text[at + keyLength] == '=') {
            *size = static_cast<int>(lineEnd - at - keyLength - 1);
            return text + at + keyLength + 1;
        }
        at = end + 1;
    }
    return nullptr;
}

int ParsePcFile(const char* text, long length, const WCHAR* id, WCHAR* name, int nameSize)
{
    int size = 0;
    const char* value = KeyValue(text, length, "Id", &size);
    WCHAR readId[PcIdSize];
    if (!value || size != PcIdLength) return 0;
    for (int i = 0; i < PcIdLength; ++i) readId[i] = static_cast<unsigned char>(value[i]);
    readId[PcIdLength] = L'\0';
    if (!IsPcId(readId) || lstrcmpiW(readId, id) != 0) return 0;
    name[0] = L'\0';
    value = KeyValue(text, length, "Name", &size);
    // Text that is not UTF-8 names nobody; control characters (a line break, a tab that would split
    // the copy's columns) become spaces.
    int wide = value && size > 0 ? MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, value, size, name, nameSize - 1) : 0;
    name[wide] = L'\0';
    int kept = 0;
    for (int i = 0; i < wide; ++i) {
        WCHAR c = name[i] < 0x20 || name[i] == 0x7F ? L' ' : name[i];
        if (c != L' ' || kept > 0) name[kept++] = c;
    }
    while (kept > 0 && name[kept - 1] == L' ') --kept;
    name[kept] = L'\0';
    if (!kept) lstrcpynW(name, id, nameSize);
    return 1;
}
