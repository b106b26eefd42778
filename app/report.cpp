// Failure reports shown to the user.
#include "app/report.h"

int ReportFailure(HWND owner, const char* text, const char* caption, UINT buttons)
{
    // The box runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    return MessageBoxA(owner, text, caption, buttons);
}
