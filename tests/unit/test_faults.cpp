// Faults while the recorder runs: today's file read-only, locked, truncated or deleted, the data
// folder unusable at start, day files full of garbage, the graph window open at midnight, and a
// picture saved into a folder that has gone. Each time: the right message (or none), recording
// goes on, and nothing recorded is lost that the fault leaves a way to keep.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include <array>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/monitor.h"
#include "app/slotclock.h"
#include "app/tray.h"
#include "base/report.h"
#include "base/uitext.h"
#include "graph/export.h"
#include "graph/geometry.h"
#include "graph/view.h"
#include "graph_dialog_support.h"
#include "hook/hookapi.h"
#include "res/messages.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "support/fake_clock.h"
#include "support/fake_savedialog.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/savecommands.h"
#include "ui/statusbar.h"

namespace {
typedef std::array<int, 3> SlotValues;
typedef std::map<int, SlotValues> DayValues;

// Slots 10 and 50 were recorded earlier today, by this run or an earlier one.
const DayValues EarlierSlots = {{10, {4, 5, 6}}, {50, {7, 8, 9}}};

std::vector<int> ValuesOf(const DayValues& slots)
{
    std::vector<int> values = NoDataValues();
    for (const auto& s : slots)
        for (int m = 0; m < 3; ++m) values[m * 240 + s.first] = s.second[m];
    return values;
}

// The file is a whole day file holding exactly the given slots; every other slot has no data.
void ExpectDayFile(const std::string& path, const DayValues& slots)
{
    std::vector<unsigned char> bytes = ReadWholeFile(path);
    ASSERT_EQ(bytes.size(), 2880u) << path;
    for (int s = 0; s < 240; ++s) {
        auto found = slots.find(s);
        for (int m = 0; m < 3; ++m) {
            int expected = found == slots.end() ? -1 : found->second[m];
            EXPECT_EQ(FileValue(bytes, m, s), expected) << "metric " << m << ", slot " << s;
        }
    }
}

class FaultTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetStore("test_faults");
        TakeSaveDialogCalls();
    }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        DestroyMonitor(monitor);
        user.Finish();
        RemoveFolder(DataFolder());
        if (!blocker.empty()) DeleteFileA(blocker.c_str());
    }

    // A running recorder at the given time of 7 March 2024; today's file holds the earlier slots.
    void StartAt(int h, int mi, int s, const DayValues& today = EarlierSlots)
    {
        PutFile("20240307.dat", ValuesOf(today));
        ASSERT_TRUE(StartRecorderAt(h, mi, s));
        path = DayFilePathOf(0);
        if (!monitor) monitor = CreateMonitorWithoutStartup();
        Monitor.Window = monitor;
        SetReportWindow(monitor);
    }
    // Each test answers the boxes it expects, by caption and text; any other box fails it.
    void ExpectBox(const std::string& text, const std::string& caption = UiA(TextErrorCaption))
    {
        user.Expect(caption, text, IDOK);
    }
    // Runs the action, then serves the posted messages as the program's loop would (the queued
    // failure reports among them); returns the texts of the boxes the user answered meanwhile.
    std::vector<std::string> BoxesDuring(const std::function<void()>& action)
    {
        return user.TextsDuring([&] {
            action();
            DispatchWaitingMessages();
        });
    }
    // No box at all came, whether a rule answered it or not.
    bool NoBoxDuring(const std::function<void()>& action)
    {
        size_t before = user.BoxesSeen();
        BoxesDuring(action);
        return user.BoxesSeen() == before;
    }
    void PutFile(const char* name, const std::vector<int>& values)
    {
        std::vector<unsigned char> bytes = DayFileBytes(values);
        ASSERT_TRUE(WriteWholeFile(DataFile(name), bytes.data(), bytes.size()));
    }
    // Counts of slot 100 (10:00 to 10:05), committed by a tick but not yet in the file.
    void RecordInSlot100()
    {
        StartAt(10, 5, 0);
        Counters.LeftClicks = 2;
        Counters.KeyTouches = 4;
        Counters.MoveY = 30;
        TickAt(monitor, 10, 5, 30);
    }

    ScriptedUser user;
    std::string path;
    HWND monitor = nullptr;
    HWND window = nullptr;
    std::string blocker;  // a file standing where the data folder belongs
};

DayValues With(DayValues slots, int slot, SlotValues values)
{
    slots[slot] = values;
    return slots;
}

