// The monitor window with its real procedure: start-up, counting, tray menu, exit, session end.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/autostart.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/instance.h"
#include "app/monitor.h"
#include "app/screenmap.h"
#include "app/slotclock.h"
#include "app/tray.h"
#include "base/clock.h"
#include "base/files.h"
#include "base/uitext.h"
#include "hook/hookapi.h"
#include "res/messages.h"
#include "resource.h"
#include "store/days.h"
#include "support/fake_clock.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/graphwindow.h"
#include "ui/statusbar.h"

namespace {
const char ExitQuestion[] = "終了 してもよろしいですか？";

class MonitorTest : public ::testing::Test {
protected:
    HWND monitor = nullptr;

    static void SetUpTestSuite()
    {
        RegisterMonitorClass(GetModuleHandleA(nullptr));
    }
    void SetUp() override
    {
        ResetStore("data");  // the folder the start-up composes beside this program
        Tray.TaskbarCreatedMessage = RegisterWindowMessageA("TaskbarCreated");
        SetFakeTime(2024, 3, 7, 10, 3, 0);
        SetShellAway(0);
    }
    void TearDown() override
    {
        if (monitor && IsWindow(monitor)) {
            if (MouseHookRunning()) EndMouseHook();
            if (KeyHookRunning()) EndKeyHook();
            KillTimer(monitor, SlotTimerId);
            NotifyTrayIcon(NIM_DELETE, monitor);
            DestroyWindow(monitor);
        }
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {}
        RemoveFolder(ModuleFolder() + "data");
    }
    void Create()
    {
        monitor = CreateMonitorWindow(GetModuleHandleA(nullptr));
        ASSERT_NE(monitor, nullptr);
    }
    void CreateWithoutHooks()
    {
        Create();
        EndMouseHook();
        EndKeyHook();
    }
    // Counting tests call the handlers of the hook messages and of the tick on a recorder set up
    // without the start-up: no hooks bring the desktop's own input in.
    void StartRecording()
    {
        ASSERT_TRUE(StartRecorderAt(10, 3, 0));
        monitor = CreateMonitorWithoutStartup();
    }
    void Key(UINT vk, bool release) { OnHookKey(vk, release ? 0xC0000001 : 1); }
    void Tick() { OnSlotTimer(monitor); }
    // A move as the hook reports it: with the event's own point.
    void MoveTo(int x, int y) { OnHookMouse(WM_MOUSEMOVE, MAKELPARAM(x, y)); }
};

TEST_F(MonitorTest, StartupBringsTheRecorderUp)
{
    Create();
    EXPECT_TRUE(TrayIconExists(monitor));
    EXPECT_TRUE(MouseHookRunning());
    EXPECT_TRUE(KeyHookRunning());
    EXPECT_EQ(Days.CurrentSlot, 100);
    EXPECT_EQ(SlotClock.Recording, 1);
    std::vector<unsigned char> today = ReadWholeFile(DataFile("20240307.dat"));
    ASSERT_EQ(today.size(), 2880u);
    for (unsigned char b : today) ASSERT_EQ(b, 0xFF);
    EXPECT_EQ(Days.ActivityTable[0][50][3], -1) << "days without a file show no data";
    EXPECT_EQ(GetFileAttributesA(DataFile("20240306.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(IsWindowVisible(monitor));

    // The one trip through the window's procedure: the hooks' messages count, the timer commits.
    SendMessageA(monitor, WM_HOOK_MOUSE, WM_RBUTTONDOWN, 0);
    SendMessageA(monitor, WM_HOOK_MOUSE, WM_RBUTTONUP, 0);
    SendMessageA(monitor, WM_HOOK_KEY, 'A', 1);
    SendMessageA(monitor, WM_TIMER, SlotTimerId, 0);
    EXPECT_EQ(Days.ActivityTable[0][100][0], 1);
    EXPECT_EQ(Days.ActivityTable[1][100][0], 1);
}

struct InputCase {
    const char* name;
    std::vector<std::pair<UINT, UINT>> events;  // (hook message, wParam); keys: wParam | release bit
    int clicks, keys;
};

const UINT Released = 0x80000000u;

TEST_F(MonitorTest, CountingRules)
{
    const InputCase cases[] = {
        {"down up", {{WM_HOOK_MOUSE, WM_LBUTTONDOWN}, {WM_HOOK_MOUSE, WM_LBUTTONUP}}, 1, 0},
        {"double click", {{WM_HOOK_MOUSE, WM_LBUTTONDOWN}, {WM_HOOK_MOUSE, WM_LBUTTONUP},
                          {WM_HOOK_MOUSE, WM_LBUTTONDBLCLK}, {WM_HOOK_MOUSE, WM_LBUTTONUP}}, 2, 0},
        {"up without down", {{WM_HOOK_MOUSE, WM_RBUTTONUP}}, 0, 0},
        {"three buttons", {{WM_HOOK_MOUSE, WM_LBUTTONDOWN}, {WM_HOOK_MOUSE, WM_LBUTTONUP},
                           {WM_HOOK_MOUSE, WM_RBUTTONDOWN}, {WM_HOOK_MOUSE, WM_RBUTTONUP},
                           {WM_HOOK_MOUSE, WM_MBUTTONDOWN}, {WM_HOOK_MOUSE, WM_MBUTTONUP},
                           {WM_HOOK_MOUSE, WM_RBUTTONDBLCLK}, {WM_HOOK_MOUSE, WM_MBUTTONDBLCLK}}, 5, 0},
        {"wheel and extra buttons", {{WM_HOOK_MOUSE, 0x20A}, {WM_HOOK_MOUSE, 0x20B},
                                     {WM_HOOK_MOUSE, 0x20C}, {WM_HOOK_MOUSE, 0x20E}}, 0, 0},
        {"auto-repeat", {{WM_HOOK_KEY, 'A'}, {WM_HOOK_KEY, 'A'}, {WM_HOOK_KEY, 'A'},
                         {WM_HOOK_KEY, 'A' | Released}}, 0, 1},
        {"A held, B pressed", {{WM_HOOK_KEY, 'A'}, {WM_HOOK_KEY, 'B'}}, 0, 2},
        {"release resets the last key", {{WM_HOOK_KEY, 'A'}, {WM_HOOK_KEY, 'B'},
                                         {WM_HOOK_KEY, 'B' | Released}, {WM_HOOK_KEY, 'A'}}, 0, 3},
        {"same key twice", {{WM_HOOK_KEY, 'A'}, {WM_HOOK_KEY, 'A' | Released}, {WM_HOOK_KEY, 'A'}}, 0, 2},
    };
    StartRecording();
    for (const InputCase& c : cases) {
        SCOPED_TRACE(c.name);
        Counters.LeftClicks = Counters.RightClicks = Counters.MiddleClicks = Counters.KeyTouches = 0;
        Counters.LeftDown = Counters.RightDown = Counters.MiddleDown = 0;
        Counters.LastKey = 0;
        for (const auto& e : c.events) {
            if (e.first == WM_HOOK_MOUSE) OnHookMouse(e.second, 0);
            else Key(e.second & ~Released, (e.second & Released) != 0);
        }
        EXPECT_EQ(Counters.LeftClicks + Counters.RightClicks + Counters.MiddleClicks, c.clicks);
        EXPECT_EQ(Counters.KeyTouches, c.keys);
        Tick();
        EXPECT_EQ(Days.ActivityTable[0][100][0], c.clicks);
        EXPECT_EQ(Days.ActivityTable[1][100][0], c.keys);
    }
}

// Each move and the travel it adds per axis, worked out from the points alone.
struct MoveCase {
    const char* name;
    int x, y;
    int addX, addY;
};

TEST_F(MonitorTest, PointerTravelPerAxis)
{
    const MoveCase moves[] = {
        {"the first move measures nothing", 10, 10, 0, 0},
        {"per axis", 13, 6, 3, 4},
        {"into the top-left corner", 0, 0, 13, 6},
        {"out of the corner: a position like any other", 40, 30, 40, 30},
        {"onto a monitor left of and above the main one", -1280, -200, 1320, 230},
        {"back", 41, 30, 1321, 230},
    };
    StartRecording();
    int moveX = 0, moveY = 0;
    for (const MoveCase& m : moves) {
        SCOPED_TRACE(m.name);
        MoveTo(m.x, m.y);
        moveX += m.addX;
        moveY += m.addY;
        EXPECT_EQ(Counters.MoveX, moveX);
        EXPECT_EQ(Counters.MoveY, moveY);
        EXPECT_EQ(StatusBar.Pointer.x, m.x) << "the status bar shows the event's point";
        EXPECT_EQ(StatusBar.Pointer.y, m.y);
    }
    Tick();
    EXPECT_EQ(Days.ActivityTable[2][100][0], moveX + moveY);
}

// A thread that is busy (a box, a held file, a slow repaint) takes a burst of moves late, all at
// once: each still counts the step to its own point.
TEST_F(MonitorTest, MovesHandledLateCountTheirOwnSteps)
{
    const int Moves = 400, Step = 60;
    StartRecording();
    for (int i = 0; i <= Moves; ++i)
        PostMessageA(monitor, WM_HOOK_MOUSE, WM_MOUSEMOVE, MAKELPARAM(300 + i % 2 * Step, 200 + i % 2));
    DispatchWaitingMessages();
    EXPECT_EQ(Counters.MoveX, Moves * Step);
    EXPECT_EQ(Counters.MoveY, Moves);
    EXPECT_EQ(StatusBar.Pointer.x, 300);
    Tick();
    EXPECT_EQ(Days.ActivityTable[2][100][0], Moves * (Step + 1));
}

// Hook points are physical; on a scaled display a process that is not per-monitor DPI aware
// sees each monitor's rectangle shrunk by its scale. Rows: physical rectangle, this process's,
// the physical point and where it lands.
struct ScreenMapCase {
    const char* name;
    RECT physical, process;
    POINT from, to;
};

TEST(ScreenMap, PhysicalPointsLandOnTheSameSpotOfTheProcessMonitor)
{
    const ScreenMapCase cases[] = {
        {"unscaled", {0, 0, 1920, 1080}, {0, 0, 1920, 1080}, {1919, 7}, {1919, 7}},
        {"150 %", {0, 0, 2880, 1800}, {0, 0, 1920, 1200}, {300, 151}, {200, 101}},
        {"125 % left of the main one", {-2560, -400, 0, 1040}, {-2048, -320, 0, 832}, {-1280, 100}, {-1024, 80}},
    };
    for (const ScreenMapCase& c : cases) {
        SCOPED_TRACE(c.name);
        POINT to = MapPointBetween(c.from, c.physical, c.process);
        EXPECT_EQ(to.x, c.to.x);
        EXPECT_EQ(to.y, c.to.y);
    }
}

TEST_F(MonitorTest, TrayMenuOpensOnPressesAndGreysByWindowState)
{
    monitor = CreateMonitorWithoutStartup();
    ScriptedUser user;
    user.CloseMenus();
    SendMessageA(monitor, WM_TRAY_NOTIFY, 1, WM_RBUTTONDOWN);
    GraphWindow.Open = 1;  // as the open graph window sets it
    SendMessageA(monitor, WM_TRAY_NOTIFY, 1, WM_LBUTTONDOWN);
    GraphWindow.Open = 0;
    for (LPARAM other : {WM_LBUTTONUP, WM_RBUTTONUP, WM_MOUSEMOVE, WM_LBUTTONDBLCLK})
        EXPECT_EQ(SendMessageA(monitor, WM_TRAY_NOTIFY, 1, other), 0);
    std::vector<std::map<UINT, UINT>> menus = user.ClosedMenus();
    ASSERT_EQ(menus.size(), 2u) << "a menu for each press and none for other messages";
    // A command missing from the menu reads as every state at once, as GetMenuState gives it.
    auto state = [](const std::map<UINT, UINT>& menu, UINT command) {
        auto found = menu.find(command);
        return found == menu.end() ? ~0u : found->second;
    };
    EXPECT_TRUE(state(menus[0], IDC_PUT_AWAY_GRAPH) & MF_GRAYED) << "graph window closed";
    EXPECT_FALSE(state(menus[0], IDC_OPEN_GRAPH) & MF_GRAYED);
    EXPECT_FALSE(state(menus[0], IDC_EXIT) & MF_GRAYED);
    EXPECT_FALSE(state(menus[1], IDC_PUT_AWAY_GRAPH) & MF_GRAYED);
    EXPECT_TRUE(state(menus[1], IDC_OPEN_GRAPH) & MF_GRAYED);
    EXPECT_EQ(state(menus[0], IDC_START_WITH_WINDOWS) & (MF_CHECKED | MF_GRAYED), 0u) << "not chosen: unchecked";
}

TEST_F(MonitorTest, CommandsThatDoNothingInTheirState)
{
    monitor = CreateMonitorWithoutStartup();
    GraphWindow.Open = 1;
    EXPECT_EQ(SendMessageA(monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0), 0) << "already open: no second window";
    GraphWindow.Open = 0;
    EXPECT_EQ(SendMessageA(monitor, WM_COMMAND, IDC_PUT_AWAY_GRAPH, 0), 0);
    EXPECT_EQ(SendMessageA(monitor, WM_COMMAND, 40099, 0), 0);
    EXPECT_TRUE(IsWindow(monitor));
}

TEST_F(MonitorTest, ExitAnsweredNoLeavesEverythingRunning)
{
    CreateWithoutHooks();
    ASSERT_TRUE(StartMouseHook(monitor, WM_HOOK_MOUSE));
    Counters.KeyTouches = 4;
    ScriptedUser user;
    user.Answer(UiA(TextExitCaption), IDNO);
    EXPECT_EQ(user.TextsDuring([&] { EXPECT_EQ(SendMessageA(monitor, WM_COMMAND, IDC_EXIT, 0), 0); }),
              std::vector<std::string>{ExitQuestion});
    EXPECT_TRUE(IsWindow(monitor));
    EXPECT_TRUE(TrayIconExists(monitor));
    EXPECT_TRUE(MouseHookRunning());
    EXPECT_EQ(Counters.KeyTouches, 4);
    Counters.KeyTouches = 5;
    SetFakeTime(2024, 3, 7, 10, 3, 1);
    EXPECT_TRUE(PumpUntil([] { return Days.ActivityTable[1][100][0] == 5; })) << "the slot timer still ticks";
}

// Yes saves, releases and quits. Where the counts cannot be written (today's file can no longer be
// made), the user is asked once more: No keeps the program recording, Yes ends it.
TEST_F(MonitorTest, ExitAnsweredYesSavesReleasesAndQuits)
{
    const struct {
        const char* name;
        bool unwritable;
        int lastAnswer;  // to the question about the counts that would be lost
    } rows[] = {{"written", false, 0}, {"unwritable, kept", true, IDNO}, {"unwritable, ended", true, IDYES}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TearDown();  // each row starts afresh
        SetUp();
        Create();
        Counters.KeyTouches = 6;
        Tick();
        Counters.KeyTouches = 7;  // counted after the last tick
        if (row.unwritable) {
            ASSERT_TRUE(DeleteFileA(DataFile("20240307.dat").c_str()));
            ASSERT_TRUE(CreateDirectoryA(DataFile("20240307.dat").c_str(), nullptr));
        }
        ScriptedUser user;
        user.Expect(UiA(TextExitCaption), UiA(TextExitQuestion), IDYES);
        if (row.unwritable) user.Expect(UiA(TextExitCaption), UiA(TextExitUnsaved), row.lastAnswer);
        std::vector<std::string> asked = {ExitQuestion};
        if (row.unwritable) asked.push_back("今日の記録をファイルに保存できません。終了すると記録が失われます。終了しますか？");
        EXPECT_EQ(user.TextsDuring([&] { EXPECT_EQ(SendMessageA(monitor, WM_CLOSE, 0, 0), 0); }), asked);
        bool ended = row.lastAnswer != IDNO;
        EXPECT_EQ(IsWindow(monitor), !ended);
        EXPECT_EQ(MouseHookRunning() || KeyHookRunning(), !ended);
        EXPECT_EQ(TrayIconExists(monitor), !ended);
        if (!row.unwritable) {
            EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 1, 100), 7);
        }
        if (!ended) {
            EXPECT_EQ(Days.ActivityTable[1][100][0], 7) << "the counts kept";
            Counters.KeyTouches = 8;
            Tick();
            EXPECT_EQ(Days.ActivityTable[1][100][0], 8) << "still recording";
        }
        MSG msg;
        EXPECT_EQ(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE), ended);
        if (ended) {
            EXPECT_EQ(msg.wParam, 0u);
        }
        RemoveDirectoryA(DataFile("20240307.dat").c_str());
    }
}

// The end of the session: called off, the program runs on; ended, the running slot is saved
// without a question and the program is gone at once. With today's file held by another
// program the write is tried, but no box holds the logoff up.
TEST_F(MonitorTest, SessionEnd)
{
    const struct {
        const char* name;
        WPARAM ending;
        bool held;
    } cases[] = {{"called off", FALSE, false}, {"ended", TRUE, false}, {"ended, today's file held", TRUE, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();  // each row starts afresh
        SetUp();
        Create();
        Counters.LeftClicks = 2;
        FileHold hold;
        if (c.held) hold.Hold(DataFile("20240307.dat"));
        ScriptedUser user;  // expects no box
        DWORD start = GetTickCount();
        EXPECT_EQ(SendMessageA(monitor, WM_ENDSESSION, c.ending, 0), 0);
        EXPECT_LT(GetTickCount() - start, 1000u);
        user.Finish();
        hold.Release();
        EXPECT_EQ(IsWindow(monitor), !c.ending);
        EXPECT_EQ(MouseHookRunning() && KeyHookRunning(), !c.ending);
        EXPECT_EQ(TrayIconExists(monitor), !c.ending);
        EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 0, 100), c.ending && !c.held ? 2 : -1);
    }
}

