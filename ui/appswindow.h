// The apps window: the applications of today, the last 7 and 30 days or all time, in a list that
// can be copied to the clipboard.
#pragma once
#include <windows.h>

// Shows the apps window, modal and owned by the graph window; it opens on today.
void OpenAppsWindow(HWND graphWindow);
INT_PTR CALLBACK AppsWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
