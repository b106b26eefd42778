// The other PCs of the share folder and their days, everything read checked before use.
#include "store/sharedpcs.h"

#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "store/appsfile.h"
#include "store/dayfile.h"
#include "store/keysfile.h"
#include "store/pcidentity.h"
#include "store/textfile.h"

SharedPcList SharedPcs;

static const char AnyName[] = "*";
static_assert(AppsTextSize == 65536, "an apps file's text fits the apps index's check");

// The path of a name in a PC's folder of the share (or in the share for a null id).
static const WCHAR* ShareItemPath(WCHAR* path, const WCHAR* id, const char* name)
{
    lstrcpynW(path, ShareFolder(), PathCapacity);
    if (id && (lstrlenW(path) + 1 + lstrlenW(id) >= PathCapacity || !AppendName(path, PathCapacity, ""))) return L"";
    if (id) lstrcatW(path, id);
    if (!AppendName(path, PathCapacity, name) || !ToLongPathForm(path, PathCapacity)) return L"";
    return path;
}

struct DayListing {
    int Newest, Count;
};

// A day file that is not a day file's size (half synced, cut) is no day of that PC.
static int CountListedDay(void* context, int date, const WIN32_FIND_DATAW* found)
{
    DayListing* listing = static_cast<DayListing*>(context);
    if (found->nFileSizeHigh || found->nFileSizeLow != DayFileSize) return 1;
    ++listing->Count;
    if (date > listing->Newest) listing->Newest = date;
    return 1;
}

static void ListPcDays(SharedPc* pc)
{
    DayListing listing = {0, 0};
    ListDatedEntries(ShareItemPath(SharedPcs.Pattern, pc->Id, DayFilePattern), DayFileSuffix, CountListedDay, &listing);
    pc->NewestDay = listing.Newest;
    pc->DayCount = listing.Count;
}

// A folder of the share is a PC when its name is an identity, not this PC's, and its pc.ini (of a
// pc.ini's size) names that identity.
static void TakeSharedFolder(const WIN32_FIND_DATAW* found)
{
    if (!(found->dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || !IsPcId(found->cFileName)) return;
    if (lstrcmpiW(found->cFileName, PcId()) == 0 || SharedPcs.Count == SharedPcCapacity) return;
    SharedPc* pc = &SharedPcs.Pcs[SharedPcs.Count];
    lstrcpynW(pc->Id, found->cFileName, PcIdSize);
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, pc->Id, PcFileName), SharedPcs.Text, PcFileSize);
    if (size <= 0 || !ParsePcFile(SharedPcs.Text, size, pc->Id, pc->Name, PcNameSize)) return;
    ListPcDays(pc);
    ++SharedPcs.Count;
}

int FindSharedPcs(void)
{
    SharedPcs.Count = 0;
    if (!ShareFolder()[0]) return 0;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW(ShareItemPath(SharedPcs.Pattern, nullptr, AnyName), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    do TakeSharedFolder(&found);
    while (FindNextFileW(search, &found));
    FindClose(search);
    return SharedPcs.Count;
}

void ClearCountedDays(void)
{
    SharedPcs.CountedCount = 0;
    if (SharedPcs.Collection > 0 && SharedPcs.Collection < 0x7FFFFFFF) {
        ++SharedPcs.Collection;
        return;
    }
    // At the first collection, and once in 2^31, the numbers start again from an empty table.
    memset(SharedPcs.Counted, 0, sizeof SharedPcs.Counted);
    SharedPcs.Collection = 1;
}

int CountDayOnce(int key, unsigned long long fingerprint)
{
    // Open addressing over a table never more than half full: a collection past that counts on.
    if (SharedPcs.Collection == 0) ClearCountedDays();
    unsigned slot = (static_cast<unsigned>(key) * 2654435761u) & (CountedCapacity - 1);
    for (;;) {
        CountedDay* counted = &SharedPcs.Counted[slot];
        if (counted->Collection != SharedPcs.Collection) break;
        if (counted->Key == key && counted->Fingerprint == fingerprint) return 0;
        slot = (slot + 1) & (CountedCapacity - 1);
    }
    if (SharedPcs.CountedCount >= CountedCapacity / 2) return 1;
    SharedPcs.Counted[slot].Key = key;
    SharedPcs.Counted[slot].Collection = SharedPcs.Collection;
    SharedPcs.Counted[slot].Fingerprint = fingerprint;
    ++SharedPcs.CountedCount;
    return 1;
}

static const IndexEntry* IndexEntryOf(int date)
{
    int low = 0, high = SharedPcs.EntryCount - 1;
    while (low <= high) {
        int mid = (low + high) / 2;
        if (SharedPcs.Entries[mid].Date == date) return &SharedPcs.Entries[mid];
        if (SharedPcs.Entries[mid].Date < date) low = mid + 1;
        else high = mid - 1;
    }
    return nullptr;
}

int ReadPcDayValues(int pc, int date, int* values)
{
    char name[16];
    ComposeDayFileName(date, name, sizeof name);
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, SharedPcs.Pcs[pc].Id, name), SharedPcs.Bytes, DayFileSize);
    return DayValuesOfBytes(SharedPcs.Bytes, size, 1, values);
}

