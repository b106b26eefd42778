// The tray icon, its menu and the commands that open and put away the graph window.
#pragma once
#include <windows.h>

// What the tray icon shows: the program records, or the cause that keeps it from recording (in
// the order in which they are told, the first that holds).
enum { TrayRecording, TrayNoData, TrayNoInput, TrayUnsaved };

// Written by app/tray.cpp alone: what the icon shows as the shell took it, the state last asked
// for and when, with the wait before asking again; the attempts left to add it again after the
// shell's taskbar came back, and the registered "TaskbarCreated" message that says so.
struct TrayIconState {
    int State;
    int StateAsked;
    DWORD StateAskedAt, StateRetryMs;
    int RetriesLeft;
    UINT TaskbarCreatedMessage;
};
extern TrayIconState Tray;

// The state that the program's own state calls for.
int RecordingState(void);
// Brings the icon and its tip to that state when it has changed (also back to recording).
void ShowRecordingState(HWND monitor);
// The tip of a state.
const wchar_t* TrayTipOf(int state);

int AddTrayIcon(HWND monitor);  // TRUE when the shell accepted the icon (or already had it)
// Registers the shell's "TaskbarCreated" message, sent when its taskbar comes back.
void RegisterTaskbarCreated(void);
// The shell's taskbar was created again (the shell restarted): the icon is added anew.
LRESULT OnTaskbarCreated(HWND monitor);
// Adds the icon at start without waiting for the shell: a shell that is not up yet (a start at
// logon, another shell, an area hidden by policy) is asked again on a timer until it takes the
// icon, and its TaskbarCreated adds it too.
void StartTrayIcon(HWND monitor);
// The retry timer's attempt; the timer stops once the icon is there or the attempts are used up.
void RetryTrayIcon(HWND monitor);
void RemoveTrayIcon(HWND monitor);
int ShowTrayMenu(HWND monitor);
