// The hidden monitor window that owns the process.
#pragma once
#include <windows.h>

// The start-up, as the window's creation runs it: the tray icon (asked for, never waited for),
// the store's data, then the slot clock and the hooks, whatever the data's loading met; a failure
// is queued for the message loop to show. Startup's result.
int StartRecorder(HWND monitor);
LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the "window" class; 0 on failure.
ATOM RegisterMonitorClass(HINSTANCE instance);
HWND CreateMonitorWindow(HINSTANCE instance);
