// Totals of the recorded days: the sums of each day, of today, the last 7 and 30 days and all
// time, and their texts as the totals window shows them and the clipboard takes them.
#pragma once
#include <windows.h>

#include "store/csvfile.h"
#include "store/ranges.h"

enum { TotalsColumnCount = 5 };

// Sums of a day or a range of days: each measure's values above 0, and the slots in which any
// measure is above 0. A day whose file cannot be read is not readable and counts nowhere.
struct ActivityTotal {
    long long Sums[MetricCount];
    int ActiveSlots;
    int Date;  // of a day's row; 0 for a range
    int Readable;
};

// Days of several PCs looked up by date while their rows are taken (a power of two, at least twice
// the rows).
enum { TotalsDateSlots = 16384 };

// Written by store/totals.cpp alone: the rows as taken (the ranges, then every listed day, newest
// first), their number, and the row of each date while they are taken.
struct TotalsTable {
    ActivityTotal Rows[RangeCount + CsvDateCapacity];
    int RowCount;
    int RowOfDate[TotalsDateSlots];
};
extern TotalsTable DayTotals;

inline int TotalsRowCount(void) { return DayTotals.RowCount; }
// A row taken: the four ranges first, then the days, newest first.
inline const ActivityTotal* TotalsRow(int row) { return &DayTotals.Rows[row]; }

// Adds slots 0..lastSlot of a day's 720 values (in the file's order) to a total.
void AddDayValues(const int* values, int lastSlot, ActivityTotal* total);
// A count with a comma every three digits ("12,345"), whatever the user's locale.
void FormatGroupedCount(long long count, wchar_t* text, int size);
// Active slots as the time they make, six minutes each, "h:mm" ("0:00", "250:06").
void FormatActiveTime(int slots, wchar_t* text, int size);
// Takes the totals of this PC (ThisPc), of another PC of the share (its number) or of all of them
// (AllPcs): this PC's days those of the CSV export, read as it reads them, a day that cannot be
// read keeping its row and counting nowhere; another PC's as store/sharedpcs.h reads them; a
// day's content that several identities published counts once. Newest first after the four
// ranges. The number of rows, or -1 when there are more days than the list takes.
int CollectTotals(int pc);
// The text of a cell of the rows taken (column 0 is the row's name or date), in the UI language.
void FormatTotalsCell(int row, int column, wchar_t* text, int size);
// The header of a column in the UI language.
const wchar_t* TotalsHeader(int column);
