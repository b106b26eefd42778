// Where the activity goes: the application of the foreground window takes key touches, travel and
// active time, the one under a click's point takes the click. The foreground is looked up when it
// changes (a WinEvent hook, out of context, called on this thread) and once a second, so an input
// costs only an add to a record; names are cached by process.
#include "app/appwatch.h"

#include <string.h>

#include "app/hookwatch.h"
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
    ForegroundCheckMs = 1000, // the foreground is looked at again this often
    LongestTickMs = 2000,     // a longer gap between ticks (a stall, a sleep) counts as this much
};

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
    AppWatch.ForegroundCounts = foreground != nullptr;
    AppWatch.ForegroundApp = AppOfWindow(foreground);
}

// Today's records were started anew: their indices changed, so the foreground and the cache are
// looked up anew.
static void ForgetApplications(void)
{
    memset(AppWatch.CachedProcess, 0, sizeof AppWatch.CachedProcess);
    AppWatch.ForegroundApp = NoApp;
}

static void LoadToday(int date)
{
    LoadAppsOfToday(date);
    ForgetApplications();
}

static void CALLBACK OnForegroundEvent(HWINEVENTHOOK hook, DWORD event, HWND window, LONG object, LONG child,
                                       DWORD thread, DWORD time)
{
    (void)hook, (void)event, (void)window, (void)object, (void)child, (void)thread, (void)time;
    LookAtForeground();
}

void StartAppWatch(void)
{
    SetAppsRecording(ReadAppsSetting());
    AppWatch.TickAt = ReadTickCount();
    AppWatch.ForegroundApp = NoApp;
    if (AppsRecorded()) LoadToday(TodayDate());
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

static int ForegroundApp(void)
{
    if (AppWatch.ForegroundApp == NoApp) LookAtForeground();
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

// A click brings its window to the front, so the keys typed right after it go to the clicked
// application even before the foreground's event comes (which some systems never send); the next
// look at the foreground corrects it. A window that never takes the front (an on-screen keyboard)
// leaves the keys where they go.
void CountAppClick(POINT point)
{
    if (!AppsRecorded()) return;
    HWND window = WindowFromPoint(point);
    int app = AppOfWindow(window);
    AddAppClick(app);
    HWND root = window ? GetAncestor(window, GA_ROOT) : nullptr;
    if (root && !(GetWindowLongPtrW(root, GWL_EXSTYLE) & WS_EX_NOACTIVATE)) AppWatch.ForegroundApp = app;
}

void TickApps(void)
{
    DWORD now = ReadTickCount();
    DWORD elapsed = now - AppWatch.TickAt;
    AppWatch.TickAt = now;
    if (!AppsRecorded()) return;
    if (now - AppWatch.ForegroundCheckedAt >= ForegroundCheckMs) LookAtForeground();
    DWORD input = ReadLastInputTime();
    // An input a moment younger than the tick's reading (the two clocks are read apart) is of now.
    if (!AppWatch.ForegroundCounts || HookWatch.SessionLocked || !input ||
        static_cast<LONG>(now - input) >= static_cast<LONG>(ActiveInputMs))
        return;
    AddAppActiveMs(ForegroundApp(), elapsed < LongestTickMs ? elapsed : LongestTickMs);
}

// A box for each cause only once, until the cause has gone; a data folder in which today's file
// cannot be made has had its box already.
static void ReportAppsSaved(HWND monitor, int saved)
{
    if (saved == 0 && !AppWatch.WriteReported && !TodayFileUnmade()) ReportFailure(monitor, TextCreateFailed, TextErrorCaption);
    if (saved == -1 && !AppWatch.ReadReported) ReportFailure(monitor, TextOpenFailed, TextOpenCaption);
    if (saved != -1) AppWatch.WriteReported = saved == 0;
    AppWatch.ReadReported = TodaysAppsUnread() && (AppWatch.ReadReported || saved == -1);
}

void SaveAppsNow(HWND monitor)
{
    if (AppsRecorded()) ReportAppsSaved(monitor, SaveApps());
}

int SaveAppsForExit(void) { return !AppsRecorded() || SaveApps() == 1; }

void SaveAppsAtChange(HWND monitor, int today)
{
    if (!AppsRecorded()) return;
    // The cache goes with each change of slot (a process id may be reused), and with the day's
    // records at a change of day.
    memset(AppWatch.CachedProcess, 0, sizeof AppWatch.CachedProcess);
    if (today != TodaysAppsDate()) {
        int rolled = RollAppsOver(today);
        ForgetApplications();
        ReportAppsSaved(monitor, rolled ? 1 : 0);
    } else {
        ReportAppsSaved(monitor, SaveApps());
    }
    LookAtForeground();
}

void ResetApps(void)
{
    ClearAppsOfDays(TodayDate());
    ForgetApplications();
}

int ToggleAppRecording(HWND monitor)
{
    int on = !AppsRecorded();
    if (!WriteAppsSetting(on)) return 0;
    // What was recorded until now goes to its file before recording stops; on again, the day goes
    // on from its file.
    if (!on) SaveAppsNow(monitor);
    SetAppsRecording(on);
    if (on) LoadToday(TodayDate());
    LookAtForeground();
    return 1;
}
