// Counting of the hook library's mouse and key messages.
#pragma once
#include <windows.h>

LRESULT OnHookMouse(UINT mouseMessage);
// Sets the six interval counters to 0; button and key state stay.
void ClearIntervalCounters(void);
LRESULT OnHookKey(UINT virtualKey, LPARAM flags);
