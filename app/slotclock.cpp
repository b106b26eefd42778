// The 200 ms slot clock: commits the running counts, changes slot, and rolls the day over.
#include "app/slotclock.h"

#include "app/appwatch.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/keywatch.h"
#include "app/tray.h"
#include "base/clock.h"
#include "base/dates.h"
#include "base/report.h"
#include "graph/view.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "store/publish.h"
#include "store/sharedpcs.h"
#include "ui/graphwindow.h"
#include "ui/statusbar.h"

SlotClockState SlotClock;

// The counters hold everything since the slot began.
void CommitCounters(void)
{
    CommitSlotCounts(static_cast<int>(SlotClicks()), Counters.KeyTouches, static_cast<int>(SlotTravel()));
}

// One box per cause, with the cause's text; the slots wait in memory meanwhile. Today's file that
// could not be made was reported when that was found, a day not read yet when its read failed; a
// held file or a failed write is told once, and again only after a write has worked.
int SaveSlot(HWND monitor, int slot)
{
    int result = WriteSlot(slot);
    if (result == SlotWritten) SlotClock.SlotFailureShown = 0;
    if (result == SlotWritten || result == SlotDayUnread || result == SlotClock.SlotFailureShown ||
        (result == SlotNotWritten && TodayFileUnmade()))
        return result;
    SlotClock.SlotFailureShown = result;
    if (result == SlotFileHeld) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    else ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    return result;
}

// The first tick of another date: the history moves on, today's file is read, made, or marked to
// be made by a later slot write while recording goes on in memory.
static int RollOverDay(HWND monitor, int finished, int shift, int today)
{
    SaveSlot(monitor, finished);  // the day tables still name the day that has ended
    int unread = 0;
    int loaded = MoveDays(shift, today, &unread);
    if (unread || loaded == 0) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    if (loaded < 0) ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    BeginSlot(CurrentSlot());
    return loaded < 0 ? -1 : 0;
}

// A change of slot or of date. The finished slot's counts are already committed, so the
// counters start again at once. Its failures are only queued, so no box ever holds the clock
// inside a change: slot, day tables, history and today's file have all moved on before the
// user sees anything. Days left unread are tried again first, so that their slots are written
// into whole files.
static int ChangeSlot(HWND monitor, int slot, int today)
{
    int finished = CurrentSlot();
    int shift = DaysBetween(TodayDate(), today);
    MoveToSlot(slot);
    ShowSelectedCount();
    ClearIntervalCounters();
    ReadUnreadDays();
    int result = 0;
    if (shift == 0) {
        ClearTodayMaxima();
        BeginSlot(slot);
        SaveSlot(monitor, finished);
    } else {
        result = RollOverDay(monitor, finished, shift, today);
    }
    SaveAppsAtChange(monitor, today);
    SaveKeysAtChange(monitor, today);
    // The share takes today's files on its own thread, and at a change of day every day again with
    // the indexes (what has not changed is only compared); a share that failed is tried again whole.
    RequestPublish(shift ? PublishAllDays : PublishDates, today, 0);
    RepaintGraph();
    return result;
}

void ReportRecordsSaved(HWND monitor, int saved, int unread, ReportedFailures* reported, UiTextId writeText,
                        UiTextId readText)
{
    if (saved == 0 && !reported->Write && !TodayFileUnmade()) ReportFailure(monitor, writeText, TextErrorCaption);
    if (saved == -1 && !reported->Read) ReportFailure(monitor, readText, TextOpenCaption);
    if (saved != -1) reported->Write = saved == 0;
    reported->Read = unread && (reported->Read || saved == -1);
}

// The days the start-up could not read, tried at every tick for a few seconds: a file held for a
// moment loads without a box; one held longer is reported once and read at a later change of slot.
static void RetryStartReads(HWND monitor)
{
    if (!SlotClock.StartReadsPending) return;
    int left = ReadUnreadDays();
    if (left && static_cast<LONG>(ReadTickCount() - SlotClock.StartReadsUntil) < 0) return;
    SlotClock.StartReadsPending = 0;
    if (left) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
}

static int Tick(HWND monitor)
{
    SYSTEMTIME now;
    ReadLocalTime(&now);
    ShowClock(&now);
    // Nothing is recorded before the start-up or after the end.
    if (!SlotClock.Recording) return 0;
    // The shown maximum is this PC's, or with all PCs shown the sum's, which the counts can raise
    // where this PC's own maximum stays.
    int shownMaximum = ShownDayMaximum(SelectedMetric(), 0);
    CommitCounters();
    TickApps();
    TickKeys();
    RetryStartReads(monitor);
    // Every bar of today changes height when today's maximum of the shown metric rises.
    int raised = RaiseTodayMaxima() & (1 << SelectedMetric());
    if (raised || ShownDayMaximum(SelectedMetric(), 0) != shownMaximum) RepaintTodayBands();
    // Within a slot today's value never falls: the new bar covers the old one without erasing.
    RepaintLiveColumns(CurrentSlot());
    // The change of slot comes before the hooks' check, so that input made meanwhile cannot land
    // in the finished slot.
    int slot = SlotOfTime(&now);
    int today = DateOfTime(&now);
    int result = 0;
    if (slot != CurrentSlot() || today != TodayDate()) result = ChangeSlot(monitor, slot, today);
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