// The user works in a window of some other program: input goes where the hooks can see it.
struct WorkWindow {
    HWND window = CreateWindowExA(0, "STATIC", "work", WS_POPUP | WS_VISIBLE, 600, 500, 100, 100, nullptr,
                                  nullptr, nullptr, nullptr);
    WorkWindow() { SetForegroundWindow(window); }
    ~WorkWindow() { DestroyWindow(window); }
};

// A hook installed after the program's that passes input on without calling the next hook: the
// system takes the input, the program's hooks see none of it. This is how hooks removed by the
// system look from inside.
int EventsPassedOn = 0;

LRESULT CALLBACK PassOnWithoutTheNextHook(int code, WPARAM wParam, LPARAM lParam)
{
    if (code < 0) return CallNextHookEx(nullptr, code, wParam, lParam);
    ++EventsPassedOn;
    return 0;
}

// Hooks that see nothing while the user works, because the hook thread stalls (the system would
// drop its hooks) or a hook passes the input by: within 10 s the watch repairs them, once, and
// they count again, also while another program of the same integrity is in front. Not while the
// input goes where no hook of ours could see it, nor sooner than 30 s after the last repair; three
// repairs in a row after which a hook is still not installed bring the failure box.
TEST_F(MonitorTest, HooksThatSeeNothingAreRepaired)
{
    std::vector<DWORD> before;
    HANDLE stalled = nullptr;
    HHOOK thief = nullptr, pointerThief = nullptr;
    auto stall = [&] {
        stalled = OpenThread(THREAD_SUSPEND_RESUME | SYNCHRONIZE, FALSE, HookThreadSince(before));
        ASSERT_TRUE(stalled && SuspendThread(stalled) != static_cast<DWORD>(-1));
    };
    auto passBy = [&] {
        thief = SetWindowsHookExA(WH_KEYBOARD_LL, PassOnWithoutTheNextHook, GetModuleHandleA(nullptr), 0);
        ASSERT_NE(thief, nullptr);
    };
    PROCESS_INFORMATION other = {};
    auto otherInFront = [&] {
        ASSERT_TRUE(StartWindowProcess("", 600, &other));
        ASSERT_TRUE(PumpUntil([&] {
            DWORD id = 0;
            GetWindowThreadProcessId(GetForegroundWindow(), &id);
            return id == other.dwProcessId;
        }));
        passBy();
        // The pointer's too: a window that comes up under the pointer may bring a move late.
        pointerThief = SetWindowsHookExA(WH_MOUSE_LL, PassOnWithoutTheNextHook, GetModuleHandleA(nullptr), 0);
        ASSERT_NE(pointerThief, nullptr);
    };
    const std::string mouseHookFailed = UiA(TextMouseHookFailed);
    const struct {
        const char* name;
        std::function<void()> fault;
        DWORD quietMs;  // no repair for this long
        int repairs;    // then this many in all
        const char* box;
    } cases[] = {
        {"stalled thread", stall, 0, 1, nullptr},
        {"passed by", passBy, 0, 1, nullptr},
        {"session locked", [&] { passBy(); HookWatch.SessionLocked = 1; }, 2500, 0, nullptr},
        {"another process of equal integrity in front", otherInFront, 0, 1, nullptr},
        {"repaired 28 s ago", [&] { passBy(); HookWatch.Repairs = 1; HookWatch.RepairedAt = ReadTickCount() - 28000; },
         1000, 2, nullptr},
        {"mouse hook not installed after two repairs", [] { EndMouseHook(); HookWatch.FailedRepairs = 2; }, 0, 1,
         mouseHookFailed.c_str()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();  // each row starts afresh
        SetUp();
        WorkWindow work;
        before = ProcessThreadIds();
        Create();
        ScriptedUser user;
        if (c.box) user.Expect(UiA(TextHookCaption), c.box, IDOK);
        c.fault();
        // SendInput waits while a stalled hook times out: the input comes from a thread of its own.
        // A hook that is not installed needs none, and a key the other one reports shows it up.
        std::thread unseen([&] {
            if (!c.box) InjectKey('J');
        });
        int repairs = HookWatch.Repairs;
        if (c.quietMs) EXPECT_FALSE(PumpUntil([&] { return HookWatch.Repairs != repairs; }, c.quietMs));
        EXPECT_TRUE(PumpUntil([&] { return HookWatch.Repairs == c.repairs && (!c.box || HookWatch.FailureShown); }))
            << HookWatch.Repairs << " repairs";
        unseen.join();
        int keys = Counters.KeyTouches;
        EXPECT_LE(keys, 1) << "the key of the fault is counted once or lost, never twice";
        if (c.repairs) {
            std::thread seen([] { InjectKey('K'); });
            EXPECT_TRUE(PumpUntil([&] { return Counters.KeyTouches == keys + 1; })) << "the repaired hooks count";
            seen.join();
        }
        if (stalled) {
            ResumeThread(stalled);
            WaitForSingleObject(stalled, 5000);
            CloseHandle(stalled);
        }
        if (thief) UnhookWindowsHookEx(thief);
        if (pointerThief) UnhookWindowsHookEx(pointerThief);
        EndProcess(&other);
        stalled = nullptr;
        thief = pointerThief = nullptr;
        EXPECT_EQ(HookWatch.Repairs, c.repairs);
    }
}

// Before the machine sleeps the running slot is written; after the resume the hooks are
// installed afresh and count, although what was installed before sees nothing any more.
TEST_F(MonitorTest, SuspendWritesTheSlotAndResumeRearmsTheHooks)
{
    WorkWindow work;
    Create();
    Key('A', false);
    Key('A', true);
    SendMessageA(monitor, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 1, 100), 1) << "written before the sleep";
    HHOOK thief = SetWindowsHookExA(WH_KEYBOARD_LL, PassOnWithoutTheNextHook, GetModuleHandleA(nullptr), 0);
    std::vector<DWORD> before = ProcessThreadIds();
    EXPECT_EQ(SendMessageA(monitor, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0), TRUE);
    EXPECT_NE(HookThreadSince(before), 0u) << "the hooks run on a fresh thread";
    std::thread typing([] { InjectKey('L'); });
    EXPECT_TRUE(PumpUntil([] { return Counters.KeyTouches == 2; }, 1500)) << "counted before the watch could repair";
    typing.join();
    UnhookWindowsHookEx(thief);
}