// A fault that keeps today's file from being opened for a slot write, until it is cleared.
struct OpenFault {
    std::function<void(const std::string&)> apply;
    std::function<void(const std::string&)> clear;
    std::string text;  // the box of the cause
    std::string caption;
};

class SlotWriteFaultTest : public FaultTest {
protected:
    // Slots 237 to 239 of 7 March were recorded (1, 2 and 3 key touches) while today's file was
    // held, slot 0 of 8 March (4) after it: each is in its own day's file, and nothing else is.
    void ExpectHeldSlotsInTheirOwnDaysFiles()
    {
        ExpectDayFile(DataFile("20240307.dat"),
                      With(With(With(EarlierSlots, 237, {0, 1, 0}), 238, {0, 2, 0}), 239, {0, 3, 0}));
        ExpectDayFile(DataFile("20240308.dat"), {{0, {0, 4, 0}}});
    }
    // The change of slot cannot write: the message comes, memory keeps the slot, the next slot
    // is recorded, and once the fault is gone the next change of slot writes both.
    void ExpectKeptUntilTheFaultIsGone(const OpenFault& fault)
    {
        ExpectBox(fault.text, fault.caption);
        std::vector<unsigned char> before = ReadWholeFile(path);
        fault.apply(path);
        EXPECT_EQ(BoxesDuring([&] { TickAt(monitor, 10, 6, 0); }), std::vector<std::string>{fault.text});
        EXPECT_EQ(Days.CurrentSlot, 101);
        EXPECT_EQ(Days.ActivityTable[1][100][0], 4) << "memory keeps the slot";
        Counters.KeyTouches = 3;
        TickAt(monitor, 10, 6, 20);
        EXPECT_EQ(Days.ActivityTable[1][101][0], 3) << "recording goes on";
        fault.clear(path);
        EXPECT_EQ(ReadWholeFile(path), before) << "nothing was written while the fault lasted";
        EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 10, 12, 0); }))
            << "a message although the file can be written";
        ExpectDayFile(path, With(With(EarlierSlots, 100, {2, 4, 30}), 101, {0, 3, 0}));
    }
};

TEST_F(SlotWriteFaultTest, ReadOnlyTodaysFile)
{
    RecordInSlot100();
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY);
    HANDLE probe = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (probe != INVALID_HANDLE_VALUE) {
        CloseHandle(probe);
        GTEST_SKIP() << "this user may write read-only files (Wine run by root)";
    }
    ExpectKeptUntilTheFaultIsGone({
        [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_READONLY); },
        [](const std::string& p) { SetFileAttributesA(p.c_str(), FILE_ATTRIBUTE_NORMAL); },
        UiA(TextCreateFailed), UiA(TextErrorCaption),
    });
}

TEST_F(SlotWriteFaultTest, TodaysFileLockedByAnotherProgram)
{
    RecordInSlot100();
    FileHold hold;
    ExpectKeptUntilTheFaultIsGone({
        [&](const std::string& p) {
            hold.Hold(p);
            ASSERT_NE(hold.file, INVALID_HANDLE_VALUE);
        },
        [&](const std::string&) { hold.Release(); },
        UiA(TextOpenFailed), UiA(TextOpenCaption),
    });
}

// Today's file held from 23:48 until after midnight, the failure box answered at once or left
// up throughout (the clock goes on behind it, and the repeats of its cause add no second box,
// answered or not): slots 237 to
// 239 stay in memory, move into yesterday's column at midnight, and reach yesterday's file (never
// today's) at the first write that works.
TEST_F(SlotWriteFaultTest, SlotsWhoseWritesFailedReachTheirOwnDaysFileAfterMidnight)
{
    ExpectBox(UiA(TextOpenFailed), UiA(TextOpenCaption));
    for (bool leftUp : {false, true}) {
        SCOPED_TRACE(leftUp ? "box left up" : "box answered");
        ResetStore("test_faults");
        StartAt(23, 42, 0);
        FileHold hold(path);
        auto tick = [&](int h, int mi, int day, int keys) {
            Counters.KeyTouches = keys;
            TickAt(monitor, h, mi, 0, day);
            DispatchWaitingMessages();
        };
        auto untilMidnight = [&] {
            tick(23, 54, 7, 2);
            tick(0, 0, 8, 3);
            hold.Release();
        };
        std::vector<std::string> boxes = BoxesDuring([&] {
            Counters.KeyTouches = 1;
            TickAt(monitor, 23, 48, 0);  // its box comes once this thread serves its messages
            if (!leftUp) {
                DispatchWaitingMessages();
                untilMidnight();
                return;
            }
            user.Hold(UiA(TextOpenCaption));
            RunModal([] { DispatchWaitingMessages(); return INT_PTR(0); },
                     [&] { return user.Showing(UiA(TextOpenCaption)); },
                     [&](HWND) {
                         untilMidnight();
                         ExpectBox(UiA(TextOpenFailed), UiA(TextOpenCaption));
                     });
        });
        EXPECT_EQ(boxes, std::vector<std::string>{UiA(TextOpenFailed)});
        Counters.KeyTouches = 4;
        EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 0, 6, 0, 8); }));
        ExpectHeldSlotsInTheirOwnDaysFiles();
    }
}

