// Counting of the hook library's mouse and key messages.
#pragma once
#include <windows.h>

LRESULT OnHookMouse(UINT mouseMessage);
LRESULT OnHookKey(UINT virtualKey, LPARAM flags);