TEST_F(MonitorTest, TrayIconComesBackWithTheTaskbar)
{
    CreateWithoutHooks();
    ASSERT_TRUE(NotifyTrayIcon(NIM_DELETE, monitor));
    ASSERT_FALSE(TrayIconExists(monitor));
    SendMessageA(monitor, Tray.TaskbarCreatedMessage, 0, 0);
    EXPECT_TRUE(TrayIconExists(monitor));
}

// At a busy logon the shell may add the icon yet report a time-out, after which every add of
// the same icon fails: the start-up sees that the icon is there and goes on.
TEST_F(MonitorTest, StartupGoesOnWhenTheIconIsThereDespiteAFailedAdd)
{
    monitor = CreateMonitorWithoutStartup();
    ASSERT_TRUE(NotifyTrayIcon(NIM_ADD, monitor));
    ASSERT_FALSE(NotifyTrayIcon(NIM_ADD, monitor)) << "the shell refuses a second add";
    EXPECT_EQ(StartRecorder(monitor), 1);
    EXPECT_EQ(SlotClock.Recording, 1);
}

// A sync client or an indexer holds a past day's file for a moment while the program starts:
// the clock's first ticks read it once it is free, without a box.
TEST_F(MonitorTest, StartupRidesOutAFileHeldForAMoment)
{
    std::vector<int> values = NoDataValues();
    values[240 + 30] = 8;
    std::vector<unsigned char> day = DayFileBytes(values);
    ASSERT_TRUE(WriteWholeFile(DataFile("20240301.dat"), day.data(), day.size()));
    FileHold hold(DataFile("20240301.dat"));
    ASSERT_NE(hold.file, INVALID_HANDLE_VALUE);
    // The hold is the fault itself: it lasts a moment, which no event of the program marks.
    std::thread release([&] {
        Sleep(700);
        hold.Release();
    });
    ScriptedUser user;
    Create();
    EXPECT_EQ(SlotClock.Recording, 1);
    EXPECT_TRUE(PumpUntil([] { return Days.ActivityTable[1][30][6] == 8; })) << "the day was not read";
    release.join();
    user.Finish();
}

