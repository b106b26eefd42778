// The calendar window: a year of days as a grid of weeks, filled by one measure's value of each
// day, with the pointed day's value shown and the picture saved.
#pragma once
#include <windows.h>

#include "graph/calendar.h"

enum { CalendarYearsMax = 128, CalendarMeasures = 4, MeasureActiveTime = 3 };

// Written by ui/calendarwindow.cpp alone: the years with data (newest first), the measure, and the
// chosen year's days.
struct CalendarView {
    int Years[CalendarYearsMax];
    int YearCount;
    int Measure;
    CalendarYear Shown;
};
extern CalendarView CalendarShown;

// Takes the years with data and fills the days of the given one with the measure's values (taken
// from the totals as they are when called); the number of years.
int TakeCalendarYears(int pc);
void FillCalendarYear(int year, int measure);
// Shows the calendar window, modal and owned by the graph window; it opens on the newest year.
void OpenCalendarWindow(HWND graphWindow);
