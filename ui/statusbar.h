// The graph window's ten-part status bar: its parts, the counts it is handed, and what the input
// handlers note for it, shown at most once per display frame.
#pragma once
#include <windows.h>

#include "store/days.h"

enum {
    PartDate = 0, PartTime = 1, PartPointerX = 2, PartPointerY = 3,
    PartLeftButton = 4, PartMiddleButton = 5, PartRightButton = 6, PartKeyboard = 7,
    PartCount = 8, PartReadout = 9, StatusPartCount = 10,
};
// The icon parts: the three buttons and the keyboard.
enum { StatusIconParts = 4 };
// What the input handlers note: the pointer position, the count of a metric (NoteClicks << metric).
enum { NotePointer = 1, NoteClicks = 2, NoteKeys = 4, NoteMovement = 8 };

// Written by ui/statusbar.cpp alone.
struct StatusBarState {
    HWND Handle;
    HICON ButtonUpIcon, ButtonDownIcon, KeyUpIcon, KeyDownIcon;
    // The right edge of each part, measured in the bar's font when it is made.
    int PartEdges[StatusPartCount];
    // What the pointer-position parts show (" X:%ld", at most 15 characters), so that a move that
    // leaves a coordinate as it was does not write it again; emptied when the bar is created.
    wchar_t ShownPointerX[32];
    wchar_t ShownPointerY[32];
    // The counts since the slot began and the pointer's position, as the input handlers hand them.
    unsigned Counts[MetricCount];
    POINT Pointer;
    // Input noted and not shown yet (the Note... bits, and NoteIcon << part for an icon part), the
    // state each icon part is to show, and the parts whose down icon has not been shown yet.
    int Noted;
    int NotedDown;
    int DownUnshown;
    // The tick-clock time the noted input was last shown, and whether the status timer waits to
    // show it at the end of the frame.
    DWORD ShownAt;
    int TimerSet;
};
extern StatusBarState StatusBar;

// Makes the bar along the bottom of the graph window, with its icons, and measures its parts.
HWND CreateStatusBar(HWND parent);
// The graph window has gone, and the bar with it: later writes find no bar.
void ForgetStatusBar(void);
// The right edges of the ten parts: each part as wide as the layout says, or as its longest text
// needs in the bar's font (which differs between Windows versions and languages), in order.
void MeasureStatusParts(HWND bar, int* edges);
// The count text of each metric, and of whichever is selected, from the counts handed.
int ShowClickCount(void);
int ShowKeyTouchCount(void);
int ShowMovementCount(void);
void ShowSelectedCount(void);
// The date and the time of the slot clock's reading, into parts 0 and 1.
void ShowClock(const SYSTEMTIME* now);
// The icon parts as released, whatever is held down now, until the next down message.
void ShowReleasedIcons(void);
// Writes a text or an icon into a part; skipped while the graph window is closed.
void SetStatusText(int part, const wchar_t* text);
void SetStatusIcon(int part, HICON icon);

// The counts since the slot began, handed by the input handlers whenever they change.
void HandStatusCounts(unsigned clicks, unsigned keys, unsigned travel);
// The input handlers note what they show; it is shown at most once per display frame.
void NoteStatusInput(int what);
void NoteStatusPointer(POINT point);
// The state a button or key part is to show; a down icon is shown for at least one showing, even
// when the up icon is noted before it.
void NoteStatusIcon(int part, int down);
// Shows what was noted: at once when the last showing is a frame old, else by the status timer of
// the window (the monitor window) when the frame ends. Nothing while the graph window is closed.
void ShowNotedSoon(HWND timerWindow);
// The status timer: the end of the frame in which input was noted.
LRESULT OnStatusTimer(HWND timerWindow);
