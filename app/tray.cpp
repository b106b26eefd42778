// The tray icon, its popup menu and the commands that open and put away the graph window.
#include "app/tray.h"

#include <shellapi.h>
#include <string.h>

#include "app/autostart.h"
#include "app/hookwatch.h"
#include "app/monitor.h"
#include "base/clock.h"
#include "base/uitext.h"
#include "res/messages.h"
#include "res/resource.h"
#include "store/apprecords.h"
#include "store/dayfile.h"
#include "store/keyrecords.h"
#include "store/days.h"
#include "ui/graphwindow.h"
#include "ui/uiresources.h"

TrayIconState Tray;

// The icon is asked for again this often while the shell refuses it; after the taskbar came back
// this many times, at start until the shell takes it.
enum : DWORD { TrayWaitMs = 1500, StateRetryFirstMs = 400, StateRetryMaxMs = 8000 };
enum { TrayRetries = 5, TrayRetriesUnlimited = -1 };

// The shell's notification area, which the tray calls are sent to, and its message of a new
// taskbar.
static const char ShellTrayClass[] = "Shell_TrayWnd";
static const char TaskbarCreatedName[] = "TaskbarCreated";
// Asked for by name: the entry is missing before Windows 10 1607.
static const char User32Name[] = "user32.dll";
static const char SetThreadAwarenessName[] = "SetThreadDpiAwarenessContext";

// The icon record in its first form, the fields every shell version understands, unless the tip
// needs the longer field of the second.
static void FillTrayRecord(NOTIFYICONDATAW* record, HWND monitor, HICON icon, const wchar_t* tip)
{
    enum { FirstFormTip = 64 };
    memset(record, 0, sizeof *record);
    int longTip = lstrlenW(tip) >= FirstFormTip;
    record->cbSize = longTip ? NOTIFYICONDATAW_V2_SIZE : NOTIFYICONDATAW_V1_SIZE;
    record->hWnd = monitor;
    record->uID = TrayIconId;
    record->uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    record->uCallbackMessage = WM_TRAY_NOTIFY;
    record->hIcon = icon;
    lstrcpynW(record->szTip, tip, longTip ? static_cast<int>(ARRAYSIZE(record->szTip)) : FirstFormTip);
}

// Today's file that could not be made or read leaves the counts in memory only; hooks that no
// repair brings back stop the counting; slots that wait for their file may still reach it.
int RecordingState(void)
{
    if (TodayFileUnmade() || TodayFileUnread()) return TrayNoData;
    if (HookWatch.Down) return TrayNoInput;
    if (SlotsWaitingToBeWritten()) return TrayUnsaved;
    return TrayRecording;
}

const wchar_t* TrayTipOf(int state)
{
    switch (state) {
    case TrayNoData:  return UiText(TextTrayTipNoData);
    case TrayNoInput: return UiText(TextTrayTipNoInput);
    case TrayUnsaved: return UiText(TextTrayTipUnsaved);
    default:          return UiText(TextTrayTip);
    }
}

// The program is DPI-unaware, so it is told the small-icon size of 100 %, while the shell draws
// the tray at the display's scale: the size is asked for with the thread system-aware for a moment
// (Windows 10 1607 and later; earlier systems give the plain size).
static int TrayIconSize(void)
{
    typedef HANDLE(WINAPI * SetAwareness)(HANDLE);
    const HANDLE SystemAware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-2));
    // Through void* so that the compiler accepts the change of function type.
    SetAwareness set = reinterpret_cast<SetAwareness>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA(User32Name), SetThreadAwarenessName)));
    HANDLE previous = set ? set(SystemAware) : nullptr;
    int size = GetSystemMetrics(SM_CXSMICON);
    if (previous) set(previous);
    return size;
}

