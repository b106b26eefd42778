// The graph window's ten-part status bar: its creation, the count texts, the guarded writes and
// the pacing of what the input handlers note.
#include "ui/statusbar.h"

#include <commctrl.h>

#include <initializer_list>

#include "base/clock.h"
#include "base/uitext.h"
#include "graph/view.h"
#include "res/messages.h"
#include "res/resource.h"
#include "ui/graphwindow.h"

StatusBarState StatusBar;

// A child window with the control's low style bit set (a bit no header names); not visible
// until it is laid out.
enum : DWORD { StatusBarLowBit = 0x10, StatusBarStyle = WS_CHILD | StatusBarLowBit };
static_assert(StatusBarStyle == 0x40000010, "the status bar's style");
// The status bar shows the input at most once per display frame (60 a second).
enum : DWORD { StatusFrameMs = 16 };

// The width of each part in pixels, at least; the last one ends at 554, short of the window's edge.
static const int StatusPartWidths[StatusPartCount] = {70, 55, 45, 45, 20, 20, 20, 30, 135, 114};
// Pixels a part needs beyond its text's width: its sunken edges, the gap to the next part and
// the control's inset of the text.
enum { StatusTextMargin = 8 };
// Sample values that make the longest text of a part: the widest digits, and the count's hex
// digits both as figures and as letters.
enum : unsigned { SampleNumber = 8888, SampleTwoDigits = 88, SampleHexFigures = 0x88888888u, SampleHexLetters = 0xDDDDDDDDu };
static const char SampleDate[] = "8888/88/88";
// A part's text at the most.
enum { PartTextSize = 256 };

static int TextWidthIn(HDC dc, const wchar_t* text)
{
    SIZE size = {};
    GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
    return size.cx;
}

// The pixels the longest text of a part takes in the bar's font; 0 for the icon parts.
static int LongestTextWidth(HDC dc, int part)
{
    wchar_t text[64];
    int width = 0;
    switch (part) {
    case PartDate: wsprintfW(text, UiText(FormatStatusDate), SampleNumber, SampleTwoDigits, SampleTwoDigits); break;
    case PartTime: wsprintfW(text, UiText(FormatStatusTime), SampleTwoDigits, SampleTwoDigits, SampleTwoDigits); break;
    case PartPointerX: wsprintfW(text, UiText(FormatPointerX), static_cast<long>(SampleNumber)); break;
    case PartPointerY: wsprintfW(text, UiText(FormatPointerY), static_cast<long>(SampleNumber)); break;
    case PartReadout: wsprintfW(text, UiText(FormatReadout), SampleDate, SampleTwoDigits, SampleTwoDigits); break;
    case PartCount:
        for (UiTextId format : {FormatClickCount, FormatKeyCount, FormatMoveCount}) {
            for (unsigned value : {SampleHexFigures, SampleHexLetters}) {
                wsprintfW(text, UiText(format), value);
                int w = TextWidthIn(dc, text);
                if (w > width) width = w;
            }
        }
        return width;
    default: return 0;
    }
    return TextWidthIn(dc, text);
}

void MeasureStatusParts(HWND bar, int* edges)
{
    HDC dc = GetDC(bar);
    // A bar that was given no font draws in the system's status font.
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(bar, WM_GETFONT, 0, 0));
    HFONT made = nullptr;
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!font && SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0))
        font = made = CreateFontIndirectW(&metrics.lfStatusFont);
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    int right = 0;
    for (int part = 0; part < StatusPartCount; ++part) {
        int need = LongestTextWidth(dc, part);
        need = need > 0 ? need + StatusTextMargin : 0;
        right += need > StatusPartWidths[part] ? need : StatusPartWidths[part];
        edges[part] = right;
    }
    if (font) SelectObject(dc, previous);
    if (made) DeleteObject(made);
    ReleaseDC(bar, dc);
}

