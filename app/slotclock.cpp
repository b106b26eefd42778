// The 200 ms slot clock: commits the running counts, changes slot, and rolls the day over.
#include <stdio.h>
#include <string.h>

#include "app/clock.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/slotclock.h"
#include "app/tray.h"
#include "res/texts.h"
#include "store/state.h"
#include "store/store.h"
#include "ui/graphwindow.h"
#include "ui/report.h"
#include "ui/statusbar.h"

void BeginSlot(int slot)
{
    // Normally the slot has no data yet and starts at 0; one already recorded (the clock was
    // set back onto it) goes on from its values.
    for (int m = 0; m < MetricCount; ++m) {
        int v = App.ActivityTable[m][slot][0];
        App.SlotBase[m] = v == NoData ? 0 : v;
        App.ActivityTable[m][slot][0] = App.SlotBase[m];
    }
}

static void ShowTime(const SYSTEMTIME* now)
{
    snprintf(App.DateText, sizeof App.DateText, FormatStatusDate, now->wYear, now->wMonth, now->wDay);
    snprintf(App.TimeText, sizeof App.TimeText, FormatStatusTime, now->wHour, now->wMinute, now->wSecond);
    ShowClock(App.DateText, App.TimeText);
}

// Overwrites, not adds: the counters hold everything since the slot began.
void CommitCounters(void)
{
    int s = App.CurrentSlot;
    App.ActivityTable[MetricClicks][s][0] =
        App.SlotBase[MetricClicks] + App.LeftClicks + App.RightClicks + App.MiddleClicks;
    App.ActivityTable[MetricKeys][s][0] = App.SlotBase[MetricKeys] + App.KeyTouches;
    App.ActivityTable[MetricMovement][s][0] = App.SlotBase[MetricMovement] + App.MoveX + App.MoveY;
}

int SaveSlot(HWND monitor, int slot)
{
    int result = WriteSlot(slot);
    if (result != 1) ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    return result;
}

// Every bar of today changes height when today's maximum of the shown metric rises.
static void RaiseTodayMaxima(void)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s <= App.CurrentSlot; ++s) {
            int v = App.ActivityTable[m][s][0];
            if (v == NoData || static_cast<unsigned>(v) <= static_cast<unsigned>(App.DayMaxima[m][0]))
                continue;
            App.DayMaxima[m][0] = v;
            if (App.SelectedMetric == m) RepaintTodayBands();
        }
    }
}

// Moves the in-memory history on by the days that passed (back when the clock went back);
// the past days it cannot take from memory are loaded from their files. Unsaved slots move
// with their days.
static void MoveHistory(HWND monitor, int shift, int today)
{
    int fromMemory[DayCount] = {};
    // Copying in the direction of the move lets the columns move in place.
    int first = shift > 0 ? DayCount - 1 : 1, step = shift > 0 ? -1 : 1;
    for (int k = first; k >= 1 && k < DayCount; k += step) {
        int from = k - shift;
        if (from < 0 || from >= DayCount) continue;
        CopyDayColumn(k, from);
        fromMemory[k] = 1;
    }
    BuildDayTables(today);
    for (int k = 1; k < DayCount; ++k) {
        if (fromMemory[k] || LoadDayColumn(k)) continue;
        ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
        ClearDayColumn(k);
    }
}

// The first tick of another date. Today's file of a date that has one (the clock was set
// back, or the program ran earlier that day) is read instead of created.
static int RollOverDay(HWND monitor, int finished, int shift, int today)
{
    SaveSlot(monitor, finished);  // DayFileNames[0] still names the day that has ended
    MoveHistory(monitor, shift, today);
    int existing = DayFileExists(0);
    int read = existing && ReadDayFile(0);
    if (existing && !read) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    if (!read) ClearDayColumn(0);
    for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
    BeginSlot(App.CurrentSlot);
    if (!existing && CreateDayFile() != 1) {
        ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
        return -1;
    }
    return 0;
}

// A change of slot or of date. The finished slot's counts are already committed, so the
// counters start again at once. Its failures are only queued, so no box ever holds the clock
// inside a change: slot, day tables, history and today's file have all moved on before the
// user sees anything.
static int ChangeSlot(HWND monitor, int slot, int today)
{
    int finished = App.CurrentSlot;
    int shift = DaysBetween(App.TodayDate, today);
    App.CurrentSlot = slot;
    ShowSelectedCount();
    ClearIntervalCounters();
    int result = 0;
    if (shift == 0) {
        for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
        BeginSlot(slot);
        SaveSlot(monitor, finished);
    } else {
        result = RollOverDay(monitor, finished, shift, today);
    }
    if (result == 0) RepaintGraph();
    return result;
}

static int Tick(HWND monitor)
{
    SYSTEMTIME now;
    ReadLocalTime(&now);
    ShowTime(&now);
    // Nothing is recorded after a start-up that failed.
    if (!App.Recording) return 0;
    CommitCounters();
    RaiseTodayMaxima();
    // Within a slot today's value never falls: the new bar covers the old one without erasing.
    RepaintLiveColumns(App.CurrentSlot);
    CheckHooks(monitor);
    int slot = SlotOfTime(&now);
    int today = DateNumber(now.wYear, now.wMonth, now.wDay);
    if (slot == App.CurrentSlot && today == App.TodayDate) return 0;
    return ChangeSlot(monitor, slot, today);
}

// A tick never waits on a box: its failures are queued and shown after it, by the monitor window.
int OnSlotTimer(HWND monitor)
{
    int mode = SetReportMode(ReportLater);
    int result = Tick(monitor);
    SetReportMode(mode);
    ShowRecordingState(monitor);
    return result;
}
