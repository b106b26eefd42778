// The list window shared by the totals and apps windows: columns, cells, widths, range and copy.
#include "ui/listwindow.h"

#include <commctrl.h>
#include <string.h>

#include "base/report.h"
#include "store/ranges.h"
#include "store/sharedpcs.h"
#include "ui/clipboard.h"
#include "ui/uiresources.h"

// Room a list column gives its text beyond the text's own width, in pixels.
enum { ColumnPadding = 16 };

static int TextWidth(HWND list, const wchar_t* text)
{
    return static_cast<int>(SendMessageW(list, LVM_GETSTRINGWIDTHW, 0, reinterpret_cast<LPARAM>(text)));
}

static void FitColumns(HWND list, const ListTable* table)
{
    int rows = table->RowCount() < table->RowsMeasured ? table->RowCount() : table->RowsMeasured;
    for (int c = 0; c < table->Columns; ++c) {
        wchar_t cell[ListCellSize];
        int width = 0;
        for (int row = -1; row < rows; ++row) {
            table->FormatCell(row, c, cell, ListCellSize);
            int w = TextWidth(list, cell);
            if (w > width) width = w;
        }
        int mark = c > 0 && table->ColumnMark != NoColumnMark
                       ? TextWidth(list, UiText(static_cast<UiTextId>(table->ColumnMark))) : 0;
        SendMessageW(list, LVM_SETCOLUMNWIDTH, c, (mark > width ? mark : width) + ColumnPadding);
    }
}

// The rows anew: their number, the columns' widths, and a fresh paint.
static void ShowListRows(HWND window, const ListTable* table)
{
    HWND list = GetDlgItem(window, table->ListId);
    SendMessageW(list, LVM_SETITEMCOUNT, table->RowCount(), 0);
    FitColumns(list, table);
    InvalidateRect(list, nullptr, TRUE);
}

// The chosen item's value of a drop-down: the range, or the PC (ThisPc when none is chosen).
static int ChosenValue(HWND window, int id, int none)
{
    LRESULT item = SendDlgItemMessageW(window, id, CB_GETCURSEL, 0, 0);
    return item == CB_ERR ? none : static_cast<int>(SendDlgItemMessageW(window, id, CB_GETITEMDATA, item, 0));
}

int ChosenPc(HWND window, int id) { return ChosenValue(window, id, ThisPc); }

// The rows are taken anew at every choice: reading years of files takes a moment.
static void ShowChosenRows(HWND window, const ListTable* table)
{
    int range = table->RangeId == NoRangeChoice ? RangeAll : ChosenValue(window, table->RangeId, RangeToday);
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    int rows = table->TakeRows(range, ChosenPc(window, table->PcId));
    SetCursor(previous);
    ShowListRows(window, table);
    if (rows < 0) ReportFailure(window, table->FailedText, TextErrorCaption);
}

