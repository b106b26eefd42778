// The graph window's ten-part status bar: its creation, the count texts and the guarded writes.
#include "ui/statusbar.h"
#include <commctrl.h>
#include <initializer_list>
#include "res/texts.h"
#include "res/resource.h"
#include "store/state.h"

enum { StatusPartCount = 10 };
// A child window with the control's low style bit set (a bit no header names); not visible
// until it is laid out.
enum : DWORD { StatusBarLowBit = 0x10, StatusBarStyle = WS_CHILD | StatusBarLowBit };
static_assert(StatusBarStyle == 0x40000010, "the status bar's style");

// The width of each part in pixels, at least; the last one ends at 554, short of the window's edge.
static const int StatusPartWidths[StatusPartCount] = {70, 55, 45, 45, 20, 20, 20, 30, 135, 114};
// Pixels a part needs beyond its text's width: its sunken edges, the gap to the next part and
// the control's inset of the text.
enum { StatusTextMargin = 8 };
// Sample values that make the longest text of a part: the widest digits, and the count's hex
// digits both as figures and as letters.
enum : unsigned { SampleNumber = 8888, SampleTwoDigits = 88, SampleHexFigures = 0x88888888u, SampleHexLetters = 0xDDDDDDDDu };
static const char SampleDate[] = "8888/88/88";

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
    InitCommonControls();
    // A new bar shows nothing yet: the first write of every part goes through. Input noted for
    // an earlier bar is not shown on this one.
    App.ShownPointerX[0] = App.ShownPointerY[0] = 0;
    App.StatusNoted = App.DownUnshown = 0;
    HINSTANCE instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE));
    // Position and size 0: the control aligns itself along the bottom of its parent.
    HWND bar = CreateWindowExW(0, STATUSCLASSNAMEW, nullptr, StatusBarStyle, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_STATUS_BAR)),
                               instance, nullptr);
    MeasureStatusParts(bar, App.StatusPartEdges);
    SendMessageW(bar, SB_SETPARTS, StatusPartCount, reinterpret_cast<LPARAM>(App.StatusPartEdges));
    ShowWindow(bar, SW_SHOW);
    return bar;
}

// The counters are added as unsigned 32-bit numbers: a wrapped sum prints as its low 32 bits.
static void ShowCount(UiTextId format, unsigned value)
{
    wsprintfW(App.CountText, UiText(format), value);
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
static wchar_t* ShownText(int part)
{
    switch (part) {
    case PartPointerX: return App.ShownPointerX;
    case PartPointerY: return App.ShownPointerY;
    }
    return nullptr;
}

void SetStatusText(int part, const wchar_t* text)
{
    if (!StatusBarUsable()) return;
    // Every reported move writes both coordinates; most moves change only one of them.
    wchar_t* shown = ShownText(part);
    if (shown && lstrcmpW(shown, text) == 0) return;
    if (shown) lstrcpynW(shown, text, ARRAYSIZE(App.ShownPointerX));
    SendMessageW(App.StatusBarHandle, SB_SETTEXTW, static_cast<WPARAM>(part),
                 reinterpret_cast<LPARAM>(text));
}

void SetStatusIcon(int part, HICON icon)
{
    if (StatusBarUsable())
        SendMessageW(App.StatusBarHandle, SB_SETICON, static_cast<WPARAM>(part),
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
    wchar_t text[32];
    wsprintfW(text, UiText(FormatPointerX), static_cast<long>(App.PointerPos.x));
    SetStatusText(PartPointerX, text);
    wsprintfW(text, UiText(FormatPointerY), static_cast<long>(App.PointerPos.y));
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

void ShowClock(const wchar_t* date, const wchar_t* time)
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
