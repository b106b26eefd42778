// Hooks that cannot die silently. The system removes a low-level hook without notice when its
// callback is too slow (heavy paging, a resume from hibernation), and a stalled hook thread
// reports nothing either; from outside the program would look as if it recorded. So once a
// second the tick compares what the hooks reported with what the system saw, and asks the hook
// thread whether it still runs; hooks found dead are installed afresh on a fresh thread.
//
// Some input never reaches low-level hooks at all (touch, pen and precision-touchpad gestures in
// pointer-aware programs): the system sees it, the hooks do not, although they work. While the
// hooks keep reporting other input, the repairs for such unseen input back off, and only a hook
// that is verifiably not installed or a thread that does not answer, after repairs, is reported.
#include "app/hookwatch.h"

#include <wtsapi32.h>

#include "base/clock.h"
#include "base/report.h"
#include "hook/hookapi.h"
#include "res/messages.h"

HookWatchState HookWatch;

enum : DWORD {
    HookCheckEveryMs = 1000,     // the check's period: far below the 10 s in which a failure shows
    InputInFlightMs = 1000,      // how long a hook message may take to follow its input
    RepairSpacingMs = 30000,     // at most one repair in this time: no churn
    UnseenSpacingMaxMs = 600000, // the longest spacing of repairs for input the hooks never see
    BackOffKeptMs = 3600000,     // a back-off ends after this long without unseen input
};
// Repairs in a row after which the hooks were still down before the failure is shown, once a run;
// checks in a row at which the hook thread had not answered before it counts as not answering.
enum { FailedRepairsReported = 3, AnswersMissedDown = 2 };

// The session's lock and unlock re-arm the hooks. At an early logon the notification service
// may not be up yet, so the registration is tried again by the check until it works.
static void RegisterSessionNotification(HWND monitor)
{
    if (!HookWatch.SessionNotified) HookWatch.SessionNotified = WTSRegisterSessionNotification(monitor, NOTIFY_FOR_THIS_SESSION);
}

// A hook that does not start is not reported here: the first check finds it missing and repairs
// it, and only three repairs that bring nothing bring the box, as later in the run.
void StartHooks(HWND monitor)
{
    StartMouseHook(monitor, WM_HOOK_MOUSE);
    StartKeyHook(monitor, WM_HOOK_KEY);
    HookWatch.Watched = 1;
    HookWatch.MessagesSeen = HookWatch.MessagesAtRepair = HookWatch.Messages;
    HookWatch.SeenAt = HookWatch.CheckedAt = ReadTickCount();
    HookWatch.MessageAt = HookWatch.SeenAt - RepairSpacingMs;
    // The first check asks the fresh hook thread whatever the input.
    HookWatch.InputAtCheck = 0;
    HookWatch.LastInputKnown = 0;
    HookWatch.UnseenRepairSpacing = RepairSpacingMs;
    HookWatch.UnseenInputAt = HookWatch.SeenAt;
    RegisterSessionNotification(monitor);
}

// Each query says whether its hook is there to end.
void ReleaseHooks(HWND monitor)
{
    HookWatch.Watched = 0;
    if (HookWatch.SessionNotified) WTSUnRegisterSessionNotification(monitor);
    HookWatch.SessionNotified = 0;
    if (MouseHookRunning()) EndMouseHook();
    if (KeyHookRunning()) EndKeyHook();
}

// Input the system took after the hooks last reported, long enough ago for its message to
// have come: the hooks no longer see the input.
DWORD RecentInputTime(DWORD now)
{
    if (!HookWatch.LastInputKnown || now - HookWatch.LastInputReadAt >= HookCheckEveryMs) {
        HookWatch.LastInput = ReadLastInputTime();
        HookWatch.LastInputReadAt = now;
        HookWatch.LastInputKnown = 1;
    }
    return HookWatch.LastInput;
}

