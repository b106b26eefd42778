// The keyboard window: the range's counts drawn between the choices at its top and the buttons at
// its bottom, taken anew at every choice of range.
#include "ui/keyboardwindow.h"

#include <stdio.h>
#include <string.h>

#include "base/dates.h"
#include "base/report.h"
#include "graph/keyboard.h"
#include "res/resource.h"
#include "store/days.h"
#include "store/keyranges.h"
#include "store/ranges.h"
#include "ui/clipboard.h"
#include "ui/savecommands.h"
#include "ui/listwindow.h"
#include "ui/uiresources.h"

KeyboardView KeyboardShown;

static const char FormatKeysPictureName[] = "KEYS%04d%02d%02d.jpg";
// Room between the picture and the controls above and below it, in pixels.
enum { PictureMargin = 8, KeyLineSize = 96 };

// The picture's place: below the choices, above the buttons, the window's width less the margins.
static RECT PictureArea(HWND window)
{
    RECT client, top, bottom;
    GetClientRect(window, &client);
    GetWindowRect(GetDlgItem(window, IDC_KEYBOARD_LAYOUT), &top);
    GetWindowRect(GetDlgItem(window, IDCANCEL), &bottom);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&top), 2);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&bottom), 2);
    RECT area = {PictureMargin, top.bottom + PictureMargin, client.right - PictureMargin, bottom.top - PictureMargin};
    return area;
}

static int RenderKeyboard(HDC dc, int width, int height, const void* context)
{
    (void)context;
    DrawKeyboardPicture(dc, width, height, ShownKeyCounts(), KeyboardShown.Layout);
    return 0;
}

SIZE_T ComposeKeysText(const void* context, wchar_t* text)
{
    (void)context;
    const long long* counts = ShownKeyCounts();
    int order[KeyIndexCount], pressed = 0;
    for (int k = 0; k < KeyIndexCount; ++k) {
        if (counts[k] <= 0) continue;
        int at = pressed++;
        for (; at > 0 && counts[order[at - 1]] < counts[k]; --at) order[at] = order[at - 1];
        order[at] = k;
    }
    SIZE_T length = 0;
    for (int i = 0; i < pressed; ++i) {
        wchar_t name[KeyLineSize], line[KeyLineSize + 32];
        KeyDisplayName(order[i], name, KeyLineSize);
        // wsprintfW takes no 64-bit numbers: the digits are written here.
        wchar_t digits[24];
        int d = 0;
        for (long long n = counts[order[i]]; n > 0 || d == 0; n /= 10) digits[d++] = static_cast<wchar_t>(L'0' + n % 10);
        int characters = wsprintfW(line, L"%ls\t", name);
        while (d > 0) line[characters++] = digits[--d];
        line[characters++] = L'\r', line[characters++] = L'\n';
        if (text) memcpy(text + length, line, characters * sizeof(wchar_t));
        length += characters;
    }
    if (text) text[length] = L'\0';
    return length + 1;
}

static void ShowKeyRange(HWND window, int range)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    KeyboardShown.Range = range;
    CollectKeys(range, ChosenPc(window, IDC_KEYBOARD_PC));
    SetCursor(previous);
    RECT area = PictureArea(window);
    InvalidateRect(window, &area, TRUE);
}

static INT_PTR StartKeyboardWindow(HWND window, LPARAM param)
{
    EndSharpDialogStart(param);
    SetWindowTextW(window, UiText(TextKeyboardCaption));
    SetDlgItemTextW(window, IDC_KEYBOARD_COPY, UiText(TextTotalsCopy));
    SetDlgItemTextW(window, IDC_KEYBOARD_SAVE, UiText(TextMenuSavePicture));
    SetDlgItemTextW(window, IDCANCEL, UiText(TextTotalsClose));
    HWND ranges = GetDlgItem(window, IDC_KEYBOARD_RANGE);
    for (int r = 0; r < RangeCount; ++r) SendMessageW(ranges, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(RangeName(r)));
    SendMessageW(ranges, CB_SETCURSEL, RangeToday, 0);
    HWND layouts = GetDlgItem(window, IDC_KEYBOARD_LAYOUT);
    SendMessageW(layouts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText(TextLayout104)));
    SendMessageW(layouts, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(UiText(TextLayout109)));
    KeyboardShown.Layout = UserKeyboardLayout();
    SendMessageW(layouts, CB_SETCURSEL, KeyboardShown.Layout, 0);
    FillPcChoice(GetDlgItem(window, IDC_KEYBOARD_PC));
    ShowKeyRange(window, RangeToday);
    return 1;
}

static INT_PTR PaintKeyboardWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT area = PictureArea(window);
    POINT oldOrigin;
    SetViewportOrgEx(dc, area.left, area.top, &oldOrigin);
    DrawKeyboardPicture(dc, area.right - area.left, area.bottom - area.top, ShownKeyCounts(), KeyboardShown.Layout);
    SetViewportOrgEx(dc, oldOrigin.x, oldOrigin.y, nullptr);
    EndPaint(window, &paint);
    return 1;
}

static INT_PTR SaveKeyboardPicture(HWND window)
{
    DateParts today = SplitDate(TodayDate());
    char name[32];
    snprintf(name, sizeof name, FormatKeysPictureName, today.Year, today.Month, today.Day);
    RECT area = PictureArea(window);
    SaveWindowPicture(window, name, area.right - area.left, area.bottom - area.top, RenderKeyboard, nullptr);
    return 1;
}

static INT_PTR CopyKeys(HWND window)
{
    if (!CopyTextToClipboard(window, ComposeKeysText, nullptr)) ReportFailure(window, TextCopyFailed, TextErrorCaption);
    return 1;
}

static INT_PTR OnRangeChosen(HWND window, int notification)
{
    if (notification != CBN_SELCHANGE) return 0;
    ShowKeyRange(window, static_cast<int>(SendDlgItemMessageW(window, IDC_KEYBOARD_RANGE, CB_GETCURSEL, 0, 0)));
    return 1;
}

static INT_PTR OnLayoutChosen(HWND window, int notification)
{
    if (notification != CBN_SELCHANGE) return 0;
    KeyboardShown.Layout = static_cast<int>(SendDlgItemMessageW(window, IDC_KEYBOARD_LAYOUT, CB_GETCURSEL, 0, 0));
    RECT area = PictureArea(window);
    InvalidateRect(window, &area, TRUE);
    return 1;
}

static INT_PTR CloseKeyboardWindow(HWND window)
{
    EndDialog(window, IDCANCEL);
    return 1;
}

static INT_PTR OnKeyboardCommand(HWND window, int command, int notification)
{
    switch (command) {
    case IDCANCEL:            return CloseKeyboardWindow(window);
    case IDC_KEYBOARD_COPY:   return CopyKeys(window);
    case IDC_KEYBOARD_SAVE:   return SaveKeyboardPicture(window);
    case IDC_KEYBOARD_RANGE:
    case IDC_KEYBOARD_PC:     return OnRangeChosen(window, notification);
    case IDC_KEYBOARD_LAYOUT: return OnLayoutChosen(window, notification);
    }
    return 0;
}

static INT_PTR CALLBACK KeyboardWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return StartKeyboardWindow(window, lParam);
    case WM_PAINT:      return PaintKeyboardWindow(window);
    case WM_COMMAND:    return OnKeyboardCommand(window, LOWORD(wParam), HIWORD(wParam));
    }
    return 0;
}

void OpenKeyboardWindow(HWND graphWindow) { ShowSharpUiDialog(IDD_KEYBOARD, graphWindow, KeyboardWindowProc); }
