// The calendar window: the year and measure chosen at its top, the picture between them and the
// buttons, the pointed day's date and value in the line beside the buttons.
#include "ui/calendarwindow.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "base/uitext.h"
#include "res/resource.h"
#include "store/days.h"
#include "store/totals.h"
#include "ui/listwindow.h"
#include "ui/savecommands.h"
#include "ui/uiresources.h"

CalendarView CalendarShown;

static const char FormatCalendarPictureName[] = "YEAR%04d.jpg";
static const UiTextId MeasureNames[CalendarMeasures] = {TextTotalsClicks, TextTotalsKeys, TextTotalsMovement,
                                                        TextTotalsActiveTime};
static const UiTextId WeekdayNames[7] = {TextMonday, TextTuesday,  TextWednesday, TextThursday,
                                         TextFriday, TextSaturday, TextSunday};
enum { PictureMargin = 8, ValueSize = 64, LineSize = 160 };

int TakeCalendarYears(int pc)
{
    CalendarShown.YearCount = 0;
    int rows = CollectTotals(pc);
    for (int r = RangeCount; r < rows; ++r) {
        const ActivityTotal* day = TotalsRow(r);
        int year = day->Date / 10000;
        int count = CalendarShown.YearCount;
        // The days come newest first, so a year is new when it differs from the last one taken.
        if (!day->Readable || (count > 0 && CalendarShown.Years[count - 1] == year) || count == CalendarYearsMax) continue;
        CalendarShown.Years[CalendarShown.YearCount++] = year;
    }
    return CalendarShown.YearCount;
}

static long long MeasureOf(const ActivityTotal* day, int measure)
{
    return measure == MeasureActiveTime ? day->ActiveSlots : day->Sums[measure];
}

void FillCalendarYear(int year, int measure)
{
    CalendarYear* shown = &CalendarShown.Shown;
    memset(shown, 0, sizeof *shown);
    CalendarShown.Measure = measure;
    shown->Year = year;
    int first = DateNumber(year, 1, 1);
    shown->DayCount = DaysBetween(first, DateNumber(year + 1, 1, 1));
    for (int r = RangeCount; r < TotalsRowCount(); ++r) {
        const ActivityTotal* day = TotalsRow(r);
        if (!day->Readable || day->Date / 10000 != year) continue;
        int d = DaysBetween(first, day->Date);
        shown->HasData[d] = 1;
        shown->Values[d] = MeasureOf(day, measure);
    }
}

static void FormatMeasure(long long value, wchar_t* text, int size)
{
    if (CalendarShown.Measure == MeasureActiveTime) FormatActiveTime(static_cast<int>(value), text, size);
    else FormatGroupedCount(value, text, size);
}

static RECT PictureArea(HWND window)
{
    RECT client, top, bottom;
    GetClientRect(window, &client);
    GetWindowRect(GetDlgItem(window, IDC_CALENDAR_MEASURE), &top);
    GetWindowRect(GetDlgItem(window, IDCANCEL), &bottom);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&top), 2);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bottom), 2);
    RECT area = {PictureMargin, top.bottom + PictureMargin, client.right - PictureMargin, bottom.top - PictureMargin};
    return area;
}

static void FormatYearTotal(wchar_t* text, int size)
{
    const CalendarYear* shown = &CalendarShown.Shown;
    long long total = 0;
    for (int d = 0; d < shown->DayCount; ++d) total += shown->Values[d];
    wchar_t value[ValueSize];
    FormatMeasure(total, value, ValueSize);
    swprintf(text, size, UiText(FormatCalendarTotal), shown->Year, value);
}

static int RenderCalendar(HDC dc, int width, int height, const void* context)
{
    (void)context;
    wchar_t total[LineSize];
    FormatYearTotal(total, LineSize);
    DrawCalendarPicture(dc, width, height, &CalendarShown.Shown, total);
    return 0;
}

// The chosen year and measure anew: the days filled and the picture drawn again.
static void ShowCalendarChoice(HWND window)
{
    int yearItem = static_cast<int>(SendDlgItemMessageW(window, IDC_CALENDAR_YEAR, CB_GETCURSEL, 0, 0));
    int measure = static_cast<int>(SendDlgItemMessageW(window, IDC_CALENDAR_MEASURE, CB_GETCURSEL, 0, 0));
    int year = yearItem >= 0 && yearItem < CalendarShown.YearCount ? CalendarShown.Years[yearItem]
                                                                    : SplitDate(TodayDate()).Year;
    FillCalendarYear(year, measure >= 0 && measure < CalendarMeasures ? measure : 0);
    SetDlgItemTextW(window, IDC_CALENDAR_POINTED, L"");
    RECT area = PictureArea(window);
    InvalidateRect(window, &area, TRUE);
}

