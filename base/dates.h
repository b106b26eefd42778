// Dates as numbers, year * 10000 + month * 100 + day, in the proleptic Gregorian calendar, and the
// six-minute slot of a time.
#pragma once
#include <windows.h>

int DateNumber(int year, int month, int day);
// The date of a local time.
int DateOfTime(const SYSTEMTIME* t);
// A date's year, month and day.
struct DateParts {
    int Year, Month, Day;
};
DateParts SplitDate(int date);
// Whole days from date number a to date number b (negative when b is earlier).
int DaysBetween(int a, int b);
// The date the given number of days after a date (before it when negative).
int DateAfterDays(int date, int days);
// The day of the week of a date number: 0 for Monday to 6 for Sunday.
int WeekdayOfDate(int date);
// Nonzero for a date number that names a real day of the calendar (years 1 to 9999).
int IsCalendarDate(int date);
// The date of a file name "YYYYMMDD" of a real day followed by the suffix (lower-case ASCII,
// matched in any case): "20240307.dat"; 0 for any other name.
int DateOfFileName(const WCHAR* name, const char* suffix);
// The order of dates for qsort and bsearch, of plain dates and of records whose first member is
// their date.
int CompareLeadingDates(const void* a, const void* b);
// Slot of a local time: hour * 10 + minute / 6.
int SlotOfTime(const SYSTEMTIME* t);
// Formats a date into the text by a format that takes its year, month and day ("%04d%02d%02d.dat").
void FormatDate(const char* format, int date, char* text, int size);
