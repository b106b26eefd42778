// The ranges of days that the totals and apps windows sum: today, the last 7 and 30 days, and all
// time.
#pragma once
#include <windows.h>

enum { RangeToday = 0, RangeWeek = 1, RangeMonth = 2, RangeAll = 3, RangeCount = 4 };

// Nonzero when the date lies in the range, as seen from today's date: days after today (the clock
// was set back) count only in all time.
int DateInRange(int range, int date);
// The range's name in the UI language ("今日", "過去7日間", "過去30日間", "全期間").
const wchar_t* RangeName(int range);
