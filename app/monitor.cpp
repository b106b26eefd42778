// The hidden monitor window: start-up, input and clock messages, the tray callback and the exit.
#include "app/monitor.h"

#include <wtsapi32.h>

#include "app/appwatch.h"
#include "app/autostart.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/instance.h"
#include "app/keywatch.h"
#include "app/screenmap.h"
#include "app/slotclock.h"
#include "app/tray.h"
#include "base/clock.h"
#include "base/report.h"
#include "res/messages.h"
#include "res/resource.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "store/pcidentity.h"
#include "store/publish.h"
#include "store/reset.h"
#include "store/startup.h"
#include "ui/graphwindow.h"
#include "ui/statusbar.h"

MonitorState Monitor;

const wchar_t MonitorClassName[] = L"window";
const wchar_t MonitorTitle[] = L"タイトル";

// The recorder starts after the data is loaded: the current slot, the slot clock, the hooks.
static void StartRecording(HWND monitor)
{
    // A restart within a slot goes on from what the earlier run wrote for it.
    BeginSlot(CurrentSlot());
    SlotClock.Recording = 1;
    SetTimer(monitor, SlotTimerId, SlotTimerPeriod, nullptr);
    StartAppWatch();
    StartKeyWatch();
    StartHooks(monitor);
}

