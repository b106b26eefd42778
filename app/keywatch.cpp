// Which keys and buttons: each key touch counted for its scan code with the extended flag (the
// same key whatever the layout), each click for the physical button the hook reports (also when
// the user swapped the buttons), the X buttons and the wheel's notches. Never the order of the
// keys, their time or any text: a typed character (VK_PACKET carries it in the scan code's place)
// counts as scan code 0. An input costs one add.
#include "app/keywatch.h"

#include <stdlib.h>

#include "app/slotclock.h"
#include "base/clock.h"
#include "base/report.h"
#include "store/days.h"
#include "store/keyrecords.h"
#include "store/settings.h"

KeyWatchState KeyWatch;

// Bits of the keystroke flags: the scan code's byte and the extended flag.
enum { ScanCodeShift = 16, ExtendedShift = 24 };

enum : DWORD { SettingRetryMs = 1000 };  // an unread settings file is read again this often

// The switch as read from the settings file: while the file cannot be read nothing is recorded.
static void TakeKeysSetting(int setting)
{
    KeyWatch.SettingUnread = setting == SettingUnreadable;
    KeyWatch.SettingCheckedAt = ReadTickCount();
    SetKeysRecording(setting == 1);
    if (KeysRecorded()) LoadKeysOfToday(TodayDate());
}

void StartKeyWatch(void) { TakeKeysSetting(ReadKeysSetting()); }

void TickKeys(void)
{
    DWORD now = ReadTickCount();
    if (!KeyWatch.SettingUnread || now - KeyWatch.SettingCheckedAt < SettingRetryMs) return;
    int setting = ReadKeysSetting();
    KeyWatch.SettingCheckedAt = now;
    if (setting != SettingUnreadable) TakeKeysSetting(setting);
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

// Finished days waiting in memory are written whatever the switch; today's counts only change
// while it is on.
static void ReportKeysSaved(HWND monitor, int saved)
{
    ReportRecordsSaved(monitor, saved, KeysFilesUnread(), &KeyWatch.Reported, TextKeysWriteFailed, TextKeysReadFailed);
}

void SaveKeysNow(HWND monitor) { ReportKeysSaved(monitor, SaveKeys()); }

int SaveKeysForExit(void) { return SaveKeys() == 1; }

void SaveKeysAtChange(HWND monitor, int today)
{
    ReportKeysSaved(monitor, today != TodaysKeysDate() ? RollKeysOver(today) : SaveKeys());
}

int ToggleKeyRecording(HWND monitor)
{
    int on = !KeysRecorded();
    if (!WriteKeysSetting(on)) return 0;
    KeyWatch.SettingUnread = 0;
    // What was counted until now goes to its file before recording stops (or waits in memory to be
    // written); on again, the day goes on from its file, or from memory while that still holds
    // counts the file lacks.
    if (!on) SaveKeysNow(monitor);
    SetKeysRecording(on);
    if (on) LoadKeysOfToday(TodayDate());
    return 1;
}
