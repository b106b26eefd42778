// Private window messages, the timers and the tray icon's identity.
#pragma once
#include <windows.h>

enum : UINT {
    WM_HOOK_MOUSE  = 0x8064,  // wParam: mouse message 0x200..0x20E in the low word, and for the
                              // wheels and X buttons the hook's mouse data (the turn, the button)
                              // in the high word; lParam: the event's physical screen point, x and
                              // y signed 16-bit
    WM_HOOK_KEY    = 0x8065,  // wParam: virtual key; lParam bit 31: released
    WM_TRAY_NOTIFY = 0x80C8,  // lParam: mouse message on the tray icon
    WM_SHOW_REPORTS = 0x80C9, // failure reports are queued: show them, one at a time
    WM_RESET_DATA  = 0x80CA,  // the graph window's data reset, carried out by the monitor window
};

// The monitor window's timers: the slot clock, the tray icon's retries, the status bar's frame.
enum : UINT_PTR { SlotTimerId = 200, TrayRetryTimerId = 201, StatusTimerId = 202 };
enum : UINT { SlotTimerPeriod = 200 };
enum : UINT { TrayIconId = 1 };