HWND CreateStatusBar(HWND parent)
{
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    StatusBar.ButtonDownIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BUTTON_DOWN));
    StatusBar.ButtonUpIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_BUTTON_UP));
    StatusBar.KeyDownIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KEY_DOWN));
    StatusBar.KeyUpIcon = LoadIconW(instance, MAKEINTRESOURCEW(IDI_KEY_UP));
    INITCOMMONCONTROLSEX controls = {sizeof controls, ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // A new bar shows nothing yet: the first write of every part goes through. Input noted for
    // an earlier bar is not shown on this one.
    StatusBar.ShownPointerX[0] = StatusBar.ShownPointerY[0] = 0;
    StatusBar.Noted = StatusBar.DownUnshown = 0;
    // Position and size 0: the control aligns itself along the bottom of its parent.
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, StatusBarStyle, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)), instance, nullptr);
    MeasureStatusParts(bar, StatusBar.PartEdges);
    SendMessageW(bar, SB_SETPARTS, StatusPartCount, reinterpret_cast<LPARAM>(StatusBar.PartEdges));
    ShowWindow(bar, SW_SHOW);
    StatusBar.Handle = bar;
    return bar;
}

void ForgetStatusBar(void) { StatusBar.Handle = nullptr; }

// The counts print as unsigned 32-bit numbers: a wrapped sum prints as its low 32 bits.
static int ShowCount(int metric, UiTextId format)
{
    if (SelectedMetric() != metric) return 1;
    wchar_t text[PartTextSize];
    wsprintfW(text, UiText(format), StatusBar.Counts[metric]);
    SetStatusText(PartCount, text);
    return 1;
}

int ShowClickCount(void) { return ShowCount(MetricClicks, FormatClickCount); }
int ShowKeyTouchCount(void) { return ShowCount(MetricKeys, FormatKeyCount); }
int ShowMovementCount(void) { return ShowCount(MetricMovement, FormatMoveCount); }

void ShowSelectedCount(void)
{
    switch (SelectedMetric()) {
    case MetricClicks:   ShowClickCount(); break;
    case MetricKeys:     ShowKeyTouchCount(); break;
    case MetricMovement: ShowMovementCount(); break;
    }
}

// The input handlers write whether or not the window is open; while it is closed the bar is
// gone (or going), so these writes must not reach it.
static int StatusBarUsable(void) { return GraphWindowOpen() && StatusBar.Handle != nullptr; }

// The kept text of a pointer-position part, or null for the other parts, which are written
// every time (the count part must be written again even when its text is the same).
static wchar_t* ShownText(int part)
{
    switch (part) {
    case PartPointerX: return StatusBar.ShownPointerX;
    case PartPointerY: return StatusBar.ShownPointerY;
    }
    return nullptr;
}

