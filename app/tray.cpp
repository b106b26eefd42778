// The tray icon, its popup menu and the commands that open and put away the graph window.
#include <windows.h>
#include <shellapi.h>
#include <string.h>

#include "app/clock.h"
#include "res/messages.h"
#include "res/texts.h"
#include "app/tray.h"
#include "resource.h"
#include "store/state.h"
#include "ui/graphwindow.h"

// The icon record in its first form: the fields every shell version understands.
static void FillTrayRecord(NOTIFYICONDATAA* record, HWND monitor, HICON icon, const char* tip)
{
    memset(record, 0, sizeof *record);
    record->cbSize = NOTIFYICONDATAA_V1_SIZE;
    record->hWnd = monitor;
    record->uID = TrayIconId;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = WM_TRAY_NOTIFY;
    record->hIcon = icon;
    // The first form of the record holds 64 characters of tip.
    lstrcpynA(record->szTip, tip, 64);
}

// At a busy logon NIM_ADD can time out although the shell did add the icon, and every later
// add of the same icon then fails: a modify that works shows that the icon is there.
int AddTrayIcon(HWND monitor)
{
    NOTIFYICONDATAA record;
    FillTrayRecord(&record, monitor, LoadIconA(App.Instance, MAKEINTRESOURCEA(IDI_APP)), TextTrayTip);
    if (Shell_NotifyIconA(NIM_ADD, &record)) return 1;
    return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

void WaitForTrayIcon(HWND monitor)
{
    // Nothing else of the start-up happens before the icon is there; the attempts have no limit.
    do WaitForShell(TrayWaitMs);
    while (!AddTrayIcon(monitor));
}

void RemoveTrayIcon(HWND monitor)
{
    NOTIFYICONDATAA record;
    FillTrayRecord(&record, monitor, nullptr, "");
    Shell_NotifyIconA(NIM_DELETE, &record);
}

int ShowTrayMenu(HWND monitor)
{
    SetForegroundWindow(monitor);
    POINT point;
    GetCursorPos(&point);
    HMENU menu = LoadMenuA(App.Instance, MAKEINTRESOURCEA(IDM_TRAY));
    HMENU popup = GetSubMenu(menu, 0);
    UINT greyed = App.GraphWindowOpen ? IDC_OPEN_GRAPH : IDC_PUT_AWAY_GRAPH;
    EnableMenuItem(popup, greyed, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    // The chosen command arrives later as WM_COMMAND; the tracking loop dispatches our messages.
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, monitor, nullptr);
    DestroyMenu(menu);
    // Without this the menu would not close when the user clicks elsewhere.
    PostMessageA(monitor, WM_NULL, 0, 0);
    return 1;
}

int OpenGraphWindow(HWND monitor)
{
    if (!App.GraphWindowOpen)
        DialogBoxParamA(App.Instance, MAKEINTRESOURCEA(IDD_GRAPH), monitor, GraphWindowProc, 0);
    return 1;
}

int PutAwayGraphWindow(HWND monitor)
{
    (void)monitor;
    if (App.GraphWindowOpen) {
        EndDialog(App.GraphWindowHandle, 0);
        App.GraphWindowOpen = 0;
    }
    return 1;
}
