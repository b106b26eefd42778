// The 200 ms slot clock: commits, slot changes and the change of day.
#pragma once
#include <windows.h>

// One tick; 0, or -1 when the new day's file could not be created.
int OnSlotTimer(HWND monitor);
// Starts recording slot n of today: its cells become 0 unless already recorded.
void BeginSlot(int slot);
// Stores the running counters into today's cell of the current slot.
void CommitCounters(void);
// Writes the slot (and every slot still unsaved) and reports a failure in a box the monitor
// window owns; WriteSlot's result.
int SaveSlot(HWND monitor, int slot);
