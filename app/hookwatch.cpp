// Hooks that cannot die silently. The system removes a low-level hook without notice when its
// callback is too slow (heavy paging, a resume from hibernation), and a stalled hook thread
// reports nothing either; from outside the program would look as if it recorded. So once a
// second the tick compares what the hooks reported with what the system saw, and asks the hook
// thread whether it still runs; hooks found dead are installed afresh on a fresh thread.
#include "app/hookwatch.h"

#include <wtsapi32.h>

#include "ui/report.h"
#include "res/texts.h"
#include "hook/hookapi.h"
#include "res/messages.h"
#include "store/state.h"

enum : DWORD {
    HookCheckEveryMs = 1000,  // the check's period: far below the 10 s in which a failure shows
    InputInFlightMs = 1000,   // how long a hook message may take to follow its input
    RepairSpacingMs = 30000,  // at most one repair in this time: no churn
};
// Repairs in a row that brought no report back before the failure is shown, once a run.
enum { SilentRepairsReported = 3 };

// The session's lock and unlock re-arm the hooks. At an early logon the notification service
// may not be up yet, so the registration is tried again by the check until it works.
static void RegisterSessionNotification(HWND monitor)
{
    if (!App.SessionNotified) App.SessionNotified = WTSRegisterSessionNotification(monitor, NOTIFY_FOR_THIS_SESSION);
}

void StartHooks(HWND monitor)
{
    if (!StartMouseHook(monitor, WM_HOOK_MOUSE)) ReportFailure(monitor, TextMouseHookFailed, TextHookCaption);
    if (!StartKeyHook(monitor, WM_HOOK_KEY)) ReportFailure(monitor, TextKeyHookFailed, TextHookCaption);
    App.HooksWatched = 1;
    App.HookMessagesSeen = App.HookMessages;
    App.HookSeenAt = App.HookCheckedAt = GetTickCount();
    RegisterSessionNotification(monitor);
}

// Each query says whether its hook is there to end.
void ReleaseHooks(HWND monitor)
{
    App.HooksWatched = 0;
    if (App.SessionNotified) WTSUnRegisterSessionNotification(monitor);
    App.SessionNotified = 0;
    if (MouseHookRunning()) EndMouseHook();
    if (KeyHookRunning()) EndKeyHook();
}

// Input the system took after the hooks last reported, long enough ago for its message to
// have come: the hooks no longer see the input.
static int InputUnseenByHooks(DWORD now)
{
    LASTINPUTINFO input = {sizeof input, 0};
    if (!GetLastInputInfo(&input)) return 0;
    return static_cast<LONG>(input.dwTime - App.HookSeenAt) > 0 && now - input.dwTime >= InputInFlightMs;
}

enum : long { TokenClosed = -1, LevelUnknown = 0 };

// The process's integrity level plus one; TokenClosed when its token cannot be opened (from a
// normal program: an elevated one), LevelUnknown when the level cannot be read.
static long IntegrityOf(HANDLE process)
{
    // A mandatory label with its SID fits well within this.
    union {
        TOKEN_MANDATORY_LABEL label;
        BYTE bytes[128];
    } info;
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token)) return TokenClosed;
    long level = LevelUnknown;
    DWORD size = 0;
    if (GetTokenInformation(token, TokenIntegrityLevel, &info, sizeof info, &size)) {
        PSID sid = info.label.Label.Sid;
        level = static_cast<long>(*GetSidSubAuthority(sid, *GetSidSubAuthorityCount(sid) - 1)) + 1;
    }
    CloseHandle(token);
    return level;
}

// The input goes where a low-level hook of a normal program does not see it: to a window of a
// process of higher integrity (an elevated program), or to another desktop (a locked session,
// the secure desktop, where no window of ours is foreground).
static int InputHiddenFromHooks(void)
{
    if (App.SessionLocked) return 1;
    HWND foreground = GetForegroundWindow();
    if (!foreground) return 1;
    DWORD processId = 0;
    GetWindowThreadProcessId(foreground, &processId);
    if (processId == GetCurrentProcessId()) return 0;
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return 1;
    long theirs = IntegrityOf(process), ours = IntegrityOf(GetCurrentProcess());
    CloseHandle(process);
    return theirs == TokenClosed || (theirs != LevelUnknown && ours > LevelUnknown && theirs > ours);
}

// Repairs that brought nothing back three times in a row are reported, once a run: the hook
// that is not running, or the mouse hook when both run and still report nothing.
static void ReportDeadHooks(HWND monitor)
{
    if (App.SilentRepairs < SilentRepairsReported || App.HookFailureShown) return;
    App.HookFailureShown = 1;
    int mouseDown = !MouseHookRunning(), keyDown = !KeyHookRunning();
    if (mouseDown || !keyDown) ReportFailure(monitor, TextMouseHookFailed, TextHookCaption);
    if (keyDown) ReportFailure(monitor, TextKeyHookFailed, TextHookCaption);
}

static void RepairHooks(HWND monitor, DWORD now)
{
    if (App.SilentRepairs >= SilentRepairsReported) App.HooksDown = 1;
    ReportDeadHooks(monitor);
    RestartHooks();
    ++App.HookRepairs;
    ++App.SilentRepairs;
    App.HookRepairedAt = now;
    // Input from before the repair is not held against the fresh hooks.
    App.HookSeenAt = now;
}

void CheckHooks(HWND monitor)
{
    DWORD now = GetTickCount();
    if (!App.HooksWatched || now - App.HookCheckedAt < HookCheckEveryMs) return;
    App.HookCheckedAt = now;
    RegisterSessionNotification(monitor);
    if (App.HookMessages != App.HookMessagesSeen) {
        App.HookMessagesSeen = App.HookMessages;
        App.HookSeenAt = now;
        App.SilentRepairs = 0;
        App.HooksDown = 0;
    }
    if (HookThreadAnswering() && !InputUnseenByHooks(now)) return;
    if (App.HookRepairs > 0 && now - App.HookRepairedAt < RepairSpacingMs) return;
    if (InputHiddenFromHooks()) return;
    RepairHooks(monitor, now);
}

void RearmHooks(void)
{
    if (!App.HooksWatched) return;
    RestartHooks();
    App.HookSeenAt = App.HookCheckedAt = GetTickCount();
}
