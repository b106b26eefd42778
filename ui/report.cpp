// Failure reports shown to the user.
#include "ui/report.h"

#include <string.h>

#include "res/messages.h"
#include "store/state.h"

int SetReportMode(int mode)
{
    int previous = App.ReportMode;
    // Once the session ends nobody will be there again to answer.
    if (previous == ReportNever) return previous;
    App.ReportMode = mode;
    if (mode == ReportNever) App.ReportCount = 0;
    return previous;
}

// A repeat of a report that is on screen or waiting adds nothing: one box says it.
static int QueueReport(HWND owner, const wchar_t* text, const wchar_t* caption)
{
    for (int i = 0; i < App.ReportCount; ++i) {
        const QueuedReport& r = App.Reports[i];
        if (r.owner == owner && r.text == text && r.caption == caption) return 0;
    }
    if (App.ReportCount == ReportQueueLength) return 0;
    App.Reports[App.ReportCount++] = {owner, text, caption};
    // One posted message serves the whole queue; while a box is up, its loop shows the rest.
    if (App.ReportCount == 1 && !App.ReportShowing)
        PostMessageA(App.MonitorWindow, WM_SHOW_REPORTS, 0, 0);
    return 0;
}

int ReportFailure(HWND owner, UiTextId textId, UiTextId captionId, UINT buttons)
{
    const wchar_t* text = UiText(textId);
    const wchar_t* caption = UiText(captionId);
    switch (App.ReportMode) {
    case ReportLater: return QueueReport(owner, text, caption);
    case ReportNever: return 0;
    }
    // The box runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    return MessageBoxW(owner, text, caption, buttons);
}

LRESULT ShowQueuedReports(void)
{
    // Reached again from inside the box's own loop: the outer call shows what is left.
    if (App.ReportShowing) return 0;
    App.ReportShowing = 1;
    while (App.ReportCount > 0) {
        QueuedReport r = App.Reports[0];
        // The owner is hidden, so the box brings itself to the front where the user sees it.
        // An owner destroyed meanwhile (the program is ending) takes its reports with it.
        if (!r.owner || IsWindow(r.owner))
            MessageBoxW(r.owner, r.text, r.caption, MB_OK | MB_SETFOREGROUND);
        if (App.ReportCount == 0) break;  // dropped while the box was up
        --App.ReportCount;
        memmove(&App.Reports[0], &App.Reports[1], App.ReportCount * sizeof App.Reports[0]);
    }
    App.ReportShowing = 0;
    return 0;
}
