// The one record of global state: the store, the counters, window handles, flags and buffers.
#pragma once
#include <windows.h>
#include <time.h>

enum { MetricCount = 3, SlotCount = 240, DayCount = 21 };
enum { MetricClicks = 0, MetricKeys = 1, MetricMovement = 2 };
enum { NoData = -1 };
enum { DayFileSize = MetricCount * SlotCount * 4, MetricBytes = SlotCount * 4 };

struct GlobalState {
    HINSTANCE Instance;
    HWND MonitorWindow;

    // Activity store: [metric][slot][day], day 0 is today.
    int ActivityTable[MetricCount][SlotCount][DayCount];
    int DayMaxima[MetricCount][DayCount];
    int CurrentSlot;
    int SelectedMetric;
    int GraphWindowOpen;
    char DayLabels[DayCount][8];
    char DayDates[DayCount][16];
    char DayFileNames[DayCount][16];
    struct tm DayTablesTime;
    // Local date of today's column, as year * 10000 + month * 100 + day.
    int TodayDate;

    // Interval counters since the current slot began.
    int LeftClicks, RightClicks, MiddleClicks;
    int KeyTouches;
    int MoveX, MoveY;
    // Values the current slot already held when recording of it began (a restart
    // within the slot, or the clock set back onto a recorded slot); 0 normally.
    int SlotBase[MetricCount];

    // Input state, kept across slots.
    int LeftDown, RightDown, MiddleDown;
    UINT LastKey;
    POINT PointerPos;
    POINT LastPointerPos;

    // Recording runs only after a complete start-up; nothing is written otherwise.
    int Recording;
    // Set while the exit question is on screen, so that a second exit command waits for it.
    int ExitAsked;
    // Set while a change of slot runs: ticks nested in its message boxes only show the clock.
    int SlotChanging;
    // Today's slots whose last write did not reach the file.
    unsigned char SlotUnsaved[SlotCount];

    // Paths.
    char ExePath[1024];
    char DataDirectory[1024];
    char DayFilePath[1024];
    // One whole day file, for its creation and its reading.
    unsigned char DayFileBuffer[DayFileSize];

    // Slot clock texts.
    char DateText[16];
    char TimeText[16];

    // Graph window and status bar.
    HWND GraphWindowHandle;
    HWND StatusBarHandle;
    HICON ButtonUpIcon, ButtonDownIcon, KeyUpIcon, KeyDownIcon;
    char StatusText[256];
    char CountText[256];
    char AboutText[256];

    // Picture export.
    char PicturePath[520];

    // Registered "TaskbarCreated" message, sent when the shell's taskbar comes back.
    UINT TaskbarCreatedMessage;
};

extern GlobalState App;
