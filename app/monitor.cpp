// The hidden monitor window: start-up, input and clock messages, the tray callback and the exit.
#include "app/monitor.h"

#include "app/input.h"
#include "app/messages.h"
#include "app/report.h"
#include "app/slotclock.h"
#include "app/texts.h"
#include "app/tray.h"
#include "hook/hookapi.h"
#include "resource.h"
#include "store/state.h"
#include "store/store.h"

static LRESULT OnMonitorCreate(HWND monitor)
{
    App.MonitorWindow = monitor;
    // The window is created whatever the start-up returned; a failed one records nothing.
    Startup(monitor);
    return 0;
}

static void ReleaseHooks(void)
{
    if (MouseHookRunning()) EndMouseHook();
    if (KeyHookRunning()) EndKeyHook();
}

// Saves the slot being recorded, with what was counted since the last tick.
static void SaveCurrentSlot(HWND monitor)
{
    if (!App.Recording) return;
    CommitCounters();
    WriteSlot(monitor, App.CurrentSlot);
}

// The last steps of every ending, once the clock is stopped.
static void FinishAndDestroy(HWND monitor)
{
    SaveCurrentSlot(monitor);
    App.Recording = 0;
    ReleaseHooks();
    RemoveTrayIcon(monitor);
    DestroyWindow(monitor);
}

static LRESULT OnConfirmedExit(HWND monitor)
{
    if (App.ExitAsked) return 0;
    App.ExitAsked = 1;
    // The question's modal loop goes on counting and ticking.
    int answer = MessageBoxA(monitor, TextExitQuestion, TextExitCaption, MB_YESNO | MB_ICONQUESTION);
    App.ExitAsked = 0;
    if (answer != IDYES) return 0;
    if (!KillTimer(monitor, SlotTimerId))
        ReportFailure(monitor, TextKillTimerError, TextKillTimerCaption, MB_OK | MB_ICONEXCLAMATION);
    FinishAndDestroy(monitor);
    return 0;
}

// The session really ends: no question, but nothing counted is lost. A logoff or shutdown
// that was called off (wParam FALSE) leaves the program running.
static LRESULT OnEndSession(HWND monitor, BOOL ending)
{
    if (!ending) return 0;
    KillTimer(monitor, SlotTimerId);
    FinishAndDestroy(monitor);
    return 0;
}

static LRESULT OnMonitorCommand(HWND monitor, UINT command)
{
    switch (command) {
    case IDC_EXIT:           SendMessageA(monitor, WM_CLOSE, 0, 0); break;
    case IDC_OPEN_GRAPH:     OpenGraphWindow(monitor); break;
    case IDC_PUT_AWAY_GRAPH: PutAwayGraphWindow(monitor); break;
    default: break;
    }
    return 0;
}

static LRESULT OnTrayNotify(HWND monitor, LPARAM mouseMessage)
{
    if (mouseMessage == WM_LBUTTONDOWN || mouseMessage == WM_RBUTTONDOWN) ShowTrayMenu(monitor);
    return 0;
}

// The shell's taskbar was created again (the shell restarted): the icon must be added anew.
static LRESULT OnTaskbarCreated(HWND monitor)
{
    AddTrayIcon(monitor);
    return 0;
}

LRESULT CALLBACK MonitorWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:      return OnMonitorCreate(window);
    case WM_CLOSE:       return OnConfirmedExit(window);
    case WM_DESTROY:     PostQuitMessage(0); return 0;
    case WM_ENDSESSION:  return OnEndSession(window, static_cast<BOOL>(wParam));
    case WM_COMMAND:     return OnMonitorCommand(window, LOWORD(wParam));
    case WM_TIMER:
        if (wParam != SlotTimerId) break;
        OnSlotTimer(window);
        return 0;
    case WM_HOOK_MOUSE:  return OnHookMouse(static_cast<UINT>(wParam));
    case WM_HOOK_KEY:    return OnHookKey(static_cast<UINT>(wParam), lParam);
    case WM_TRAY_NOTIFY: return OnTrayNotify(window, lParam);
    default:
        if (message != 0 && message == App.TaskbarCreatedMessage) return OnTaskbarCreated(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

ATOM RegisterMonitorClass(HINSTANCE instance)
{
    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = MonitorWindowProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = TextWindowClass;
    return RegisterClassA(&wc);
}

HWND CreateMonitorWindow(HINSTANCE instance)
{
    // Its default position matters although it stays hidden: the graph window opens at the
    // top-left corner of this window's client area.
    return CreateWindowExA(0, TextWindowClass, TextWindowTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
}
