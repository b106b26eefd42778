// Where the activity goes: the application of the foreground window takes key touches, travel and
// active time, the one under a click's point takes the click. The foreground is looked up when it
// changes (a WinEvent hook, out of context, called on this thread) and once a second, so an input
// costs only an add to a record; names are cached by process.
#include "app/appwatch.h"

#include <string.h>

#include "app/hookwatch.h"
#include "app/slotclock.h"
#include "base/clock.h"
#include "base/files.h"
#include "base/report.h"
#include "store/apprecords.h"
#include "store/days.h"
#include "store/settings.h"

AppWatchState AppWatch;

// The host of modern applications, whose frames stand for the applications they host.
static const char AppNameFrameHost[] = "applicationframehost.exe";

enum : DWORD {
    ActiveInputMs = 60000,    // input younger than this makes the foreground's time active
    ForegroundCheckMs = 1000, // the foreground and the input's age are looked at again this often
    LongestTickMs = 2000,     // a longer gap between ticks (a stall, a sleep) counts as this much
    SettingRetryMs = 1000,    // an unread settings file is read again this often
};

// The foreground's application when there is no foreground window: its record "(不明)" is made
// only when input is counted for it, so looks at an empty desktop leave no empty rows behind.
enum { NoForegroundApp = -2 };

// The file name of the process's executable in lower case and UTF-8; 0 when it cannot be read.
static int ReadProcessName(DWORD processId, char* name)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId);
    if (!process) return 0;
    WCHAR path[MAX_PATH * 2];
    DWORD length = sizeof path / sizeof path[0];
    int ok = QueryFullProcessImageNameW(process, 0, path, &length);
    CloseHandle(process);
    if (!ok) return 0;
    WCHAR* file = path + (AfterLastSeparator(path) - path);
    CharLowerW(file);
    int bytes = WideCharToMultiByte(CP_UTF8, 0, file, -1, name, AppNameSize, nullptr, nullptr);
    // A name longer than a record holds is cut at a character's start.
    if (!bytes) {
        int cut = lstrlenW(file);
        while (!bytes && cut > 0)
            bytes = WideCharToMultiByte(CP_UTF8, 0, file, --cut, name, AppNameSize - 1, nullptr, nullptr);
        name[bytes] = '\0';
    }
    return name[0] != '\0';
}

struct HostedSearch {
    DWORD host;
    DWORD hosted;
};

static BOOL CALLBACK FindHostedWindow(HWND child, LPARAM lParam)
{
    HostedSearch* search = reinterpret_cast<HostedSearch*>(lParam);
    DWORD processId = 0;
    GetWindowThreadProcessId(child, &processId);
    if (processId == search->host) return TRUE;
    search->hosted = processId;
    return FALSE;
}

// The record of a process, looked up by name once and then taken from the cache. A frame of the
// host of modern applications stands for the process of the core window it hosts; it is never
// cached, since one host frames every such application; the hosted process is taken as it is.
static int AppOfProcess(HWND root, DWORD processId, int hosted)
{
    for (int i = 0; i < AppsCacheSize; ++i)
        if (AppWatch.CachedProcess[i] == processId && processId) return AppWatch.CachedApp[i];
    char name[AppNameSize];
    if (!ReadProcessName(processId, name)) return AppOfToday(AppNameUnknown);
    if (!hosted && strcmp(name, AppNameFrameHost) == 0) {
        HostedSearch search = {processId, 0};
        EnumChildWindows(root, FindHostedWindow, reinterpret_cast<LPARAM>(&search));
        if (search.hosted) return AppOfProcess(root, search.hosted, 1);
        return AppOfToday(name);
    }
    int app = AppOfToday(name);
    AppWatch.CachedProcess[AppWatch.CacheNext] = processId;
    AppWatch.CachedApp[AppWatch.CacheNext] = app;
    AppWatch.CacheNext = (AppWatch.CacheNext + 1) % AppsCacheSize;
    return app;
}

