// Counting of clicks, key touches and pointer travel from the hook library's messages.
#include "app/input.h"

#include <stdlib.h>
#include <windowsx.h>

#include "app/appwatch.h"
#include "app/hookwatch.h"
#include "app/keywatch.h"
#include "app/monitor.h"
#include "app/screenmap.h"
#include "store/keyrecords.h"
#include "ui/statusbar.h"

InputCounters Counters;

// The buttons as the applications' records tell them apart.
enum { LeftButton, RightButton, MiddleButton };
static_assert(KeyLeftButton + MiddleButton == KeyMiddleButton, "the keys records count the buttons in this order");

// Bit 31 of the keystroke flags: the key was released (the transition state of a key message).
enum : DWORD { KeyReleasedFlag = static_cast<DWORD>(KF_UP) << 16 };
static_assert(KeyReleasedFlag == 0x80000000u, "bit 31 of the keystroke flags");

unsigned SlotClicks(void)
{
    return static_cast<unsigned>(Counters.LeftClicks) + static_cast<unsigned>(Counters.RightClicks) +
           static_cast<unsigned>(Counters.MiddleClicks);
}

unsigned SlotTravel(void) { return static_cast<unsigned>(Counters.MoveX) + static_cast<unsigned>(Counters.MoveY); }

// The status bar is handed the counts it shows whenever they change, and shows what was noted at
// most once per display frame.
static void HandCounts(void) { HandStatusCounts(SlotClicks(), static_cast<unsigned>(Counters.KeyTouches), SlotTravel()); }

static void ShowInputSoon(void) { ShowNotedSoon(Monitor.Window); }

static POINT ProcessPointOf(LPARAM physicalPoint)
{
    POINT physical = {GET_X_LPARAM(physicalPoint), GET_Y_LPARAM(physicalPoint)};
    return ProcessPointFromPhysical(physical);
}

// The application under the down's point takes the click: the window pressed may be gone by the
// release (a close button).
static void ButtonDown(int part, int button, int* down, LPARAM point)
{
    NoteStatusIcon(part, 1);
    *down = 1;
    NoteAppButtonDown(button, ProcessPointOf(point));
    ShowInputSoon();
}

static void CountClick(int button, int* clicks, LPARAM point)
{
    ++*clicks;
    CountButtonClick(KeyLeftButton + button);
    CountAppClick(button, ProcessPointOf(point));
    HandCounts();
    NoteStatusInput(NoteClicks);
}

// An up message counts a click only after a down message of the same button.
static void ButtonUp(int part, int button, int* down, int* clicks, LPARAM point)
{
    NoteStatusIcon(part, 0);
    if (*down) CountClick(button, clicks, point);
    *down = 0;
    ShowInputSoon();
}

// A double-click message stands in for the second down message and counts by itself.
static void DoubleClick(int button, int* clicks, LPARAM point)
{
    NoteAppButtonDown(button, ProcessPointOf(point));
    CountClick(button, clicks, point);
    ShowInputSoon();
}

// The step is measured between the events' own points, not from where the pointer is when the
// message is handled: moves that wait in the queue (a busy thread, a modal loop, a slow status
// bar) would otherwise all read the last position and their travel would be lost.
static void PointerStep(LPARAM physicalPoint)
{
    POINT point = ProcessPointOf(physicalPoint);
    // The first move measures nothing: there is no position before it.
    int known = Counters.PointerKnown;
    POINT from = known ? Counters.LastPointerPos : point;
    Counters.PointerKnown = 1;
    Counters.LastPointerPos = point;
    int stepX = abs(static_cast<int>(from.x - point.x));
    int stepY = abs(static_cast<int>(from.y - point.y));
    Counters.MoveX += stepX;
    Counters.MoveY += stepY;
    CountAppTravel(stepX + stepY);
    HandCounts();
    // A move onto the same point changes neither the position nor the travel shown.
    if (known && stepX == 0 && stepY == 0) return;
    NoteStatusPointer(point);
    NoteStatusInput(NoteMovement);
    ShowInputSoon();
}

void ClearIntervalCounters(void)
{
    Counters.LeftClicks = Counters.MiddleClicks = Counters.RightClicks = 0;
    Counters.MoveX = Counters.MoveY = Counters.KeyTouches = 0;
    HandCounts();
}

LRESULT OnHookMouse(UINT mouseMessage, LPARAM point)
{
    ++HookWatch.Messages;  // every message, counted or not, shows that the hooks live
    switch (mouseMessage) {
    case WM_MOUSEMOVE:     PointerStep(point); break;
    case WM_LBUTTONDOWN:   ButtonDown(PartLeftButton, LeftButton, &Counters.LeftDown, point); break;
    case WM_LBUTTONUP:     ButtonUp(PartLeftButton, LeftButton, &Counters.LeftDown, &Counters.LeftClicks, point); break;
    case WM_LBUTTONDBLCLK: DoubleClick(LeftButton, &Counters.LeftClicks, point); break;
    case WM_RBUTTONDOWN:   ButtonDown(PartRightButton, RightButton, &Counters.RightDown, point); break;
    case WM_RBUTTONUP:     ButtonUp(PartRightButton, RightButton, &Counters.RightDown, &Counters.RightClicks, point); break;
    case WM_RBUTTONDBLCLK: DoubleClick(RightButton, &Counters.RightClicks, point); break;
    case WM_MBUTTONDOWN:   ButtonDown(PartMiddleButton, MiddleButton, &Counters.MiddleDown, point); break;
    case WM_MBUTTONUP:     ButtonUp(PartMiddleButton, MiddleButton, &Counters.MiddleDown, &Counters.MiddleClicks, point); break;
    case WM_MBUTTONDBLCLK: DoubleClick(MiddleButton, &Counters.MiddleClicks, point); break;
    default: CountOtherMouse(mouseMessage); break;  // the X buttons and the wheel count only per button
    }
    return 0;
}

LRESULT OnHookKey(UINT virtualKey, LPARAM flags)
{
    ++HookWatch.Messages;
    if (static_cast<DWORD>(flags) & KeyReleasedFlag) {
        NoteStatusIcon(PartKeyboard, 0);
        Counters.LastKey = 0;
        ShowInputSoon();
        return 0;
    }
    // Auto-repeat of the held key repeats its key code and counts once.
    if (virtualKey != Counters.LastKey) {
        ++Counters.KeyTouches;
        CountAppKey();
        CountKeyTouch(virtualKey, flags);
        HandCounts();
        NoteStatusInput(NoteKeys);
        NoteStatusIcon(PartKeyboard, 1);
        ShowInputSoon();
    }
    Counters.LastKey = virtualKey;
    return 0;
}
