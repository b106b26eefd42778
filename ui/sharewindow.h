// The share window: the share folder chosen or stopped, the PCs found there with their newest day
// and number of days (this PC first), and when this PC last published.
#pragma once
#include <windows.h>

// Shows it modally, owned by the graph window.
void OpenShareWindow(HWND graphWindow);
// The text of a cell of the PCs' list: row 0 this PC, row n the share's PC n - 1; column 0 the
// name, 1 the newest day, 2 the number of days.
void FormatSharePcCell(int row, int column, wchar_t* text, int size);
