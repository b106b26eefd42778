// The 21 days in memory: three measures of 240 six-minute slots a day, today first, with the day
// tables that name them, the running slot and the marks of what has not reached its file yet.
#pragma once
#include <windows.h>

enum { MetricCount = 3, SlotCount = 240, DayCount = 21 };
enum { MetricClicks = 0, MetricKeys = 1, MetricMovement = 2 };
enum { NoData = -1 };
enum { DayFileSize = MetricCount * SlotCount * 4, MetricBytes = SlotCount * 4 };
// A day's label ("03/07") and date text ("2024/03/07") with their ends.
enum { DayLabelSize = 8, DayDateSize = 16 };

struct DayStore {
    // [metric][slot][day], day 0 is today; -1 no data, 0 a recorded slot without activity.
    // The slot clock fills today's cells through BeginSlot and CommitSlotCounts, not by hand.
    int ActivityTable[MetricCount][SlotCount][DayCount];
    // The slot clock raises today's through RaiseTodayMaxima and clears them by ClearTodayMaxima.
    int DayMaxima[MetricCount][DayCount];
    // Today's slots up to this one are in today's maxima and no longer change (-1 for none): the
    // tick, five times a second, looks only at the slots after it.
    int TodayMaximaThrough;
    // The slot clock moves it through MoveToSlot.
    int CurrentSlot;
    // Values the current slot already held when recording of it began (a restart within the
    // slot, or the clock set back onto a recorded slot); 0 normally. Set by BeginSlot.
    int SlotBase[MetricCount];
    char DayLabels[DayCount][DayLabelSize];
    char DayDates[DayCount][DayDateSize];
    char DayFileNames[DayCount][16];
    // Local date of today's column, as year * 10000 + month * 100 + day.
    int TodayDate;
    // Slots whose last write did not reach their day's file, by day as the ActivityTable: they
    // move with the history, so a slot of yesterday still goes to yesterday's file.
    unsigned char SlotUnsaved[DayCount][SlotCount];
    // The days that have such slots, a bit each (1 << day), kept by NoteUnsavedSlots after their
    // marks change: the tray asks for them at every tick.
    unsigned UnsavedDays;
    // Days whose file exists but could not be read (held by another program, access denied):
    // shown as no data and read again at later changes of slot; until then their files receive
    // nothing, and the slots recorded meanwhile wait in memory.
    unsigned char DayUnread[DayCount];
    // Today's file could not be made: the slots are kept in memory and the next slot write that
    // can make the file makes it with all of them. A change of day clears it in MoveDays.
    int TodayFileUnmade;
    // One whole day file, for its creation and its reading.
    unsigned char FileBuffer[DayFileSize];
};
// Written by store/'s files alone; the other folders read it through the functions below.
extern DayStore Days;

inline int DayValue(int metric, int slot, int day) { return Days.ActivityTable[metric][slot][day]; }
inline int DayMaximum(int metric, int day) { return Days.DayMaxima[metric][day]; }
inline int CurrentSlot(void) { return Days.CurrentSlot; }
inline int TodayDate(void) { return Days.TodayDate; }
inline const char* DayLabel(int day) { return Days.DayLabels[day]; }
inline const char* DayDate(int day) { return Days.DayDates[day]; }
// Today's file could not be made, or could not be read: its counts are in memory only.
inline int TodayFileUnmade(void) { return Days.TodayFileUnmade; }
inline int TodayFileUnread(void) { return Days.DayUnread[0]; }

// Fills the day tables (labels, date texts, file names) for today (a date number) and the 20 days
// before it, and makes it TodayDate.
void BuildDayTables(int today);
// Sets day d's column to no data and its maxima to 0, with nothing unsaved or unread.
void ClearDayColumn(int day);
// Copies day column, maxima and marks from one day to another.
void CopyDayColumn(int to, int from);
// Notes whether day d has slots waiting for its file, after its marks changed.
void NoteUnsavedSlots(int day);
// Day d's maxima, from its column.
void RaiseDayMaxima(int day);
// Today's maxima from its slots up to the current one; the metrics whose maximum rose, a bit each
// (1 << metric).
int RaiseTodayMaxima(void);
void ClearTodayMaxima(void);
// The slot being recorded from now on; BeginSlot starts it.
void MoveToSlot(int slot);
// Starts recording slot n of today: its cells become 0 unless already recorded.
void BeginSlot(int slot);
// Stores the counts since the slot began into today's cells of the current slot.
void CommitSlotCounts(int clicks, int keys, int travel);
// The first tick of another date, `shift` days after today's (before it when negative): the
// history moves on, a day still in memory (today's included when the clock went back) keeping its
// column with its pending slots, the others loaded from their files without waiting (a held file
// leaves its day unread, to be read at a later change of slot). Today's maxima start again. What
// today's file met, as LoadTodayFile says it (1 when today came from memory); the earlier days
// left unread in *unread.
int MoveDays(int shift, int today, int* unread);
