// Totals of the recorded days: each day's sums, the ranges they add up to, and their texts.
#include "store/totals.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "base/uitext.h"

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

// Adds slots 0..lastSlot of a day's 720 values (in the file's order) to a total.
static void AddDayValues(const int* values, int lastSlot, ActivityTotal* total)
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

int CollectTotals(void)
{
    int count = CollectCsvDates();
    if (count < 0) return -1;
    ActivityTotal* ranges = DayTotals.Rows;
    memset(ranges, 0, sizeof ranges[0] * (RangeCount + count));
    for (int r = 0; r < RangeCount; ++r) ranges[r].Readable = 1;
    for (int i = 0; i < count; ++i) {
        ActivityTotal* day = &ranges[RangeCount + i];
        day->Date = CsvWork.Dates[count - 1 - i];
        int lastSlot = ReadListedDay(day->Date, CsvWork.Day);
        if (lastSlot < 0) continue;
        day->Readable = 1;
        AddDayValues(CsvWork.Day, lastSlot, day);
        for (int r = 0; r < RangeCount; ++r)
            if (DateInRange(r, day->Date)) AddTotal(day, &ranges[r]);
    }
    DayTotals.RowCount = RangeCount + count;
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
