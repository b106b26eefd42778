// The one record of global state: the store, the counters, window handles, flags and buffers.
#pragma once
#include <windows.h>

enum { MetricCount = 3, SlotCount = 240, DayCount = 21 };
enum { MetricClicks = 0, MetricKeys = 1, MetricMovement = 2 };
enum { NoData = -1 };
enum { DayFileSize = MetricCount * SlotCount * 4, MetricBytes = SlotCount * 4 };
enum { ReportQueueLength = 8 };
// The data reset takes each of the 21 days' day file and apps file.
enum { ResetFileCount = 2 * DayCount };
// The status bar's icon parts: the three buttons and the keyboard.
enum { StatusIconParts = 4 };
// Wide characters of a path buffer: the longest path the file system takes (in the \\?\ form).
enum { PathCapacity = 32768 };
// A quoted path: the command of the Run entry that starts the program with Windows.
enum { RunCommandChars = PathCapacity + 2 };
// The CSV export: the days it can list (more than 22 years of day files), and the text of one
// day's lines (240 lines of at most 62 bytes).
enum { CsvDateCapacity = 8192, CsvTextSize = SlotCount * 64 };
// The totals: the rows of today, the last 7 and the last 30 days and all time come before the
// rows of the days.
enum { TotalsToday = 0, TotalsWeek = 1, TotalsMonth = 2, TotalsAll = 3, TotalsRangeCount = 4 };
enum { TotalsColumnCount = 5, TotalsLineSize = 256 };

// Applications of a day: 255 told apart by the file name of their executable, then one record
// for the rest; a name is UTF-8, as the apps file holds it.
enum { AppsPerDay = 256, AppNameSize = 128, NoApp = -1 };
// The apps window's rows (the applications of a range), the process names cached for input, and
// one apps file's text.
enum { AppsShownCapacity = 4096, AppsCacheSize = 32, AppsTextSize = 65536 };
enum { AppsToday = 0, AppsWeek = 1, AppsMonth = 2, AppsAll = 3, AppsRangeCount = 4 };

struct AppRecord {
    char Name[AppNameSize];
    long long Clicks, Keys, Travel, ActiveMs;
};

// One day's records per application. Unread: its file exists but could not be read, so it is
// not written until read, and what was counted meanwhile is added to the file's values then.
struct AppsDay {
    int Date;
    int Count;
    int Unread;
    int Unsaved;
    AppRecord Records[AppsPerDay];
};

// A failure report waiting to be shown: the box's owner, text and caption.
struct QueuedReport {
    HWND owner;
    const wchar_t* text;
    const wchar_t* caption;
};

// Sums of a day or a range of days: each measure's values above 0, and the slots in which any
// measure is above 0. A day whose file cannot be read is not readable and counts nowhere.
struct ActivityTotal {
    long long Sums[MetricCount];
    int ActiveSlots;
    int Date;  // of a day's row; 0 for a range
    int Readable;
};

struct GlobalState {
    HINSTANCE Instance;
    HWND MonitorWindow;
    // The language of every text shown (UiJapanese or UiEnglish), chosen once at start.
    int UiLanguage;

    // Activity store: [metric][slot][day], day 0 is today.
    int ActivityTable[MetricCount][SlotCount][DayCount];
    int DayMaxima[MetricCount][DayCount];
    int CurrentSlot;
    int SelectedMetric;
    int GraphWindowOpen;
    char DayLabels[DayCount][8];
    char DayDates[DayCount][16];
    char DayFileNames[DayCount][16];
    // Local date of today's column, as year * 10000 + month * 100 + day.
    int TodayDate;

    // Interval counters since the current slot began.
    int LeftClicks, RightClicks, MiddleClicks;
    int KeyTouches;
    int MoveX, MoveY;
    // Values the current slot already held when recording of it began (a restart
    // within the slot, or the clock set back onto a recorded slot); 0 normally.
    int SlotBase[MetricCount];

