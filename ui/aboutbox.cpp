// The about box: product, description, copyright and rights, placed beside its owner.
#include "ui/aboutbox.h"
#include "res/texts.h"
#include "res/resource.h"
#include "store/state.h"

enum { AboutBoxOffset = 30 };

// Each text goes through the formatter into the fixed display buffer; none holds a conversion.
static void SetAboutText(HWND dialog, int control, const char* text)
{
    wsprintfA(App.AboutText, text);
    SetDlgItemTextA(dialog, control, App.AboutText);
}

// The dialog manager has put the box at its owner's top-left corner; it moves to just beyond
// its own lower-right corner, keeping its size.
static INT_PTR InitAboutBox(HWND dialog)
{
    RECT box;
    GetWindowRect(dialog, &box);
    SetWindowPos(dialog, nullptr, box.right - AboutBoxOffset, box.bottom + AboutBoxOffset, 0, 0,
                 SWP_NOSIZE | SWP_SHOWWINDOW);
    SetAboutText(dialog, IDC_ABOUT_NAME, TextAboutName);
    SetAboutText(dialog, IDC_ABOUT_PRODUCT, TextProduct);
    SetAboutText(dialog, IDC_ABOUT_COPYRIGHT, TextAboutCopyright);
    SetAboutText(dialog, IDC_ABOUT_RIGHTS, TextAboutRights);
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
