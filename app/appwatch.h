// Activity per application: the foreground application and the one under a click, the records
// they count into, and their files at the clock's changes.
#pragma once
#include <windows.h>

#include "app/slotclock.h"

// The process names cached for input; the buttons whose clicks are told apart (left, right, middle).
enum { AppsCacheSize = 32, AppButtons = 3 };

// Written by app/appwatch.cpp alone: the application that takes key touches and travel (NoApp
// before the first look) and whether its time counts (someone is at a foreground window of the
// session); process ids of recent look-ups with their records; the boxes told until their cause
// has gone.
struct AppWatchState {
    // Forgotten here, with the cache, whenever the store starts today's records anew; so are the
    // applications under the buttons held down.
    int ForegroundApp;
    int ForegroundCounts;
    // The top-level window the foreground's application was looked up for: while it stays in front
    // its application is not looked up again (a frame host's is never cached by process).
    HWND ForegroundRoot;
    int ButtonApp[AppButtons];
    HWINEVENTHOOK ForegroundHook;
    DWORD TickAt, ForegroundCheckedAt;
    // Someone gave input within the last minute, as read at the last look (once a second).
    int InputActive;
    // The settings file exists but could not be read: nothing is recorded per application until it
    // can be, and it is read again once a second.
    int SettingUnread;
    DWORD SettingCheckedAt;
    DWORD CachedProcess[AppsCacheSize];
    int CachedApp[AppsCacheSize];
    int CacheNext;
    ReportedFailures Reported;
};
extern AppWatchState AppWatch;

// Reads the setting, loads today's records and starts following the foreground.
void StartAppWatch(void);
void StopAppWatch(void);
// Looks up the foreground window's application (the foreground event, and once a second).
void LookAtForeground(void);
// An input, counted into its application's record of today.
void CountAppKey(void);
void CountAppTravel(int pixels);
// A button (0 left, 1 right, 2 middle) pressed at a point in this process's screen coordinates: the
// application under it takes the click, counted at the button's release, even when its window
// has gone by then (a close button).
void NoteAppButtonDown(int button, POINT point);
void CountAppClick(int button, POINT point);
// The clock's tick: the time since the last tick is the foreground application's, while someone
// has given input within the last minute; the settings file is read again while it is unread.
void TickApps(void);
// The change of slot or of day (a date number): the records are written, a new day's begun.
void SaveAppsAtChange(HWND monitor, int today);
// Suspend, exit and session end: the records are written.
void SaveAppsNow(HWND monitor);
// The exit's save, without a box: nonzero when the records reached their files (or none wait).
int SaveAppsForExit(void);
// The data reset has taken files: today's records may have started anew.
void ResetApps(void);
// The tray item: recording per application switched off or on, and kept in the settings file;
// 0 when the setting could not be written (nothing changes then).
int ToggleAppRecording(HWND monitor);
