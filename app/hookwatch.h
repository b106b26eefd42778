// The hooks' life in the program: started at start-up and watched, so that they cannot die
// silently (hooks that stopped reporting are repaired), re-armed after a resume or an unlock,
// released at the end.
#pragma once
#include <windows.h>

// Starts both hooks towards the monitor window (a hook that cannot start is reported) and
// watches them from now on.
void StartHooks(HWND monitor);
// Stops watching and ends both hooks.
void ReleaseHooks(HWND monitor);
// Called at every tick; does its work at most once a second.
void CheckHooks(HWND monitor);
// Installs the hooks afresh (after a resume or an unlock), with no question asked.
void RearmHooks(void);
