// The DayTables: label, date text and file name of today and the 20 days before it.
#include <stdio.h>

#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"

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

// The date of a day count since 1970-01-01: the inverse of CivilDays.
static int DateOfCivilDays(int days)
{
    days += 719468;
    int era = (days >= 0 ? days : days - 146096) / 146097;
    int doe = days - era * 146097;
    int yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    int doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    int mp = (5 * doy + 2) / 153;
    int d = doy - (153 * mp + 2) / 5 + 1;
    int m = mp < 10 ? mp + 3 : mp - 9;
    return DateNumber(yoe + era * 400 + (m <= 2), m, d);
}

int DaysBetween(int a, int b) { return CivilDays(b) - CivilDays(a); }

// 1970-01-01 was a Thursday, the fourth day of a week that begins on Monday.
int WeekdayOfDate(int date) { return ((CivilDays(date) + 3) % 7 + 7) % 7; }

int IsCalendarDate(int date)
{
    int year = date / 10000, month = date / 100 % 100, day = date % 100;
    if (year < 1 || year > 9999 || month < 1 || month > 12 || day < 1 || day > 31) return 0;
    // An impossible day (30 February) comes back from the day count as another date.
    return DateOfCivilDays(CivilDays(date)) == date;
}

int DateOfFileName(const WCHAR* name, const char* suffix)
{
    int date = 0;
    for (int i = 0; i < 8; ++i) {
        if (name[i] < L'0' || name[i] > L'9') return 0;
        date = date * 10 + (name[i] - L'0');
    }
    for (int i = 0;; ++i) {
        WCHAR c = name[8 + i];
        if (c >= L'A' && c <= L'Z') c = static_cast<WCHAR>(c - L'A' + L'a');
        if (c != static_cast<WCHAR>(suffix[i])) return 0;
        if (!c) break;
    }
    return IsCalendarDate(date) ? date : 0;
}

// Built from the date the caller read with the slot's time, never from a clock of its own: a
// second reading could fall on the other side of midnight or in another time zone.
void BuildDayTables(int today)
{
    App.TodayDate = today;
    const int first = CivilDays(today);
    for (int i = 0; i < DayCount; ++i) {
        int date = DateOfCivilDays(first - i);
        int year = date / 10000, month = date / 100 % 100, day = date % 100;
        snprintf(App.DayLabels[i], sizeof App.DayLabels[i], FormatDayLabel, month, day);
        snprintf(App.DayDates[i], sizeof App.DayDates[i], FormatDayDate, year, month, day);
        snprintf(App.DayFileNames[i], sizeof App.DayFileNames[i], FormatDayFileName, year, month, day);
    }
}
