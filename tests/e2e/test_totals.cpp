// The real program's totals window: opened from the graph window's menu over a data folder,
// read as shown, copied to the clipboard and closed, while the program goes on serving.
#include <gtest/gtest.h>
#include <time.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"

#include <commctrl.h>
#include <shellapi.h>

#include "base/uitext.h"
#include "res/resource.h"
#include "support/dayimage.h"
#include "support/testwin.h"

namespace {
const char TotalsCaption[] = "日別の合計";

// "YYYY/MM/DD (曜)" of a day file's name, the weekday worked out by the C runtime.
std::string RowDate(const std::string& fileName)
{
    struct tm t = {};
    t.tm_year = atoi(fileName.substr(0, 4).c_str()) - 1900;
    t.tm_mon = atoi(fileName.substr(4, 2).c_str()) - 1;
    t.tm_mday = atoi(fileName.substr(6, 2).c_str());
    t.tm_hour = 12;
    mktime(&t);
    const char* weekdays[] = {"日", "月", "火", "水", "木", "金", "土"};
    return fileName.substr(0, 4) + "/" + fileName.substr(4, 2) + "/" + fileName.substr(6, 2) + " (" +
           weekdays[t.tm_wday] + ")";
}

class TotalsWindowTest : public ::testing::Test {
protected:
    RunningProgram program;
    std::unique_ptr<ScriptedUser> user;
    void TearDown() override
    {
        user.reset();  // every box nobody expected fails the test
        KillProgram(&program);
    }
};

// Yesterday from its file (memory, loaded at the start), a day of 40 days ago read when the
// window opens, and today without activity.
TEST_F(TotalsWindowTest, OpensReadsCopiesAndCloses)
{
    if (SlotNow() == 239) StartEarlyInSlot(60);
    std::string folder = MakeProgramFolder("totals");
    std::string data = folder + "data\\";
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<int> values = NoDataValues();
    for (int s = 0; s < 240; ++s) values[s] = 5, values[480 + s] = 1000;
    std::vector<unsigned char> bytes = DayFileBytes(values);
    std::string yesterday = DayFileNameAt(0, -1), old = DayFileNameAt(0, -40);
    ASSERT_TRUE(WriteWholeFile(data + yesterday, bytes.data(), bytes.size()));
    values = NoDataValues();
    values[240 + 100] = 7;
    bytes = DayFileBytes(values);
    ASSERT_TRUE(WriteWholeFile(data + old, bytes.data(), bytes.size()));

    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
    user.reset(new ScriptedUser(program.process.dwProcessId));
    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", GraphCaption().c_str(), true, 10000);
    ASSERT_NE(graph, nullptr) << "the graph window did not open";

    PostMessageA(graph, WM_COMMAND, IDC_SHOW_TOTALS, 0);
    HWND totals = WaitForProcessWindow(program.process.dwProcessId, "#32770", TotalsCaption, true, 10000);
    ASSERT_NE(totals, nullptr) << "the totals window did not open";
    EXPECT_EQ(GetWindow(totals, GW_OWNER), graph);
    EXPECT_FALSE(IsWindowEnabled(graph)) << "not modal";
    EXPECT_TRUE(WaitUntilIdle(program.monitor, 5000)) << "the program's loop does not serve its monitor window";
    HWND list = GetDlgItem(totals, IDC_TOTALS_LIST);
    ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 7);
    EXPECT_TRUE(SendMessageA(list, LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);

    const std::vector<std::vector<std::string>> want = {
        {"日付", "マウスクリック回数", "キータッチ回数", "マウスの動き", "活動時間"},
        {"今日", "0", "0", "0", "0:00"},
        {"過去7日間", "1,200", "0", "240,000", "24:00"},
        {"過去30日間", "1,200", "0", "240,000", "24:00"},
        {"全期間", "1,200", "7", "240,000", "24:06"},
        {RowDate(DayFileNameAt(0)), "0", "0", "0", "0:00"},
        {RowDate(yesterday), "1,200", "0", "240,000", "24:00"},
        {RowDate(old), "0", "7", "0", "0:06"},
    };
    std::string shown;
    for (int row = -1; row < 7; ++row)
        for (int column = 0; column < 5; ++column) {
            std::string cell = ListText(program.process.hProcess, list, row, column);
            EXPECT_EQ(cell, want[row + 1][column]) << "row " << row << ", column " << column;
            shown += cell + (column < 4 ? "\t" : "\r\n");
        }

    // The copy holds the cells exactly as shown.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    HWND copy = GetDlgItem(totals, IDC_TOTALS_COPY);
    PostMessageA(totals, WM_COMMAND, MAKEWPARAM(IDC_TOTALS_COPY, BN_CLICKED), reinterpret_cast<LPARAM>(copy));
    std::wstring expected = Wide(shown);
    // Read once the copy is over, so that the test never holds the clipboard against the program.
    // Wine's clipboard manager may still have it open for a moment.
    EXPECT_TRUE(WaitUntilIdle(totals));
    std::wstring copied;
    PumpUntil([&] { return (copied = ClipboardText()) == expected; }, 5000);
    EXPECT_TRUE(copied == expected) << "the clipboard holds " << copied.size() << " characters, not " << expected.size();

    // Esc closes it, and the graph window takes input again.
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(totals); }, 5000));
    EXPECT_TRUE(PumpUntil([&] { return IsWindowEnabled(graph) != FALSE; }, 5000));

    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, *user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}