// Another program holds yesterday's and today's files past the start's wait (a backup, a cloud
// placeholder while offline): the start-up waits for neither, both days show as no data,
// recording goes on, one box comes once the first ticks could not read them either, and once the
// files are free the next change of slot reads the days in. The slot of the start goes on from
// what an earlier run in the same slot wrote for it.
TEST_F(MonitorTest, StartupWithFilesHeldPastTheWaitRecordsAndCatchesUp)
{
    const struct {
        const char* file;
        int day;
    } held[] = {{"20240306.dat", 1}, {"20240307.dat", 0}};
    FileHold holds[2];
    for (int i = 0; i < 2; ++i) {
        std::vector<int> values = NoDataValues();
        values[5] = 3 + i;  // clicks of slot 5
        values[240 + 100] = 2;  // key touches of slot 100, the slot of the start
        std::vector<unsigned char> day = DayFileBytes(values);
        ASSERT_TRUE(WriteWholeFile(DataFile(held[i].file), day.data(), day.size()));
        holds[i].Hold(DataFile(held[i].file));
        ASSERT_NE(holds[i].file, INVALID_HANDLE_VALUE);
    }
    ScriptedUser user;
    user.Expect(UiA(TextOpenCaption), UiA(TextOpenFailed), IDOK);
    DWORD start = GetTickCount();
    Create();
    EXPECT_LT(GetTickCount() - start, 2000u) << "the start-up waited for the held files";
    EXPECT_EQ(SlotClock.Recording, 1);
    EXPECT_TRUE(MouseHookRunning());
    for (const auto& h : held) {
        EXPECT_EQ(Days.DayUnread[h.day], 1) << h.file;
        EXPECT_EQ(Days.ActivityTable[0][5][h.day], -1) << h.file << ": no data while it is held";
    }
    EXPECT_TRUE(PumpUntil([&] { return user.AnsweredTexts().size() == 1; })) << "no box for the held files";
    Counters.KeyTouches = 5;
    SendMessageA(monitor, WM_TIMER, SlotTimerId, 0);
    for (FileHold& hold : holds) hold.Release();
    SetFakeTime(2024, 3, 7, 10, 6, 0);
    EXPECT_TRUE(user.TextsDuring([&] {
                    SendMessageA(monitor, WM_TIMER, SlotTimerId, 0);
                    DispatchWaitingMessages();
                }).empty());
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(Days.ActivityTable[0][5][held[i].day], 3 + i) << held[i].file << ": read at the change of slot";
        EXPECT_EQ(FileValue(ReadWholeFile(DataFile(held[i].file)), 0, 5), 3 + i) << held[i].file << ": values kept";
    }
    EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 1, 100), 2 + 5)
        << "the slot reached the file, on top of the earlier run's count";
    user.Finish();
}

