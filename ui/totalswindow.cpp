// The totals window: the totals taken at opening, in the list window.
#include "ui/totalswindow.h"

#include "base/report.h"
#include "res/resource.h"
#include "store/sharedpcs.h"
#include "store/totals.h"

// The ranges' rows hold the longest numbers, and every date is written alike: the first day's row
// is enough to measure.
enum { TotalsRowsMeasured = RangeCount + 1 };

static void FormatTotalsListCell(int row, int column, wchar_t* text, int size)
{
    if (row < 0) lstrcpynW(text, TotalsHeader(column), size);
    else FormatTotalsCell(row, column, text, size);
}

// Every day of the chosen PC, whatever the range.
static int TakeTotals(int range, int pc)
{
    (void)range;
    return CollectTotals(pc);
}

const ListTable TotalsList = {TextTotalsCaption,  IDC_TOTALS_LIST,   IDC_TOTALS_COPY, NoRangeChoice,
                              IDC_TOTALS_PC,      TotalsColumnCount, TotalsRowsMeasured, TextDayUnreadable,
                              TotalsRowCount,     FormatTotalsListCell, TakeTotals,   TextTotalsFailed};

void OpenTotalsWindow(HWND graphWindow)
{
    // Reading ten years of day files takes a moment.
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int rows = CollectTotals(ThisPc);
    SetCursor(previous);
    if (rows < 0) ReportFailure(graphWindow, TextTotalsFailed, TextErrorCaption);
    else ShowListWindow(graphWindow, IDD_TOTALS, &TotalsList);
}