// The folder's identity among the PCs of a share, and publishing into the share when one is set:
// every day not there or different first.
static void StartSharing(void)
{
    WCHAR computer[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
    if (!GetComputerNameW(computer, &size)) computer[0] = L'\0';
    LoadPcIdentity(computer);
    if (!ShareFolder()[0]) return;
    SetPublishTarget(ShareFolder());
    StartPublisher();
}

// Nothing here waits, for the shell, a held file or a box: the icon comes when the shell takes
// it; a day that could not be read is tried again by the clock's first ticks and reported only if
// it stays unread; today's file that could not be made is reported once the message loop runs.
// Recording goes on meanwhile (the day is read, the file made, later).
int StartRecorder(HWND monitor)
{
    Monitor.Window = monitor;
    SetReportWindow(monitor);
    StartTrayIcon(monitor);
    SYSTEMTIME now;
    ReadLocalTime(&now);
    int result = Startup(&now);
    StartSharing();
    SlotClock.StartReadsPending = result != 1 && ReadUnreadDays() > 0;
    SlotClock.StartReadsUntil = ReadTickCount() + StartReadWaitMs;
    // The icon tells before any box does.
    ShowRecordingState(monitor);
    int mode = SetReportMode(ReportLater);
    if (result == -1) ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    StartRecording(monitor);
    SetReportMode(mode);
    return result;
}

// Marked as the copy of its folder first: a second start during the start-up finds it.
static LRESULT OnMonitorCreate(HWND monitor)
{
    MarkFolderOwner(monitor);
    StartRecorder(monitor);
    return 0;
}

static LRESULT OnMonitorDestroy(HWND monitor)
{
    UnmarkFolderOwner(monitor);
    PostQuitMessage(0);
    return 0;
}

// Saves the slot being recorded, with what was counted since the last tick, into its own day's
// file (the day tables move on before any box of a change of day is shown).
static void SaveCurrentSlot(HWND monitor)
{
    if (!SlotClock.Recording) return;
    CommitCounters();
    SaveSlot(monitor, CurrentSlot());
    SaveAppsNow(monitor);
    SaveKeysNow(monitor);
}

// The last steps of every ending, once the clock is stopped and the slot saved: today's files go to
// the share too, for as long as a share that answers takes.
static void FinishAndDestroy(HWND monitor)
{
    RequestPublish(PublishDates, TodayDate(), 0);
    StopPublisher(PublishExitWaitMs);
    SlotClock.Recording = 0;
    StopAppWatch();
    ReleaseHooks(monitor);
    RemoveTrayIcon(monitor);
    DestroyWindow(monitor);
}

// The exit's save, without a box: nonzero when everything counted has reached its file.
static int SaveForExit(void)
{
    if (!SlotClock.Recording) return 1;
    CommitCounters();
    int slotWritten = WriteSlot(CurrentSlot()) == SlotWritten;
    int appsSaved = SaveAppsForExit();
    return SaveKeysForExit() && appsSaved && slotWritten;
}

static LRESULT OnConfirmedExit(HWND monitor)
{
    if (Monitor.ExitAsked) return 0;
    Monitor.ExitAsked = 1;
    // The questions' modal loops go on counting and ticking.
    int answer = MessageBoxW(monitor, UiText(TextExitQuestion), UiText(TextExitCaption), MB_YESNO | MB_ICONQUESTION);
    // Counts that cannot reach their files would go with the program: the user decides, and No
    // keeps them recording. A file that can be written by then still takes them.
    if (answer == IDYES && !SaveForExit()) {
        answer = MessageBoxW(monitor, UiText(TextExitUnsaved), UiText(TextExitCaption),
                             MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2);
        if (answer == IDYES) SaveForExit();
    }
    Monitor.ExitAsked = 0;
    if (answer != IDYES) return 0;
    if (!KillTimer(monitor, SlotTimerId))
        ReportFailure(monitor, TextKillTimerError, TextKillTimerCaption, MB_OK | MB_ICONEXCLAMATION);
    FinishAndDestroy(monitor);
    return 0;
}

// The session really ends: no question, but nothing counted is lost. Nobody is there to
// answer a box, and one would hold the logoff up, so failures are not shown; the write is
// tried as usual. A logoff or shutdown that was called off (wParam FALSE) leaves the program
// running.
static LRESULT OnEndSession(HWND monitor, BOOL ending)
{
    if (!ending) return 0;
    SetReportMode(ReportNever);
    KillTimer(monitor, SlotTimerId);
    SaveCurrentSlot(monitor);
    FinishAndDestroy(monitor);
    return 0;
}

// The graph window's data reset: the store and its files, the counters of the running slot
// (unless today's file stayed, and today with it), and the graph window drawn anew; a failure is
// reported in a box the graph window owns.
static LRESULT OnResetData(void)
{
    SYSTEMTIME now;
    ReadLocalTime(&now);
    int daysKept = 0;
    int result = ResetData(&now, &daysKept);
    // Today's column cleared (the running slot holds no data now): its counts start again too, and
    // so do its applications' records, whose file went with the day's.
    if (DayValue(MetricClicks, CurrentSlot(), 0) == NoData) {
        ClearIntervalCounters();
        ResetApps();
    }
    // The published copies of the days reset go from the share as well.
    RequestPublish(PublishAllDays, 0, 0);
    RepaintGraphWindow();
    if (daysKept) ReportFailure(GraphWindowHandle(), TextResetIncomplete, TextErrorCaption);
    if (result != 0) ReportFailure(GraphWindowHandle(), TextCreateFailed, TextErrorCaption);
    return 0;
}

static void OnStartWithWindows(HWND monitor)
{
    if (!ToggleStartWithWindows(Monitor.ExePath)) ReportFailure(monitor, TextAutostartFailed, TextErrorCaption);
}

static void OnRecordApps(HWND monitor)
{
    if (!ToggleAppRecording(monitor)) ReportFailure(monitor, TextAppsSettingFailed, TextErrorCaption);
}

static void OnRecordKeys(HWND monitor)
{
    if (!ToggleKeyRecording(monitor)) ReportFailure(monitor, TextKeysSettingFailed, TextErrorCaption);
}

static LRESULT OnMonitorCommand(HWND monitor, UINT command)
{
    switch (command) {
    case IDC_EXIT:           SendMessageW(monitor, WM_CLOSE, 0, 0); break;
    case IDC_OPEN_GRAPH:     OpenGraphWindow(monitor); break;
    case IDC_PUT_AWAY_GRAPH: PutAwayGraphWindow(); break;
    case IDC_START_WITH_WINDOWS: OnStartWithWindows(monitor); break;
    case IDC_RECORD_APPS:    OnRecordApps(monitor); break;
    case IDC_RECORD_KEYS:    OnRecordKeys(monitor); break;
    default: break;
    }
    return 0;
}

static LRESULT OnTrayNotify(HWND monitor, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN) ShowTrayMenu(monitor);
    return 0;
}

