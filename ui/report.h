// Failure reports: one message box with the given text, caption, owner and buttons, shown at
// once, queued for the monitor window, or dropped, by the mode in force.
#pragma once
#include <windows.h>

enum ReportMode {
    ReportAtOnce = 0,  // a modal box now; the caller waits for the answer
    ReportLater = 1,   // queued; the monitor window shows it after the caller has finished
    ReportNever = 2,   // nobody is there to answer (the session is ending)
};

#include "res/texts.h"

int ReportFailure(HWND owner, UiTextId text, UiTextId caption, UINT buttons = MB_OK);
// Sets the mode for the reports that follow and returns the one it replaces; ReportNever,
// once set, stays.
int SetReportMode(int mode);
// Shows the queued reports one at a time: the monitor window's WM_SHOW_REPORTS.
LRESULT ShowQueuedReports(void);
