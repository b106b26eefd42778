// The calendar picture: a year of days as squares in columns of weeks (Monday on top), each filled
// in five steps by its value, with month and weekday names and the legend.
#pragma once
#include <windows.h>

enum { CalendarDaysMax = 366, CalendarSteps = 5, CalendarStepBounds = CalendarSteps - 2 };

// A year's days as the picture takes them: a value for each day of the year (day 0 is 1 January)
// and whether it has a day file.
struct CalendarYear {
    int Year;
    int DayCount;
    long long Values[CalendarDaysMax];
    unsigned char HasData[CalendarDaysMax];
};

// The bounds between the steps above 0, from the year's days with data whose value is above 0 (so
// that one busy day does not wash the rest out): each value above 0 is on step 1 + the number of
// bounds it passes; a day with data and nothing in it is on step 0.
void FindCalendarBounds(const CalendarYear* year, long long* bounds);
int CalendarStepOf(long long value, const long long* bounds);
// Draws the year into the context, fitted into the width and height, on white; the total's text
// goes beside the legend.
void DrawCalendarPicture(HDC dc, int width, int height, const CalendarYear* year, const wchar_t* total);
// The day of the year whose square holds the point of a picture of that size; -1 for none.
int CalendarDayAtPoint(int width, int height, const CalendarYear* year, POINT point);