struct PcDayReading {
    int Pc;
    TakePcDay Take;
    void* Context;
};

// A day whose index entry names this very file (its size and time of writing) is taken from the
// index without opening the file, which on a cloud drive may be a placeholder still to download.
static int TakePcDayFile(void* context, int date, const WIN32_FIND_DATAW* found)
{
    const PcDayReading* reading = static_cast<const PcDayReading*>(context);
    if (found->nFileSizeHigh || found->nFileSizeLow != DayFileSize) return 1;
    const IndexEntry* entry = IndexEntryOf(date);
    ActivityTotal total = {};
    total.Date = date, total.Readable = 1;
    if (entry && entry->Written == WriteTimeOf(&found->ftLastWriteTime)) {
        for (int m = 0; m < MetricCount; ++m) total.Sums[m] = entry->Sums[m];
        total.ActiveSlots = entry->ActiveSlots;
        reading->Take(reading->Context, date, entry->Fingerprint, &total);
    } else if (ReadPcDayValues(reading->Pc, date, SharedPcs.Values)) {
        AddDayValues(SharedPcs.Values, SlotCount - 1, &total);
        reading->Take(reading->Context, date, FingerprintOfValues(SharedPcs.Values), &total);
    }
    return 1;
}

void ReadPcDays(int pc, TakePcDay take, void* context)
{
    const WCHAR* id = SharedPcs.Pcs[pc].Id;
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, id, IndexFileName), SharedPcs.Text, IndexTextSize);
    SharedPcs.EntryCount = size > 0 ? ParseIndexText(SharedPcs.Text, size, SharedPcs.Entries, IndexCapacity) : 0;
    qsort(SharedPcs.Entries, SharedPcs.EntryCount, sizeof SharedPcs.Entries[0], CompareLeadingDates);
    PcDayReading reading = {pc, take, context};
    ListDatedEntries(ShareItemPath(SharedPcs.Pattern, id, DayFilePattern), DayFileSuffix, TakePcDayFile, &reading);
}

struct PcAppsReading {
    int Pc;
    AcceptDate InRange;
    void* Context;
    AddAppLine Add;
    void* Target;
};

// A name from another PC reaches a window only as UTF-8 without control characters.
static void AddCheckedLine(void* context, const char* name, const long long* values)
{
    const PcAppsReading* reading = static_cast<const PcAppsReading*>(context);
    if (!MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, name, -1, nullptr, 0)) return;
    for (const char* c = name; *c; ++c)
        if (static_cast<unsigned char>(*c) < 0x20 || *c == 0x7F) return;
    reading->Add(reading->Target, name, values);
}

static void TakeSharedAppsLine(void* context, const char* line, int length)
{
    ParseAppsLine(line, length, AddCheckedLine, context);
}

// An apps file's text, line by line as this PC reads its own.
static void ParseSharedAppsText(const char* text, long size, void* context)
{
    SplitTextLines(text, size, TakeSharedAppsLine, context);
}

static int TakePcAppsFile(void* context, int date, const WIN32_FIND_DATAW* found)
{
    const PcAppsReading* reading = static_cast<const PcAppsReading*>(context);
    if (found->nFileSizeHigh || found->nFileSizeLow > AppsTextSize || !reading->InRange(reading->Context, date)) return 1;
    const AppsIndexBlock* block = AppsBlockFor(SharedPcs.Blocks, SharedPcs.BlockCount, date,
                                               WriteTimeOf(&found->ftLastWriteTime), static_cast<long>(found->nFileSizeLow));
    if (block) {
        if (CountDayOnce(-date, block->Fingerprint))
            ParseSharedAppsText(SharedPcs.AppsText + block->Offset, block->Length, context);
        return 1;
    }
    char name[32];
    ComposeAppsFileName(date, name, sizeof name);
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, SharedPcs.Pcs[reading->Pc].Id, name), SharedPcs.Text,
                              AppsTextSize);
    if (size < 0 || !CountDayOnce(-date, FingerprintOfText(SharedPcs.Text, size))) return 1;
    ParseSharedAppsText(SharedPcs.Text, size, context);
    return 1;
}