// The program ends while the midnight failure box is up: the running slot goes to the new
// day's file, yesterday's held slot to yesterday's, and nothing into any other day's file.
TEST_F(SlotWriteFaultTest, EndingWhileTheMidnightBoxIsUp)
{
    const struct {
        const char* name;
        UINT message;
        WPARAM wParam;
        std::vector<std::string> boxes;  // answered while the failure box is up
    } cases[] = {{"exit", WM_CLOSE, 0, {UiA(TextExitQuestion), UiA(TextKillTimerError)}},  // this monitor runs no timer
                 {"session end", WM_ENDSESSION, TRUE, {}}};
    user.Expect(UiA(TextExitCaption), UiA(TextExitQuestion), IDYES);
    user.Expect(UiA(TextKillTimerCaption), UiA(TextKillTimerError), IDOK);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStore("test_faults");
        StartAt(23, 54, 0);
        FileHold hold(path);
        Counters.KeyTouches = 5;
        TickAt(monitor, 0, 0, 0, 8);
        user.Hold(UiA(TextOpenCaption));
        std::vector<std::string> held;
        std::vector<std::string> answered = BoxesDuring([&] {
            RunModal([] { DispatchWaitingMessages(); return INT_PTR(0); },
                     [&] { return user.Showing(UiA(TextOpenCaption)); },
                     [&](HWND box) {
                         held.push_back(WindowTextOf(GetDlgItem(box, 0xFFFF)));
                         Counters.KeyTouches = 6;
                         hold.Release();
                         SendMessageA(monitor, c.message, c.wParam, 0);
                     });
        });
        EXPECT_EQ(held, std::vector<std::string>{UiA(TextOpenFailed)});
        EXPECT_EQ(answered, c.boxes);
        EXPECT_FALSE(IsWindow(monitor));
        ExpectDayFile(DataFile("20240307.dat"), With(EarlierSlots, 239, {0, 5, 0}));
        ExpectDayFile(DataFile("20240308.dat"), {{0, {0, 6, 0}}});
        DestroyMonitor(monitor);
        monitor = nullptr;
    }
}

// Today's file cut short (or grown) by another program while the recorder runs: the next write
// must leave a whole day file with every slot recorded today, not a file whose gap reads as
// slots recorded without activity.
TEST_F(FaultTest, TruncatedTodaysFileIsWholeAgainAfterTheNextWrite)
{
    const struct {
        const char* name;
        LONG size;
    } cases[] = {{"emptied", 0}, {"cut in metric 0", 100}, {"cut in metric 1", 1000}, {"one byte short", 2879},
                 {"grown", 4000}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStore("test_faults");
        RecordInSlot100();
        HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        SetFilePointer(file, c.size, nullptr, FILE_BEGIN);
        SetEndOfFile(file);
        CloseHandle(file);
        EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 10, 6, 0); }));
        // Slot 101 is being recorded: it counts as recorded from its start on.
        ExpectDayFile(path, With(With(EarlierSlots, 100, {2, 4, 30}), 101, {0, 0, 0}));
        Counters.KeyTouches = 1;
        TickAt(monitor, 10, 12, 0);
        ExpectDayFile(path, With(With(EarlierSlots, 100, {2, 4, 30}), 101, {0, 1, 0}));
    }
}