    // Input state, kept across slots.
    int LeftDown, RightDown, MiddleDown;
    UINT LastKey;
    POINT PointerPos;
    POINT LastPointerPos;
    // Set by the first move; before it there is no position to measure a step from.
    int PointerKnown;
    // The monitor of the last hook point, in the hook's physical coordinates and in this
    // process's own; looked up again when a point leaves it or the displays change.
    int ScreenMapValid;
    RECT ScreenMapPhysical, ScreenMapProcess;

    // Recording runs from the start-up until the end, whatever the start-up met.
    int Recording;
    // Set while the exit question is on screen, so that a second exit command waits for it.
    int ExitAsked;
    // Slots whose last write did not reach their day's file, by day as the ActivityTable: they
    // move with the history, so a slot of yesterday still goes to yesterday's file.
    unsigned char SlotUnsaved[DayCount][SlotCount];
    // Days whose file exists but could not be read (held by another program, access denied), by
    // day as the ActivityTable: shown as no data and read again at later changes of slot; until
    // then their files receive nothing, and the slots recorded meanwhile wait in memory.
    unsigned char DayUnread[DayCount];
    // Days the start-up could not read are tried again at every tick until this tick-clock time
    // (a sync client or an indexer holds a file for a moment at logon); only then is the failure
    // shown.
    int StartReadsPending;
    DWORD StartReadsUntil;
    // Today's file could not be made: the slots are kept in memory and the next slot write that
    // can make the file makes it with all of them.
    int TodayFileUnmade;
    // The cause of the last failed slot write that was told (a WriteSlot result), 0 once a write
    // works: the same cause brings no second box.
    int SlotFailureShown;

    // Failure reports: shown at once, queued for the monitor window, or dropped (ReportMode);
    // queued ones wait here, the one on screen first, and are shown one at a time.
    int ReportMode;
    int ReportShowing;
    int ReportCount;
    QueuedReport Reports[ReportQueueLength];

    // Start with Windows: the Run entry's command as it should be, and as it was found.
    WCHAR RunCommand[RunCommandChars];
    WCHAR RunFound[RunCommandChars];

    // Paths, in UTF-16 from the module's name to the file calls: whatever the folder's name, it
    // never passes through the ANSI code page.
    WCHAR ExePath[PathCapacity];
    WCHAR DataDirectory[PathCapacity];
    WCHAR DayFilePath[PathCapacity];
    // The data reset: its folder and the path of a copy in it, the day files it keeps there (by
    // file) and the list of their originals for the Recycle Bin, each path zero-ended and the list
    // ended by one more zero (paths in the normal form only: the bin takes no other).
    WCHAR ResetFolder[PathCapacity];
    WCHAR ResetCopyPath[PathCapacity];
    unsigned char ResetKept[ResetFileCount];
    WCHAR ResetList[ResetFileCount * MAX_PATH + 1];
    // One whole day file, for its creation and its reading.
    unsigned char DayFileBuffer[DayFileSize];

    // Slot clock texts.
    wchar_t DateText[16];
    wchar_t TimeText[16];

    // Graph window and status bar.
    HWND GraphWindowHandle;
    HWND StatusBarHandle;
    HICON ButtonUpIcon, ButtonDownIcon, KeyUpIcon, KeyDownIcon;
    wchar_t StatusText[256];
    wchar_t CountText[256];
    // The right edge of each status bar part, measured in the bar's font when it is made.
    int StatusPartEdges[10];
    // The installed faces of the graph's label and title fonts, found at their first use.
    wchar_t LabelFace[LF_FACESIZE];
    wchar_t TitleFace[LF_FACESIZE];
    // What the pointer-position parts show (" X:%ld", at most 15 characters), so that a move that
    // leaves a coordinate as it was does not write it again; emptied when the bar is created.
    wchar_t ShownPointerX[32];
    wchar_t ShownPointerY[32];
    // Input noted for the status bar and not shown yet (the Note... bits of the status bar), the
    // icon each icon part is to show, and the parts whose down icon has not been shown yet.
    int StatusNoted;
    HICON NotedIcons[StatusIconParts];
    int DownUnshown;
    // The tick-clock time the noted input was last shown, and whether the status timer waits to
    // show it at the end of the frame.
    DWORD StatusShownAt;
    int StatusTimerSet;