static int AppOfWindow(HWND window)
{
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (!root) return AppOfToday(AppNameUnknown);
    DWORD processId = 0;
    GetWindowThreadProcessId(root, &processId);
    return AppOfProcess(root, processId, 0);
}

// A locked session, the secure desktop (no foreground window of this desktop) and no foreground
// window at all count for nobody; the input the hooks still report there counts as "(不明)".
void LookAtForeground(void)
{
    AppWatch.ForegroundCheckedAt = ReadTickCount();
    if (!AppsRecorded()) return;
    HWND foreground = HookWatch.SessionLocked ? nullptr : GetForegroundWindow();
    HWND root = foreground ? GetAncestor(foreground, GA_ROOT) : nullptr;
    AppWatch.ForegroundCounts = foreground != nullptr;
    if (root && root == AppWatch.ForegroundRoot && AppWatch.ForegroundApp >= 0) return;
    AppWatch.ForegroundRoot = root;
    AppWatch.ForegroundApp = foreground ? AppOfWindow(foreground) : NoForegroundApp;
}

// Today's records were started anew: their indices changed, so the foreground, the buttons held
// and the cache are looked up anew.
static void ForgetApplications(void)
{
    memset(AppWatch.CachedProcess, 0, sizeof AppWatch.CachedProcess);
    AppWatch.ForegroundApp = NoApp;
    AppWatch.ForegroundRoot = nullptr;
    for (int b = 0; b < AppButtons; ++b) AppWatch.ButtonApp[b] = NoApp;
}

// Records that still hold counts not yet written are kept: they go on from where they are.
static void LoadToday(int date)
{
    if (LoadAppsOfToday(date)) ForgetApplications();
}

// The switch as read from the settings file: while the file cannot be read nothing is recorded.
static void TakeAppsSetting(int setting)
{
    AppWatch.SettingUnread = setting == SettingUnreadable;
    AppWatch.SettingCheckedAt = ReadTickCount();
    SetAppsRecording(setting == 1);
    if (AppsRecorded()) LoadToday(TodayDate());
}

static void CALLBACK OnForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD thread, DWORD time)
{
    (void)hook, (void)event, (void)window, (void)object, (void)child, (void)thread, (void)time;
    LookAtForeground();
}

void StartAppWatch(void)
{
    AppWatch.TickAt = ReadTickCount();
    ForgetApplications();
    TakeUpOrphanedApps();
    TakeAppsSetting(ReadAppsSetting());
    if (!AppWatch.ForegroundHook)
        AppWatch.ForegroundHook = SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr,
                                                  OnForegroundEvent, 0, 0, WINEVENT_OUTOFCONTEXT);
    LookAtForeground();
}

void StopAppWatch(void)
{
    if (AppWatch.ForegroundHook) UnhookWinEvent(AppWatch.ForegroundHook);
    AppWatch.ForegroundHook = nullptr;
}

// Input makes the time active at once, before the next look reads the input's age.
static int ForegroundApp(void)
{
    AppWatch.InputActive = 1;
    if (AppWatch.ForegroundApp == NoApp) LookAtForeground();
    if (AppWatch.ForegroundApp == NoForegroundApp) AppWatch.ForegroundApp = AppOfToday(AppNameUnknown);
    return AppWatch.ForegroundApp;
}

void CountAppKey(void)
{
    if (AppsRecorded()) AddAppKey(ForegroundApp());
}

void CountAppTravel(int pixels)
{
    if (AppsRecorded()) AddAppTravel(ForegroundApp(), pixels);
}