// Today's file, or the whole data folder, removed while the recorder runs: the next write makes
// it again from today's column, without a message, and later writes go on as usual.
TEST_F(FaultTest, DeletedTodaysFileIsMadeAgainWithTodaysSlots)
{
    const struct {
        const char* name;
        bool folder;
    } cases[] = {{"file deleted", false}, {"folder deleted", true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStore("test_faults");
        RecordInSlot100();
        if (c.folder) RemoveFolder(DataFolder());
        else ASSERT_TRUE(DeleteFileA(path.c_str()));
        EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 10, 6, 0); }))
            << "the file is made again without a message";
        // Slot 101 is being recorded: it counts as recorded from its start on.
        ExpectDayFile(path, With(With(EarlierSlots, 100, {2, 4, 30}), 101, {0, 0, 0}));
        Counters.KeyTouches = 5;
        TickAt(monitor, 10, 12, 0);
        ExpectDayFile(path, With(With(EarlierSlots, 100, {2, 4, 30}), 101, {0, 5, 0}));
    }
}

// The start-up finds no usable data folder (a file stands where the folder belongs): today's
// file cannot be made; the message comes once, recording goes on in memory, and once the folder
// can be made the next change of slot makes today's file with every slot recorded.
TEST_F(FaultTest, DataFolderUnusableAtStart)
{
    blocker = ModuleFolder() + "data";
    RemoveFolder(blocker);
    DeleteFileA(blocker.c_str());
    ASSERT_TRUE(WriteWholeFile(blocker, "not a folder", 12));
    ExpectBox(UiA(TextCreateFailed));
    SetDataFolder(blocker);  // as the entry composes it
    SetFakeTime(2024, 3, 7, 10, 3, 0);
    monitor = CreateMonitorWithoutStartup();
    EXPECT_EQ(BoxesDuring([&] { EXPECT_EQ(StartRecorder(monitor), -1); }), std::vector<std::string>{UiA(TextCreateFailed)});
    EXPECT_EQ(SlotClock.Recording, 1);
    EXPECT_EQ(Days.TodayFileUnmade, 1);
    EXPECT_EQ(Tray.State, TrayNoData) << "the icon says that the file cannot be made";
    Counters.KeyTouches = 5;
    TickAt(monitor, 10, 3, 30);
    EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 10, 6, 0); })) << "a second box for the file that cannot be made";
    std::vector<unsigned char> left = ReadWholeFile(blocker);
    EXPECT_EQ(std::string(left.begin(), left.end()), "not a folder");
    ASSERT_TRUE(DeleteFileA(blocker.c_str()));
    Counters.KeyTouches = 7;
    EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, 10, 12, 0); }));
    EXPECT_EQ(Days.TodayFileUnmade, 0);
    EXPECT_EQ(Tray.State, TrayRecording);
    ExpectDayFile(DataFile("20240307.dat"), {{100, {0, 5, 0}}, {101, {0, 7, 0}}, {102, {0, 0, 0}}});

    KillTimer(monitor, SlotTimerId);
    EndMouseHook();
    EndKeyHook();
    NotifyTrayIcon(NIM_DELETE, monitor);
}

