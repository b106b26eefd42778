// The graph window's ten-part status bar.
#pragma once
#include <windows.h>

enum {
    PartDate = 0, PartTime = 1, PartPointerX = 2, PartPointerY = 3,
    PartLeftButton = 4, PartMiddleButton = 5, PartRightButton = 6, PartKeyboard = 7,
    PartCount = 8, PartReadout = 9,
};

HWND CreateStatusBar(HWND parent);
// The right edges of the ten parts: each part as wide as the layout says, or as its longest text
// needs in the bar's font (which differs between Windows versions and languages), in order.
void MeasureStatusParts(HWND bar, int* edges);
int ShowClickCount(void);
int ShowKeyTouchCount(void);
int ShowMovementCount(void);
// The date and the time of the slot clock, into parts 0 and 1; nothing while the window is closed.
void ShowClock(const wchar_t* date, const wchar_t* time);
// The count text of whichever metric is selected.
void ShowSelectedCount(void);
// Writes a text or an icon into a part; skipped while the graph window is closed.
void SetStatusText(int part, const wchar_t* text);
void SetStatusIcon(int part, HICON icon);