// The icon's own image of the tray's size, so the tray shows it sharp at every scale. Not shared:
// a shared load hands back the first size loaded of the resource, and the graph window's large
// icon would be this small one stretched. The shell keeps a copy; the caller destroys it.
static HICON TrayIconOf(int state)
{
    int id = state == TrayRecording ? IDI_APP : IDI_NOT_RECORDING;
    int size = TrayIconSize();
    return static_cast<HICON>(LoadImageA(GetModuleHandleW(nullptr), MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
}

static void FillTrayRecordOf(NOTIFYICONDATAW* record, HWND monitor, int state)
{
    FillTrayRecord(record, monitor, TrayIconOf(state), TrayTipOf(state));
}

// The tray calls send to the shell and wait for it, for seconds when it is busy (a logon) or hung:
// they are made only when its notification area answers at once. Not answering is refusing.
static int ShellAnswers(void)
{
    enum : UINT { ShellAnswerMs = 100 };
    HWND tray = FindWindowA(ShellTrayClass, nullptr);
    DWORD_PTR result = 0;
    return tray && SendMessageTimeoutA(tray, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, ShellAnswerMs, &result);
}

// The state is taken as shown only once the shell took it: a change refused (a busy logon, a
// shell that is restarting, no notification area at all) is asked for again, each time twice as
// late up to a few seconds, so a shell that never answers costs the idle recorder nothing. An icon
// the shell does not have yet gets the state then, or when it is added.
void ShowRecordingState(HWND monitor)
{
    int state = RecordingState();
    if (state == Tray.State) return;
    DWORD now = ReadTickCount();
    if (state == Tray.StateAsked && now - Tray.StateAskedAt < Tray.StateRetryMs) return;
    Tray.StateRetryMs = state != Tray.StateAsked ? StateRetryFirstMs
                        : Tray.StateRetryMs * 2 < StateRetryMaxMs ? Tray.StateRetryMs * 2 : StateRetryMaxMs;
    Tray.StateAsked = state, Tray.StateAskedAt = now;
    if (!ShellAnswers()) return;
    NOTIFYICONDATAW record;
    FillTrayRecordOf(&record, monitor, state);
    if (NotifyShell(NIM_MODIFY, &record)) Tray.State = state;
    if (record.hIcon) DestroyIcon(record.hIcon);
}

// At a busy logon NIM_ADD can time out although the shell did add the icon, and every later
// add of the same icon then fails: a modify that works shows that the icon is there.
int AddTrayIcon(HWND monitor)
{
    if (!ShellAnswers()) return 0;
    NOTIFYICONDATAW record;
    FillTrayRecordOf(&record, monitor, Tray.State);
    int added = NotifyShell(NIM_ADD, &record) || NotifyShell(NIM_MODIFY, &record);
    if (record.hIcon) DestroyIcon(record.hIcon);
    return added;
}

void RegisterTaskbarCreated(void) { Tray.TaskbarCreatedMessage = RegisterWindowMessageA(TaskbarCreatedName); }

// A shell that is still starting may refuse the icon, so a few more attempts follow on a timer;
// the thread never waits for the shell.
LRESULT OnTaskbarCreated(HWND monitor)
{
    Tray.RetriesLeft = TrayRetries;
    if (!AddTrayIcon(monitor)) SetTimer(monitor, TrayRetryTimerId, TrayWaitMs, nullptr);
    return 0;
}

void StartTrayIcon(HWND monitor)
{
    if (AddTrayIcon(monitor)) return;
    Tray.RetriesLeft = TrayRetriesUnlimited;
    SetTimer(monitor, TrayRetryTimerId, TrayWaitMs, nullptr);
}

void RetryTrayIcon(HWND monitor)
{
    if (AddTrayIcon(monitor)) {
        KillTimer(monitor, TrayRetryTimerId);
        return;
    }
    if (Tray.RetriesLeft != TrayRetriesUnlimited && --Tray.RetriesLeft <= 0)
        KillTimer(monitor, TrayRetryTimerId);
}

void RemoveTrayIcon(HWND monitor)
{
    NOTIFYICONDATAW record;
    FillTrayRecord(&record, monitor, nullptr, L"");
    NotifyShell(NIM_DELETE, &record);
}

int ShowTrayMenu(HWND monitor)
{
    SetForegroundWindow(monitor);
    POINT point;
    GetCursorPos(&point);
    HMENU menu = LoadUiMenu(IDM_TRAY);
    HMENU popup = GetSubMenu(menu, 0);
    UINT greyed = GraphWindowOpen() ? IDC_OPEN_GRAPH : IDC_PUT_AWAY_GRAPH;
    EnableMenuItem(popup, greyed, MF_BYCOMMAND | MF_DISABLED | MF_GRAYED);
    UINT startup = StartsWithWindows(Monitor.ExePath) ? MF_CHECKED : MF_UNCHECKED;
    CheckMenuItem(popup, IDC_START_WITH_WINDOWS, MF_BYCOMMAND | startup);
    CheckMenuItem(popup, IDC_RECORD_APPS, MF_BYCOMMAND | (AppsRecorded() ? MF_CHECKED : MF_UNCHECKED));
    CheckMenuItem(popup, IDC_RECORD_KEYS, MF_BYCOMMAND | (KeysRecorded() ? MF_CHECKED : MF_UNCHECKED));
    // The chosen command arrives later as WM_COMMAND; the tracking loop dispatches our messages.
    TrackPopupMenu(popup, TPM_RIGHTBUTTON, point.x, point.y, 0, monitor, nullptr);
    DestroyMenu(menu);
    // Without this the menu would not close when the user clicks elsewhere.
    PostMessageA(monitor, WM_NULL, 0, 0);
    return 1;
}
