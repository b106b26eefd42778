// The totals window: the sums of every recorded day, of today, the last 7 and 30 days and all
// time, in a list that can be copied to the clipboard.
#pragma once
#include <windows.h>

#include "ui/listwindow.h"

// The window's list: the totals taken when it opened.
extern const ListTable TotalsList;

// Takes the totals and shows them in their modal window, owned by the graph window; a data
// folder of more days than the list takes is reported in a box of the graph window instead.
void OpenTotalsWindow(HWND graphWindow);