// A day file that another program holds when a change of day needs it: a day the clock passed
// over, or the new day's own file (the program ran earlier that day). The tick does not wait for
// it: the day shows as no data, its box comes once, and the next change of slot after the file
// came free reads it, while the new day's slots go into its file in place.
TEST_F(FaultTest, HeldFileAtAChangeOfDayIsReadAtALaterChange)
{
    const struct {
        const char* name;
        int h, mi, day;  // the first tick of the new date
        int held;        // the held file's day index afterwards
    } cases[] = {{"a day passed over", 9, 0, 9, 1}, {"the new day's file", 0, 0, 8, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ResetStore("test_faults");
        user.Expect(UiA(TextOpenCaption), UiA(TextOpenFailed), IDOK);
        PutFile("20240308.dat", ValuesOf({{5, {3, 4, 5}}}));
        StartAt(23, 58, 0);
        FileHold hold(DataFile("20240308.dat"));
        DWORD start = GetTickCount();
        EXPECT_EQ(BoxesDuring([&] {
                      TickAt(monitor, c.h, c.mi, 0, c.day);
                      EXPECT_LT(GetTickCount() - start, 500u) << "the tick waited for the held file";
                  }),
                  std::vector<std::string>{UiA(TextOpenFailed)});
        EXPECT_EQ(Days.DayUnread[c.held], 1);
        EXPECT_EQ(Days.ActivityTable[1][5][c.held], -1) << "no data while the file is held";
        Counters.KeyTouches = 4;
        TickAt(monitor, c.h, c.mi, 30, c.day);
        hold.Release();
        EXPECT_TRUE(NoBoxDuring([&] { TickAt(monitor, c.h, c.mi + 6, 0, c.day); }));
        EXPECT_EQ(Days.DayUnread[c.held], 0);
        EXPECT_EQ(Days.ActivityTable[1][5][c.held], 4) << "read at the change of slot";
        DayValues eighth = {{5, {3, 4, 5}}};
        if (c.held == 0) eighth[0] = {0, 4, 0};
        ExpectDayFile(DataFile("20240308.dat"), eighth);
        DestroyMonitor(monitor);
        monitor = nullptr;
    }
}

// Day files of random bytes, today's and yesterday's: values below -1 read as no data, all
// others as they are; recording goes on and a slot write changes nothing but its own values.
TEST_F(FaultTest, DayFilesFullOfGarbage)
{
    std::vector<int> garbage[2];
    unsigned seed = 12345;
    for (std::vector<int>& day : garbage) {
        for (int i = 0; i < 720; ++i) {
            seed = seed * 1103515245u + 12345u;
            day.push_back(static_cast<int>(seed ^ (seed << 13)));
        }
    }
    garbage[0][100] = 1000000;        // slot 100, the current one: its values go on from here
    garbage[0][240 + 100] = -5;       // below -1: no data, so slot 100 starts from 0
    garbage[0][480 + 100] = -1;
    garbage[1][7] = -1;
    garbage[1][8] = static_cast<int>(0x80000000u);
    PutFile("20240306.dat", garbage[1]);
    StartAt(10, 5, 0);
    PutFile("20240307.dat", garbage[0]);  // today's file, as the start-up now reads it
    ASSERT_EQ(ReadDayFile(0), 1);
    std::vector<unsigned char> before = ReadWholeFile(path);

    for (int d = 0; d < 2; ++d) {
        SCOPED_TRACE(d == 0 ? "today" : "yesterday");
        for (int m = 0; m < 3; ++m) {
            int maximum = 0;
            for (int s = 0; s < 240; ++s) {
                int v = garbage[d][m * 240 + s];
                int expected = v < -1 ? -1 : v;
                if (expected > maximum) maximum = expected;
                ASSERT_EQ(Days.ActivityTable[m][s][d], expected) << "metric " << m << ", slot " << s;
            }
            EXPECT_EQ(Days.DayMaxima[m][d], maximum) << "metric " << m;
        }
    }
    BeginSlot(Days.CurrentSlot);
    Counters.LeftClicks = 3;
    Counters.KeyTouches = 4;
    TickAt(monitor, 10, 5, 30);
    TickAt(monitor, 10, 6, 0);
    std::vector<unsigned char> after = ReadWholeFile(path);
    ASSERT_EQ(after.size(), 2880u);
    EXPECT_EQ(FileValue(after, 0, 100), 1000003);
    EXPECT_EQ(FileValue(after, 1, 100), 4);
    EXPECT_EQ(FileValue(after, 2, 100), 0);
    for (size_t i = 0; i < after.size(); ++i) {
        if (i % 960 / 4 == 100) continue;
        ASSERT_EQ(after[i], before[i]) << "byte " << i << " changed";
    }
}

// Midnight with the graph window open: the history moves on in the window too. The whole graph
// is to be redrawn, the clock shows the new date, and the next paint draws yesterday's bars in
// yesterday's rows.
TEST_F(FaultTest, GraphWindowOpenDuringTheRollover)
{
    std::vector<int> yesterday = NoDataValues();
    yesterday[60] = 5;  // clicks, slot 60 of 6 March
    PutFile("20240306.dat", yesterday);
    StartAt(23, 59, 0, {{30, {10, 0, 0}}});
    Graph.SelectedMetric = MetricClicks;
    Counters.LeftClicks = 3;
    HandStatusCounts(SlotClicks(), Counters.KeyTouches, SlotTravel());
    TickAt(monitor, 23, 59, 30);  // slot 239 holds 3 clicks
    window = OpenGraphDialogModeless();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    UpdateWindow(window);
    const COLORREF Red = RGB(255, 50, 50), White = RGB(255, 255, 255);
    // Slot 30 stands at x 80; today's left baseline is 411, yesterday's 393, the day before's 375.
    HDC dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 80, 410), Red) << "today's bar before midnight";
    ReleaseDC(window, dc);
    ValidateRect(window, nullptr);

    TickAt(monitor, 0, 0, 0, 8);
    RECT update = {};
    ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
    RECT graph = GraphRect();
    EXPECT_TRUE(EqualRect(&update, &graph)) << update.left << "," << update.top << "," << update.right
                                            << "," << update.bottom;
    EXPECT_EQ(PartText(StatusBar.Handle, PartDate), " 2024/03/08");
    EXPECT_EQ(PartText(StatusBar.Handle, PartTime), " 00:00:00");
    EXPECT_EQ(PartText(StatusBar.Handle, PartCount), " クリックの回数:00000003");
    EXPECT_STREQ(Days.DayLabels[0], "03/08");
    EXPECT_STREQ(Days.DayLabels[1], "03/07");
    EXPECT_STREQ(Days.DayLabels[2], "03/06");
    ExpectDayFile(DataFile("20240307.dat"), {{30, {10, 0, 0}}, {239, {3, 0, 0}}});
    ExpectDayFile(DataFile("20240308.dat"), {});

    UpdateWindow(window);
    dc = GetDC(window);
    EXPECT_EQ(GetPixel(dc, 80, 392), Red) << "yesterday's bar, 15 pixels high";
    EXPECT_EQ(GetPixel(dc, 80, 378), Red);
    EXPECT_EQ(GetPixel(dc, 80, 377), White);
    EXPECT_EQ(GetPixel(dc, 80, 410), White) << "today has no bar at slot 30 yet";
    EXPECT_EQ(GetPixel(dc, 110, 374), Red) << "the day before yesterday's bar";
    ReleaseDC(window, dc);

    Counters.KeyTouches = 2;
    TickAt(monitor, 0, 0, 1, 8);
    EXPECT_EQ(Days.ActivityTable[1][0][0], 2) << "recording goes on in the new day";
}

