// Which keys and buttons: each key touch counted for its scan code with the extended flag (the
// same key whatever the layout), each click for the physical button the hook reports (also when
// the user swapped the buttons), the X buttons and the wheel's notches. Never the order of the
// keys, their time or any text: a typed character (VK_PACKET carries it in the scan code's place)
// counts as scan code 0. An input costs one add.
#include "app/keywatch.h"

#include <stdlib.h>

#include "base/report.h"
#include "store/days.h"
#include "store/keyrecords.h"
#include "store/settings.h"

KeyWatchState KeyWatch;

// Bits of the keystroke flags: the scan code's byte and the extended flag.
enum { ScanCodeShift = 16, ExtendedShift = 24 };

void StartKeyWatch(void)
{
    SetKeysRecording(ReadKeysSetting());
    if (KeysRecorded()) LoadKeysOfToday(TodayDate());
}

void CountKeyTouch(UINT virtualKey, LPARAM flags)
{
    if (!KeysRecorded()) return;
    DWORD bits = static_cast<DWORD>(flags);
    int key = virtualKey == VK_PACKET ? 0
                                      : static_cast<int>((bits >> ScanCodeShift) & 0xFF) +
                                            ((bits >> ExtendedShift) & 1 ? KeyExtended : 0);
    AddKeyPress(key);
}

void CountButtonClick(int button)
{
    if (KeysRecorded()) AddKeyPress(button);
}

void CountOtherMouse(UINT mouseMessage)
{
    if (!KeysRecorded()) return;
    int data = static_cast<short>(HIWORD(mouseMessage));
    switch (LOWORD(mouseMessage)) {
    case WM_XBUTTONDOWN:
        if (data == XBUTTON1 || data == XBUTTON2) AddKeyPress(data == XBUTTON1 ? KeyXButton1 : KeyXButton2);
        break;
    case WM_MOUSEWHEEL: {
        // Either way counts; a precise wheel's small steps add up to notches.
        int turned = KeyWatch.WheelRest + abs(data);
        if (turned >= WHEEL_DELTA) AddWheelNotches(turned / WHEEL_DELTA);
        KeyWatch.WheelRest = turned % WHEEL_DELTA;
        break;
    }
    default: break;
    }
}

// A box for each cause only once, until the cause has gone; a data folder in which today's file
// cannot be made has had its box already.
static void ReportKeysSaved(HWND monitor, int saved)
{
    if (saved == 0 && !KeyWatch.WriteReported && !TodayFileUnmade()) ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    if (saved == -1 && !KeyWatch.ReadReported) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    if (saved != -1) KeyWatch.WriteReported = saved == 0;
    KeyWatch.ReadReported = TodaysKeysUnread() && (KeyWatch.ReadReported || saved == -1);
}

void SaveKeysNow(HWND monitor)
{
    if (KeysRecorded()) ReportKeysSaved(monitor, SaveKeys());
}

int SaveKeysForExit(void) { return !KeysRecorded() || SaveKeys() == 1; }

void SaveKeysAtChange(HWND monitor, int today)
{
    if (!KeysRecorded()) return;
    if (today != TodaysKeysDate()) ReportKeysSaved(monitor, RollKeysOver(today) ? 1 : 0);
    else ReportKeysSaved(monitor, SaveKeys());
}

void ResetKeys(void) { ClearKeysOfDays(TodayDate()); }

int ToggleKeyRecording(HWND monitor)
{
    int on = !KeysRecorded();
    if (!WriteKeysSetting(on)) return 0;
    // What was counted until now goes to its file before recording stops; on again, the day goes
    // on from its file.
    if (!on) SaveKeysNow(monitor);
    SetKeysRecording(on);
    if (on) LoadKeysOfToday(TodayDate());
    return 1;
}
