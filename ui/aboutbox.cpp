// The about box: product, description, copyright and rights, placed beside its owner.
#include "ui/aboutbox.h"

#include "base/uitext.h"
#include "res/resource.h"

enum { AboutBoxOffset = 30 };

struct AboutText {
    int control;
    UiTextId text;
};
static const AboutText AboutTexts[] = {
    {IDC_ABOUT_NAME, TextAboutName},
    {IDC_ABOUT_PRODUCT, TextProduct},
    {IDC_ABOUT_COPYRIGHT, TextAboutCopyright},
    {IDC_ABOUT_RIGHTS, TextAboutRights},
};

// A text control narrower than its text in the box's font would wrap it out of sight: each one
// is widened to its text, and the box to the widest, keeping the left margin on the right.
static void FitAboutTexts(HWND dialog)
{
    HDC dc = GetDC(dialog);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    HGDIOBJ previous = font ? SelectObject(dc, font) : nullptr;
    RECT client;
    GetClientRect(dialog, &client);
    int margin = client.right, need = 0;
    for (const AboutText& t : AboutTexts) {
        HWND control = GetDlgItem(dialog, t.control);
        RECT area;
        GetWindowRect(control, &area);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&area), 2);
        if (area.left < margin) margin = area.left;
        const wchar_t* text = UiText(t.text);
        SIZE size = {};
        GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
        if (size.cx <= area.right - area.left) continue;
        SetWindowPos(control, nullptr, 0, 0, size.cx, area.bottom - area.top, SWP_NOMOVE | SWP_NOZORDER);
        area.right = area.left + size.cx;
        if (area.right > need) need = area.right;
    }
    if (font) SelectObject(dc, previous);
    ReleaseDC(dialog, dc);
    if (need + margin <= client.right) return;
    RECT box;
    GetWindowRect(dialog, &box);
    SetWindowPos(dialog, nullptr, 0, 0, box.right - box.left + need + margin - client.right, box.bottom - box.top,
                 SWP_NOMOVE | SWP_NOZORDER);
}

// The dialog manager has put the box at its owner's top-left corner; it moves to just beyond
// its own lower-right corner, keeping its size.
static INT_PTR InitAboutBox(HWND dialog)
{
    RECT box;
    GetWindowRect(dialog, &box);
    SetWindowPos(dialog, nullptr, box.right - AboutBoxOffset, box.bottom + AboutBoxOffset, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    SetWindowTextW(dialog, UiText(TextAboutCaption));
    for (const AboutText& t : AboutTexts) SetDlgItemTextW(dialog, t.control, UiText(t.text));
    SetDlgItemTextW(dialog, IDCANCEL, UiText(TextOk));
    FitAboutTexts(dialog);
    return 1;  // the focus goes to the first tab stop, the OK button
}

// The OK button, Esc and the close box all send IDCANCEL; everything else, IDOK too, is ignored.
static INT_PTR OnAboutCommand(HWND dialog, int command)
{
    if (command != IDCANCEL) return 0;
    EndDialog(dialog, IDCANCEL);
    return 1;
}

INT_PTR CALLBACK AboutBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    switch (message) {
    case WM_INITDIALOG: return InitAboutBox(dialog);
    case WM_COMMAND: return OnAboutCommand(dialog, LOWORD(wParam));
    }
    return 0;
}