void SetStatusText(int part, const wchar_t* text)
{
    if (!StatusBarUsable()) return;
    // Every reported move writes both coordinates; most moves change only one of them.
    wchar_t* shown = ShownText(part);
    if (shown && lstrcmpW(shown, text) == 0) return;
    if (shown) lstrcpynW(shown, text, ARRAYSIZE(StatusBar.ShownPointerX));
    SendMessageW(StatusBar.Handle, SB_SETTEXTW, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
}

void SetStatusIcon(int part, HICON icon)
{
    if (StatusBarUsable())
        SendMessageW(StatusBar.Handle, SB_SETICON, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(icon));
}

static HICON IconOf(int part, int down)
{
    if (part == PartKeyboard) return down ? StatusBar.KeyDownIcon : StatusBar.KeyUpIcon;
    return down ? StatusBar.ButtonDownIcon : StatusBar.ButtonUpIcon;
}

void ShowReleasedIcons(void)
{
    for (int part : {PartLeftButton, PartMiddleButton, PartRightButton, PartKeyboard}) SetStatusIcon(part, IconOf(part, 0));
}

void ShowClock(const SYSTEMTIME* now)
{
    if (!StatusBarUsable()) return;
    wchar_t text[PartTextSize];
    wsprintfW(text, UiText(FormatStatusDate), now->wYear, now->wMonth, now->wDay);
    SetStatusText(PartDate, text);
    wsprintfW(text, UiText(FormatStatusTime), now->wHour, now->wMinute, now->wSecond);
    SetStatusText(PartTime, text);
}

void HandStatusCounts(unsigned clicks, unsigned keys, unsigned travel)
{
    StatusBar.Counts[MetricClicks] = clicks;
    StatusBar.Counts[MetricKeys] = keys;
    StatusBar.Counts[MetricMovement] = travel;
}

enum { NoteIcon = 16 };  // NoteIcon << (part - PartLeftButton)
static_assert(PartKeyboard - PartLeftButton + 1 == StatusIconParts, "the icon parts");

void NoteStatusInput(int what) { StatusBar.Noted |= what; }

void NoteStatusPointer(POINT point)
{
    StatusBar.Pointer = point;
    StatusBar.Noted |= NotePointer;
}

void NoteStatusIcon(int part, int down)
{
    int bit = 1 << (part - PartLeftButton);
    StatusBar.NotedDown = down ? StatusBar.NotedDown | bit : StatusBar.NotedDown & ~bit;
    StatusBar.Noted |= NoteIcon * bit;
    if (down) StatusBar.DownUnshown |= bit;
}

static void ShowPointerPosition(void)
{
    wchar_t text[32];
    wsprintfW(text, UiText(FormatPointerX), static_cast<long>(StatusBar.Pointer.x));
    SetStatusText(PartPointerX, text);
    wsprintfW(text, UiText(FormatPointerY), static_cast<long>(StatusBar.Pointer.y));
    SetStatusText(PartPointerY, text);
}

// A press and release within one frame would otherwise never show the press: the down icon
// is shown first, and the part stays noted so that the next showing brings the up icon.
static void ShowNotedIcon(int index)
{
    int bit = 1 << index;
    int down = (StatusBar.NotedDown & bit) != 0;
    if (StatusBar.DownUnshown & bit) {
        StatusBar.DownUnshown &= ~bit;
        if (!down) {
            down = 1;
            StatusBar.Noted |= NoteIcon * bit;
        }
    }
    SetStatusIcon(PartLeftButton + index, IconOf(PartLeftButton + index, down));
}

// Shows the latest state of everything noted; nothing while the window is closed. Returns 1 when
// a part must change again at the next showing (a down icon shown, its up noted already).
static int ShowNotedInput(void)
{
    int noted = StatusBar.Noted;
    StatusBar.Noted = 0;
    if (!StatusBarUsable()) return 0;
    if (noted & NotePointer) ShowPointerPosition();
    if (noted & (NoteClicks << SelectedMetric())) ShowSelectedCount();
    for (int index = 0; index < StatusIconParts; ++index)
        if (noted & (NoteIcon << index)) ShowNotedIcon(index);
    return StatusBar.Noted != 0;
}

static void ShowNotedNow(HWND timerWindow);

// Shows what was noted when the frame ends, in this many milliseconds; at once if no timer can
// be had, rather than never.
static void ShowAtFrameEnd(HWND timerWindow, DWORD wait)
{
    StatusBar.TimerSet = SetTimer(timerWindow, StatusTimerId, wait, nullptr) != 0;
    if (!StatusBar.TimerSet) ShowNotedNow(timerWindow);
}

// Shows what the handlers noted and clears the waiting timer: from now on a frame begins. A
// down icon shown now whose up is noted already brings its up one frame later.
static void ShowNotedNow(HWND timerWindow)
{
    if (StatusBar.TimerSet) KillTimer(timerWindow, StatusTimerId);
    StatusBar.TimerSet = 0;
    StatusBar.ShownAt = ReadTickCount();
    if (ShowNotedInput()) ShowAtFrameEnd(timerWindow, StatusFrameMs);
}

// The status bar repaints a part at every text or icon it is given (under Wine within the call,
// about a millisecond), and a fast mouse sends up to 1,000 moves a second: the handlers count at
// once, but what they show is shown at most once per display frame, at once when the last
// showing is a frame old, else by the status timer when the frame ends. A flood of input that
// keeps the timer waiting (it comes only when the queue is empty) is shown by the handlers
// themselves once a frame has passed. With the window closed nothing is shown.
void ShowNotedSoon(HWND timerWindow)
{
    if (!GraphWindowOpen()) return;
    DWORD since = ReadTickCount() - StatusBar.ShownAt;
    if (since >= StatusFrameMs) {
        ShowNotedNow(timerWindow);
    } else if (!StatusBar.TimerSet) {
        ShowAtFrameEnd(timerWindow, StatusFrameMs - since);
    }
}

LRESULT OnStatusTimer(HWND timerWindow)
{
    ShowNotedNow(timerWindow);
    return 0;
}