// Two data folders sharing one share folder, each recording its own clicks in turn: the second's
// totals window shows today's clicks of itself, of the first PC, and of both.
TEST_F(TotalsWindowTest, TwoPcsOfOneShareShownEachAndSummed)
{
    StartEarlyInSlot(40);
    // The share of an earlier run goes, with the PCs' folders in it.
    std::string share = MakeProgramFolder("share") + "pcs";
    std::string from = share + std::string(1, '\0');
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE, remove.pFrom = from.c_str(), remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
    CreateDirectoryA(share.c_str(), nullptr);
    std::string folders[2] = {MakeProgramFolder("pc_one"), MakeProgramFolder("pc_two")};
    const std::string settings = "[Share]\r\nFolder=" + share + "\r\n";
    for (int pc = 0; pc < 2; ++pc) {
        CreateDirectoryA((folders[pc] + "data").c_str(), nullptr);
        ASSERT_TRUE(WriteWholeFile(folders[pc] + "data\\vantle.ini", settings.data(), settings.size()));
        ASSERT_TRUE(StartProgram(&program, folders[pc]));
        ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 20000));
        for (int click = 0; click <= pc; ++click) InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        if (pc == 0) {
            // The exit publishes today's files before the program ends.
            AskToEnd(&program, IDYES);
            ASSERT_EQ(WaitForExit(&program, 15000), 0u);
            KillProgram(&program);
        }
    }
    user.reset(new ScriptedUser(program.process.dwProcessId));
    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", GraphCaption().c_str(), true, 10000);
    ASSERT_NE(graph, nullptr);
    PostMessageA(graph, WM_COMMAND, IDC_SHOW_TOTALS, 0);
    HWND totals = WaitForProcessWindow(program.process.dwProcessId, "#32770", TotalsCaption, true, 10000);
    ASSERT_NE(totals, nullptr);
    HWND choice = GetDlgItem(totals, IDC_TOTALS_PC), list = GetDlgItem(totals, IDC_TOTALS_LIST);
    ASSERT_EQ(SendMessageA(choice, CB_GETCOUNT, 0, 0), 3) << "this PC, the other, all";
    const char* todaysClicks[3] = {"2", "1", "3"};
    // The clicks reach today's counts at the clock's next tick: each choice is taken until they show.
    for (int item = 0; item < 3; ++item) {
        std::string shown;
        PumpUntil([&] {
            SendMessageA(choice, CB_SETCURSEL, item, 0);
            SendMessageA(totals, WM_COMMAND, MAKEWPARAM(IDC_TOTALS_PC, CBN_SELCHANGE), reinterpret_cast<LPARAM>(choice));
            return (shown = ListText(program.process.hProcess, list, 0, 1)) == todaysClicks[item];
        }, 5000);
        EXPECT_EQ(shown, todaysClicks[item]) << "choice " << item;
    }
    PostMessageA(list, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(totals); }, 5000));
    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, *user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}
}  // namespace
