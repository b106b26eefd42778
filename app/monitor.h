// The hidden monitor window that owns the process.
#pragma once
#include <windows.h>

// The start-up, as the window's creation runs it: the tray icon (waiting for the shell), the
// store's data, then the slot clock and the hooks; a failure is reported. Startup's result.
int StartRecorder(HWND monitor);
LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the "window" class; 0 on failure.
ATOM RegisterMonitorClass(HINSTANCE instance);
HWND CreateMonitorWindow(HINSTANCE instance);
