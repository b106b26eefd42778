// The apps window: the applications of a chosen range with their active time, share and counts,
// and the copy of the list to the clipboard.
#include "ui/appswindow.h"

#include <commctrl.h>

#include "res/resource.h"
#include "res/texts.h"
#include "store/apps.h"
#include "store/state.h"
#include "store/totals.h"
#include "ui/clipboard.h"
#include "ui/report.h"
#include "ui/uitexts.h"

enum { AppsColumnCount = 6, ColumnPadding = 16, CellSize = 160, MsPerMinute = 60000 };
// Rows whose cells set the columns' widths: the widest numbers are at the top, where time leads.
enum { RowsMeasured = 64 };

static const UiTextId ColumnHeads[AppsColumnCount] = {TextAppsApplication, TextTotalsActiveTime, TextAppsShare,
                                                       TextTotalsClicks,    TextTotalsKeys,       TextTotalsMovement};
static const UiTextId RangeNames[AppsRangeCount] = {TextTotalsToday, TextTotalsWeek, TextTotalsMonth, TextTotalsAll};

// Line -1 is the header. The name comes from UTF-8 as the file holds it; time as "h:mm", the
// share of the range's active time to a tenth of a percent.
static void FormatAppsCell(int row, int column, wchar_t* text, int size)
{
    if (row < 0) {
        lstrcpynW(text, UiText(ColumnHeads[column]), size);
        return;
    }
    const AppRecord* r = &App.AppsShown[row];
    wchar_t cell[CellSize];
    cell[0] = L'\0';
    if (column == 0) {
        // The two rows of no application are named in the UI language; the file keeps its names.
        if (lstrcmpA(r->Name, AppNameUnknown) == 0) lstrcpynW(cell, UiText(TextAppsUnknown), CellSize);
        else if (lstrcmpA(r->Name, AppNameOthers) == 0) lstrcpynW(cell, UiText(TextAppsOthers), CellSize);
        else if (!MultiByteToWideChar(CP_UTF8, 0, r->Name, -1, cell, CellSize)) cell[0] = L'\0';
    } else if (column == 1) {
        long long minutes = r->ActiveMs / MsPerMinute;
        wsprintfW(cell, UiText(FormatTotalsTime), static_cast<int>(minutes / 60), static_cast<int>(minutes % 60));
    } else if (column == 2) {
        long long total = App.AppsShownMs;
        int permille = total > 0 ? static_cast<int>((r->ActiveMs * 1000 + total / 2) / total) : 0;
        wsprintfW(cell, UiText(FormatAppsShare), permille / 10, permille % 10);
    } else {
        const long long values[3] = {r->Clicks, r->Keys, r->Travel};
        FormatGroupedCount(values[column - 3], cell, CellSize);
    }
    lstrcpynW(text, cell, size);
}

// The header and every row, tab-separated, one line each; only counted when the text is null.
static SIZE_T ComposeAppsText(wchar_t* text)
{
    SIZE_T length = 0;
    for (int row = -1; row < App.AppsShownCount; ++row) {
        for (int c = 0; c < AppsColumnCount; ++c) {
            wchar_t cell[CellSize];
            FormatAppsCell(row, c, cell, CellSize);
            const wchar_t* end = c + 1 < AppsColumnCount ? L"\t" : L"\r\n";
            if (text) {
                lstrcpyW(text + length, cell);
                lstrcpyW(text + length + lstrlenW(cell), end);
            }
            length += lstrlenW(cell) + lstrlenW(end);
        }
    }
    if (text) text[length] = L'\0';
    return length + 1;
}

static int TextWidth(HWND list, const wchar_t* text)
{
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

static void FitColumns(HWND list)
{
    for (int c = 0; c < AppsColumnCount; ++c) {
        int width = 0;
        for (int row = -1; row < App.AppsShownCount && row < RowsMeasured; ++row) {
            wchar_t cell[CellSize];
            FormatAppsCell(row, c, cell, CellSize);
            int w = TextWidth(list, cell);
            if (w > width) width = w;
        }
        SendMessageW(list, LVM_SETCOLUMNWIDTH, c, width + ColumnPadding);
    }
}

// The range's rows are taken anew at every choice: reading years of files takes a moment.
static void ShowAppsRange(HWND window, int range)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    App.AppsRange = range;
    CollectApps(range);
    SetCursor(previous);
    HWND list = GetDlgItem(window, IDC_APPS_LIST);
    SendMessageW(list, LVM_SETITEMCOUNT, App.AppsShownCount, 0);
    FitColumns(list);
    InvalidateRect(list, nullptr, TRUE);
}

static INT_PTR InitAppsWindow(HWND window)
{
    SetWindowTextW(window, UiText(TextAppsCaption));
    SetDlgItemTextW(window, IDC_APPS_COPY, UiText(TextTotalsCopy));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    HWND ranges = GetDlgItem(window, IDC_APPS_RANGE);
    for (int r = 0; r < AppsRangeCount; ++r)
        SendMessageW(ranges, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText(RangeNames[r])));
    SendMessageW(ranges, CB_SETCURSEL, AppsToday, 0);
    HWND list = GetDlgItem(window, IDC_APPS_LIST);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int c = 0; c < AppsColumnCount; ++c) {
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.pszText = const_cast<wchar_t*>(UiText(ColumnHeads[c]));
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    ShowAppsRange(window, AppsToday);
    return 1;
}

// The list keeps no texts of its own: it asks for each cell as it draws it.
static INT_PTR OnAppsNotify(const NMHDR* header)
{
    if (header->idFrom != IDC_APPS_LIST || header->code != LVN_GETDISPINFOW) return 0;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
    if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < App.AppsShownCount && item.iSubItem >= 0 &&
        item.iSubItem < AppsColumnCount && item.cchTextMax > 0)
        FormatAppsCell(item.iItem, item.iSubItem, item.pszText, item.cchTextMax);
    return 0;
}

static INT_PTR OnAppsCommand(HWND window, int command, int notification)
{
    switch (command) {
    case IDCANCEL: EndDialog(window, IDCANCEL); return 1;
    case IDC_APPS_COPY:
        if (!CopyTextToClipboard(window, ComposeAppsText)) ReportFailure(window, TextCopyFailed, TextErrorCaption);
        return 1;
    case IDC_APPS_RANGE:
        if (notification != CBN_SELCHANGE) return 0;
        ShowAppsRange(window, static_cast<int>(SendDlgItemMessageW(window, IDC_APPS_RANGE, CB_GETCURSEL, 0, 0)));
        return 1;
    }
    return 0;
}

INT_PTR CALLBACK AppsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return InitAppsWindow(window);
    case WM_COMMAND: return OnAppsCommand(window, LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY: return OnAppsNotify(reinterpret_cast<const NMHDR*>(lParam));
    }
    return 0;
}

void OpenAppsWindow(HWND graphWindow)
{
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ShowUiDialog(IDD_APPS, graphWindow, AppsWindowProc);
}
