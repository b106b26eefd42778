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

// The input handlers note what they show, and the caller shows it with ShowNotedInput at most
// once per display frame. Bits: the pointer position, the count of a metric (NoteClicks << metric).
enum { NotePointer = 1, NoteClicks = 2, NoteKeys = 4, NoteMovement = 8 };
void NoteStatusInput(int what);
// The icon a button or key part is to show; a down icon is shown for at least one showing, even
// when the up icon is noted before it.
void NoteStatusIcon(int part, HICON icon, int down);
// Shows the latest state of everything noted; nothing while the window is closed. Returns 1 when
// a part must change again at the next showing (a down icon shown, its up noted already).
int ShowNotedInput(void);