// A click brings its window to the front at the button's down, so the keys typed right after it go
// to the clicked application even before the foreground's event comes (which some systems never
// send); the next look at the foreground corrects it. A window that never takes the front (an
// on-screen keyboard) leaves the keys where they go.
void NoteAppButtonDown(int button, POINT point)
{
    if (!AppsRecorded()) return;
    HWND window = WindowFromPoint(point);
    int app = AppOfWindow(window);
    AppWatch.ButtonApp[button] = app;
    AppWatch.InputActive = 1;
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (root && !(GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) AppWatch.ForegroundApp = app, AppWatch.ForegroundRoot = root;
}

// A release whose down was not seen, or was seen before today's records started anew, looks the
// application up at its own point.
void CountAppClick(int button, POINT point)
{
    if (!AppsRecorded()) return;
    if (AppWatch.ButtonApp[button] == NoApp) NoteAppButtonDown(button, point);
    AddAppClick(AppWatch.ButtonApp[button]);
    AppWatch.ButtonApp[button] = NoApp;
}

// Once a second: the input's age, and the foreground while someone is there. Without input for a
// minute nothing is looked at (a resting recorder); the next input looks the foreground up.
static void LookOnceASecond(DWORD now)
{
    if (now - AppWatch.ForegroundCheckedAt < ForegroundCheckMs) return;
    AppWatch.ForegroundCheckedAt = now;
    DWORD input = RecentInputTime(now);
    // An input a moment younger than the tick's reading (the two clocks are read apart) is of now.
    AppWatch.InputActive = input && static_cast<LONG>(now - input) < static_cast<LONG>(ActiveInputMs);
    if (AppWatch.InputActive) LookAtForeground();
    else AppWatch.ForegroundApp = NoApp;
}

static void RereadSetting(DWORD now)
{
    if (!AppWatch.SettingUnread || now - AppWatch.SettingCheckedAt < SettingRetryMs) return;
    int setting = ReadAppsSetting();
    AppWatch.SettingCheckedAt = now;
    if (setting != SettingUnreadable) TakeAppsSetting(setting);
}

void TickApps(void)
{
    DWORD now = ReadTickCount();
    DWORD elapsed = now - AppWatch.TickAt;
    AppWatch.TickAt = now;
    RereadSetting(now);
    if (!AppsRecorded()) return;
    LookOnceASecond(now);
    if (!elapsed || !AppWatch.InputActive || !AppWatch.ForegroundCounts || HookWatch.SessionLocked) return;
    AddAppActiveMs(ForegroundApp(), elapsed < LongestTickMs ? elapsed : LongestTickMs);
}

static void ReportAppsSaved(HWND monitor, int saved)
{
    ReportRecordsSaved(monitor, saved, AppsFilesUnread(), &AppWatch.Reported, TextAppsWriteFailed, TextAppsReadFailed);
}

// Finished days waiting in memory are written whatever the switch; today's records only change
// while it is on.
void SaveAppsNow(HWND monitor) { ReportAppsSaved(monitor, SaveApps()); }

int SaveAppsForExit(void) { return SaveApps() == 1; }

void SaveAppsAtChange(HWND monitor, int today)
{
    // The cache goes with each change of slot (a process id, a window handle may be reused), and
    // with the day's records at a change of day.
    memset(AppWatch.CachedProcess, 0, sizeof AppWatch.CachedProcess);
    AppWatch.ForegroundRoot = nullptr;
    if (today != TodaysAppsDate()) {
        int rolled = RollAppsOver(today);
        ForgetApplications();
        ReportAppsSaved(monitor, rolled);
    } else {
        ReportAppsSaved(monitor, SaveApps());
    }
    if (AppWatch.InputActive) LookAtForeground();
}

void ResetApps(void) { ForgetApplications(); }

int ToggleAppRecording(HWND monitor)
{
    int on = !AppsRecorded();
    if (!WriteAppsSetting(on)) return 0;
    AppWatch.SettingUnread = 0;
    // What was recorded until now goes to its file before recording stops (or waits in memory to
    // be written); on again, the day goes on from its file, or from memory while that still holds
    // counts the file lacks.
    if (!on) SaveAppsNow(monitor);
    SetAppsRecording(on);
    if (on) LoadToday(TodayDate());
    LookAtForeground();
    return 1;
}