static int InputUnseenByHooks(DWORD now, DWORD input)
{
    if (!input) return 0;
    return static_cast<LONG>(input - HookWatch.SeenAt) > 0 && now - input >= InputInFlightMs;
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
    if (HookWatch.SessionLocked) return 1;
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

// Repairs after which the hooks were still down three times in a row are reported, once a run:
// the hook that is not installed, or the mouse hook when the thread does not answer.
static void ReportDeadHooks(HWND monitor)
{
    if (HookWatch.FailedRepairs < FailedRepairsReported || HookWatch.FailureShown) return;
    HookWatch.FailureShown = 1;
    int mouseDown = !MouseHookRunning(), keyDown = !KeyHookRunning();
    if (mouseDown || !keyDown) ReportFailure(monitor, TextMouseHookFailed, TextHookCaption);
    if (keyDown) ReportFailure(monitor, TextKeyHookFailed, TextHookCaption);
}

// The thread answers and both hooks are installed. A thread that answers has run its installs,
// so a hook it lacks is verifiably not installed. A thread that let one question wait past the
// check may just have been slow to be scheduled; one that lets two checks pass does not answer.
static int HooksUp(void)
{
    HookWatch.AnswersMissed = HookThreadAnswering() ? 0 : HookWatch.AnswersMissed + 1;
    return HookWatch.AnswersMissed < AnswersMissedDown && MouseHookRunning() && KeyHookRunning();
}

// The first check after a repair that knows tells whether the repair brought the hooks back: the
// fresh thread answered with both hooks installed, or it is down.
static void JudgeRepair(HWND monitor, int up)
{
    int answered = HookWatch.AnswersMissed == 0;
    if (up && answered) HookWatch.FailedRepairs = HookWatch.Down = 0;
    if (!HookWatch.RepairAwaitingCheck || (up && !answered)) return;
    HookWatch.RepairAwaitingCheck = 0;
    if (up) return;
    HookWatch.Down = 1;
    ++HookWatch.FailedRepairs;
    ReportDeadHooks(monitor);
}

// The hooks reported input since the last repair and lately: they work, for all they can see.
static int HooksReportOtherInput(DWORD now)
{
    return HookWatch.Messages != HookWatch.MessagesAtRepair && now - HookWatch.MessageAt < RepairSpacingMs;
}

// The back-off is for input the hooks can never see, and must not outlive it. Which input went
// unseen cannot be told (the system gives only the time of the last one), so a repair is judged by
// what follows: when the hooks report through the whole next wait with no input unseen, the repair
// brought back what had died (a hook the system removed while the other one still reported), and
// the next repair comes at the usual pace again. Input the hooks never see shows up again within
// the wait, and the back-off holds. Nor does a back-off outlast an hour without unseen input.
static void JudgeUnseenRepair(DWORD now, int unseen)
{
    if (unseen) HookWatch.UnseenInputAt = now;
    else if (now - HookWatch.UnseenInputAt >= BackOffKeptMs) HookWatch.UnseenRepairSpacing = RepairSpacingMs;
    if (!HookWatch.UnseenRepairPending) return;
    if (!unseen &&
        (now - HookWatch.RepairedAt < HookWatch.UnseenRepairSpacing || HookWatch.Messages == HookWatch.MessagesAtRepair))
        return;
    HookWatch.UnseenRepairPending = 0;
    if (!unseen) HookWatch.UnseenRepairSpacing = RepairSpacingMs;
}

static void RepairHooks(DWORD now)
{
    RestartHooks();
    ++HookWatch.Repairs;
    HookWatch.AnswersMissed = 0;
    HookWatch.RepairAwaitingCheck = 1;
    HookWatch.RepairedAt = now;
    HookWatch.MessagesAtRepair = HookWatch.Messages;
    // Input from before the repair is not held against the fresh hooks.
    HookWatch.SeenAt = now;
}

void CheckHooks(HWND monitor)
{
    DWORD now = ReadTickCount();
    if (!HookWatch.Watched || now - HookWatch.CheckedAt < HookCheckEveryMs) return;
    HookWatch.CheckedAt = now;
    RegisterSessionNotification(monitor);
    int newMessages = HookWatch.Messages != HookWatch.MessagesSeen;
    if (newMessages) {
        HookWatch.MessagesSeen = HookWatch.Messages;
        HookWatch.SeenAt = HookWatch.MessageAt = now;
        // Hooks that report are up, whatever the last repair looked like.
        HookWatch.FailedRepairs = HookWatch.Down = 0;
    }
    // Nothing happened since the last check (no input, no message, no repair to judge, hooks not
    // down, no input the hooks missed): the hook thread is not asked, so an idle recorder rests.
    DWORD input = RecentInputTime(now);
    int unseen = InputUnseenByHooks(now, input);
    int quiet = input == HookWatch.InputAtCheck && !newMessages && !unseen && !HookWatch.RepairAwaitingCheck &&
                !HookWatch.AnswersMissed && !HookWatch.Down;
    HookWatch.InputAtCheck = input;
    if (quiet) {
        JudgeUnseenRepair(now, 0);
        return;
    }
    int up = HooksUp();
    JudgeRepair(monitor, up);
    JudgeUnseenRepair(now, unseen);
    if (up && !unseen) return;
    // Hooks that are up and report other input missed input they may never see: each such repair
    // waits twice as long as the one before. Hooks down or silent are repaired at the usual pace.
    int unseenOnly = up && HooksReportOtherInput(now);
    DWORD spacing = unseenOnly ? HookWatch.UnseenRepairSpacing : RepairSpacingMs;
    if (HookWatch.Repairs > 0 && now - HookWatch.RepairedAt < spacing) return;
    if (InputHiddenFromHooks()) return;
    RepairHooks(now);
    HookWatch.UnseenRepairPending = unseenOnly;
    if (!unseenOnly) HookWatch.UnseenRepairSpacing = RepairSpacingMs;
    else HookWatch.UnseenRepairSpacing = spacing * 2 < UnseenSpacingMaxMs ? spacing * 2 : UnseenSpacingMaxMs;
}

void RearmHooks(void)
{
    if (!HookWatch.Watched) return;
    RestartHooks();
    HookWatch.SeenAt = HookWatch.CheckedAt = ReadTickCount();
    HookWatch.InputAtCheck = 0;
}
