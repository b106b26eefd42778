// The index of this PC's own days in the data folder (data\days.idx): each day's sums and
// fingerprint, kept with the time of writing of the day file they were taken from, so that the
// totals need not read years of day files again. Derived: a day whose file was written since (or
// that the index lacks) is read from its file and noted; a missing or damaged index is rebuilt.
#pragma once
#include <stddef.h>
#include <windows.h>

#include "base/files.h"
#include "store/csvfile.h"
#include "store/shareindex.h"

struct ListedDay {
    int Date;
    unsigned long long Written;
};
static_assert(offsetof(ListedDay, Date) == 0, "ordered by its leading date (CompareLeadingDates)");

// Written by store/ownindex.cpp alone: the index as read and noted, the day files as listed, and
// the index's text and new version's path.
struct OwnDayIndex {
    IndexEntry Entries[IndexCapacity];
    int Count, SortedCount, Changed;
    ListedDay Listed[CsvDateCapacity];
    int ListedCount;
    char Text[IndexTextSize];
    WCHAR TempPath[PathCapacity];
};
extern OwnDayIndex OwnIndex;

// Reads the index and lists the day files with their times of writing.
void LoadOwnIndex(void);
// The entry that stands for a date's day file as listed now; null when there is none (or the file
// was written since), and the day must be read from its file.
const IndexEntry* OwnIndexEntry(int date);
// Notes a day read from its file (its sums and fingerprint) for the listed file's time.
void NoteOwnDay(int date, unsigned long long fingerprint, const long long* sums, int activeSlots);
// Writes the index when days were noted; a failure only costs the next reading its time.
void SaveOwnIndex(void);