// The years of the chosen PC's days (or all PCs'), newest first, the newest chosen.
static void TakeChosenPcYears(HWND window)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    TakeCalendarYears(ChosenPc(window, IDC_CALENDAR_PC));
    SetCursor(previous);
    HWND years = GetDlgItem(window, IDC_CALENDAR_YEAR);
    SendMessageW(years, CB_RESETCONTENT, 0, 0);
    for (int y = 0; y < CalendarShown.YearCount; ++y) {
        wchar_t name[ValueSize];
        swprintf(name, ValueSize, UiText(FormatCalendarYear), CalendarShown.Years[y]);
        SendMessageW(years, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name));
    }
    SendMessageW(years, CB_SETCURSEL, 0, 0);
}

static INT_PTR OnCalendarPcChosen(HWND window, int notification)
{
    if (notification != CBN_SELCHANGE) return 0;
    TakeChosenPcYears(window);
    ShowCalendarChoice(window);
    return 1;
}

static INT_PTR StartCalendarWindow(HWND window, LPARAM param)
{
    EndSharpDialogStart(param);
    SetWindowTextW(window, UiText(TextCalendarCaption));
    SetDlgItemTextW(window, IDC_CALENDAR_SAVE, UiText(TextMenuSavePicture));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    FillPcChoice(GetDlgItem(window, IDC_CALENDAR_PC));
    TakeChosenPcYears(window);
    HWND measures = GetDlgItem(window, IDC_CALENDAR_MEASURE);
    for (UiTextId name : MeasureNames) SendMessageW(measures, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText(name)));
    SendMessageW(measures, CB_SETCURSEL, 0, 0);
    ShowCalendarChoice(window);
    return 1;
}

static INT_PTR PaintCalendarWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area = PictureArea(window);
    POINT oldOrigin;
    SetViewportOrgEx(dc, area.left, area.top, &oldOrigin);
    RenderCalendar(dc, area.right - area.left, area.bottom - area.top, nullptr);
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    EndPaint(window, &paint);
    return 1;
}

// The pointed day's date, weekday and value, in the line beside the buttons.
static INT_PTR OnCalendarPointer(HWND window, LPARAM point)
{
    RECT area = PictureArea(window);
    POINT at = {static_cast<short>(LOWORD(point)) - area.left, static_cast<short>(HIWORD(point)) - area.top};
    const CalendarYear* shown = &CalendarShown.Shown;
    int day = CalendarDayAtPoint(area.right - area.left, area.bottom - area.top, shown, at);
    wchar_t line[LineSize] = L"";
    if (day >= 0) {
        int date = DateAfterDays(DateNumber(shown->Year, 1, 1), day);
        DateParts d = SplitDate(date);
        wchar_t value[ValueSize];
        if (shown->HasData[day]) FormatMeasure(shown->Values[day], value, ValueSize);
        else lstrcpynW(value, UiText(TextCalendarNoData), ValueSize);
        swprintf(line, LineSize, UiText(FormatCalendarDay), d.Year, d.Month, d.Day, UiText(WeekdayNames[WeekdayOfDate(date)]),
                 value);
    }
    SetDlgItemTextW(window, IDC_CALENDAR_POINTED, line);
    return 0;
}

static INT_PTR SaveCalendarPicture(HWND window)
{
    char name[32];
    snprintf(name, sizeof name, FormatCalendarPictureName, CalendarShown.Shown.Year);
    RECT area = PictureArea(window);
    SaveWindowPicture(window, name, area.right - area.left, area.bottom - area.top, RenderCalendar, nullptr);
    return 1;
}

static INT_PTR OnCalendarChoice(HWND window, int notification)
{
    if (notification != CBN_SELCHANGE) return 0;
    ShowCalendarChoice(window);
    return 1;
}

static INT_PTR CloseCalendarWindow(HWND window)
{
    EndDialog(window, IDCANCEL);
    return 1;
}

static INT_PTR OnCalendarCommand(HWND window, int command, int notification)
{
    switch (command) {
    case IDCANCEL:             return CloseCalendarWindow(window);
    case IDC_CALENDAR_SAVE:    return SaveCalendarPicture(window);
    case IDC_CALENDAR_YEAR:
    case IDC_CALENDAR_MEASURE: return OnCalendarChoice(window, notification);
    case IDC_CALENDAR_PC:      return OnCalendarPcChosen(window, notification);
    }
    return 0;
}

static INT_PTR CALLBACK CalendarWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return StartCalendarWindow(window, lParam);
    case WM_PAINT:      return PaintCalendarWindow(window);
    case WM_MOUSEMOVE:  return OnCalendarPointer(window, lParam);
    case WM_COMMAND:    return OnCalendarCommand(window, LOWORD(wParam), HIWORD(wParam));
    }
    return 0;
}

void OpenCalendarWindow(HWND graphWindow) { ShowSharpUiDialog(IDD_CALENDAR, graphWindow, CalendarWindowProc); }
