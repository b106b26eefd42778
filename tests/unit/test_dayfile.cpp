// Day files: creation, reading with its maxima, slot writes, the reset, and the failure cases.
#include <gtest/gtest.h>

#include "app/input.h"
#include "base/uitext.h"
#include "graph/view.h"
#include "res/messages.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "store/startup.h"
#include "support/fake_clock.h"
#include "support/fake_recyclebin.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"

namespace {
class DayFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetStore("test_dayfile");
        SetFakeRecycleBin(FakeBin::None);
        SetFakeTime(2024, 3, 7, 10, 3, 0);
        BuildDayTables(FakeDate());
    }
    void TearDown() override
    {
        user.Finish();
        RemoveFolder(DataFolder());
    }
    void PutDayFile(int day, const std::vector<int>& values)
    {
        std::vector<unsigned char> bytes = DayFileBytes(values);
        ASSERT_TRUE(WriteWholeFile(DayFilePathOf(day), bytes.data(), bytes.size()));
    }
    ScriptedUser user;
};

TEST_F(DayFileTest, CreatedFileIsAllNoData)
{
    ASSERT_EQ(CreateDayFile(), 1);
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    ASSERT_EQ(bytes.size(), 2880u);
    for (unsigned char b : bytes) ASSERT_EQ(b, 0xFF);
    EXPECT_STREQ(Days.DayFileNames[0], "20240307.dat");
}

// The day file operations fail without a box: the caller reports, owned by its own window.
TEST_F(DayFileTest, CreatingAnExistingFileFails)
{
    PutDayFile(0, std::vector<int>(720, 5));
    EXPECT_EQ(CreateDayFile(), -1);
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 2, 239), 5) << "contents kept";
}

TEST_F(DayFileTest, ReadFillsColumnAndUnsignedMaxima)
{
    std::vector<int> values = NoDataValues();
    values[0 * 240 + 3] = 7;
    values[0 * 240 + 9] = 2;
    values[1 * 240 + 239] = 0;
    values[2 * 240 + 100] = 300;
    values[2 * 240 + 101] = 299;
    PutDayFile(4, values);
    Days.DayMaxima[0][4] = 99;  // a reading starts its maxima afresh
    ASSERT_EQ(ReadDayFile(4), 1);
    EXPECT_EQ(Days.ActivityTable[0][3][4], 7);
    EXPECT_EQ(Days.ActivityTable[0][4][4], -1);
    EXPECT_EQ(Days.ActivityTable[1][239][4], 0);
    EXPECT_EQ(Days.ActivityTable[2][100][4], 300);
    EXPECT_EQ(Days.DayMaxima[0][4], 7);
    EXPECT_EQ(Days.DayMaxima[1][4], 0) << "an all-zero day has maximum 0";
    EXPECT_EQ(Days.DayMaxima[2][4], 300);
    EXPECT_EQ(Days.ActivityTable[0][3][3], 0) << "other columns untouched";
}

TEST_F(DayFileTest, AllNoDataFileGivesNoDataAndZeroMaxima)
{
    PutDayFile(0, NoDataValues());
    ASSERT_EQ(ReadDayFile(0), 1);
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(Days.DayMaxima[m][0], 0);
        for (int s = 0; s < 240; ++s) ASSERT_EQ(Days.ActivityTable[m][s][0], -1);
    }
}