// No notification area at start (no shell yet at logon, another shell, an area hidden by policy):
// recording starts at once, and the icon is added when the shell takes it.
TEST_F(MonitorTest, NoShellAtStartRecordsAtOnceAndAddsTheIconLater)
{
    SetShellAway(40);
    Create();
    EXPECT_FALSE(TrayIconExists(monitor)) << "the start-up waited for the shell";
    EXPECT_EQ(SlotClock.Recording, 1);
    EXPECT_TRUE(MouseHookRunning());
    Counters.KeyTouches = 2;
    SendMessageA(monitor, WM_TIMER, SlotTimerId, 0);
    EXPECT_EQ(Days.ActivityTable[1][100][0], 2);
    SetShellAway(0);
    EXPECT_TRUE(PumpUntil([&] { return TrayIconExists(monitor); })) << "the icon never came";
}

// A key that the program's hooks never see: the hook installed on this thread after theirs takes
// it, while this thread serves it until it has passed both events on to the system.
bool InjectUnseenKey(WORD vk)
{
    int before = EventsPassedOn;
    std::thread injector([vk] { InjectKey(vk); });
    bool taken = PumpUntil([&] { return EventsPassedOn == before + 2; }, 5000);
    injector.join();
    return taken;
}

// Input that low-level hooks never see (touch, pen), first alone for two minutes, then while the
// hooks report the wheel: the hooks work, so no box comes; the repairs while the wheel is reported
// back off, each waiting at least twice as long as the one before, up to ten minutes. Once the
// hooks have seen everything for a whole wait, the back-off is over: unseen input again is
// repaired at the usual pace. The tick clock runs ahead of the real one in steps of ten seconds.
TEST_F(MonitorTest, InputTheHooksNeverSeeBringsNoBoxAndBackedOffRepairs)
{
    WorkWindow work;
    ScriptedUser user;
    Create();
    KillTimer(monitor, SlotTimerId);  // the test ticks
    HHOOK thief = nullptr;
    AtExit unhook{[&] {
        if (thief) UnhookWindowsHookEx(thief);
    }};
    DWORD clock = 0;
    // Ten seconds: the wheel, and a key the thief takes; 1 when a repair followed, 0 when none did,
    // -1 when the hooks did not see the wheel or the thief did not take the key.
    auto step = [&](bool wheel, bool unseen) {
        bool ok = true;
        if (wheel) {
            unsigned messages = HookWatch.Messages;
            std::thread turn([] {
                INPUT input = {};
                input.type = INPUT_MOUSE;
                input.mi.dwFlags = MOUSEEVENTF_WHEEL;
                input.mi.mouseData = WHEEL_DELTA;
                SendInput(1, &input, sizeof input);
            });
            ok = PumpUntil([&] { return HookWatch.Messages != messages; }, 2000);
            turn.join();
        }
        AdvanceTickClock(5000);
        Tick();
        // A repair puts the program's hooks before the thief's: the thief comes first again.
        if (thief) UnhookWindowsHookEx(thief);
        thief = unseen ? SetWindowsHookExA(WH_KEYBOARD_LL, PassOnWithoutTheNextHook, GetModuleHandleA(nullptr), 0)
                       : nullptr;
        ok = ok && (!unseen || (thief && InjectUnseenKey('J')));
        AdvanceTickClock(5000);
        clock += 10000;
        int before = HookWatch.Repairs;
        Tick();
        DispatchWaitingMessages();
        return ok ? HookWatch.Repairs - before : -1;
    };
    for (int i = 0; i < 12; ++i) ASSERT_GE(step(false, true), 0);
    EXPECT_GE(HookWatch.Repairs, 3) << "unseen input alone brought no repairs";
    std::vector<DWORD> repairs;  // while the wheel is reported
    for (int i = 0; i < 200 && repairs.size() < 6; ++i) {
        int repaired = step(true, true);
        ASSERT_GE(repaired, 0) << "the hooks saw no wheel, or saw the key";
        if (repaired) repairs.push_back(clock);
    }
    EXPECT_EQ(HookWatch.Down, 0);
    ASSERT_EQ(repairs.size(), 6u) << "the repairs stopped";
    // The waits: 60 s, 120 s, 240 s, 480 s, then 600 s; a repair falls on the first step at which
    // its wait is over, or later when the display's own events make the key look recent. The
    // last wait stops at ten minutes: going on doubling, it would be 960 s at least.
    for (size_t i = 1; i < repairs.size(); ++i)
        EXPECT_GE(repairs[i] - repairs[i - 1], std::min<DWORD>(30000u << i, 600000u)) << "repair " << i;
    EXPECT_LT(repairs[5] - repairs[4], 960000u) << "the waits grew past ten minutes";
    for (int i = 0; i < 62; ++i) ASSERT_GE(step(true, false), 0);
    // Unseen input again: repaired within a step or two, then the back-off starts over from 30 s.
    std::vector<DWORD> again;
    DWORD resumed = clock;
    for (int i = 0; i < 18 && again.size() < 2; ++i) {
        int repaired = step(true, true);
        ASSERT_GE(repaired, 0);
        if (repaired) again.push_back(clock);
    }
    ASSERT_EQ(again.size(), 2u) << "the back-off outlived a whole wait in which the hooks saw everything";
    EXPECT_LE(again[0] - resumed, 20000u) << "the first repair waited";
    EXPECT_GE(again[1] - again[0], 60000u);
    EXPECT_LT(again[1] - again[0], 70000u) << "the back-off did not start over";
    user.Finish();  // a box, although the hooks work, fails the test
}

