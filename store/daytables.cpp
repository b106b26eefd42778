// The day tables: label, date text and file name of today and the 20 days before it.
#include <stdio.h>

#include "base/dates.h"
#include "store/dayfile.h"
#include "store/days.h"

static const char FormatDayLabel[] = "%02d/%02d";
static const char FormatDayDate[] = "%04d/%02d/%02d";

// Built from the date the caller read with the slot's time, never from a clock of its own: a
// second reading could fall on the other side of midnight or in another time zone.
void BuildDayTables(int today)
{
    Days.TodayDate = today;
    for (int i = 0; i < DayCount; ++i) {
        int date = DateAfterDays(today, -i);
        DateParts d = SplitDate(date);
        snprintf(Days.DayLabels[i], sizeof Days.DayLabels[i], FormatDayLabel, d.Month, d.Day);
        FormatDate(FormatDayDate, date, Days.DayDates[i], sizeof Days.DayDates[i]);
        ComposeDayFileName(date, Days.DayFileNames[i], sizeof Days.DayFileNames[i]);
    }
}
