// The totals and apps windows: a modal window around a report-view list that holds no texts of its
// own (it asks for each cell as it draws it), with its columns fitted to their texts, a choice of
// range, and the copy of the whole list to the clipboard as a table. Each window gives its table.
#pragma once
#include <windows.h>

#include "base/uitext.h"

enum { NoColumnMark = -1, NoRangeChoice = 0, ListCellSize = 160, ListLineSize = 1024 };

struct ListTable {
    UiTextId Caption;
    int ListId, CopyId;
    // The drop-down of the ranges (RangeToday .. RangeAll), or NoRangeChoice; that of the PCs.
    int RangeId, PcId;
    int Columns;
    // A column is as wide as the widest of its header, the cells of the first RowsMeasured rows and,
    // in every column but the first, the mark text (a UiTextId, or NoColumnMark).
    int RowsMeasured;
    int ColumnMark;
    int (*RowCount)(void);
    // The text of a cell; row -1 is the header.
    void (*FormatCell)(int row, int column, wchar_t* text, int size);
    // Takes the rows of a range and a PC (ThisPc, AllPcs or another PC's number) anew, when the
    // window opens (unless it has no range to choose: its opener took them) and at every choice;
    // their number, or -1 (the failure's text then shows).
    int (*TakeRows)(int range, int pc);
    UiTextId FailedText;
};

// Shows the window of the dialog template modally, owned by the graph window.
void ShowListWindow(HWND graphWindow, int dialogId, const ListTable* table);
// The cells of line n of the copy (line 0 the header, line n row n - 1), separated by tabs and
// ended by CRLF, into the text of `size` characters; the number of characters written.
int FormatListLine(const ListTable* table, int line, wchar_t* text, int size);
// The choice of PC that the totals, apps, keyboard and calendar windows share: this PC first (the
// windows open on it), then each other PC of the share by its name, and all PCs when there are
// others; the chosen one as ThisPc, AllPcs or another PC's number.
void FillPcChoice(HWND box);
int ChosenPc(HWND window, int id);
