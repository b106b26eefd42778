// The hook library's operations as the program calls them (bound by ordinal).
#pragma once
#include <windows.h>

extern "C" {
// Ordinal 3: starts the low-level mouse hook; posts WM_HOOK_MOUSE-style messages to the window,
// with the event's own screen point (physical coordinates) packed into lParam as MAKELPARAM does,
// and for the wheels and X buttons the high word of the event's mouse data in wParam's high word.
int WINAPI StartMouseHook(HWND window, UINT message);
// Ordinal 4: ends the mouse hook.
int WINAPI EndMouseHook(void);
// Ordinal 5: nonzero while there is a mouse hook to end.
int WINAPI MouseHookRunning(void);
// Ordinal 7: starts the low-level keyboard hook.
int WINAPI StartKeyHook(HWND window, UINT message);
// Ordinal 8: ends the keyboard hook.
int WINAPI EndKeyHook(void);
// Ordinal 9: nonzero while there is a keyboard hook to end.
int WINAPI KeyHookRunning(void);
// Ordinal 10: number of events whose message could not be posted (a full queue).
int WINAPI LostHookEvents(void);
// Ordinal 11: gives the hook thread up without waiting for it and installs the hooks that are
// started on a fresh thread, with the same targets; nonzero when every one of them runs again
// within a short wait (under 100 ms). A fresh thread slower than that installs them when it runs.
int WINAPI RestartHooks(void);
// Ordinal 12: nonzero when the hook thread answered the last question (or there is none), and
// asks it the next; 0 when the last one is still waiting (the thread has not run since) or the
// thread has not started yet. Once it answers, ordinals 5 and 9 say which hooks it installed.
int WINAPI HookThreadAnswering(void);
}
