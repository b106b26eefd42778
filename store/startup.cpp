// Start-up: tray icon, data folder, the 21 days loaded, the slot clock and both hooks started.
#include <stdio.h>
#include <string.h>

#include "app/clock.h"
#include "app/hookwatch.h"
#include "app/messages.h"
#include "app/report.h"
#include "app/slotclock.h"
#include "app/texts.h"
#include "app/tray.h"
#include "hook/hookapi.h"
#include "store/state.h"
#include "store/store.h"

enum { DirectoryLimit = 255 };

const char* AfterLastSeparator(const char* path)
{
    // A lead byte and its trail byte are stepped over together: a trail byte of 5C is part of a
    // character, not a '\'.
    const char* end = path;
    for (const char* q = path; *q; ++q) {
        if (IsDBCSLeadByte(static_cast<BYTE>(*q)) && q[1]) {
            ++q;
            continue;
        }
        if (*q == '\\' || *q == '/') end = q + 1;
    }
    return end;
}

void ComposeDataDirectory(const char* exePath)
{
    char drive[3] = "";
    char directory[DirectoryLimit + 1] = "";
    const char* p = exePath;
    if (p[0] && p[1] == ':') {
        drive[0] = p[0];
        drive[1] = ':';
        p += 2;
    }
    // The directory runs up to and including the last separator.
    const char* end = AfterLastSeparator(p);
    size_t length = static_cast<size_t>(end - p);
    if (length > DirectoryLimit) length = DirectoryLimit;
    memcpy(directory, p, length);
    directory[length] = '\0';
    snprintf(App.DataDirectory, sizeof App.DataDirectory, FormatDataDirectory, drive, directory);
}

static void StartHooks(HWND monitor)
{
    if (!StartMouseHook(monitor, WM_HOOK_MOUSE)) ReportFailure(monitor, TextMouseHookFailed, TextHookCaption);
    if (!StartKeyHook(monitor, WM_HOOK_KEY)) ReportFailure(monitor, TextKeyHookFailed, TextHookCaption);
    WatchHooks(monitor);
}

int Startup(HWND monitor)
{
    // The shell may not be up yet (a start at logon): wait before every attempt, without limit.
    do WaitForShell(TrayWaitMs);
    while (!AddTrayIcon(monitor));

    GetModuleFileNameA(nullptr, App.ExePath, sizeof App.ExePath);
    ComposeDataDirectory(App.ExePath);
    CreateDirectoryA(App.DataDirectory, nullptr);  // an existing folder is the normal case

    // One reading of the local time gives today's date and the current slot, so the tick
    // that compares them later cannot find another date than the one the tables were built on.
    SYSTEMTIME now;
    ReadLocalTime(&now);
    BuildDayTables(DateNumber(now.wYear, now.wMonth, now.wDay));
    if (DayFileExists(0)) {
        if (!ReadDayFile(monitor, 0)) return 0;
    } else {
        ClearDayColumn(0);
        if (CreateDayFile(monitor) != 1) return -1;
    }
    for (int day = 1; day < DayCount; ++day)
        if (!LoadDayColumn(monitor, day)) return 0;

    App.CurrentSlot = SlotOfTime(&now);
    // A restart within a slot goes on from what the earlier run wrote for it.
    BeginSlot(App.CurrentSlot);
    App.Recording = 1;

    SetTimer(monitor, SlotTimerId, SlotTimerPeriod, nullptr);
    StartHooks(monitor);
    return 1;
}