    // Picture export: the chosen file, and the picture library's full path.
    WCHAR PicturePath[PathCapacity];
    WCHAR LibraryPath[PathCapacity];

    // CSV export: its path and that of the file written before it is put in place, the dates of the days it writes, one day's values in the file's
    // order and that day's lines.
    WCHAR CsvPath[PathCapacity];
    WCHAR CsvTempPath[PathCapacity];
    int CsvDates[CsvDateCapacity];
    int CsvDay[MetricCount * SlotCount];
    char CsvText[CsvTextSize];

    // Totals window: its rows as taken when it opened (the ranges, then every listed day, newest
    // first), their number, and one line of the clipboard's text.
    ActivityTotal TotalsRows[TotalsRangeCount + CsvDateCapacity];
    int TotalsRowCount;
    wchar_t TotalsLine[TotalsLineSize];

    // Registered "TaskbarCreated" message, sent when the shell's taskbar comes back, and the
    // attempts left to add the icon again afterwards.
    UINT TaskbarCreatedMessage;
    int TrayRetriesLeft;
    // What the tray icon shows: TrayRecording, or the cause that keeps the program from recording.
    int TrayState;

    // One copy per data folder: the claim held for the life of the process (the lock file, or where
    // none can be made a named object of the folder's identity), the folder's
    // identity in the file system (volume and file index: one for every spelling of the folder),
    // and the registered message by which a second start hands over to this copy.
    HANDLE FolderLock;
    DWORD FolderVolume;
    unsigned long long FolderIndex;
    UINT HandoverMessage;

    // Hook health. Every message from the hooks counts; the check compares the count with what
    // the system saw (all times are tick-clock values).
    unsigned HookMessages;
    unsigned HookMessagesSeen;
    unsigned HookMessagesAtRepair;
    DWORD HookSeenAt;       // the check that last found new messages, or the (re)start of the hooks
    DWORD HookMessageAt;    // the check that last found new messages
    DWORD HookCheckedAt;
    DWORD HookRepairedAt;
    DWORD UnseenRepairSpacing;  // the wait before the next repair for input only the system saw
    DWORD UnseenInputAt;        // the check that last found input only the system saw
    int UnseenRepairPending;    // such a repair waits to be judged by the wait that follows it
    int HooksWatched;       // the hooks were started
    int HookRepairs;        // repairs since start
    int HookAnswersMissed;  // checks in a row at which the hook thread had not answered
    int RepairAwaitingCheck;  // the next check tells whether the last repair brought the hooks back
    int FailedRepairs;      // repairs in a row after which the hooks were still down
    // The last repair did not bring the hooks back: the thread does not answer or a hook is not
    // installed. Cleared by the first check that finds them up or finds their messages.
    int HooksDown;
    int HookFailureShown;
    int SessionLocked;
    int SessionNotified;    // registered for lock and unlock notifications

    // Activity per application: on or off (data\vantle.ini), today's records and those of a
    // finished day whose file could not be written yet; the application that takes key touches
    // and travel (NoApp before the first look), and whether its time counts (someone is at a
    // foreground window of the session); process ids of recent look-ups with their records.
    int AppsRecording;
    AppsDay AppsOfToday, AppsOfEarlierDay;
    int ForegroundApp;
    int ForegroundCounts;
    HWINEVENTHOOK ForegroundHook;
    DWORD AppsTickAt, ForegroundCheckedAt;
    DWORD CachedProcess[AppsCacheSize];
    int CachedApp[AppsCacheSize];
    int CacheNext;
    int AppsWriteReported, AppsReadReported;
    char AppsText[AppsTextSize];
    WCHAR AppsTempPath[PathCapacity];
    // The apps window: the chosen range's applications, their number and active time in all.
    AppRecord AppsShown[AppsShownCapacity];
    int AppsShownCount;
    long long AppsShownMs;
    int AppsRange;
};

extern GlobalState App;
