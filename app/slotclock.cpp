// The 200 ms slot clock: commits the running counts, changes slot, and rolls the day over.
#include <stdio.h>
#include <string.h>

#include <shlwapi.h>

#include "app/clock.h"
#include "app/slotclock.h"
#include "app/texts.h"
#include "graph/geometry.h"
#include "store/state.h"
#include "store/store.h"
#include "ui/statusbar.h"

int SlotOfTime(const SYSTEMTIME* t) { return t->wHour * 10 + t->wMinute / 6; }

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

static void ShowClock(const SYSTEMTIME* now)
{
    snprintf(App.DateText, sizeof App.DateText, FormatStatusDate, now->wYear, now->wMonth, now->wDay);
    snprintf(App.TimeText, sizeof App.TimeText, FormatStatusTime, now->wHour, now->wMinute, now->wSecond);
    if (!App.GraphWindowOpen) return;
    SetStatusText(PartDate, App.DateText);
    SetStatusText(PartTime, App.TimeText);
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

static void InvalidateGraph(RECT area, BOOL erase)
{
    if (App.GraphWindowOpen) InvalidateRect(App.GraphWindowHandle, &area, erase);
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
            if (App.SelectedMetric == m) {
                InvalidateGraph(TodayBandLeft(), TRUE);
                InvalidateGraph(TodayBandRight(), TRUE);
            }
        }
    }
}

// Within a slot today's value never falls: the new bar covers the old one without erasing.
static void RequestLiveColumns(void)
{
    int x = GraphLeft + App.CurrentSlot;
    RECT left = {x, RowBaseline(21), x + 1, RowBaseline(22)};
    RECT right = {x + PanelWidth, RowBaseline(20), x + PanelWidth + 1, RowBaseline(21)};
    InvalidateGraph(left, FALSE);
    InvalidateGraph(right, FALSE);
}

static void CopyDayColumn(int to, int from)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) App.ActivityTable[m][s][to] = App.ActivityTable[m][s][from];
        App.DayMaxima[m][to] = App.DayMaxima[m][from];
    }
}

// Moves the in-memory history on by the days that passed (back when the clock went back);
// the past days it cannot take from memory are loaded from their files.
static void MoveHistory(HWND monitor, int shift)
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
    BuildDayTables();
    for (int k = 1; k < DayCount; ++k)
        if (!fromMemory[k] && !LoadDayColumn(monitor, k)) ClearDayColumn(k);
}

// The first tick of another date. Today's file of a date that has one (the clock was set
// back, or the program ran earlier that day) is read instead of created.
static int RollOverDay(HWND monitor, int finished, int shift)
{
    WriteSlot(monitor, finished);  // DayFileNames[0] still names the day that has ended
    memset(App.SlotUnsaved, 0, sizeof App.SlotUnsaved);
    MoveHistory(monitor, shift);
    ComposeDayFilePath(0);
    int existing = PathFileExistsA(App.DayFilePath);
    if (!existing || !ReadDayFile(monitor, 0)) ClearDayColumn(0);
    for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
    BeginSlot(App.CurrentSlot);
    if (!existing && CreateDayFile(monitor) != 1) return -1;
    return 0;
}

// A change of slot or of date. The finished slot's counts are already committed, so the
// counters start again before any file work: input during a failure box lands in the new slot.
static int ChangeSlot(HWND monitor, int slot, int date)
{
    int finished = App.CurrentSlot;
    int shift = DaysBetween(App.TodayDate, date);
    App.CurrentSlot = slot;
    App.SlotChanging = 1;
    ShowSelectedCount();
    ClearIntervalCounters();
    int result = 0;
    if (shift == 0) {
        for (int m = 0; m < MetricCount; ++m) App.DayMaxima[m][0] = 0;
        BeginSlot(slot);
        WriteSlot(monitor, finished);
    } else {
        result = RollOverDay(monitor, finished, shift);
    }
    App.SlotChanging = 0;
    if (result == 0) InvalidateGraph(GraphRect(), TRUE);
    return result;
}

int OnSlotTimer(HWND monitor)
{
    SYSTEMTIME now;
    ReadLocalTime(&now);
    ShowClock(&now);
    // Nothing is recorded after a start-up that failed, nor inside a change already running.
    if (!App.Recording || App.SlotChanging) return 0;
    CommitCounters();
    RaiseTodayMaxima();
    RequestLiveColumns();
    int slot = SlotOfTime(&now);
    int date = DateNumber(now.wYear, now.wMonth, now.wDay);
    if (slot == App.CurrentSlot && date == App.TodayDate) return 0;
    return ChangeSlot(monitor, slot, date);
}
