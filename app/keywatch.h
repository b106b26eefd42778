// Key touches per physical key and presses per mouse button: counted from the hook messages and
// written to the keys file at the clock's changes.
#pragma once
#include <windows.h>

#include "app/slotclock.h"

// Written by app/keywatch.cpp alone: the part of a wheel notch turned but not counted yet (a
// precise wheel turns in smaller steps), the boxes told until their cause has gone, and whether
// the settings file could not be read (nothing is recorded per key until it can be).
struct KeyWatchState {
    int WheelRest;
    ReportedFailures Reported;
    int SettingUnread;
    DWORD SettingCheckedAt;
};
extern KeyWatchState KeyWatch;

// Reads the setting and loads today's counts.
void StartKeyWatch(void);
// The clock's tick: an unread settings file is read again once a second.
void TickKeys(void);
// A key touch (auto-repeat already left out), with the keystroke flags of the hook message.
void CountKeyTouch(UINT virtualKey, LPARAM flags);
// A click of the left, right or middle button (KeyLeftButton and the like).
void CountButtonClick(int button);
// A mouse message the counters do not take: the message in the low word, the hook's mouse data
// (the X button, the wheel's turn) in the high word.
void CountOtherMouse(UINT mouseMessage);
// The change of slot or of day (a date number): the counts are written, a new day's begun.
void SaveKeysAtChange(HWND monitor, int today);
// Suspend, exit and session end: the counts are written.
void SaveKeysNow(HWND monitor);
// The exit's save, without a box: nonzero when the counts reached their files (or none wait).
int SaveKeysForExit(void);
// The tray item: recording per key switched off or on, and kept in the settings file; 0 when the
// setting could not be written (nothing changes then).
int ToggleKeyRecording(HWND monitor);
