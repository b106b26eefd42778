// The 21 days in memory: their columns, today's maxima and the running slot.
#include "store/days.h"

#include <string.h>

#include "store/dayfile.h"

DayStore Days;
static_assert(DayCount <= 32, "UnsavedDays holds a bit a day");

void ClearDayColumn(int day)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) Days.ActivityTable[m][s][day] = NoData;
        Days.DayMaxima[m][day] = 0;
    }
    memset(Days.SlotUnsaved[day], 0, sizeof Days.SlotUnsaved[day]);
    NoteUnsavedSlots(day);
    Days.DayUnread[day] = 0;
    if (day == 0) Days.TodayMaximaThrough = -1;
}

void CopyDayColumn(int to, int from)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int s = 0; s < SlotCount; ++s) Days.ActivityTable[m][s][to] = Days.ActivityTable[m][s][from];
        Days.DayMaxima[m][to] = Days.DayMaxima[m][from];
    }
    memcpy(Days.SlotUnsaved[to], Days.SlotUnsaved[from], sizeof Days.SlotUnsaved[to]);
    NoteUnsavedSlots(to);
    Days.DayUnread[to] = Days.DayUnread[from];
}

void NoteUnsavedSlots(int day)
{
    // The marks are 0 or 1.
    if (memchr(Days.SlotUnsaved[day], 1, sizeof Days.SlotUnsaved[day])) Days.UnsavedDays |= 1u << day;
    else Days.UnsavedDays &= ~(1u << day);
}

// Compared as unsigned 32-bit values: a count that wrapped past 2^31 still raises the maximum.
static int RaiseMaximum(int metric, int day, int value)
{
    if (value == NoData || static_cast<unsigned>(value) <= static_cast<unsigned>(Days.DayMaxima[metric][day])) return 0;
    Days.DayMaxima[metric][day] = value;
    return 1;
}

void RaiseDayMaxima(int day)
{
    for (int m = 0; m < MetricCount; ++m) {
        Days.DayMaxima[m][day] = 0;
        for (int s = 0; s < SlotCount; ++s) RaiseMaximum(m, day, Days.ActivityTable[m][s][day]);
    }
    if (day == 0) Days.TodayMaximaThrough = Days.CurrentSlot - 1;
}

// Only the running slot changes while it runs; the slots before it were taken in once (a reading of
// today's file or a new slot starts the maxima over).
int RaiseTodayMaxima(void)
{
    int raised = 0, from = Days.TodayMaximaThrough + 1 < Days.CurrentSlot ? Days.TodayMaximaThrough + 1 : Days.CurrentSlot;
    for (int m = 0; m < MetricCount; ++m)
        for (int s = from; s <= Days.CurrentSlot; ++s)
            if (RaiseMaximum(m, 0, Days.ActivityTable[m][s][0])) raised |= 1 << m;
    if (Days.CurrentSlot - 1 > Days.TodayMaximaThrough) Days.TodayMaximaThrough = Days.CurrentSlot - 1;
    return raised;
}

void ClearTodayMaxima(void)
{
    for (int m = 0; m < MetricCount; ++m) Days.DayMaxima[m][0] = 0;
    Days.TodayMaximaThrough = -1;
}

void MoveToSlot(int slot) { Days.CurrentSlot = slot; }

void BeginSlot(int slot)
{
    // Normally the slot has no data yet and starts at 0; one already recorded (the clock was
    // set back onto it) goes on from its values.
    for (int m = 0; m < MetricCount; ++m) {
        int v = Days.ActivityTable[m][slot][0];
        Days.SlotBase[m] = v == NoData ? 0 : v;
        Days.ActivityTable[m][slot][0] = Days.SlotBase[m];
    }
}

// Overwrites, not adds: the counts hold everything since the slot began.
void CommitSlotCounts(int clicks, int keys, int travel)
{
    const int counts[MetricCount] = {clicks, keys, travel};
    for (int m = 0; m < MetricCount; ++m) Days.ActivityTable[m][Days.CurrentSlot][0] = Days.SlotBase[m] + counts[m];
}

int MoveDays(int shift, int today, int* unread)
{
    // Today's mark belongs to the day that has ended; the new today's file is made below, or, for
    // a day taken from memory, by its next slot write when it has gone.
    Days.TodayFileUnmade = 0;
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
    *unread = 0;
    for (int k = 1; k < DayCount; ++k)
        if (!fromMemory[k] && !LoadDayColumn(k)) ++*unread;
    // Today's file of a date that has one (the clock was set back, or the program ran earlier that
    // day) is read instead of created.
    int loaded = fromMemory[0] ? 1 : LoadTodayFile();
    ClearTodayMaxima();
    return loaded;
}