// A save into a folder that is gone by the time the picture is written: the picture library
// fails, and the export reports it with the type's message, owned by the graph window.
TEST_F(FaultTest, PictureSavedIntoAFolderThatHasGone)
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string gone = std::string(temp) + "vantle-gone-" + std::to_string(GetCurrentProcessId());

    // The picture library itself, straight into a folder that does not exist.
    RemoveFolder(gone);
    std::string direct = gone + "\\direct.jpg";
    HDC screen = GetDC(nullptr);
    EXPECT_NE(SaveJpegPicture(screen, 20, 20, Wide(direct).c_str(), 90, TRUE), 0);
    direct = gone + "\\direct.png";
    EXPECT_NE(SavePngPicture(screen, 20, 20, Wide(direct).c_str(), 0), 0);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(GetFileAttributesA(gone.c_str()), INVALID_FILE_ATTRIBUTES) << "no folder is made";

    // The whole save from the graph window: the folder exists while the user picks it and is
    // removed as the dialog closes, just before the picture is written.
    const struct {
        const char* name;
        std::string message;
    } cases[] = {{"graph.jpg", UiA(TextJpegFailed)}, {"graph.png", UiA(TextPngFailed)}};
    StartAt(10, 5, 0);
    window = OpenGraphDialogModeless();
    ASSERT_NE(window, nullptr);
    ShowWindow(window, SW_SHOWNOACTIVATE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ExpectBox(c.message);
        CreateDirectoryA(gone.c_str(), nullptr);
        bool goneBeforeTheWrite = false;
        ScriptSaveDialog({gone + "\\" + c.name, 0, [&] {
                              RemoveFolder(gone);
                              goneBeforeTheWrite = GetFileAttributesA(gone.c_str()) == INVALID_FILE_ATTRIBUTES;
                          }});
        size_t before = user.Answered().size();
        SaveGraphPicture(window);
        ASSERT_EQ(TakeSaveDialogCalls().size(), 1u) << "no save dialog";
        EXPECT_TRUE(goneBeforeTheWrite) << "the folder could not be removed";
        std::vector<SeenBox> boxes = user.Answered();
        boxes.erase(boxes.begin(), boxes.begin() + before);
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.message);
        EXPECT_EQ(boxes[0].owner, window) << "the graph window owns the message";
    }
}
}  // namespace
