// The totals window: its list of the totals taken at opening, and the copy to the clipboard.
#include "ui/totalswindow.h"

#include <commctrl.h>
#include <string.h>

#include "res/resource.h"
#include "res/texts.h"
#include "store/state.h"
#include "store/totals.h"
#include "ui/clipboard.h"
#include "ui/report.h"
#include "ui/uitexts.h"

// Room a list column gives its text beyond the text's own width, in pixels.
enum { ColumnPadding = 16 };

static int TextWidth(HWND list, const wchar_t* text)
{
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

// A column is as wide as the widest of its header, the unreadable mark, the ranges' cells (all
// time has the longest numbers) and the first day's (every date is written alike).
static int ColumnWidth(HWND list, int column)
{
    wchar_t cell[64];
    int width = TextWidth(list, TotalsHeader(column));
    int rows = App.TotalsRowCount > TotalsRangeCount ? TotalsRangeCount + 1 : TotalsRangeCount;
    for (int row = 0; row < rows; ++row) {
        FormatTotalsCell(row, column, cell, ARRAYSIZE(cell));
        int w = TextWidth(list, cell);
        if (w > width) width = w;
    }
    int unreadable = TextWidth(list, UiText(TextDayUnreadable));
    if (column > 0 && unreadable > width) width = unreadable;
    return width + ColumnPadding;
}

// The list keeps no texts of its own: it holds the number of rows and asks for each cell as it
// draws it (LVN_GETDISPINFOW), so that its thousands of rows take nothing beyond TotalsRows.
static INT_PTR InitTotalsWindow(HWND window)
{
    SetWindowTextW(window, UiText(TextTotalsCaption));
    SetDlgItemTextW(window, IDC_TOTALS_COPY, UiText(TextTotalsCopy));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    HWND list = GetDlgItem(window, IDC_TOTALS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int c = 0; c < TotalsColumnCount; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.pszText = const_cast<wchar_t*>(TotalsHeader(c));
        column.cx = ColumnWidth(list, c);
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    SendMessageW(list, LVM_SETITEMCOUNT, App.TotalsRowCount, 0);
    return 1;  // the focus goes to the first tab stop, the list
}

static INT_PTR OnTotalsNotify(const NMHDR* header)
{
    if (header->idFrom != IDC_TOTALS_LIST || header->code != LVN_GETDISPINFOW) return 0;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
    if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < App.TotalsRowCount &&
        item.iSubItem >= 0 && item.iSubItem < TotalsColumnCount && item.cchTextMax > 0)
        FormatTotalsCell(item.iItem, item.iSubItem, item.pszText, item.cchTextMax);
    return 0;
}

// Puts the header and every row into the text, or only counts its characters when the text is
// null; the count with the closing zero.
static SIZE_T ComposeTotalsText(wchar_t* text)
{
    SIZE_T length = 0;
    for (int line = 0; line <= App.TotalsRowCount; ++line) {
        int characters = FormatTotalsLine(line, App.TotalsLine);
        if (text) memcpy(text + length, App.TotalsLine, characters * sizeof(wchar_t));
        length += characters;
    }
    if (text) text[length] = L'\0';
    return length + 1;
}

static INT_PTR OnTotalsCommand(HWND window, int command)
{
    switch (command) {
    case IDCANCEL: EndDialog(window, IDCANCEL); return 1;
    case IDC_TOTALS_COPY:
        if (!CopyTextToClipboard(window, ComposeTotalsText)) ReportFailure(window, TextCopyFailed, TextErrorCaption);
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK TotalsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return InitTotalsWindow(window);
    case WM_COMMAND: return OnTotalsCommand(window, LOWORD(wParam));
    case WM_NOTIFY: return OnTotalsNotify(reinterpret_cast<const NMHDR*>(lParam));
    }
    return 0;
}

void OpenTotalsWindow(HWND graphWindow)
{
    // Reading ten years of day files takes a moment.
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int rows = CollectTotals();
    SetCursor(previous);
    if (rows < 0) {
        ReportFailure(graphWindow, TextTotalsFailed, TextErrorCaption);
        return;
    }
    // The list's class must be there before the dialog manager makes the list.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ShowUiDialog(IDD_TOTALS, graphWindow, TotalsWindowProc);
}
