// The ranges of days, their extent and their names.
#include "store/ranges.h"

#include "base/dates.h"
#include "base/uitext.h"
#include "store/days.h"

enum { WeekDays = 7, MonthDays = 30 };

static const UiTextId RangeNames[RangeCount] = {TextTotalsToday, TextTotalsWeek, TextTotalsMonth, TextTotalsAll};

int DateInRange(int range, int date)
{
    int age = DaysBetween(date, Days.TodayDate);
    switch (range) {
    case RangeToday: return age == 0;
    case RangeWeek:  return age >= 0 && age < WeekDays;
    case RangeMonth: return age >= 0 && age < MonthDays;
    default:         return 1;
    }
}

const wchar_t* RangeName(int range) { return range >= 0 && range < RangeCount ? UiText(RangeNames[range]) : L""; }
