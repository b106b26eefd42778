// The graph window's ten-part status bar: its creation, the count texts and the guarded writes.
#include "ui/statusbar.h"
#include <commctrl.h>
#include "res/texts.h"
#include "res/resource.h"
#include "store/state.h"

enum { StatusPartCount = 10 };
// A child window with the control's low style bit set (a bit no header names); not visible
// until it is laid out.
enum : DWORD { StatusBarLowBit = 0x10, StatusBarStyle = WS_CHILD | StatusBarLowBit };
static_assert(StatusBarStyle == 0x40000010, "the status bar's style");

// Right edge of each part, in pixels from the bar's left edge; the last one stops short of the window's edge.
static const int StatusPartEdges[StatusPartCount] = {70, 125, 170, 215, 235, 255, 275, 305, 440, 554};

HWND CreateStatusBar(HWND parent)
{
    InitCommonControls();
    // A new bar shows nothing yet: the first write of every part goes through. Input noted for
    // an earlier bar is not shown on this one.
    App.ShownPointerX[0] = App.ShownPointerY[0] = 0;
    App.StatusNoted = App.DownUnshown = 0;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(parent, GWLP_HINSTANCE));
    // Position and size 0: the control aligns itself along the bottom of its parent.
    HWND bar = CreateWindowExA(0, STATUSCLASSNAMEA, nullptr, StatusBarStyle, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                               instance, nullptr);
    SendMessageA(bar, SB_SETPARTS, StatusPartCount, reinterpret_cast<LPARAM>(StatusPartEdges));
    ShowWindow(bar, SW_SHOW);
    return bar;
}

// The counters are added as unsigned 32-bit numbers: a wrapped sum prints as its low 32 bits.
static void ShowCount(const char* format, unsigned value)
{
    wsprintfA(App.CountText, format, value);
    SetStatusText(PartCount, App.CountText);
}

int ShowClickCount(void)
{
    if (App.SelectedMetric == MetricClicks)
        ShowCount(FormatClickCount, static_cast<unsigned>(App.LeftClicks) +
                                        static_cast<unsigned>(App.RightClicks) +
                                        static_cast<unsigned>(App.MiddleClicks));
    return 1;
}

int ShowKeyTouchCount(void)
{
    if (App.SelectedMetric == MetricKeys)
        ShowCount(FormatKeyCount, static_cast<unsigned>(App.KeyTouches));
    return 1;
}

int ShowMovementCount(void)
{
    if (App.SelectedMetric == MetricMovement)
        ShowCount(FormatMoveCount,
                  static_cast<unsigned>(App.MoveX) + static_cast<unsigned>(App.MoveY));
    return 1;
}

// The input handlers write whether or not the window is open; while it is closed the bar is
// gone (or going), so these writes must not reach it.
static int StatusBarUsable(void)
{
    return App.GraphWindowOpen && App.StatusBarHandle != nullptr;
}

// The kept text of a pointer-position part, or null for the other parts, which are written
// every time (the count part must be written again even when its text is the same).
static char* ShownText(int part)
{
    switch (part) {
    case PartPointerX: return App.ShownPointerX;
    case PartPointerY: return App.ShownPointerY;
    }
    return nullptr;
}

void SetStatusText(int part, const char* text)
{
    if (!StatusBarUsable()) return;
    // Every reported move writes both coordinates; most moves change only one of them.
    char* shown = ShownText(part);
    if (shown && lstrcmpA(shown, text) == 0) return;
    if (shown) lstrcpynA(shown, text, sizeof App.ShownPointerX);
    SendMessageA(App.StatusBarHandle, SB_SETTEXTA, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text));
}

void SetStatusIcon(int part, HICON icon)
{
    if (StatusBarUsable())
        SendMessageA(App.StatusBarHandle, SB_SETICON, static_cast<WPARAM>(part),
                     reinterpret_cast<LPARAM>(icon));
}

enum { NoteIcon = 16 };  // NoteIcon << (part - PartLeftButton)
static_assert(PartKeyboard - PartLeftButton + 1 == StatusIconParts, "the icon parts");

void NoteStatusInput(int what) { App.StatusNoted |= what; }

void NoteStatusIcon(int part, HICON icon, int down)
{
    int index = part - PartLeftButton;
    App.NotedIcons[index] = icon;
    App.StatusNoted |= NoteIcon << index;
    if (down) App.DownUnshown |= 1 << index;
}

static void ShowPointerPosition(void)
{
    char text[32];
    wsprintfA(text, FormatPointerX, static_cast<long>(App.PointerPos.x));
    SetStatusText(PartPointerX, text);
    wsprintfA(text, FormatPointerY, static_cast<long>(App.PointerPos.y));
    SetStatusText(PartPointerY, text);
}

// A press and release within one frame would otherwise never show the press: the down icon
// is shown first, and the part stays noted so that the next showing brings the up icon.
static void ShowNotedIcon(int index)
{
    int part = PartLeftButton + index;
    HICON icon = App.NotedIcons[index];
    if (App.DownUnshown & (1 << index)) {
        App.DownUnshown &= ~(1 << index);
        HICON down = part == PartKeyboard ? App.KeyDownIcon : App.ButtonDownIcon;
        if (icon != down) {
            icon = down;
            App.StatusNoted |= NoteIcon << index;
        }
    }
    SetStatusIcon(part, icon);
}

int ShowNotedInput(void)
{
    int noted = App.StatusNoted;
    App.StatusNoted = 0;
    if (!StatusBarUsable()) return 0;
    if (noted & NotePointer) ShowPointerPosition();
    if (noted & (NoteClicks << App.SelectedMetric)) ShowSelectedCount();
    for (int index = 0; index < StatusIconParts; ++index)
        if (noted & (NoteIcon << index)) ShowNotedIcon(index);
    return App.StatusNoted != 0;
}

void ShowClock(const char* date, const char* time)
{
    SetStatusText(PartDate, date);
    SetStatusText(PartTime, time);
}

void ShowSelectedCount(void)
{
    switch (App.SelectedMetric) {
    case MetricClicks:   ShowClickCount(); break;
    case MetricKeys:     ShowKeyTouchCount(); break;
    case MetricMovement: ShowMovementCount(); break;
    }
}
