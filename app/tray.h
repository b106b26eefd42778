// The tray icon, its menu and the commands that open and put away the graph window.
#pragma once
#include <windows.h>

// What the tray icon shows: the program records, or the cause that keeps it from recording (in
// the order in which they are told, the first that holds).
enum { TrayRecording, TrayNoData, TrayNoInput, TrayUnsaved };
// The state that the program's own state calls for.
int RecordingState(void);
// Brings the icon and its tip to that state when it has changed (also back to recording).
void ShowRecordingState(HWND monitor);
// The tip of a state.
const wchar_t* TrayTipOf(int state);

int AddTrayIcon(HWND monitor);  // TRUE when the shell accepted the icon (or already had it)
// Adds the icon at start without waiting for the shell: a shell that is not up yet (a start at
// logon, another shell, an area hidden by policy) is asked again on a timer until it takes the
// icon, and its TaskbarCreated adds it too.
void StartTrayIcon(HWND monitor);
// The retry timer's attempt; the timer stops once the icon is there or the attempts are used up.
void RetryTrayIcon(HWND monitor);
void RemoveTrayIcon(HWND monitor);
int ShowTrayMenu(HWND monitor);
int OpenGraphWindow(HWND monitor);
int PutAwayGraphWindow(HWND monitor);
