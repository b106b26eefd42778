// The hooks' life in the program: started at start-up and watched, so that they cannot die
// silently (hooks that stopped reporting are repaired), re-armed after a resume or an unlock,
// released at the end.
#pragma once
#include <windows.h>

// Written by app/'s files alone. Every message from the hooks counts; the check compares the count
// with what the system saw (all times are tick-clock values).
struct HookWatchState {
    unsigned Messages;
    unsigned MessagesSeen;
    unsigned MessagesAtRepair;
    DWORD SeenAt;       // the check that last found new messages, or the (re)start of the hooks
    DWORD MessageAt;    // the check that last found new messages
    DWORD CheckedAt;
    DWORD RepairedAt;
    DWORD UnseenRepairSpacing;  // the wait before the next repair for input only the system saw
    DWORD UnseenInputAt;        // the check that last found input only the system saw
    int UnseenRepairPending;    // such a repair waits to be judged by the wait that follows it
    int Watched;        // the hooks were started
    int Repairs;        // repairs since start
    int AnswersMissed;  // checks in a row at which the hook thread had not answered
    int RepairAwaitingCheck;  // the next check tells whether the last repair brought the hooks back
    int FailedRepairs;  // repairs in a row after which the hooks were still down
    // The last repair did not bring the hooks back: the thread does not answer or a hook is not
    // installed. Cleared by the first check that finds them up or finds their messages.
    int Down;
    int FailureShown;
    // The session is locked (the monitor window's session notifications), and those are registered.
    int SessionLocked;
    int SessionNotified;
    // The system's last input time, read at most once a second for the check and the applications'
    // time alike (each reading is a call into the system); the reading the last check went by.
    DWORD LastInput, LastInputReadAt;
    int LastInputKnown;
    DWORD InputAtCheck;
};
extern HookWatchState HookWatch;

// Starts both hooks towards the monitor window (a hook that cannot start is reported) and
// watches them from now on.
void StartHooks(HWND monitor);
// Stops watching and ends both hooks.
void ReleaseHooks(HWND monitor);
// Called at every tick; does its work at most once a second.
void CheckHooks(HWND monitor);
// Installs the hooks afresh (after a resume or an unlock), with no question asked.
void RearmHooks(void);
// The system's last input time (tick clock; 0 when unknown), read anew when the last reading is a
// second old.
DWORD RecentInputTime(DWORD now);
