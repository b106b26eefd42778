// Activity per application: which application takes each input and each second, and the apps
// file through a held file, a change of slot and a change of day.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>

#include "app/appwatch.h"
#include "app/hookwatch.h"
#include "app/input.h"
#include "app/monitor.h"
#include "base/uitext.h"
#include "store/appranges.h"
#include "store/sharedpcs.h"
#include "store/apprecords.h"
#include "store/appsfile.h"
#include "store/days.h"
#include "store/ranges.h"
#include "support/fake_clock.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"

namespace {
const char Header[] = u8"アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n";

const AppRecord* Record(const char* name)
{
    for (int i = 0; i < AppsOfDays.Today.Count; ++i)
        if (std::string(AppsOfDays.Today.Records[i].Name) == name) return &AppsOfDays.Today.Records[i];
    return nullptr;
}

std::string Counts(const char* name)
{
    const AppRecord* r = Record(name);
    if (!r) return "none";
    return std::to_string(r->Clicks) + " " + std::to_string(r->Keys) + " " + std::to_string(r->Travel) + " " +
           std::to_string(r->ActiveMs / 1000);
}

std::string FileText(const char* name)
{
    std::vector<unsigned char> bytes = ReadWholeFile(DataFile(name));
    return std::string(bytes.begin(), bytes.end());
}

void Click(POINT at)
{
    OnHookMouse(WM_LBUTTONDOWN, MAKELPARAM(at.x, at.y));
    OnHookMouse(WM_LBUTTONUP, MAKELPARAM(at.x, at.y));
}

// A day: an earlier run's apps file held at the start, another program in front (this test program
// copied under another name), this program's window beside it. Each row's input counts where the
// user would expect it; wherever every file is read, each measure's sum over the applications is
// the day's total.
TEST(Apps, AttributionAndFiles)
{
    ResetStore("data_apps");
    std::vector<int> earlier = NoDataValues();
    earlier[50] = 1, earlier[240 + 50] = 2, earlier[480 + 50] = 3;
    std::vector<unsigned char> bytes = DayFileBytes(earlier);
    ASSERT_TRUE(WriteWholeFile(DataFile("20240307.dat"), bytes.data(), bytes.size()));
    const std::string earlierApps = std::string(Header) + "other_app.exe\t1\t2\t3\t4\r\n";
    ASSERT_TRUE(WriteWholeFile(DataFile("20240307.apps.txt"), earlierApps.data(), earlierApps.size()));
    FileHold held(DataFile("20240307.apps.txt"));
    ASSERT_TRUE(StartRecorderAt(10, 3, 0));
    HWND monitor = CreateMonitorWithoutStartup();
    HWND own = CreateWindowExA(0, "STATIC", "own", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 100, 100, 100, 100, nullptr, nullptr,
                               nullptr, nullptr);
    std::string other = ModuleFolder() + "other_app.exe";
    ScriptedUser user;
    TestProcess process;
    AtExit cleanup{[&] {
        StopAppWatch();
        SetInputAge(-1);
        EndProcess(&process.info);
        DeleteFileA(other.c_str());
        DestroyWindow(own);
        user.Finish();
        DestroyMonitor(monitor);
        RemoveFolder(DataFolder());
    }};
    ASSERT_TRUE(StartWindowProcess(other, 600, &process.info));
    ASSERT_TRUE(PumpUntil([&] {
        DWORD id = 0;
        GetWindowThreadProcessId(GetForegroundWindow(), &id);
        return id == process.info.dwProcessId;
    }));
    StartAppWatch();
    auto key = [](UINT vk) { OnHookKey(vk, 1), OnHookKey(vk, 0xC0000001); };
    auto activeSecond = [&] {
        SetInputAge(0);
        AdvanceTickClock(1000);
        TickAt(monitor, 10, 5, 0);
        SetInputAge(61000);
    };
    SetInputAge(61000);
    const struct {
        const char* name;
        std::function<void()> act;
        const char* app;
        const char* counts;  // clicks, keys, travel, whole active seconds in memory
        bool whole;          // every file is read: the sums are the day's totals
    } rows[] = {
        {"held apps file at start", [] { EXPECT_EQ(AppsOfDays.Today.Unread, 1); }, "other_app.exe", "0 0 0 0", false},
        {"keys to the foreground", [&] { key('A'), key('B'); }, "other_app.exe", "0 2 0 0", false},
        {"a click brings another window to the front: the keys after it go there", [&] { Click({150, 150}), key('X'); },
         "unit_tests.exe", "1 1 0 0", false},
        {"travel to the foreground", [] { LookAtForeground(), OnHookMouse(WM_MOUSEMOVE, MAKELPARAM(10, 10)), OnHookMouse(WM_MOUSEMOVE, MAKELPARAM(20, 30)); },
         "other_app.exe", "0 2 30 0", false},
        {"active time", activeSecond, "other_app.exe", "0 2 30 1", false},
        {"idle time", [&] { AdvanceTickClock(1000), TickAt(monitor, 10, 5, 1); }, "other_app.exe", "0 2 30 1", false},
        {"locked session", [&] { HookWatch.SessionLocked = 1, LookAtForeground(), key('C'), activeSecond(); }, u8"(不明)",
         "0 1 0 0", false},
        {"held file read at a change of slot", [&] {
             HookWatch.SessionLocked = 0, held.Release(), TickAt(monitor, 10, 6, 0);
             EXPECT_EQ(FileText("20240307.apps.txt"), std::string(Header) + "other_app.exe\t1\t4\t33\t5\r\n" +
                                                          "unit_tests.exe\t1\t1\t0\t0\r\n" + u8"(不明)\t0\t1\t0\t0\r\n");
         }, "other_app.exe", "1 4 33 5", true},
        {"apps file held at changes of slot: one box, then written", [&] {
             user.Expect(UiA(TextErrorCaption), UiA(TextAppsWriteFailed), IDOK);
             held.Hold(DataFile("20240307.apps.txt"));
             LookAtForeground(), key('D'), TickAt(monitor, 10, 12, 0), key('E'), TickAt(monitor, 10, 18, 0);
             DispatchWaitingMessages();
             held.Release();
             EXPECT_TRUE(user.WaitForAnswered(1));
             EXPECT_EQ(user.AnsweredTexts().size(), 1u);
             EXPECT_NE(FileText("20240307.apps.txt").find("other_app.exe\t1\t4\t33\t5\r\n"), std::string::npos);
             TickAt(monitor, 10, 24, 0);
             EXPECT_NE(FileText("20240307.apps.txt").find("other_app.exe\t1\t6\t33\t5\r\n"), std::string::npos);
         }, "other_app.exe", "1 6 33 5", true},
        {"switched off: nothing counts, nothing is written", [&] {
             const std::string before = FileText("20240307.apps.txt");
             ToggleAppRecording(monitor), key('F'), TickAt(monitor, 10, 30, 0);
             EXPECT_EQ(FileText("20240307.apps.txt"), before);
             ToggleAppRecording(monitor);
             EXPECT_NE(FileText("vantle.ini").find("Record=1"), std::string::npos);
         }, "other_app.exe", "1 6 33 5", false},
        {"day change", [&] {
             SetForegroundWindow(own), LookAtForeground(), key('G'), TickAt(monitor, 0, 0, 0, 8);
             EXPECT_NE(FileText("20240307.apps.txt").find("unit_tests.exe\t1\t2\t0\t0\r\n"), std::string::npos);
             key('H');
             // The ranges of the 8th: today from memory, the week adds the 7th's file.
             EXPECT_EQ(CollectApps(RangeToday, ThisPc), 1);
             EXPECT_EQ(CollectApps(RangeWeek, ThisPc), 3);
             EXPECT_STREQ(ShownApps.Rows[0].Name, "other_app.exe");
             EXPECT_EQ(ShownApps.Rows[0].Keys, 6);
         }, "unit_tests.exe", "0 1 0 0", true},
        {"a click whose window is gone at the release", [&] {
             HWND gone = CreateWindowExA(0, "STATIC", "", WS_POPUP | WS_VISIBLE | SS_NOTIFY, 300, 300, 50, 50, nullptr, nullptr, nullptr, nullptr);
             OnHookMouse(WM_LBUTTONDOWN, MAKELPARAM(310, 310)), DestroyWindow(gone), OnHookMouse(WM_LBUTTONUP, MAKELPARAM(310, 310));
         }, "unit_tests.exe", "1 1 0 0", true},
        {"changes of slot without input write nothing", [&] {
             TickAt(monitor, 0, 6, 0, 8);
             FILETIME old = {0x256D4000, 0x01BF53EB};  // the year 2000
             HANDLE f = CreateFileA(DataFile("20240308.apps.txt").c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
             SetFileTime(f, nullptr, nullptr, &old), CloseHandle(f);
             AdvanceTickClock(1000), TickAt(monitor, 0, 12, 0, 8), AdvanceTickClock(1000), TickAt(monitor, 0, 18, 0, 8);
             WIN32_FILE_ATTRIBUTE_DATA data = {};
             GetFileAttributesExA(DataFile("20240308.apps.txt").c_str(), GetFileExInfoStandard, &data);
             EXPECT_EQ(data.ftLastWriteTime.dwHighDateTime, old.dwHighDateTime);
         }, "unit_tests.exe", "1 1 0 0", true},
        {"settings file held at the start, switched off: nothing recorded; a new version taken up", [&] {
             const std::string orphan = std::string(Header) + "orphan.exe\t0\t7\t0\t0\r\nunit_tests.exe\t0\t0\t0\t0\r\n";
             ASSERT_TRUE(WriteWholeFile(DataFile("20240308.apps.new"), orphan.data(), orphan.size()));
             ToggleAppRecording(monitor), StopAppWatch(), held.Hold(DataFile("vantle.ini")), StartAppWatch();
             EXPECT_FALSE(AppsRecorded());
             held.Release(), AdvanceTickClock(1000), TickAt(monitor, 0, 18, 1, 8);
             EXPECT_FALSE(AppsRecorded());
             EXPECT_EQ(FileText("20240308.apps.txt"), std::string(Header) + "unit_tests.exe\t1\t1\t0\t0\r\norphan.exe\t0\t7\t0\t0\r\n");
             EXPECT_EQ(GetFileAttributesA(DataFile("20240308.apps.new").c_str()), INVALID_FILE_ATTRIBUTES);
             ToggleAppRecording(monitor);
         }, "orphan.exe", "0 7 0 0", false},
        {"a day waiting in memory: switched off, two changes of day, shown, and kept at the exit", [&] {
             user.Expect(UiA(TextErrorCaption), UiA(TextAppsWriteFailed), IDOK);
             SetForegroundWindow(own), LookAtForeground(), key('I'), held.Hold(DataFile("20240308.apps.txt")), ToggleAppRecording(monitor);
             TickAt(monitor, 0, 0, 0, 9), TickAt(monitor, 0, 0, 0, 10), DispatchWaitingMessages();
             EXPECT_TRUE(user.WaitForAnswered(2));
             EXPECT_EQ(CollectApps(RangeWeek, ThisPc), 4);
             EXPECT_EQ(ShownApps.Rows[1].Keys, 2 + 2) << ShownApps.Rows[1].Name;  // the 7th's file, the 8th in memory
             EXPECT_FALSE(SaveAppsForExit());
             held.Release();
             EXPECT_TRUE(SaveAppsForExit());
             EXPECT_NE(FileText("20240308.apps.txt").find("unit_tests.exe\t1\t2\t0\t0\r\n"), std::string::npos);
             ToggleAppRecording(monitor);
         }, "unit_tests.exe", "0 0 0 0", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        TickAt(monitor, Days.CurrentSlot / 10, Days.CurrentSlot % 10 * 6, 30, Days.TodayDate % 100);
        EXPECT_EQ(Counts(row.app), row.counts);
        if (!row.whole) continue;
        for (int m = 0; m < MetricCount; ++m) {
            long long total = 0, sum = 0;
            for (int s = 0; s < SlotCount; ++s) total += Days.ActivityTable[m][s][0] > 0 ? Days.ActivityTable[m][s][0] : 0;
            for (int i = 0; i < AppsOfDays.Today.Count; ++i) {
                const AppRecord& r = AppsOfDays.Today.Records[i];
                sum += m == MetricClicks ? r.Clicks : m == MetricKeys ? r.Keys : r.Travel;
            }
            EXPECT_EQ(sum, total) << "metric " << m;
        }
    }
    // The 256th application of a day and all after it count together; the file keeps them apart
    // as they were.
    static AppsDay day;
    ClearAppsDay(&day, 20240101);
    for (int i = 0; i < 300; ++i) day.Records[AppOfName(&day, ("app" + std::to_string(i) + ".exe").c_str())].Keys += 1;
    EXPECT_EQ(day.Count, 256);
    EXPECT_STREQ(day.Records[254].Name, "app254.exe");
    EXPECT_STREQ(day.Records[255].Name, u8"(その他)");
    EXPECT_EQ(day.Records[255].Keys, 45);
    ASSERT_TRUE(WriteAppsFile(&day));
    static AppsDay readBack;
    ClearAppsDay(&readBack, 20240101);
    ASSERT_TRUE(ReadAppsFile(&readBack));
    EXPECT_EQ(readBack.Count, 256);
    EXPECT_EQ(readBack.Records[AppOfName(&readBack, u8"(その他)")].Keys, 45);
    EXPECT_EQ(CollectApps(RangeAll, ThisPc), 4 + 256);
    // The index of apps files made by that reading stands for a file only as listed: a held file
    // counts from it, one written since from itself.
    EXPECT_NE(FileText("apps.idx").find("app254.exe"), std::string::npos);
    held.Hold(DataFile("20240307.apps.txt"));
    EXPECT_EQ(CollectApps(RangeAll, ThisPc), 4 + 256);
    held.Release();
    day.Count = 1;
    ASSERT_TRUE(WriteAppsFile(&day));
    EXPECT_EQ(CollectApps(RangeAll, ThisPc), 4 + 1);
    // A damaged index stands for nothing and is made again.
    const std::string damaged = "20240101\t0\t0\t99999\r\nx";
    ASSERT_TRUE(WriteWholeFile(DataFile("apps.idx"), damaged.data(), damaged.size()));
    EXPECT_EQ(CollectApps(RangeAll, ThisPc), 4 + 1);
    EXPECT_NE(FileText("apps.idx").find("app0.exe"), std::string::npos);
}
}  // namespace