static void AddChoice(HWND box, const wchar_t* text, int value)
{
    LRESULT item = SendMessageW(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    SendMessageW(box, CB_SETITEMDATA, item, value);
}

void FillPcChoice(HWND box)
{
    AddChoice(box, UiText(TextPcThis), ThisPc);
    int others = FindSharedPcs();
    for (int pc = 0; pc < others; ++pc) AddChoice(box, SharedPcAt(pc)->Name, pc);
    if (others) AddChoice(box, UiText(TextPcAll), AllPcs);
    SendMessageW(box, CB_SETCURSEL, 0, 0);
}

static INT_PTR StartListWindow(HWND window, const ListTable* table)
{
    SetWindowLongPtrW(window, DWLP_USER, reinterpret_cast<LONG_PTR>(table));
    SetWindowTextW(window, UiText(table->Caption));
    SetDlgItemTextW(window, table->CopyId, UiText(TextTotalsCopy));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    HWND list = GetDlgItem(window, table->ListId);
    SendMessageW(list, LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT, LVS_EX_FULLROWSELECT);
    for (int c = 0; c < table->Columns; ++c) {
        wchar_t head[ListCellSize];
        table->FormatCell(-1, c, head, ListCellSize);
        LVCOLUMNW column = {};
        column.mask = LVCF_FMT | LVCF_TEXT | LVCF_SUBITEM;
        column.fmt = c == 0 ? LVCFMT_LEFT : LVCFMT_RIGHT;
        column.pszText = head;
        column.iSubItem = c;
        SendMessageW(list, LVM_INSERTCOLUMNW, c, reinterpret_cast<LPARAM>(&column));
    }
    FillPcChoice(GetDlgItem(window, table->PcId));
    if (table->RangeId == NoRangeChoice) {
        ShowListRows(window, table);
        return 1;  // the focus goes to the first tab stop
    }
    HWND ranges = GetDlgItem(window, table->RangeId);
    for (int r = 0; r < RangeCount; ++r) AddChoice(ranges, RangeName(r), r);
    // The window always opens on today.
    SendMessageW(ranges, CB_SETCURSEL, RangeToday, 0);
    ShowChosenRows(window, table);
    return 1;
}

// The list asks for each cell as it draws it, so that its thousands of rows take nothing beyond
// the table's own rows.
static INT_PTR OnListNotify(const NMHDR* header, const ListTable* table)
{
    if (static_cast<int>(header->idFrom) != table->ListId || header->code != LVN_GETDISPINFOW) return 0;
    LVITEMW& item = reinterpret_cast<NMLVDISPINFOW*>(const_cast<NMHDR*>(header))->item;
    if ((item.mask & LVIF_TEXT) && item.iItem >= 0 && item.iItem < table->RowCount() && item.iSubItem >= 0 &&
        item.iSubItem < table->Columns && item.cchTextMax > 0)
        table->FormatCell(item.iItem, item.iSubItem, item.pszText, item.cchTextMax);
    return 0;
}

int FormatListLine(const ListTable* table, int line, wchar_t* text, int size)
{
    int length = 0;
    for (int c = 0; c < table->Columns; ++c) {
        table->FormatCell(line - 1, c, text + length, size - length);
        length += lstrlenW(text + length);
        // Counted as written, so that a cut cell could never move the end past the buffer.
        lstrcpynW(text + length, c + 1 < table->Columns ? L"\t" : L"\r\n", size - length);
        length += lstrlenW(text + length);
    }
    return length;
}

// Puts the header and every row into the text, or only counts its characters when the text is
// null; the count with the closing zero.
static SIZE_T ComposeListText(const void* context, wchar_t* text)
{
    const ListTable* table = static_cast<const ListTable*>(context);
    SIZE_T length = 0;
    wchar_t line[ListLineSize];
    for (int n = 0; n <= table->RowCount(); ++n) {
        int characters = FormatListLine(table, n, line, ListLineSize);
        if (text) memcpy(text + length, line, characters * sizeof(wchar_t));
        length += characters;
    }
    if (text) text[length] = L'\0';
    return length + 1;
}

static INT_PTR OnListCommand(HWND window, int command, int notification, const ListTable* table)
{
    if (command == IDCANCEL) {
        EndDialog(window, IDCANCEL);
        return 1;
    }
    if (command == table->CopyId) {
        if (!CopyTextToClipboard(window, ComposeListText, table)) ReportFailure(window, TextCopyFailed, TextErrorCaption);
        return 1;
    }
    int choice = command == table->PcId || (command == table->RangeId && table->RangeId != NoRangeChoice);
    if (!choice || notification != CBN_SELCHANGE) return 0;
    ShowChosenRows(window, table);
    return 1;
}

static INT_PTR CALLBACK ListWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    const ListTable* table = reinterpret_cast<const ListTable*>(GetWindowLongPtrW(window, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: return StartListWindow(window, reinterpret_cast<const ListTable*>(lParam));
    case WM_COMMAND: return table ? OnListCommand(window, LOWORD(wParam), HIWORD(wParam), table) : 0;
    case WM_NOTIFY: return table ? OnListNotify(reinterpret_cast<const NMHDR*>(lParam), table) : 0;
    }
    return 0;
}

void ShowListWindow(HWND graphWindow, int dialogId, const ListTable* table)
{
    // The list's class must be there before the dialog manager makes the list.
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_LISTVIEW_CLASSES};
    InitCommonControlsEx(&controls);
    ShowUiDialog(dialogId, graphWindow, ListWindowProc, reinterpret_cast<LPARAM>(table));
}
