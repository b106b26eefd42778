// Totals of the recorded days: each day's sums, the ranges they add up to, and their texts.
#include "store/totals.h"

#include <stdio.h>
#include <string.h>

#include "res/texts.h"
#include "store/csvfile.h"
#include "store/store.h"

enum { MinutesPerSlot = 6, WeekDays = 7, MonthDays = 30 };

static const UiTextId TotalsHeaders[TotalsColumnCount] = {TextTotalsDate, TextTotalsClicks, TextTotalsKeys,
                                                          TextTotalsMovement, TextTotalsActiveTime};
static const UiTextId TotalsRangeLabels[TotalsRangeCount] = {TextTotalsToday, TextTotalsWeek, TextTotalsMonth,
                                                             TextTotalsAll};
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
    memset(App.TotalsRows, 0, sizeof App.TotalsRows[0] * (TotalsRangeCount + count));
    ActivityTotal* ranges = App.TotalsRows;
    for (int r = 0; r < TotalsRangeCount; ++r) ranges[r].Readable = 1;
    for (int i = 0; i < count; ++i) {
        ActivityTotal* day = &App.TotalsRows[TotalsRangeCount + i];
        day->Date = App.CsvDates[count - 1 - i];
        int lastSlot = ReadListedDay(day->Date, App.CsvDay);
        if (lastSlot < 0) continue;
        day->Readable = 1;
        AddDayValues(App.CsvDay, lastSlot, day);
        // Days after today (the clock was set back) belong to no range but all time.
        int age = DaysBetween(day->Date, App.TodayDate);
        if (age == 0) AddTotal(day, &ranges[TotalsToday]);
        if (age >= 0 && age < WeekDays) AddTotal(day, &ranges[TotalsWeek]);
        if (age >= 0 && age < MonthDays) AddTotal(day, &ranges[TotalsMonth]);
        AddTotal(day, &ranges[TotalsAll]);
    }
    App.TotalsRowCount = TotalsRangeCount + count;
    return App.TotalsRowCount;
}

void FormatTotalsCell(int row, int column, wchar_t* text, int size)
{
    const ActivityTotal* total = &App.TotalsRows[row];
    if (column == 0 && row < TotalsRangeCount) {
        lstrcpynW(text, UiText(TotalsRangeLabels[row]), size);
    } else if (column == 0) {
        int date = total->Date;
        swprintf(text, size, UiText(FormatTotalsDay), date / 10000, date / 100 % 100, date % 100,
                 UiText(Weekdays[WeekdayOfDate(date)]));
    } else if (!total->Readable) {
        lstrcpynW(text, UiText(TextDayUnreadable), size);
    } else if (column <= MetricCount) {
        FormatGroupedCount(total->Sums[column - 1], text, size);
    } else {
        FormatActiveTime(total->ActiveSlots, text, size);
    }
}

int FormatTotalsLine(int line, wchar_t* text)
{
    int length = 0;
    for (int c = 0; c < TotalsColumnCount; ++c) {
        wchar_t* cell = text + length;
        int room = TotalsLineSize - length;
        if (line == 0) lstrcpynW(cell, TotalsHeader(c), room);
        else FormatTotalsCell(line - 1, c, cell, room);
        length += lstrlenW(cell);
        // Counted as written, so that a cut cell could never move the end past the buffer.
        lstrcpynW(text + length, c + 1 < TotalsColumnCount ? L"\t" : L"\r\n", TotalsLineSize - length);
        length += lstrlenW(text + length);
    }
    return length;
}
