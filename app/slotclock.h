// The 200 ms slot clock: commits, slot changes and the change of day.
#pragma once
#include <windows.h>

#include "base/uitext.h"

// Written by app/'s files alone.
struct SlotClockState {
    // Recording runs from the start-up until the end, whatever the start-up met.
    int Recording;
    // The cause of the last failed slot write that was told (a WriteSlot result), 0 once a write
    // works: the same cause brings no second box.
    int SlotFailureShown;
    // Days the start-up could not read are tried again at every tick until this tick-clock time
    // (a sync client or an indexer holds a file for a moment at logon); only then is the failure
    // shown.
    int StartReadsPending;
    DWORD StartReadsUntil;
};
extern SlotClockState SlotClock;

// How long the clock tries again the day files that the start-up could not read.
enum : DWORD { StartReadWaitMs = 3000 };

// One tick; 0, or -1 when the new day's file could not be created.
int OnSlotTimer(HWND monitor);
// Stores the running counters into today's cell of the current slot.
void CommitCounters(void);
// Writes the slot (and every slot still unsaved) and reports a failure in a box the monitor
// window owns; WriteSlot's result.
int SaveSlot(HWND monitor, int slot);

// The boxes told about a kind of records' files (applications, keys) until their cause has gone.
struct ReportedFailures {
    int Write, Read;
};
// A save of records (1, 0 when a write failed, -1 while a file is unread; `unread`: a file of
// them is still unread) told in a box of the write's or the read's text, each once until its
// cause has gone; none for a write while today's day file cannot be made (that box came already).
void ReportRecordsSaved(HWND monitor, int saved, int unread, ReportedFailures* reported, UiTextId writeText,
                        UiTextId readText);