// The tray icon says why the program does not record, and turns back by itself when the cause
// ends: today's file not read yet, a slot that cannot reach its file, and hooks that no repair
// brought back. A change the shell refuses (a busy logon) is asked for again at the next tick.
TEST_F(MonitorTest, TrayIconTellsWhileItCannotRecord)
{
    StartRecording();
    ASSERT_TRUE(AddTrayIcon(monitor));
    ScriptedUser user;
    user.Expect(UiA(TextErrorCaption), UiA(TextCreateFailed), IDOK);
    FileHold todayHeld;
    struct Row {
        const char* cause;
        std::function<void()> begin, end;
        int state;
        const char* tip;
    } rows[] = {
        {"today's file held since the start-up, which could not read it",
         [&] {
             todayHeld.Hold(DataFile("20240307.dat"));
             Days.DayUnread[0] = 1;
         },
         [&] { todayHeld.Release(); }, TrayNoData, "PC活動記録測定ソフト - 記録できません: データフォルダーを使えません"},
        {"today's file cannot be written",
         [] {
             // A folder stands where the file was: it cannot be made again.
             ASSERT_TRUE(DeleteFileA(DataFile("20240307.dat").c_str()));
             ASSERT_TRUE(CreateDirectoryA(DataFile("20240307.dat").c_str(), nullptr));
         },
         [] { RemoveDirectoryA(DataFile("20240307.dat").c_str()); }, TrayUnsaved,
         "PC活動記録測定ソフト - 記録できません: ファイルに書き込めません"},
        {"hooks down after the repairs",
         [] { HookWatch.Down = 1; },
         [] {
             // The hooks report again; the next check sees it (no repair is due).
             HookWatch.Watched = 1;
             HookWatch.Repairs = 1;
             HookWatch.RepairedAt = ReadTickCount();
             HookWatch.CheckedAt = ReadTickCount() - 2000;
             ++HookWatch.Messages;
         },
         TrayNoInput, "PC活動記録測定ソフト - 記録できません: マウス・キーボードを受け取れません"},
    };
    int minute = 3;
    auto nextSlot = [&] {
        minute += 6;
        SetFakeTime(2024, 3, 7, 10, minute, 0);
        Tick();
        DispatchWaitingMessages();
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.cause);
        nextSlot();
        ASSERT_EQ(Tray.State, TrayRecording);
        row.begin();
        SetShellAway(1);
        nextSlot();
        EXPECT_EQ(Tray.State, TrayRecording) << "refused, but taken as shown";
        Tick();
        EXPECT_EQ(Tray.State, TrayRecording) << "asked again only after a wait";
        AdvanceTickClock(400);
        Tick();
        EXPECT_EQ(Tray.State, row.state);
        EXPECT_EQ(Narrow(TrayTipOf(Tray.State)), row.tip);
        row.end();
        nextSlot();
        EXPECT_EQ(Tray.State, TrayRecording) << "back by itself";
    }
    HookWatch.Watched = 0;
    EXPECT_EQ(Narrow(TrayTipOf(TrayRecording)), "PC活動記録測定ソフト");
}