static LRESULT OnMonitorTimer(HWND monitor, UINT_PTR timer)
{
    if (timer == SlotTimerId) OnSlotTimer(monitor);
    else if (timer == TrayRetryTimerId) RetryTrayIcon(monitor);
    else if (timer == StatusTimerId) OnStatusTimer(monitor);
    return 0;
}

// Before the machine sleeps the running slot goes to its file, so a battery that runs out while
// asleep loses nothing; nobody waits on a box then. After the resume the hooks are installed
// afresh: the system may have dropped them while it slept.
static LRESULT OnPowerChange(HWND monitor, WPARAM event)
{
    if (event == PBT_APMSUSPEND) {
        int mode = SetReportMode(ReportLater);
        SaveCurrentSlot(monitor);
        SetReportMode(mode);
        RequestPublish(PublishDates, TodayDate(), 0);
    } else if (event == PBT_APMRESUMEAUTOMATIC || event == PBT_APMRESUMESUSPEND) {
        RearmHooks();
    }
    return TRUE;
}

// While the session is locked the input goes to another desktop; after the unlock the hooks are
// installed afresh.
static LRESULT OnSessionChange(WPARAM event)
{
    if (event == WTS_SESSION_LOCK) {
        HookWatch.SessionLocked = 1;
    } else if (event == WTS_SESSION_UNLOCK) {
        HookWatch.SessionLocked = 0;
        RearmHooks();
    }
    return 0;
}

// A change of layout, resolution or scale moves the monitors in one coordinate space or the
// other: the hook points are mapped through a fresh look-up from now on.
static LRESULT OnDisplayChange(void)
{
    ForgetScreenMap();
    return 0;
}

ATOM RegisterMonitorClass(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MonitorWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = MonitorClassName;
    return RegisterClassW(&wc);
}

HWND CreateMonitorWindow(HINSTANCE instance)
{
    // Its default position matters although it stays hidden: the graph window opens at the
    // top-left corner of this window's client area.
    return CreateWindowExW(0, MonitorClassName, MonitorTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}

LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:      return OnMonitorCreate(window);
    case WM_CLOSE:       return OnConfirmedExit(window);
    case WM_DESTROY:     return OnMonitorDestroy(window);
    case WM_ENDSESSION:  return OnEndSession(window, static_cast<BOOL>(wParam));
    case WM_COMMAND:     return OnMonitorCommand(window, LOWORD(wParam));
    case WM_TIMER:
        if (wParam != SlotTimerId && wParam != TrayRetryTimerId && wParam != StatusTimerId) break;
        return OnMonitorTimer(window, wParam);
    case WM_HOOK_MOUSE:  return OnHookMouse(static_cast<UINT>(wParam), lParam);
    case WM_HOOK_KEY:    return OnHookKey(static_cast<UINT>(wParam), lParam);
    case WM_TRAY_NOTIFY: return OnTrayNotify(window, lParam);
    case WM_SHOW_REPORTS: return ShowQueuedReports();
    case WM_RESET_DATA:  return OnResetData();
    case WM_POWERBROADCAST: return OnPowerChange(window, wParam);
    case WM_WTSSESSION_CHANGE: return OnSessionChange(wParam);
    case WM_DISPLAYCHANGE:
    case WM_SETTINGCHANGE: return OnDisplayChange();
    default:
        if (message != 0 && message == Tray.TaskbarCreatedMessage) return OnTaskbarCreated(window);
        if (message != 0 && message == FolderClaim.HandoverMessage) return OnHandover(window, wParam, lParam);
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}
