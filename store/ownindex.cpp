// The index of this PC's days: read, looked up by the day files' times, noted and written whole.
#include "store/ownindex.h"

#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "store/datafolder.h"
#include "store/dayfile.h"

OwnDayIndex OwnIndex;

static const char OwnIndexTempName[] = "days.idx.new";

static int ListOwnDay(void* context, int date, const WIN32_FIND_DATAW* found)
{
    (void)context;
    if (OwnIndex.ListedCount == CsvDateCapacity) return 0;
    ListedDay* listed = &OwnIndex.Listed[OwnIndex.ListedCount++];
    listed->Date = date;
    listed->Written = WriteTimeOf(&found->ftLastWriteTime);
    return 1;
}

void LoadOwnIndex(void)
{
    long size = ReadWholeFile(ComposeDataFilePath(IndexFileName), OwnIndex.Text, IndexTextSize);
    OwnIndex.Count = size > 0 ? ParseIndexText(OwnIndex.Text, size, OwnIndex.Entries, IndexCapacity) : 0;
    qsort(OwnIndex.Entries, OwnIndex.Count, sizeof OwnIndex.Entries[0], CompareLeadingDates);
    OwnIndex.SortedCount = OwnIndex.Count;
    OwnIndex.Changed = 0;
    OwnIndex.ListedCount = 0;
    ListDatedEntries(ComposeDataFilePath(DayFilePattern), DayFileSuffix, ListOwnDay, nullptr);
    qsort(OwnIndex.Listed, OwnIndex.ListedCount, sizeof OwnIndex.Listed[0], CompareLeadingDates);
}

static unsigned long long ListedWriteTime(int date)
{
    ListedDay key = {date, 0};
    const ListedDay* listed = static_cast<const ListedDay*>(
        bsearch(&key, OwnIndex.Listed, OwnIndex.ListedCount, sizeof key, CompareLeadingDates));
    return listed ? listed->Written : 0;
}

static IndexEntry* SortedEntry(int date)
{
    IndexEntry key = {};
    key.Date = date;
    return static_cast<IndexEntry*>(bsearch(&key, OwnIndex.Entries, OwnIndex.SortedCount, sizeof key, CompareLeadingDates));
}

const IndexEntry* OwnIndexEntry(int date)
{
    const IndexEntry* entry = SortedEntry(date);
    unsigned long long written = ListedWriteTime(date);
    return entry && written && entry->Written == written ? entry : nullptr;
}

void NoteOwnDay(int date, unsigned long long fingerprint, const long long* sums, int activeSlots)
{
    unsigned long long written = ListedWriteTime(date);
    if (!written) return;
    IndexEntry* entry = SortedEntry(date);
    if (!entry && OwnIndex.Count == IndexCapacity) return;
    if (!entry) entry = &OwnIndex.Entries[OwnIndex.Count++];
    memset(entry, 0, sizeof *entry);
    entry->Date = date;
    entry->Fingerprint = fingerprint;
    entry->Written = written;
    for (int m = 0; m < MetricCount; ++m) entry->Sums[m] = sums[m];
    entry->ActiveSlots = activeSlots;
    OwnIndex.Changed = 1;
}

void SaveOwnIndex(void)
{
    if (!OwnIndex.Changed) return;
    qsort(OwnIndex.Entries, OwnIndex.Count, sizeof OwnIndex.Entries[0], CompareLeadingDates);
    OwnIndex.SortedCount = OwnIndex.Count;
    long length = 0;
    for (int i = 0; i < OwnIndex.Count; ++i) length += FormatIndexLine(&OwnIndex.Entries[i], OwnIndex.Text + length);
    lstrcpynW(OwnIndex.TempPath, ComposeDataFilePath(OwnIndexTempName), PathCapacity);
    ReplaceFileWith(ComposeDataFilePath(IndexFileName), OwnIndex.TempPath, OwnIndex.Text, static_cast<DWORD>(length));
    OwnIndex.Changed = 0;
}
