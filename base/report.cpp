// Failure reports shown to the user.
#include "base/report.h"

#include <string.h>

#include "res/messages.h"

ReportQueue FailureReports;

void SetReportWindow(HWND window) { FailureReports.Window = window; }

int SetReportMode(int mode)
{
    int previous = FailureReports.Mode;
    // Once the session ends nobody will be there again to answer.
    if (previous == ReportNever) return previous;
    FailureReports.Mode = mode;
    if (mode == ReportNever) FailureReports.Count = 0;
    return previous;
}

// A repeat of a report that is on screen or waiting adds nothing: one box says it.
static int QueueReport(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    for (int i = 0; i < FailureReports.Count; ++i) {
        const QueuedReport& r = FailureReports.Items[i];
        if (r.owner == owner && r.text == text && r.caption == caption) return 0;
    }
    if (FailureReports.Count == ReportQueueLength) return 0;
    FailureReports.Items[FailureReports.Count++] = {owner, text, caption};
    // One posted message serves the whole queue; while a box is up, its loop shows the rest.
    if (FailureReports.Count == 1 && !FailureReports.Showing)
        PostMessageA(FailureReports.Window, WM_SHOW_REPORTS, 0, 0);
    return 0;
}

int ReportFailure(HWND owner, UiTextId textId, UiTextId captionId, UINT buttons)
{
    const wchar_t* text = UiText(textId);
    const wchar_t* caption = UiText(captionId);
    switch (FailureReports.Mode) {
    case ReportLater: return QueueReport(owner, text, caption);
    case ReportNever: return 0;
    }
    // The box runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    return MessageBoxW(owner, text, caption, buttons);
}

LRESULT ShowQueuedReports(void)
{
    // Reached again from inside the box's own loop: the outer call shows what is left.
    if (FailureReports.Showing) return 0;
    FailureReports.Showing = 1;
    while (FailureReports.Count > 0) {
        QueuedReport r = FailureReports.Items[0];
        // The owner is hidden, so the box brings itself to the front where the user sees it.
        // An owner destroyed meanwhile (the program is ending) takes its reports with it.
        if (!r.owner || IsWindow(r.owner))
            MessageBoxW(r.owner, r.text, r.caption, MB_OK | MB_SETFOREGROUND);
        if (FailureReports.Count == 0) break;  // dropped while the box was up
        --FailureReports.Count;
        memmove(&FailureReports.Items[0], &FailureReports.Items[1], FailureReports.Count * sizeof FailureReports.Items[0]);
    }
    FailureReports.Showing = 0;
    return 0;
}
