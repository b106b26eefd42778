// Key touches per physical key and presses per mouse button: counted from the hook messages and
// written to the keys file at the clock's changes.
#pragma once
#include <windows.h>

// Written by app/keywatch.cpp alone: the part of a wheel notch turned but not counted yet (a
// precise wheel turns in smaller steps), and the boxes told until their cause has gone.
struct KeyWatchState {
    int WheelRest;
    int WriteReported, ReadReported;
};
extern KeyWatchState KeyWatch;

// Reads the setting and loads today's counts.
void StartKeyWatch(void);
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
// The exit's save, without a box: nonzero when the counts reached their files (or none are kept).
int SaveKeysForExit(void);
// The data reset has taken the files: the counts start empty.
void ResetKeys(void);
// The tray item: recording per key switched off or on, and kept in the settings file; 0 when the
// setting could not be written (nothing changes then).
int ToggleKeyRecording(HWND monitor);
