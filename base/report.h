// Failure reports: one message box with the given text, caption, owner and buttons, shown at
// once, queued for the window that shows them (the monitor window), or dropped, by the mode in
// force.
#pragma once
#include <windows.h>

#include "base/uitext.h"

enum ReportMode {
    ReportAtOnce = 0,  // a modal box now; the caller waits for the answer
    ReportLater = 1,   // queued; the monitor window shows it after the caller has finished
    ReportNever = 2,   // nobody is there to answer (the session is ending)
};
enum { ReportQueueLength = 8 };

// A failure report waiting to be shown: the box's owner, text and caption.
struct QueuedReport {
    HWND owner;
    const wchar_t* text;
    const wchar_t* caption;
};

// The queue, the one on screen first; written by base/report.cpp alone.
struct ReportQueue {
    HWND Window;  // the window that shows the queue, at its WM_SHOW_REPORTS
    int Mode;
    int Showing;
    int Count;
    QueuedReport Items[ReportQueueLength];
};
extern ReportQueue FailureReports;

// The window whose WM_SHOW_REPORTS shows the queue.
void SetReportWindow(HWND window);
int ReportFailure(HWND owner, UiTextId text, UiTextId caption, UINT buttons = MB_OK);
// Sets the mode for the reports that follow and returns the one it replaces; ReportNever,
// once set, stays.
int SetReportMode(int mode);
// Shows the queued reports one at a time: the monitor window's WM_SHOW_REPORTS.
LRESULT ShowQueuedReports(void);
