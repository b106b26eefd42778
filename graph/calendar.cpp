// The calendar picture. The grid is laid out in cells: a column of weekday names, then one column
// a week; a row of month names above, the legend below.
#include "graph/calendar.h"

#include <stdlib.h>

#include "base/dates.h"
#include "base/uitext.h"
#include "graph/heat.h"

enum { LabelColumns = 3, WeekColumns = 54, MonthRows = 2, LegendRows = 3, GridCells = LabelColumns + WeekColumns + 1 };
enum { GridRows = MonthRows + 7 + LegendRows };
static const UiTextId MonthNames[12] = {TextJanuary, TextFebruary, TextMarch,     TextApril,   TextMay,      TextJune,
                                        TextJuly,    TextAugust,   TextSeptember, TextOctober, TextNovember, TextDecember};
static const UiTextId WeekdayNames[7] = {TextMonday, TextTuesday,  TextWednesday, TextThursday,
                                         TextFriday, TextSaturday, TextSunday};

static int CompareCounts(const void* a, const void* b)
{
    long long x = *static_cast<const long long*>(a), y = *static_cast<const long long*>(b);
    return x < y ? -1 : x > y;
}

void FindCalendarBounds(const CalendarYear* year, long long* bounds)
{
    long long sorted[CalendarDaysMax];
    int count = 0;
    for (int d = 0; d < year->DayCount; ++d)
        if (year->HasData[d] && year->Values[d] > 0) sorted[count++] = year->Values[d];
    qsort(sorted, count, sizeof sorted[0], CompareCounts);
    // The quartiles of the values above 0: a value passes a bound when it is above it.
    for (int b = 0; b < CalendarStepBounds; ++b)
        bounds[b] = count ? sorted[(count - 1) * (b + 1) / (CalendarStepBounds + 1)] : 0;
}

int CalendarStepOf(long long value, const long long* bounds)
{
    if (value <= 0) return 0;
    int step = 1;
    for (int b = 0; b < CalendarStepBounds; ++b) step += value > bounds[b];
    return step;
}

struct CalendarGrid {
    int cell, left, top, firstWeekday;
};

static CalendarGrid GridOf(int width, int height, const CalendarYear* year)
{
    CalendarGrid grid;
    int across = width / GridCells, down = height / GridRows;
    grid.cell = across < down ? across : down;
    grid.left = (width - grid.cell * GridCells) / 2;
    grid.top = (height - grid.cell * GridRows) / 2;
    grid.firstWeekday = WeekdayOfDate(DateNumber(year->Year, 1, 1));
    return grid;
}

static RECT DayRect(const CalendarGrid* grid, int day)
{
    int place = day + grid->firstWeekday;
    int x = grid->left + (LabelColumns + place / 7) * grid->cell;
    int y = grid->top + (MonthRows + place % 7) * grid->cell;
    RECT r = {x + 1, y + 1, x + grid->cell, y + grid->cell};
    return r;
}

static COLORREF StepColour(int step) { return HeatColour(step * 1000 / (CalendarSteps - 1)); }

int CalendarDayAtPoint(int width, int height, const CalendarYear* year, POINT point)
{
    CalendarGrid grid = GridOf(width, height, year);
    if (grid.cell < 2) return -1;
    for (int d = 0; d < year->DayCount; ++d) {
        RECT r = DayRect(&grid, d);
        if (PtInRect(&r, point)) return d;
    }
    return -1;
}

static void DrawLabel(HDC dc, int left, int top, int right, int bottom, const wchar_t* text, HFONT font, UINT format)
{
    RECT box = {left, top, right, bottom};
    HGDIOBJ oldFont = SelectObject(dc, font);
    DrawTextW(dc, text, -1, &box, DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER | DT_NOCLIP | format);
    SelectObject(dc, oldFont);
}

void DrawCalendarPicture(HDC dc, int width, int height, const CalendarYear* year, const wchar_t* total)
{
    RECT all = {0, 0, width, height};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    CalendarGrid grid = GridOf(width, height, year);
    if (grid.cell < 2) return;
    long long bounds[CalendarStepBounds];
    FindCalendarBounds(year, bounds);
    HFONT font = CreateHeatFont(grid.cell * 4 / 5 > 6 ? grid.cell * 4 / 5 : 6, 0);
    int oldMode = SetBkMode(dc, TRANSPARENT);
    COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
    int c = grid.cell;
    for (int w = 0; w < 7; ++w) {
        int y = grid.top + (MonthRows + w) * c;
        DrawLabel(dc, grid.left, y, grid.left + (LabelColumns - 1) * c, y + c, UiText(WeekdayNames[w]), font, DT_RIGHT);
    }
    int month = 0;
    for (int d = 0; d < year->DayCount; ++d) {
        RECT r = DayRect(&grid, d);
        FillCell(dc, &r, year->HasData[d] ? StepColour(CalendarStepOf(year->Values[d], bounds)) : HeatPlain);
        DateParts date = SplitDate(DateAfterDays(DateNumber(year->Year, 1, 1), d));
        // A month's name above the week of its first day.
        if (date.Day == 1 && date.Month - 1 == month) {
            DrawLabel(dc, r.left, grid.top, r.left + 4 * c, grid.top + MonthRows * c, UiText(MonthNames[month]), font, DT_LEFT);
            ++month;
        }
    }
    int legendTop = grid.top + (MonthRows + 7) * c + c / 2;
    int x = grid.left + LabelColumns * c;
    DrawLabel(dc, x, legendTop, x + 3 * c, legendTop + c, UiText(TextCalendarLess), font, DT_RIGHT);
    x += 3 * c + c / 2;
    for (int s = 0; s < CalendarSteps; ++s, x += c) {
        RECT r = {x + 1, legendTop + 1, x + c, legendTop + c};
        FillCell(dc, &r, StepColour(s));
    }
    DrawLabel(dc, x + c / 2, legendTop, x + 4 * c, legendTop + c, UiText(TextCalendarMore), font, DT_LEFT);
    DrawLabel(dc, x + 5 * c, legendTop, grid.left + GridCells * c, legendTop + c, total, font, DT_LEFT);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    DeleteObject(font);
}
