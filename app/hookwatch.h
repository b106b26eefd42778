// Hooks that cannot die silently: the check that notices hooks which stopped reporting, and
// their repair; also the re-arming after a resume or an unlock.
#pragma once
#include <windows.h>

// The hooks have just been started: the check watches them from now on.
void WatchHooks(HWND monitor);
// Called at every tick; does its work at most once a second.
void CheckHooks(HWND monitor);
// Installs the hooks afresh (after a resume or an unlock), with no question asked.
void RearmHooks(void);
// Stops the session notifications at the end.
void UnwatchHooks(HWND monitor);
