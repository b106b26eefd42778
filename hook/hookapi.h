// The hook library's operations as the program calls them (bound by ordinal).
#pragma once
#include <windows.h>

extern "C" {
// Ordinal 3: starts the low-level mouse hook; posts WM_HOOK_MOUSE-style messages to the window.
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
}
