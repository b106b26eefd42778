// The hidden monitor window that owns the process.
#pragma once
#include <windows.h>

LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// Registers the "window" class; 0 on failure.
ATOM RegisterMonitorClass(HINSTANCE instance);
HWND CreateMonitorWindow(HINSTANCE instance);
