// The DayTables: label, date text and file name of today and the 20 days before it.
#include <stdio.h>

#include "app/clock.h"
#include "app/texts.h"
#include "store/state.h"
#include "store/store.h"

void BuildDayTables(void)
{
    time_t now = ReadCalendarTime();
    // localtime's result lies in storage that the next conversion reuses: keep a copy.
    App.DayTablesTime = *localtime(&now);
    struct tm* t = &App.DayTablesTime;
    // Stepping back from noon keeps a daylight-saving shift from moving the date.
    t->tm_hour = 12;
    App.TodayDate = DateNumber(t->tm_year + 1900, t->tm_mon + 1, t->tm_mday);
    for (int i = 0; i < DayCount; ++i) {
        int year = t->tm_year + 1900, month = t->tm_mon + 1, day = t->tm_mday;
        snprintf(App.DayLabels[i], sizeof App.DayLabels[i], FormatDayLabel, month, day);
        snprintf(App.DayDates[i], sizeof App.DayDates[i], FormatDayDate, year, month, day);
        snprintf(App.DayFileNames[i], sizeof App.DayFileNames[i], FormatDayFileName, year, month, day);
        // Day 0 of a month normalises to the last day of the month before, across years too.
        t->tm_mday -= 1;
        t->tm_isdst = -1;
        mktime(t);
    }
}

int DateNumber(int year, int month, int day) { return year * 10000 + month * 100 + day; }

// Days since 1970-01-01 of a proleptic Gregorian date.
static int CivilDays(int date)
{
    int y = date / 10000, m = date / 100 % 100, d = date % 100;
    y -= m <= 2;
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    int doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DaysBetween(int a, int b) { return CivilDays(b) - CivilDays(a); }