void ReadPcApps(int pc, AcceptDate inRange, void* context, AddAppLine add, void* target)
{
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, SharedPcs.Pcs[pc].Id, AppsIndexFileName), SharedPcs.AppsText,
                              AppsIndexSize);
    SharedPcs.BlockCount = size > 0 ? ParseAppsIndex(SharedPcs.AppsText, size, SharedPcs.Blocks, IndexCapacity) : 0;
    qsort(SharedPcs.Blocks, SharedPcs.BlockCount, sizeof SharedPcs.Blocks[0], CompareLeadingDates);
    PcAppsReading reading = {pc, inRange, context, add, target};
    ListDatedEntries(ShareItemPath(SharedPcs.Pattern, SharedPcs.Pcs[pc].Id, AppsFilePattern), AppsFileSuffix,
                     TakePcAppsFile, &reading);
}

OtherPcsDays OthersOfDays;

static int AddCounts(int a, int b)
{
    if (a == NoData) return b;
    if (b == NoData) return a;
    long long sum = static_cast<long long>(a) + b;
    return sum > 0x7FFFFFFF ? 0x7FFFFFFF : static_cast<int>(sum);
}

void LoadOthersOfDays(void)
{
    for (int m = 0; m < MetricCount; ++m)
        for (int s = 0; s < SlotCount; ++s)
            for (int d = 0; d < DayCount; ++d) OthersOfDays.Values[m][s][d] = NoData;
    OthersOfDays.Today = TodayDate();
    int others = FindSharedPcs();
    for (int d = 0; d < DayCount && others; ++d) {
        int date = DateAfterDays(TodayDate(), -d);
        ClearCountedDays();
        for (int m = 0; m < MetricCount; ++m)
            for (int s = 0; s < SlotCount; ++s) SharedPcs.Values[m * SlotCount + s] = DayValue(m, s, d);
        CountDayOnce(date, FingerprintOfValues(SharedPcs.Values));
        for (int pc = 0; pc < others; ++pc) {
            if (!ReadPcDayValues(pc, date, SharedPcs.Values) || !CountDayOnce(date, FingerprintOfValues(SharedPcs.Values)))
                continue;
            for (int m = 0; m < MetricCount; ++m)
                for (int s = 0; s < SlotCount; ++s)
                    OthersOfDays.Values[m][s][d] = AddCounts(OthersOfDays.Values[m][s][d], SharedPcs.Values[m * SlotCount + s]);
        }
    }
}

int ShownDayValue(int metric, int slot, int day)
{
    int own = DayValue(metric, slot, day);
    return GraphShowsAllPcs() && OthersOfDays.Today == TodayDate() ? AddCounts(own, OthersOfDays.Values[metric][slot][day]) : own;
}

int ShownDayMaximum(int metric, int day)
{
    if (!GraphShowsAllPcs()) return DayMaximum(metric, day);
    int last = day == 0 ? CurrentSlot() : SlotCount - 1, maximum = 0;
    for (int s = 0; s <= last; ++s) {
        int v = ShownDayValue(metric, s, day);
        if (v > maximum) maximum = v;
    }
    return maximum;
}

struct PcKeysReading {
    int Pc;
    AcceptDate InRange;
    void* Context;
    long long* Counts;
};

static void AddSharedKeysLine(void* target, const char* line, int length)
{
    long long* counts = static_cast<long long*>(target);
    int tab = 0;
    while (tab < length && line[tab] != '\t') ++tab;
    int key = tab < length ? KeyOfName(line, tab) : -1;
    long long count = key >= 0 ? ParseCount(line + tab + 1, length - tab - 1) : -1;
    if (count >= 0) counts[key] = count > 0x7FFFFFFFFFFFFFFFLL - counts[key] ? 0x7FFFFFFFFFFFFFFFLL : counts[key] + count;
}

static int TakePcKeysFile(void* context, int date, const WIN32_FIND_DATAW* found)
{
    const PcKeysReading* reading = static_cast<const PcKeysReading*>(context);
    if (found->nFileSizeHigh || found->nFileSizeLow > KeysTextSize || !reading->InRange(reading->Context, date)) return 1;
    char name[32];
    ComposeKeysFileName(date, name, sizeof name);
    long size = ReadWholeFile(ShareItemPath(SharedPcs.Path, SharedPcs.Pcs[reading->Pc].Id, name), SharedPcs.Text,
                              KeysTextSize);
    if (size < 0 || !CountDayOnce(KeysCountKey(date), FingerprintOfText(SharedPcs.Text, size))) return 1;
    SplitTextLines(SharedPcs.Text, size, AddSharedKeysLine, reading->Counts);
    return 1;
}

void ReadPcKeys(int pc, AcceptDate inRange, void* context, long long* counts)
{
    static const char KeysPattern[] = "*.keys.txt";
    PcKeysReading reading = {pc, inRange, context, counts};
    ListDatedEntries(ShareItemPath(SharedPcs.Pattern, SharedPcs.Pcs[pc].Id, KeysPattern), KeysFileSuffix, TakePcKeysFile,
                     &reading);
}
