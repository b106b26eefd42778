// Date numbers: their parts, the days between them, their weekday, and the dates in file names.
#include "base/dates.h"

#include <stdio.h>

int DateNumber(int year, int month, int day) { return year * 10000 + month * 100 + day; }

int DateOfTime(const SYSTEMTIME* t) { return DateNumber(t->wYear, t->wMonth, t->wDay); }

DateParts SplitDate(int date) { return {date / 10000, date / 100 % 100, date % 100}; }

void FormatDate(const char* format, int date, char* text, int size)
{
    DateParts d = SplitDate(date);
    snprintf(text, size, format, d.Year, d.Month, d.Day);
}

// Days since 1970-01-01 of a proleptic Gregorian date.
static int CivilDays(int date)
{
    DateParts d = SplitDate(date);
    int y = d.Year, m = d.Month;
    y -= m <= 2;
    int era = (y >= 0 ? y : y - 399) / 400;
    int yoe = y - era * 400;
    int doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d.Day - 1;
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

int DateAfterDays(int date, int days) { return DateOfCivilDays(CivilDays(date) + days); }

// 1970-01-01 was a Thursday, the fourth day of a week that begins on Monday.
int WeekdayOfDate(int date) { return ((CivilDays(date) + 3) % 7 + 7) % 7; }

int IsCalendarDate(int date)
{
    DateParts d = SplitDate(date);
    if (d.Year < 1 || d.Year > 9999 || d.Month < 1 || d.Month > 12 || d.Day < 1 || d.Day > 31) return 0;
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

int SlotOfTime(const SYSTEMTIME* t) { return t->wHour * 10 + t->wMinute / 6; }

int CompareLeadingDates(const void* a, const void* b)
{
    int x = *static_cast<const int*>(a), y = *static_cast<const int*>(b);
    return (x > y) - (x < y);
}