// Start with Windows: the per-user Run entry of this test prefix, removed again at the end.
void SetRegistryValue(const char* key, DWORD type, const void* data, DWORD size)
{
    HKEY handle = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &handle, nullptr), 0);
    RegSetValueExA(handle, "Vantle", 0, type, static_cast<const BYTE*>(data), size);
    RegCloseKey(handle);
}

TEST_F(MonitorTest, StartWithWindowsEntry)
{
    const char run[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    const char approved[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    const char exe[] = "C:\\Program Files\\Vantle 記録\\vantle.exe";
    const std::string quoted = std::string("\"") + exe + "\"";
    auto removeAll = [&] {
        RegDeleteKeyValueA(HKEY_CURRENT_USER, run, "Vantle");
        RegDeleteKeyValueA(HKEY_CURRENT_USER, approved, "Vantle");
    };
    auto approvedByte = [&] {
        BYTE bytes[12] = {};
        DWORD size = sizeof bytes;
        return RegGetValueA(HKEY_CURRENT_USER, approved, "Vantle", RRF_RT_REG_BINARY, nullptr, bytes, &size) == 0
                   ? bytes[0] : 0;
    };
    removeAll();
    struct Row {
        const char* name;
        std::function<void()> before;
        bool startsBefore;
        std::string after;  // the Run value after the choice
        bool startsAfter;
    } rows[] = {
        {"chosen: written quoted", [] {}, false, quoted, true},
        {"chosen again: removed", [] {}, true, "(none)", false},
        {"folder moved: pointed here",
         [&] { SetRegistryValue(run, REG_SZ, "\"D:\\old\\vantle.exe\"", 20); }, false, quoted, true},
        {"switched off by Windows: on again",
         [&] {
             static const BYTE off[12] = {3, 0, 0, 0, 1, 2, 3, 4, 5, 6, 7, 8};
             SetRegistryValue(approved, REG_BINARY, off, sizeof off);
         },
         false, quoted, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.before();
        EXPECT_EQ(StartsWithWindows(Wide(exe).c_str()) != 0, row.startsBefore);
        EXPECT_EQ(ToggleStartWithWindows(Wide(exe).c_str()), 1);
        EXPECT_EQ(RegistryText(run, "Vantle"), row.after);
        EXPECT_EQ(StartsWithWindows(Wide(exe).c_str()) != 0, row.startsAfter);
    }
    EXPECT_EQ(approvedByte(), 2) << "switched on in Windows' startup settings";
    removeAll();

    // Through the tray menu's command, for this program itself.
    monitor = CreateMonitorWithoutStartup();
    lstrcpynW(Monitor.ExePath, Wide(exe).c_str(), PathCapacity);
    SendMessageA(monitor, WM_COMMAND, IDC_START_WITH_WINDOWS, 0);
    EXPECT_EQ(RegistryText(run, "Vantle"), quoted);
    removeAll();
}

// The claim is the folder itself. Two folders whose names differ only in a trail byte (ア is 83 41
// and ヂ 83 61 in code page 932) are two claims, and the hand-over of one does not reach the copy
// of the other; another spelling of one folder is the same claim, and its hand-over reaches the
// copy that holds it. A copy tool reads the lock file meanwhile (a backup of the folder while the
// program records), and a second claim is still refused; nor can a clean-up or sync tool rename or
// delete the lock file away from under the claim. The claim goes with the handle that held it.
TEST(FolderClaim, OneClaimPerFolderWhateverItsSpelling)
{
    const struct {
        const char* held;
        const char* second;  // null: the held folder's short name
        bool same;
        bool copied;  // a copy tool has the lock file open while the second start claims
        bool moved;   // a tool tries to rename, then delete the lock file first
    } cases[] = {
        {"claim_ア", "claim_ヂ", false, false, false},
        {"claim_a", "claim_b", false, false, false},
        {"claim_ア", "CLAIM_ア", true, false, false},
        {"claim_ア", "claim_ヂ\\..\\claim_ア", true, false, false},
        {"claim_long_name_ア", nullptr, true, false, false},
        {"claim_a", "claim_a", true, true, false},
        {"claim_a", "claim_a", true, false, true},
    };
    HWND copy = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.held) + " / " + (c.second ? c.second : "short name"));
        ResetStore(c.held);
        std::string held = DataFolder();
        ASSERT_EQ(IdentifyDataFolder(), 1);
        ASSERT_EQ(TakeFolderLock(), 1);
        HANDLE lock = FolderClaim.Lock;
        unsigned long long heldIndex = FolderClaim.Index;
        DWORD heldVolume = FolderClaim.Volume;

        std::string second = ModuleFolder() + (c.second ? c.second : "");
        if (!c.second) {
            wchar_t shortName[MAX_PATH] = L"";
            ASSERT_NE(GetShortPathNameW(Wide(held).c_str(), shortName, MAX_PATH), 0u);
            second = Narrow(shortName);
            ASSERT_NE(second, held);
        }
        CreateDirectoryA(second.c_str(), nullptr);
        SetDataFolder(second);
        ASSERT_EQ(IdentifyDataFolder(), 1);
        std::string lockFile = held + "\\vantle.lock";
        HANDLE reader = c.copied ? CreateFileA(lockFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                               OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr)
                                 : INVALID_HANDLE_VALUE;
        if (c.copied) {
            char byte = 0;
            DWORD got = 1;
            EXPECT_TRUE(reader != INVALID_HANDLE_VALUE && ReadFile(reader, &byte, 1, &got, nullptr) && got == 0)
                << "a copy tool cannot read the lock file";
            EXPECT_TRUE(CopyFileA(lockFile.c_str(), (held + "\\copied.lock").c_str(), FALSE));
        }
        if (c.moved) {
            EXPECT_FALSE(MoveFileA(lockFile.c_str(), (held + "\\moved.lock").c_str())) << "renamed while held";
            EXPECT_FALSE(DeleteFileA(lockFile.c_str())) << "deleted while held";
        }
        EXPECT_EQ(TakeFolderLock(), c.same ? 0 : 1);
        if (reader != INVALID_HANDLE_VALUE) CloseHandle(reader);
        if (!c.same) CloseHandle(FolderClaim.Lock);
        WPARAM index = static_cast<WPARAM>(FolderClaim.Index);
        LPARAM volume = static_cast<LPARAM>(FolderClaim.Volume);
        FolderClaim.Index = heldIndex;
        FolderClaim.Volume = heldVolume;
        EXPECT_EQ(OnHandover(copy, index, volume), c.same ? 1 : 0);

        CloseHandle(lock);
        SetDataFolder(held);
        EXPECT_EQ(TakeFolderLock(), 1) << "the claim outlived its handle";
        CloseHandle(FolderClaim.Lock);
        RemoveFolder(held);
        if (!c.same) RemoveFolder(second);
    }
    DestroyWindow(copy);
    DispatchWaitingMessages();
}
}  // namespace
