// Which keys and buttons: each input counted for its physical key or button, and the keys file
// through a held file, a change of slot, the switch, the reset and a change of day.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "app/input.h"
#include "app/keywatch.h"
#include "app/monitor.h"
#include "base/uitext.h"
#include "res/messages.h"
#include "store/days.h"
#include "store/keyranges.h"
#include "store/keyrecords.h"
#include "store/keysfile.h"
#include "store/ranges.h"
#include "store/sharedpcs.h"
#include "support/fake_recyclebin.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"

namespace {
const char Header[] = u8"キー\t回数\r\n";
const int Shown[] = {0x1E, 0x1C, KeyExtended + 0x1C, 0x00, 0x42, KeyLeftButton, KeyRightButton, KeyXButton2, KeyWheel};

// Today's counts in memory of the keys above, in their order.
std::string Counts()
{
    std::ostringstream text;
    for (int key : Shown) text << (key == Shown[0] ? "" : " ") << KeysOfDays.Today.Counts[key];
    return text.str();
}

std::string FileText(const char* name)
{
    std::vector<unsigned char> bytes = ReadWholeFile(DataFile(name));
    return std::string(bytes.begin(), bytes.end());
}

// A key pressed as the hook reports it: the keystroke flags with the scan code and extended flag.
void Key(UINT vk, DWORD scan, bool extended = false, int repeats = 1)
{
    LPARAM down = static_cast<LPARAM>(1u | scan << 16 | (extended ? 1u << 24 : 0u));
    for (int i = 0; i < repeats; ++i) OnHookKey(vk, down);
    OnHookKey(vk, down | static_cast<LPARAM>(0xC0000000u));
}

void Mouse(UINT message, int data = 0) { OnHookMouse(message | static_cast<UINT>(data) << 16, MAKELPARAM(5, 5)); }

// A day of 2024-03-07: an earlier run's keys file held at the start; on every row whose files are
// all read, the keys sum to the day's key touches and the three buttons to its clicks.
TEST(Keys, PhysicalKeysButtonsAndFile)
{
    ResetStore("data_keys");
    SetFakeRecycleBin(FakeBin::None);
    std::vector<int> earlier = NoDataValues();
    earlier[240 + 30] = 5;
    std::vector<unsigned char> bytes = DayFileBytes(earlier);
    ASSERT_TRUE(WriteWholeFile(DataFile("20240307.dat"), bytes.data(), bytes.size()));
    const std::string earlierKeys = std::string(Header) + "SC1E\t5\r\nNOKEY\t9\r\nSC1C\t-1\r\n";
    ASSERT_TRUE(WriteWholeFile(DataFile("20240307.keys.txt"), earlierKeys.data(), earlierKeys.size()));
    FileHold held(DataFile("20240307.keys.txt"));
    ASSERT_TRUE(StartRecorderAt(10, 3, 0));
    HWND monitor = CreateMonitorWithoutStartup();
    ScriptedUser user;
    StartKeyWatch();
    BOOL swapped = GetSystemMetrics(SM_SWAPBUTTON);
    const struct {
        const char* name;
        std::function<void()> act;
        const char* counts;  // SC1E SC1C SCE01C SC00 SC42 LBUTTON RBUTTON XBUTTON2 WHEEL, in memory
        bool whole;          // every file is read: the sums are the day's totals
    } rows[] = {
        {"held keys file at start", [] { EXPECT_EQ(KeysOfDays.Today.Unread, 1); }, "0 0 0 0 0 0 0 0 0", false},
        {"scan code and extended flag, auto-repeat once",
         [] { Key('A', 0x1E, false, 3), Key(VK_RETURN, 0x1C), Key(VK_RETURN, 0x1C, true); },
         "1 1 1 0 0 0 0 0 0", false},
        {"a typed character leaves no trace of itself", [] { Key(VK_PACKET, 0x3042 & 0xFF); }, "1 1 1 1 0 0 0 0 0", false},
        {"buttons as pressed, also swapped", [] {
             SystemParametersInfoA(SPI_SETMOUSEBUTTONSWAP, 1, nullptr, 0);
             Mouse(WM_RBUTTONDOWN), Mouse(WM_RBUTTONUP), Mouse(WM_LBUTTONDOWN), Mouse(WM_LBUTTONUP), Mouse(WM_LBUTTONDBLCLK);
             SystemParametersInfoA(SPI_SETMOUSEBUTTONSWAP, 0, nullptr, 0);
         }, "1 1 1 1 0 2 1 0 0", false},
        {"X buttons and wheel notches, precise steps added up", [] {
             Mouse(WM_XBUTTONDOWN, XBUTTON2), Mouse(WM_XBUTTONUP, XBUTTON2), Mouse(WM_MOUSEWHEEL, -WHEEL_DELTA);
             for (int i = 0; i < 5; ++i) Mouse(WM_MOUSEWHEEL, WHEEL_DELTA / 2);
         }, "1 1 1 1 0 2 1 1 3", false},
        {"held file read at a change of slot", [&] {
             held.Release(), TickAt(monitor, 10, 6, 0);
             EXPECT_EQ(FileText("20240307.keys.txt"), std::string(Header) + "SC00\t1\r\nSC1C\t1\r\nSC1E\t6\r\nSCE01C\t1\r\n" +
                                                          "LBUTTON\t2\r\nRBUTTON\t1\r\nXBUTTON2\t1\r\nWHEEL\t3\r\n");
         }, "6 1 1 1 0 2 1 1 3", true},
        {"keys file held at changes of slot: one box, then written", [&] {
             user.Expect(UiA(TextErrorCaption), UiA(TextKeysWriteFailed), IDOK);
             held.Hold(DataFile("20240307.keys.txt"));
             Key('A', 0x1E), TickAt(monitor, 10, 12, 0), Key('A', 0x1E), TickAt(monitor, 10, 18, 0);
             DispatchWaitingMessages();
             held.Release();
             EXPECT_TRUE(user.WaitForAnswered(1));
             EXPECT_EQ(user.AnsweredTexts().size(), 1u);
             EXPECT_NE(FileText("20240307.keys.txt").find("SC1E\t6\r\n"), std::string::npos);
             TickAt(monitor, 10, 24, 0);
             EXPECT_NE(FileText("20240307.keys.txt").find("SC1E\t8\r\n"), std::string::npos);
         }, "8 1 1 1 0 2 1 1 3", true},
        {"switched off: nothing counts, nothing is written", [&] {
             ToggleKeyRecording(monitor), Key('A', 0x1E), Mouse(WM_MOUSEWHEEL, WHEEL_DELTA), TickAt(monitor, 10, 30, 0);
             EXPECT_NE(FileText("20240307.keys.txt").find("SC1E\t8\r\n"), std::string::npos);
             EXPECT_NE(FileText("vantle.ini").find("Record=0"), std::string::npos);
             ToggleKeyRecording(monitor);
         }, "8 1 1 1 0 2 1 1 3", false},
        {"the reset takes the day's file and counts", [&] {
             SendMessageA(monitor, WM_RESET_DATA, 0, 0), Key('A', 0x1E), TickAt(monitor, 10, 36, 0);
             EXPECT_EQ(FileText("20240307.keys.txt"), std::string(Header) + "SC1E\t1\r\n");
         }, "1 0 0 0 0 0 0 0 0", true},
        {"day change", [&] {
             Key(VK_RETURN, 0x1C), TickAt(monitor, 0, 0, 0, 8);
             EXPECT_EQ(FileText("20240307.keys.txt"), std::string(Header) + "SC1C\t1\r\nSC1E\t1\r\n");
             Key(VK_RETURN, 0x1C, true);
             // The keyboard window's ranges on the 8th: today from memory, the week adds the 7th's file once.
             CollectKeys(RangeToday, ThisPc);
             EXPECT_EQ(ShownKeyCounts()[KeyExtended + 0x1C], 1);
             EXPECT_EQ(ShownKeyCounts()[0x1C], 0);
             CollectKeys(RangeWeek, ThisPc);
             EXPECT_EQ(ShownKeyCounts()[KeyExtended + 0x1C] + ShownKeyCounts()[0x1C] + ShownKeyCounts()[0x1E], 3);
         }, "0 0 1 0 0 0 0 0 0", true},
        {"a day waiting in memory: switched off, a change of day, kept at the exit", [&] {
             user.Expect(UiA(TextErrorCaption), UiA(TextKeysWriteFailed), IDOK);
             TickAt(monitor, 0, 6, 0, 8), held.Hold(DataFile("20240308.keys.txt"));
             Key('A', 0x1E), ToggleKeyRecording(monitor), TickAt(monitor, 0, 0, 0, 9), DispatchWaitingMessages();
             EXPECT_TRUE(user.WaitForAnswered(2));
             EXPECT_FALSE(SaveKeysForExit());
             held.Release();
             EXPECT_TRUE(SaveKeysForExit());
             EXPECT_EQ(FileText("20240308.keys.txt"), std::string(Header) + "SC1E\t1\r\nSCE01C\t1\r\n");
             ToggleKeyRecording(monitor);
         }, "0 0 0 0 0 0 0 0 0", false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.act();
        TickAt(monitor, Days.CurrentSlot / 10, Days.CurrentSlot % 10 * 6, 30, Days.TodayDate % 100);
        EXPECT_EQ(Counts(), row.counts);
        if (!row.whole) continue;
        long long touches = 0, clicks = 0, keys = 0;
        for (int s = 0; s < SlotCount; ++s) {
            touches += Days.ActivityTable[MetricKeys][s][0] > 0 ? Days.ActivityTable[MetricKeys][s][0] : 0;
            clicks += Days.ActivityTable[MetricClicks][s][0] > 0 ? Days.ActivityTable[MetricClicks][s][0] : 0;
        }
        for (int k = 0; k < KeyLeftButton; ++k) keys += KeysOfDays.Today.Counts[k];
        EXPECT_EQ(keys, touches);
        EXPECT_EQ(KeysOfDays.Today.Counts[KeyLeftButton] + KeysOfDays.Today.Counts[KeyRightButton] +
                      KeysOfDays.Today.Counts[KeyMiddleButton], clicks);
    }
    EXPECT_EQ(GetSystemMetrics(SM_SWAPBUTTON), swapped);
    // Every key and button's name read back as written, counts past 32 bits too.
    static KeysDay all;
    static long long back[KeyIndexCount];
    ClearKeysDay(&all, 20240101);
    for (int k = 0; k < KeyIndexCount; ++k) all.Counts[k] = k + 1 + (k % 2 ? 5000000000LL : 0);
    ASSERT_TRUE(WriteKeysFile(&all));
    ASSERT_TRUE(AddKeysFile(20240101, back));
    EXPECT_EQ(std::vector<long long>(back, back + KeyIndexCount), std::vector<long long>(all.Counts, all.Counts + KeyIndexCount));
    user.Finish();
    DestroyMonitor(monitor);
    RemoveFolder(DataFolder());
}
}  // namespace
