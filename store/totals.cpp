// Totals of the recorded days: each day's sums, the ranges they add up to, and their texts.
#include "store/totals.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include "base/dates.h"
#include "base/uitext.h"
#include "store/ownindex.h"
#include "store/sharedpcs.h"

TotalsTable DayTotals;

enum { MinutesPerSlot = 6, WeekDays = 7 };

static const UiTextId TotalsHeaders[TotalsColumnCount] = {TextTotalsDate, TextTotalsClicks, TextTotalsKeys,
                                                          TextTotalsMovement, TextTotalsActiveTime};
static const UiTextId Weekdays[WeekDays] = {TextMonday, TextTuesday, TextWednesday, TextThursday,
                                            TextFriday, TextSaturday, TextSunday};

const wchar_t* TotalsHeader(int column)
{
    return column >= 0 && column < TotalsColumnCount ? UiText(TotalsHeaders[column]) : L"";
}

void AddDayValues(const int* values, int lastSlot, ActivityTotal* total)
{
    for (int s = 0; s <= lastSlot && s < SlotCount; ++s) {
        int active = 0;
        for (int m = 0; m < MetricCount; ++m) {
            int v = values[m * SlotCount + s];
            if (v <= 0) continue;
            total->Sums[m] += v;
            active = 1;
        }
        total->ActiveSlots += active;
    }
}

static void AddTotal(const ActivityTotal* day, ActivityTotal* total)
{
    for (int m = 0; m < MetricCount; ++m) total->Sums[m] += day->Sums[m];
    total->ActiveSlots += day->ActiveSlots;
}

void FormatGroupedCount(long long count, wchar_t* text, int size)
{
    // Written backwards, digit by digit, so that no locale's grouping can come in.
    wchar_t reversed[32];
    int length = 0;
    unsigned long long rest = count < 0 ? 0 : static_cast<unsigned long long>(count);
    do {
        if (length % 4 == 3) reversed[length++] = L',';
        reversed[length++] = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest);
    int kept = length < size ? length : size - 1;
    for (int i = 0; i < kept; ++i) text[i] = reversed[length - 1 - i];
    text[kept] = L'\0';
}

void FormatActiveTime(int slots, wchar_t* text, int size)
{
    int minutes = slots * MinutesPerSlot;
    swprintf(text, size, UiText(FormatTotalsTime), minutes / 60, minutes % 60);
}

// The row of a date, a new one when it has none yet; null past the list's capacity.
static ActivityTotal* RowOfDate(int date)
{
    unsigned slot = (static_cast<unsigned>(date) * 2654435761u) & (TotalsDateSlots - 1);
    while (DayTotals.RowOfDate[slot]) {
        ActivityTotal* row = &DayTotals.Rows[DayTotals.RowOfDate[slot] - 1];
        if (row->Date == date) return row;
        slot = (slot + 1) & (TotalsDateSlots - 1);
    }
    if (DayTotals.RowCount == RangeCount + CsvDateCapacity) return nullptr;
    ActivityTotal* row = &DayTotals.Rows[DayTotals.RowCount];
    memset(row, 0, sizeof *row);
    row->Date = date;
    DayTotals.RowOfDate[slot] = ++DayTotals.RowCount;
    return row;
}

static void AddToRanges(int date, const ActivityTotal* day)
{
    for (int r = 0; r < RangeCount; ++r)
        if (DateInRange(r, date)) AddTotal(day, &DayTotals.Rows[r]);
}

// The days beyond the 21 in memory come from the data folder's index where it stands for their
// files, and are read (and noted in it) where it does not.
static int CollectOwnDays(void)
{
    int count = CollectCsvDates();
    if (count < 0) return -1;
    LoadOwnIndex();
    for (int i = 0; i < count; ++i) {
        int date = CsvWork.Dates[i];
        ActivityTotal* row = RowOfDate(date);
        if (!row) return -1;
        int age = DaysBetween(date, Days.TodayDate), inMemory = age >= 0 && age < DayCount;
        const IndexEntry* entry = inMemory ? nullptr : OwnIndexEntry(date);
        unsigned long long fingerprint = 0;
        if (entry) {
            for (int m = 0; m < MetricCount; ++m) row->Sums[m] = entry->Sums[m];
            row->ActiveSlots = entry->ActiveSlots;
            fingerprint = entry->Fingerprint;
        } else {
            int lastSlot = ReadListedDay(date, CsvWork.Day);
            if (lastSlot < 0) continue;
            AddDayValues(CsvWork.Day, lastSlot, row);
            fingerprint = FingerprintOfValues(CsvWork.Day);
            if (!inMemory) NoteOwnDay(date, fingerprint, row->Sums, row->ActiveSlots);
        }
        row->Readable = 1;
        AddToRanges(date, row);
        CountDayOnce(date, fingerprint);
    }
    SaveOwnIndex();
    return 1;
}

static void AddPcDay(void* context, int date, unsigned long long fingerprint, const ActivityTotal* total)
{
    int* full = static_cast<int*>(context);
    if (!CountDayOnce(date, fingerprint)) return;
    ActivityTotal* row = RowOfDate(date);
    if (!row) {
        *full = 1;
        return;
    }
    row->Readable = 1;
    AddTotal(total, row);
    AddToRanges(date, total);
}

static int CompareRowsNewestFirst(const void* a, const void* b)
{
    int x = static_cast<const ActivityTotal*>(a)->Date, y = static_cast<const ActivityTotal*>(b)->Date;
    return (x < y) - (x > y);
}

int CollectTotals(int pc)
{
    ActivityTotal* ranges = DayTotals.Rows;
    memset(ranges, 0, sizeof ranges[0] * RangeCount);
    memset(DayTotals.RowOfDate, 0, sizeof DayTotals.RowOfDate);
    for (int r = 0; r < RangeCount; ++r) ranges[r].Readable = 1;
    DayTotals.RowCount = RangeCount;
    ClearCountedDays();
    int full = 0;
    if ((pc == ThisPc || pc == AllPcs) && CollectOwnDays() < 0) full = 1;
    for (int other = 0; !full && other < SharedPcCount(); ++other)
        if (pc == AllPcs || pc == other) ReadPcDays(other, AddPcDay, &full);
    if (full) {
        DayTotals.RowCount = 0;
        return -1;
    }
    qsort(ranges + RangeCount, DayTotals.RowCount - RangeCount, sizeof ranges[0], CompareRowsNewestFirst);
    return DayTotals.RowCount;
}

void FormatTotalsCell(int row, int column, wchar_t* text, int size)
{
    const ActivityTotal* total = &DayTotals.Rows[row];
    if (column == 0 && row < RangeCount) {
        lstrcpynW(text, RangeName(row), size);
    } else if (column == 0) {
        DateParts d = SplitDate(total->Date);
        swprintf(text, size, UiText(FormatTotalsDay), d.Year, d.Month, d.Day, UiText(Weekdays[WeekdayOfDate(total->Date)]));
    } else if (!total->Readable) {
        lstrcpynW(text, UiText(TextDayUnreadable), size);
    } else if (column <= MetricCount) {
        FormatGroupedCount(total->Sums[column - 1], text, size);
    } else {
        FormatActiveTime(total->ActiveSlots, text, size);
    }
}
