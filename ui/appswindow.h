// The apps window: the applications of today, the last 7 and 30 days or all time, in a list that
// can be copied to the clipboard.
#pragma once
#include <windows.h>

#include "ui/listwindow.h"

// The window's list: the applications of the chosen range.
extern const ListTable AppsList;

// Shows the apps window, modal and owned by the graph window; it opens on today.
void OpenAppsWindow(HWND graphWindow);