TEST_F(DayFileTest, ShortLongAndCorruptFilesReadSafely)
{
    // 100 values of 3, then the file ends: the rest is no data.
    std::vector<unsigned char> shortFile = DayFileBytes(std::vector<int>(100, 3));
    shortFile.push_back(0x01);  // a value cut in the middle is no data too
    ASSERT_TRUE(WriteWholeFile(DayFilePathOf(1), shortFile.data(), shortFile.size()));
    ASSERT_EQ(ReadDayFile(1), 1);
    EXPECT_EQ(Days.ActivityTable[0][99][1], 3);
    EXPECT_EQ(Days.ActivityTable[0][100][1], -1);
    EXPECT_EQ(Days.ActivityTable[2][239][1], -1);
    EXPECT_EQ(Days.DayMaxima[0][1], 3);
    EXPECT_EQ(Days.DayMaxima[1][1], 0);

    // Garbage below -1 reads as no data; a longer file is read for its first 2880 bytes.
    std::vector<int> values(721, 4);
    values[5] = -7;
    values[6] = static_cast<int>(0x80000000u);
    values[720] = 1000;
    PutDayFile(2, values);
    ASSERT_EQ(ReadDayFile(2), 1);
    EXPECT_EQ(Days.ActivityTable[0][5][2], -1);
    EXPECT_EQ(Days.ActivityTable[0][6][2], -1);
    EXPECT_EQ(Days.DayMaxima[0][2], 4);
    EXPECT_EQ(Days.DayMaxima[2][2], 4) << "bytes past 2880 are not read";

    // An empty file is a day without data.
    ASSERT_TRUE(WriteWholeFile(DayFilePathOf(3), "", 0));
    ASSERT_EQ(ReadDayFile(3), 1);
    EXPECT_EQ(Days.ActivityTable[1][0][3], -1);
}

TEST_F(DayFileTest, ReadingALockedFileFails)
{
    PutDayFile(6, NoDataValues());
    FileHold hold(DayFilePathOf(6));
    EXPECT_EQ(ReadDayFile(6), 0);
}

TEST_F(DayFileTest, SlotWriteGoesToItsThreeOffsets)
{
    ASSERT_EQ(CreateDayFile(), 1);
    Days.ActivityTable[0][100][0] = 300;
    Days.ActivityTable[1][100][0] = 0;
    Days.ActivityTable[2][100][0] = -1;
    Days.ActivityTable[0][101][0] = 55;  // not the slot written
    ASSERT_EQ(WriteSlot(100), 1);
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    ASSERT_EQ(bytes.size(), 2880u);
    const unsigned char expected300[] = {0x2C, 0x01, 0x00, 0x00};
    EXPECT_EQ(0, memcmp(&bytes[400], expected300, 4));
    EXPECT_EQ(FileValue(bytes, 1, 100), 0);
    EXPECT_EQ(FileValue(bytes, 2, 100), -1);
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (i / 4 == 100 || i / 4 == 340 || i / 4 == 580) continue;
        ASSERT_EQ(bytes[i], 0xFF) << "byte " << i;
    }
    Days.ActivityTable[2][239][0] = 0x01020304;
    ASSERT_EQ(WriteSlot(239), 1);
    bytes = ReadWholeFile(DayFilePathOf(0));
    const unsigned char last[] = {0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(0, memcmp(&bytes[2876], last, 4));
}

TEST_F(DayFileTest, DeletedTodayFileIsMadeAgainWithEveryRecordedSlot)
{
    ASSERT_EQ(CreateDayFile(), 1);
    for (int m = 0; m < 3; ++m)
        for (int s = 0; s < 240; ++s) Days.ActivityTable[m][s][0] = s < 50 ? s + m : -1;
    ASSERT_TRUE(DeleteFileA(DayFilePathOf(0).c_str()));
    ASSERT_EQ(WriteSlot(49), 1);
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    ASSERT_EQ(bytes.size(), 2880u);
    EXPECT_EQ(FileValue(bytes, 0, 10), 10);
    EXPECT_EQ(FileValue(bytes, 2, 49), 51);
    EXPECT_EQ(FileValue(bytes, 1, 50), -1);
}

TEST_F(DayFileTest, BrieflyLockedFileIsWrittenAfterARetry)
{
    ASSERT_EQ(CreateDayFile(), 1);
    Days.ActivityTable[0][7][0] = 12;
    FileHold hold(DayFilePathOf(0));
    // The lock is the fault itself: it lasts a moment, which no event of the program marks.
    HANDLE releaser = CreateThread(nullptr, 0, [](void* h) -> DWORD {
        Sleep(10);
        static_cast<FileHold*>(h)->Release();
        return 0;
    }, &hold, 0, nullptr);
    DWORD start = GetTickCount();
    EXPECT_EQ(WriteSlot(7), 1) << "a brief lock is no failure";
    EXPECT_LT(GetTickCount() - start, 500u);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 0, 7), 12);
}

