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

// Written by store/totals.cpp alone: the rows as taken (the ranges, then every listed day, newest
// first) and their number.
struct TotalsTable {
    ActivityTotal Rows[RangeCount + CsvDateCapacity];
    int RowCount;
};
extern TotalsTable DayTotals;

inline int TotalsRowCount(void) { return DayTotals.RowCount; }
// A row taken: the four ranges first, then the days, newest first.
inline const ActivityTotal* TotalsRow(int row) { return &DayTotals.Rows[row]; }

// A count with a comma every three digits ("12,345"), whatever the user's locale.
void FormatGroupedCount(long long count, wchar_t* text, int size);
// Active slots as the time they make, six minutes each, "h:mm" ("0:00", "250:06").
void FormatActiveTime(int slots, wchar_t* text, int size);
// Takes the totals: the days of the CSV export, read as it reads them, newest first after the four
// ranges; a day that cannot be read keeps its row and counts nowhere. The number of rows, or -1
// when the data folder holds more days than the list takes.
int CollectTotals(void);
// The text of a cell of the rows taken (column 0 is the row's name or date), in the UI language.
void FormatTotalsCell(int row, int column, wchar_t* text, int size);
// The header of a column in the UI language.
const wchar_t* TotalsHeader(int column);
