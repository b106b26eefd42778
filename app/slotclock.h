// The 200 ms slot clock: commits, slot changes and the change of day.
#pragma once
#include <windows.h>

// One tick; 0, or -1 when the new day's file could not be created.
int OnSlotTimer(HWND monitor);
// Slot of a local time: hour * 10 + minute / 6.
int SlotOfTime(const SYSTEMTIME* t);
// Starts recording slot n of today: its cells become 0 unless already recorded.
void BeginSlot(int slot);
// Stores the running counters into today's cell of the current slot.
void CommitCounters(void);