TEST_F(DayFileTest, FailedSlotWriteIsKeptAndReachesTheFileLater)
{
    ASSERT_EQ(CreateDayFile(), 1);
    Days.ActivityTable[1][20][0] = 8;
    Days.ActivityTable[1][21][0] = 9;
    {
        FileHold hold(DayFilePathOf(0));
        EXPECT_EQ(WriteSlot(20), SlotFileHeld);
    }
    EXPECT_EQ(Days.ActivityTable[1][20][0], 8) << "memory keeps the values";
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 1, 20), -1);
    ASSERT_EQ(WriteSlot(21), 1);
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    EXPECT_EQ(FileValue(bytes, 1, 20), 8) << "the failed slot followed with the next write";
    EXPECT_EQ(FileValue(bytes, 1, 21), 9);
}

// The graph window's data reset, as the monitor window carries it out.
TEST_F(DayFileTest, ResetClearsStoreAndTheTwentyOneFiles)
{
    HWND monitor = CreateMonitorWithoutStartup();
    for (int d = 0; d < 21; ++d) PutDayFile(d, std::vector<int>(720, d));
    ASSERT_TRUE(WriteWholeFile(DataFile("20240101.dat"), "x", 1));  // older than 21 days
    ASSERT_TRUE(WriteWholeFile(DataFile("20240101.apps.txt"), "x", 1));
    ASSERT_TRUE(WriteWholeFile(DataFile("20240304.apps.txt"), "x", 1));  // the apps file of day 3
    Days.ActivityTable[0][5][3] = 4;
    Days.DayMaxima[2][7] = 10;
    Counters.LeftClicks = Counters.KeyTouches = Counters.MoveY = 3;
    Counters.LeftDown = 1;
    Counters.LastKey = 'A';
    Counters.LastPointerPos.x = 9;
    Days.CurrentSlot = 101;
    Graph.SelectedMetric = 2;

    SendMessageA(monitor, WM_RESET_DATA, 0, 0);
    for (int d = 0; d < 21; ++d) {
        for (int m = 0; m < 3; ++m) {
            ASSERT_EQ(Days.DayMaxima[m][d], 0);
            for (int s = 0; s < 240; ++s) ASSERT_EQ(Days.ActivityTable[m][s][d], -1);
        }
        if (d > 0) {
            EXPECT_EQ(GetFileAttributesA(DayFilePathOf(d).c_str()), INVALID_FILE_ATTRIBUTES);
        }
    }
    std::vector<unsigned char> today = ReadWholeFile(DayFilePathOf(0));
    ASSERT_EQ(today.size(), 2880u);
    EXPECT_EQ(FileValue(today, 1, 0), -1);
    EXPECT_EQ(ReadWholeFile(DataFile("20240101.dat")).size(), 1u) << "older files untouched";
    EXPECT_EQ(ReadWholeFile(DataFile("20240101.apps.txt")).size(), 1u);
    EXPECT_EQ(GetFileAttributesA(DataFile("20240304.apps.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(Counters.LeftClicks + Counters.KeyTouches + Counters.MoveY, 0);
    EXPECT_EQ(Counters.LeftDown, 1);
    EXPECT_EQ(Counters.LastKey, static_cast<UINT>('A'));
    EXPECT_EQ(Counters.LastPointerPos.x, 9);
    EXPECT_EQ(Days.CurrentSlot, 101);
    EXPECT_EQ(Graph.SelectedMetric, 2);

    // Today's file cannot be made again (a folder stands in its place): the message comes.
    ASSERT_TRUE(DeleteFileA(DayFilePathOf(0).c_str()));
    ASSERT_TRUE(CreateDirectoryA(DayFilePathOf(0).c_str(), nullptr));
    user.Expect(UiA(TextErrorCaption), UiA(TextCreateFailed), IDOK);
    EXPECT_EQ(user.TextsDuring([&] { SendMessageA(monitor, WM_RESET_DATA, 0, 0); }),
              std::vector<std::string>{"ファイルを作成できませんでした"});
    RemoveDirectoryA(DayFilePathOf(0).c_str());
    DestroyMonitor(monitor);
}

// Where the reset's files go: whole into the bin, or whole into a reset folder that nothing reads.
// A file held without sharing (a backup, an indexer) cannot be taken: its day keeps its file and
// its column, the others are reset, and one box says so; the next start shows what the graph did.
TEST_F(DayFileTest, ResetKeepsEveryFileWhole)
{
    struct Row {
        FakeBin bin;
        bool inBin, inResetFolder;
        int held;  // the day whose file another program holds, or -1
        bool appsHeld;  // its apps file is held instead: the day's pair stays together
    } rows[] = {
        {FakeBin::Keeping, true, false, -1, false},
        {FakeBin::None, false, true, -1, false},
        {FakeBin::Destroying, false, true, -1, false},  // the shell deleted them instead of recycling
        {FakeBin::Keeping, true, false, 3, false},
        {FakeBin::None, false, true, 0, false},
        {FakeBin::Keeping, true, false, 5, true},
        {FakeBin::None, false, true, 0, true},
    };
    HWND monitor = CreateMonitorWithoutStartup();
    SYSTEMTIME now = {};
    now.wYear = 2024, now.wMonth = 3, now.wDay = 7, now.wHour = 10, now.wMinute = 3;
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << static_cast<int>(row.bin) << ", held " << row.held);
        SetFakeRecycleBin(row.bin);
        std::vector<std::vector<unsigned char>> kept(21);
        for (int d = 0; d < 21; ++d) {
            if (d == 4) continue;  // a day without a file
            std::vector<int> values(720, d * 100);
            values[719] = 7;
            PutDayFile(d, values);
            kept[d] = ReadWholeFile(DayFilePathOf(d));
        }
        ASSERT_EQ(Startup(&now), 1);
        FileHold hold;
        std::string apps = row.held >= 0 ? DayFilePathOf(row.held) : "";
        if (row.appsHeld) apps.replace(apps.size() - 4, 4, ".apps.txt");
        if (row.appsHeld) ASSERT_TRUE(WriteWholeFile(apps, "x", 1));
        if (row.held >= 0) {
            hold.Hold(row.appsHeld ? apps : DayFilePathOf(row.held));
            user.Expect(UiA(TextErrorCaption), UiA(TextResetIncomplete), IDOK);
        }
        EXPECT_EQ(user.TextsDuring([&] { SendMessageA(monitor, WM_RESET_DATA, 0, 0); }),
                  row.held >= 0 ? std::vector<std::string>{"一部の日のデータをリセットできませんでした"}
                                : std::vector<std::string>{});
        hold.Release();
        if (row.appsHeld) EXPECT_TRUE(DeleteFileA(apps.c_str())) << "the held apps file stays";
        std::string resetFolder = DataFile("reset-20240307-100300");
        for (int d = 0; d < 21; ++d) {
            std::string name = Days.DayFileNames[d];
            bool held = d == row.held;
            std::vector<unsigned char> inBin = ReadWholeFile(BinFolder() + "\\" + name);
            std::vector<unsigned char> inReset = ReadWholeFile(resetFolder + "\\" + name);
            EXPECT_EQ(inBin, row.inBin && !held ? kept[d] : std::vector<unsigned char>()) << name;
            EXPECT_EQ(inReset, row.inResetFolder && !held ? kept[d] : std::vector<unsigned char>()) << name;
            if (d > 0 || held) {
                EXPECT_EQ(ReadWholeFile(DayFilePathOf(d)), held ? kept[d] : std::vector<unsigned char>()) << name;
            }
            EXPECT_EQ(Days.ActivityTable[2][239][d], held ? 7 : -1) << name;
        }
        EXPECT_EQ(GetFileAttributesA(resetFolder.c_str()) != INVALID_FILE_ATTRIBUTES, row.inResetFolder);
        std::vector<unsigned char> today = ReadWholeFile(DayFilePathOf(0));
        ASSERT_EQ(today.size(), 2880u);
        EXPECT_EQ(FileValue(today, 2, 239), row.held == 0 ? 7 : -1);

        // The start-up after the reset finds no day of the reset folder, and what the graph shows.
        ASSERT_EQ(Startup(&now), 1);
        for (int d = 0; d < 21; ++d) EXPECT_EQ(Days.ActivityTable[2][239][d], d == row.held ? 7 : -1) << d;
        RemoveFolder(resetFolder);
    }
    DestroyMonitor(monitor);
}
}  // namespace
