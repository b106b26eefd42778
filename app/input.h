// Counting of the hook library's mouse and key messages.
#pragma once
#include <windows.h>

// point: the event's screen point in physical coordinates, x and y as signed 16-bit halves.
LRESULT OnHookMouse(UINT mouseMessage, LPARAM point);
// Sets the six interval counters to 0; button and key state stay.
void ClearIntervalCounters(void);
LRESULT OnHookKey(UINT virtualKey, LPARAM flags);
// The status timer: the end of the frame in which the handlers noted input for the status bar.
LRESULT OnStatusTimer(void);
