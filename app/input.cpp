// Counting of clicks, key touches and pointer travel from the hook library's messages.
#include <stdio.h>
#include <stdlib.h>
#include <windowsx.h>

#include "app/input.h"
#include "app/screenmap.h"
#include "res/texts.h"
#include "store/state.h"
#include "ui/statusbar.h"

// Bit 31 of the keystroke flags: the key was released (the transition state of a key message).
enum : DWORD { KeyReleasedFlag = static_cast<DWORD>(KF_UP) << 16 };
static_assert(KeyReleasedFlag == 0x80000000u, "bit 31 of the keystroke flags");

static void ButtonDown(int part, int* down)
{
    SetStatusIcon(part, App.ButtonDownIcon);
    *down = 1;
}

// An up message counts a click only after a down message of the same button.
static void ButtonUp(int part, int* down, int* clicks)
{
    SetStatusIcon(part, App.ButtonUpIcon);
    if (*down) {
        ++*clicks;
        ShowClickCount();
    }
    *down = 0;
}

// A double-click message stands in for the second down message and counts by itself.
static void DoubleClick(int* clicks)
{
    ++*clicks;
    ShowClickCount();
}

// The step is measured between the events' own points, not from where the pointer is when the
// message is handled: moves that wait in the queue (a busy thread, a modal loop, a slow status
// bar) would otherwise all read the last position and their travel would be lost.
static void PointerStep(LPARAM physicalPoint)
{
    POINT physical = {GET_X_LPARAM(physicalPoint), GET_Y_LPARAM(physicalPoint)};
    App.PointerPos = ProcessPointFromPhysical(physical);
    wchar_t text[32];
    wsprintfW(text, UiText(FormatPointerX), static_cast<long>(App.PointerPos.x));
    SetStatusText(PartPointerX, text);
    wsprintfW(text, UiText(FormatPointerY), static_cast<long>(App.PointerPos.y));
    SetStatusText(PartPointerY, text);
    // The first move measures nothing: there is no position before it.
    POINT from = App.PointerKnown ? App.LastPointerPos : App.PointerPos;
    App.PointerKnown = 1;
    App.LastPointerPos = App.PointerPos;
    App.MoveX += abs(static_cast<int>(from.x - App.PointerPos.x));
    App.MoveY += abs(static_cast<int>(from.y - App.PointerPos.y));
    ShowMovementCount();
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
        SetStatusIcon(PartKeyboard, App.KeyUpIcon);
        App.LastKey = 0;
        return 0;
    }
    // Auto-repeat of the held key repeats its key code and counts once.
    if (virtualKey != App.LastKey) {
        ++App.KeyTouches;
        ShowKeyTouchCount();
        SetStatusIcon(PartKeyboard, App.KeyDownIcon);
    }
    App.LastKey = virtualKey;
    return 0;
}
