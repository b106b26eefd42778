// Failure reports: one message box with the given text, caption, owner and buttons.
#pragma once
#include <windows.h>

int ReportFailure(HWND owner, const char* text, const char* caption, UINT buttons = MB_OK);
