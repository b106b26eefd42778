// The 200 ms slot clock: commits the running counts, changes slot, and rolls the day over.
#include <stdio.h>
#include <string.h>

#include "app/appwatch.h"
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
    wsprintfW(App.DateText, UiText(FormatStatusDate), now->wYear, now->wMonth, now->wDay);
    wsprintfW(App.TimeText, UiText(FormatStatusTime), now->wHour, now->wMinute, now->wSecond);
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

// One box per cause, with the cause's text; the slots wait in memory meanwhile. Today's file that
// could not be made was reported when that was found, a day not read yet when its read failed; a
// held file or a failed write is told once, and again only after a write has worked.
int SaveSlot(HWND monitor, int slot)
{
    int result = WriteSlot(slot);
    if (result == SlotWritten) App.SlotFailureShown = 0;
    if (result == SlotWritten || result == SlotDayUnread || result == App.SlotFailureShown ||
        (result == SlotNotWritten && App.TodayFileUnmade))
        return result;
    App.SlotFailureShown = result;
    if (result == SlotFileHeld) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    else ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
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

// Moves the in-memory history on by the days that passed (back when the clock went back); a day
// still in memory, today's included when the clock went back, keeps its column with its pending
// slots. The days it cannot take from memory are loaded from their files without waiting: a held
// file leaves its day unread, to be read at a later change of slot.
static int MoveHistory(HWND monitor, int shift, int today)
{
    int fromMemory[DayCount] = {};
    // Copying in the direction of the move lets the columns move in place.
    int first = shift > 0 ? DayCount - 1 : 0, step = shift > 0 ? -1 : 1;
    for (int k = first; k >= 0 && k < DayCount; k += step) {
        int from = k - shift;
        if (from < 0 || from >= DayCount) continue;
        CopyDayColumn(k, from);
        fromMemory[k] = 1;
    }
    BuildDayTables(today);
    for (int k = 1; k < DayCount; ++k)
        if (!fromMemory[k] && !LoadDayColumn(k)) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    return fromMemory[0];
}

// The first tick of another date. Today's file of a date that has one (the clock was set back,
// or the program ran earlier that day) is read instead of created; one that cannot be made is
// made by a later slot write, while recording goes on in memory.
static int RollOverDay(HWND monitor, int finished, int shift, int today)
{
    SaveSlot(monitor, finished);  // DayFileNames[0] still names the day that has ended
    // The mark belongs to the day that has ended; a new today's file is made below, or, for a day
    // taken from memory, by its next slot write when it has gone.
    App.TodayFileUnmade = 0;
    int result = 0;
    if (!MoveHistory(monitor, shift, today)) {
        if (DayFileExists(0)) {
            if (!LoadDayColumn(0)) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
        } else {
            ClearDayColumn(0);
            if (CreateDayFile() != 1) {
                App.TodayFileUnmade = 1;
                ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
                result = -1;
            }
        }
    }
    for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
    BeginSlot(App.CurrentSlot);
    return result;
}

// A change of slot or of date. The finished slot's counts are already committed, so the
// counters start again at once. Its failures are only queued, so no box ever holds the clock
// inside a change: slot, day tables, history and today's file have all moved on before the
// user sees anything. Days left unread are tried again first, so that their slots are written
// into whole files.
static int ChangeSlot(HWND monitor, int slot, int today)
{
    int finished = App.CurrentSlot;
    int shift = DaysBetween(App.TodayDate, today);
    App.CurrentSlot = slot;
    ShowSelectedCount();
    ClearIntervalCounters();
    ReadUnreadDays();
    int result = 0;
    if (shift == 0) {
        for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
        BeginSlot(slot);
        SaveSlot(monitor, finished);
    } else {
        result = RollOverDay(monitor, finished, shift, today);
    }
    SaveAppsAtChange(monitor, today);
    RepaintGraph();
    return result;
}

// The days the start-up could not read, tried at every tick for a few seconds: a file held for a
// moment loads without a box; one held longer is reported once and read at a later change of slot.
static void RetryStartReads(HWND monitor)
{
    if (!App.StartReadsPending) return;
    int left = ReadUnreadDays();
    if (left && static_cast<LONG>(ReadTickCount() - App.StartReadsUntil) < 0) return;
    App.StartReadsPending = 0;
    if (left) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
}

static int Tick(HWND monitor)
{
    SYSTEMTIME now;
    ReadLocalTime(&now);
    ShowTime(&now);
    // Nothing is recorded before the start-up or after the end.
    if (!App.Recording) return 0;
    CommitCounters();
    TickApps();
    RetryStartReads(monitor);
    RaiseTodayMaxima();
    // Within a slot today's value never falls: the new bar covers the old one without erasing.
    RepaintLiveColumns(App.CurrentSlot);
    // The change of slot comes before the hooks' check, so that input made meanwhile cannot land
    // in the finished slot.
    int slot = SlotOfTime(&now);
    int today = DateNumber(now.wYear, now.wMonth, now.wDay);
    int result = 0;
    if (slot != App.CurrentSlot || today != App.TodayDate) result = ChangeSlot(monitor, slot, today);
    CheckHooks(monitor);
    return result;
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
