// Counting of clicks, key touches and pointer travel from the hook library's messages.
#include <stdlib.h>
#include <windowsx.h>

#include "app/clock.h"
#include "app/input.h"
#include "app/screenmap.h"
#include "res/messages.h"
#include "store/state.h"
#include "ui/statusbar.h"

// Bit 31 of the keystroke flags: the key was released (the transition state of a key message).
enum : DWORD { KeyReleasedFlag = static_cast<DWORD>(KF_UP) << 16 };
static_assert(KeyReleasedFlag == 0x80000000u, "bit 31 of the keystroke flags");

static void ShowInputNow(void);

// Shows what was noted when the frame ends, in this many milliseconds; at once if no timer can
// be had, rather than never.
static void ShowAtFrameEnd(DWORD wait)
{
    App.StatusTimerSet = SetTimer(App.MonitorWindow, StatusTimerId, wait, nullptr) != 0;
    if (!App.StatusTimerSet) ShowInputNow();
}

// Shows what the handlers noted and clears the waiting timer: from now on a frame begins. A
// down icon shown now whose up is noted already brings its up one frame later.
static void ShowInputNow(void)
{
    if (App.StatusTimerSet) KillTimer(App.MonitorWindow, StatusTimerId);
    App.StatusTimerSet = 0;
    App.StatusShownAt = ReadTickCount();
    if (ShowNotedInput()) ShowAtFrameEnd(StatusFrameMs);
}

// The status bar repaints a part at every text or icon it is given (under Wine within the call,
// about a millisecond), and a fast mouse sends up to 1,000 moves a second: the handlers count at
// once, but what they show is shown at most once per display frame, at once when the last
// showing is a frame old, else by the status timer when the frame ends. A flood of input that
// keeps the timer waiting (it comes only when the queue is empty) is shown by the handlers
// themselves once a frame has passed. With the window closed nothing is shown.
static void ShowInputSoon(void)
{
    if (!App.GraphWindowOpen) return;
    DWORD since = ReadTickCount() - App.StatusShownAt;
    if (since >= StatusFrameMs) {
        ShowInputNow();
    } else if (!App.StatusTimerSet) {
        ShowAtFrameEnd(StatusFrameMs - since);
    }
}

LRESULT OnStatusTimer(void)
{
    ShowInputNow();
    return 0;
}

static void ButtonDown(int part, int* down)
{
    NoteStatusIcon(part, App.ButtonDownIcon, 1);
    *down = 1;
    ShowInputSoon();
}

// An up message counts a click only after a down message of the same button.
static void ButtonUp(int part, int* down, int* clicks)
{
    NoteStatusIcon(part, App.ButtonUpIcon, 0);
    if (*down) {
        ++*clicks;
        NoteStatusInput(NoteClicks);
    }
    *down = 0;
    ShowInputSoon();
}

// A double-click message stands in for the second down message and counts by itself.
static void DoubleClick(int* clicks)
{
    ++*clicks;
    NoteStatusInput(NoteClicks);
    ShowInputSoon();
}

// The step is measured between the events' own points, not from where the pointer is when the
// message is handled: moves that wait in the queue (a busy thread, a modal loop, a slow status
// bar) would otherwise all read the last position and their travel would be lost.
static void PointerStep(LPARAM physicalPoint)
{
    POINT physical = {GET_X_LPARAM(physicalPoint), GET_Y_LPARAM(physicalPoint)};
    App.PointerPos = ProcessPointFromPhysical(physical);
    // The first move measures nothing: there is no position before it.
    int known = App.PointerKnown;
    POINT from = known ? App.LastPointerPos : App.PointerPos;
    App.PointerKnown = 1;
    App.LastPointerPos = App.PointerPos;
    int stepX = abs(static_cast<int>(from.x - App.PointerPos.x));
    int stepY = abs(static_cast<int>(from.y - App.PointerPos.y));
    App.MoveX += stepX;
    App.MoveY += stepY;
    // A move onto the same point changes neither the position nor the travel shown.
    if (known && stepX == 0 && stepY == 0) return;
    NoteStatusInput(NotePointer | NoteMovement);
    ShowInputSoon();
}

void ClearIntervalCounters(void)
{
    App.LeftClicks = App.MiddleClicks = App.RightClicks = 0;
    App.MoveX = App.MoveY = App.KeyTouches = 0;
}

LRESULT OnHookMouse(UINT mouseMessage, LPARAM point)
{
    ++App.HookMessages;  // every message, counted or not, shows that the hooks live
    switch (mouseMessage) {
    case WM_MOUSEMOVE:     PointerStep(point); break;
    case WM_LBUTTONDOWN:   ButtonDown(PartLeftButton, &App.LeftDown); break;
    case WM_LBUTTONUP:     ButtonUp(PartLeftButton, &App.LeftDown, &App.LeftClicks); break;
    case WM_LBUTTONDBLCLK: DoubleClick(&App.LeftClicks); break;
    case WM_RBUTTONDOWN:   ButtonDown(PartRightButton, &App.RightDown); break;
    case WM_RBUTTONUP:     ButtonUp(PartRightButton, &App.RightDown, &App.RightClicks); break;
    case WM_RBUTTONDBLCLK: DoubleClick(&App.RightClicks); break;
    case WM_MBUTTONDOWN:   ButtonDown(PartMiddleButton, &App.MiddleDown); break;
    case WM_MBUTTONUP:     ButtonUp(PartMiddleButton, &App.MiddleDown, &App.MiddleClicks); break;
    case WM_MBUTTONDBLCLK: DoubleClick(&App.MiddleClicks); break;
    default: break;  // the wheel and extra buttons count nothing
    }
    return 0;
}

LRESULT OnHookKey(UINT virtualKey, LPARAM flags)
{
    ++App.HookMessages;
    if (static_cast<DWORD>(flags) & KeyReleasedFlag) {
        NoteStatusIcon(PartKeyboard, App.KeyUpIcon, 0);
        App.LastKey = 0;
        ShowInputSoon();
        return 0;
    }
    // Auto-repeat of the held key repeats its key code and counts once.
    if (virtualKey != App.LastKey) {
        ++App.KeyTouches;
        NoteStatusInput(NoteKeys);
        NoteStatusIcon(PartKeyboard, App.KeyDownIcon, 1);
        ShowInputSoon();
    }
    App.LastKey = virtualKey;
    return 0;
}
