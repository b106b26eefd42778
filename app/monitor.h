// The hidden monitor window that owns the process.
#pragma once
#include <windows.h>

#include "base/files.h"

// Written by app/'s files alone: the window, the program's path (read once at start, in UTF-16),
// and whether the exit question is on screen, so that a second exit command waits for it.
struct MonitorState {
    HWND Window;
    WCHAR ExePath[PathCapacity];
    int ExitAsked;
};
extern MonitorState Monitor;

// The monitor window's class and title, by which a second start finds the first; never shown.
extern const wchar_t MonitorClassName[];
extern const wchar_t MonitorTitle[];

// The start-up, as the window's creation runs it: the tray icon (asked for, never waited for),
// the store's data, then the slot clock and the hooks, whatever the data's loading met; a failure
// is queued for the message loop to show. Startup's result.
int StartRecorder(HWND monitor);
LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the "window" class; 0 on failure.
ATOM RegisterMonitorClass(HINSTANCE instance);
HWND CreateMonitorWindow(HINSTANCE instance);
