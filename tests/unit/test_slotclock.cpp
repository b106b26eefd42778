// The slot clock driven with the test clock: commits, slot changes, midnight and clock jumps.
#include <gtest/gtest.h>

#include "app/input.h"
#include "app/slotclock.h"
#include "base/dates.h"
#include "base/report.h"
#include "base/uitext.h"
#include "store/days.h"
#include "store/pcidentity.h"
#include "store/publish.h"
#include "store/reset.h"
#include "support/fake_clock.h"
#include "support/storetest.h"
#include "support/testwin.h"

namespace {
class SlotClockTest : public ::testing::Test {
protected:
    void SetUp() override { ResetStore("test_slotclock"); }
    void TearDown() override { RemoveFolder(DataFolder()); }

    void PutFile(const char* name, const std::vector<int>& values)
    {
        std::vector<unsigned char> bytes = DayFileBytes(values);
        ASSERT_TRUE(WriteWholeFile(DataFile(name), bytes.data(), bytes.size()));
    }
};

TEST(SlotOfTime, SixMinuteSlots)
{
    const struct { WORD h, m; int slot; } cases[] = {
        {0, 0, 0}, {0, 5, 0}, {0, 6, 1}, {9, 41, 96}, {10, 0, 100}, {10, 5, 100},
        {23, 54, 239}, {23, 59, 239},
    };
    for (const auto& c : cases) {
        SYSTEMTIME t = {};
        t.wHour = c.h;
        t.wMinute = c.m;
        EXPECT_EQ(SlotOfTime(&t), c.slot) << c.h << ":" << c.m;
    }
}

TEST_F(SlotClockTest, TickOverwritesTodaysCellWithTheRunningTotals)
{
    ASSERT_TRUE(StartRecorderAt(9, 41, 0));
    Counters.LeftClicks = 5;
    Counters.RightClicks = 2;
    Counters.KeyTouches = 40;
    Counters.MoveX = 300;
    Counters.MoveY = 100;
    TickAt(nullptr, 9, 41, 1);
    EXPECT_EQ(Days.ActivityTable[0][96][0], 7);
    EXPECT_EQ(Days.ActivityTable[1][96][0], 40);
    EXPECT_EQ(Days.ActivityTable[2][96][0], 400);
    EXPECT_EQ(Days.DayMaxima[2][0], 400);
    Counters.MiddleClicks = 1;
    TickAt(nullptr, 9, 41, 2);
    EXPECT_EQ(Days.ActivityTable[0][96][0], 8) << "overwritten, not added";
    EXPECT_EQ(Counters.LeftClicks, 5) << "the counters keep running within the slot";
}

TEST_F(SlotClockTest, ChangeOfSlotWritesTheFinishedSlotAndStartsTheNext)
{
    ASSERT_TRUE(StartRecorderAt(10, 5, 0));
    Counters.LeftClicks = 300;
    Counters.KeyTouches = 2;
    Counters.MoveX = 1;
    TickAt(nullptr, 10, 5, 59);
    TickAt(nullptr, 10, 6, 0);
    EXPECT_EQ(Days.CurrentSlot, 101);
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    const unsigned char at400[] = {0x2C, 0x01, 0x00, 0x00};
    EXPECT_EQ(0, memcmp(&bytes[400], at400, 4));
    EXPECT_EQ(FileValue(bytes, 1, 100), 2);
    EXPECT_EQ(FileValue(bytes, 2, 100), 1);
    EXPECT_EQ(FileValue(bytes, 0, 101), -1) << "the new slot is not written yet";
    for (int m = 0; m < 3; ++m) EXPECT_EQ(Days.ActivityTable[m][101][0], 0);
    EXPECT_EQ(Counters.LeftClicks + Counters.KeyTouches + Counters.MoveX, 0);
    EXPECT_EQ(Days.DayMaxima[0][0], 0) << "raised again by the next tick";
    TickAt(nullptr, 10, 6, 1);
    EXPECT_EQ(Days.DayMaxima[0][0], 300);
}

TEST_F(SlotClockTest, MaximaIgnoreNoDataAndOnlyRise)
{
    ASSERT_TRUE(StartRecorderAt(12, 0, 0));
    Days.ActivityTable[1][10][0] = 9;
    Days.ActivityTable[1][11][0] = -1;
    Days.ActivityTable[1][200][0] = 50;  // after the current slot: not part of today's maximum
    TickAt(nullptr, 12, 0, 1);
    EXPECT_EQ(Days.DayMaxima[1][0], 9);
    Days.ActivityTable[1][10][0] = 3;
    TickAt(nullptr, 12, 0, 2);
    EXPECT_EQ(Days.DayMaxima[1][0], 9);
}

TEST_F(SlotClockTest, MidnightMovesTheHistoryAndStartsTheNewDay)
{
    std::vector<int> yesterday = NoDataValues();
    yesterday[240 + 5] = 77;
    PutFile("20240306.dat", yesterday);
    ASSERT_TRUE(StartRecorderAt(23, 59, 50));
    Days.ActivityTable[0][3][0] = 4;
    Counters.KeyTouches = 6;
    TickAt(nullptr, 23, 59, 59);
    TickAt(nullptr, 0, 0, 0, 8);

    std::vector<unsigned char> old = ReadWholeFile(DataFile("20240307.dat"));
    EXPECT_EQ(FileValue(old, 1, 239), 6) << "slot 239 lands in its own day's file";
    std::vector<unsigned char> fresh = ReadWholeFile(DataFile("20240308.dat"));
    ASSERT_EQ(fresh.size(), 2880u);
    for (unsigned char b : fresh) ASSERT_EQ(b, 0xFF);
    EXPECT_STREQ(Days.DayFileNames[0], "20240308.dat");
    EXPECT_STREQ(Days.DayLabels[1], "03/07");
    EXPECT_EQ(Days.ActivityTable[0][3][1], 4);
    EXPECT_EQ(Days.ActivityTable[1][239][1], 6);
    EXPECT_EQ(Days.ActivityTable[1][5][2], 77) << "the day before yesterday moved on too";
    EXPECT_EQ(Days.DayMaxima[1][2], 77);
    for (int m = 0; m < 3; ++m) {
        EXPECT_EQ(Days.ActivityTable[m][0][0], 0);
        EXPECT_EQ(Days.ActivityTable[m][1][0], -1);
        EXPECT_EQ(Days.ActivityTable[m][239][0], -1);
        EXPECT_EQ(Days.DayMaxima[m][0], 0);
    }
    EXPECT_EQ(Days.CurrentSlot, 0);
    EXPECT_EQ(Counters.KeyTouches, 0);
}

TEST_F(SlotClockTest, ForwardJumpWritesTheSlotThatWasRecorded)
{
    ASSERT_TRUE(StartRecorderAt(8, 0, 0));  // slot 80
    Counters.KeyTouches = 11;
    TickAt(nullptr, 8, 1, 0);
    TickAt(nullptr, 13, 0, 0);  // slot 130: the machine slept
    std::vector<unsigned char> bytes = ReadWholeFile(DayFilePathOf(0));
    EXPECT_EQ(FileValue(bytes, 1, 80), 11);
    EXPECT_EQ(FileValue(bytes, 1, 129), -1) << "nothing is written for slots not recorded";
    EXPECT_EQ(Days.ActivityTable[1][100][0], -1);
    EXPECT_EQ(Days.ActivityTable[1][130][0], 0);
}

TEST_F(SlotClockTest, BackwardJumpWithinTheDayGoesOnFromTheRecordedValues)
{
    ASSERT_TRUE(StartRecorderAt(8, 0, 0));  // slot 80
    Counters.KeyTouches = 11;
    TickAt(nullptr, 8, 6, 0);   // slot 81
    Counters.KeyTouches = 4;
    TickAt(nullptr, 8, 6, 1);
    TickAt(nullptr, 8, 3, 0);   // set back into slot 80
    EXPECT_EQ(Days.CurrentSlot, 80);
    EXPECT_EQ(Days.ActivityTable[1][80][0], 11);
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 1, 81), 4);
    Counters.KeyTouches = 2;
    TickAt(nullptr, 8, 3, 1);
    EXPECT_EQ(Days.ActivityTable[1][80][0], 13);
    TickAt(nullptr, 8, 6, 0);
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 1, 80), 13);
}

TEST_F(SlotClockTest, RestartWithinASlotKeepsWhatTheEarlierRunWrote)
{
    std::vector<int> today = NoDataValues();
    today[100] = 9;
    PutFile("20240307.dat", today);
    ASSERT_TRUE(StartRecorderAt(10, 2, 0));
    Counters.LeftClicks = 1;
    TickAt(nullptr, 10, 2, 1);
    EXPECT_EQ(Days.ActivityTable[0][100][0], 10);
}

TEST_F(SlotClockTest, SeveralDaysForwardKeepEveryDayOnItsDate)
{
    std::vector<int> older = NoDataValues();
    older[7] = 5;
    PutFile("20240305.dat", older);
    ASSERT_TRUE(StartRecorderAt(22, 0, 0));  // slot 220
    Counters.LeftClicks = 3;
    TickAt(nullptr, 22, 0, 1);
    TickAt(nullptr, 9, 0, 0, 10);   // three days later, no tick near midnight
    EXPECT_STREQ(Days.DayFileNames[0], "20240310.dat");
    EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 0, 220), 3);
    EXPECT_EQ(Days.ActivityTable[0][220][3], 3) << "7 March is now day 3";
    EXPECT_EQ(Days.ActivityTable[0][220][1], -1) << "9 March has no data";
    EXPECT_EQ(Days.ActivityTable[0][7][5], 5) << "5 March is now day 5";
    EXPECT_EQ(Days.ActivityTable[0][90][0], 0);
    EXPECT_EQ(Days.ActivityTable[0][89][0], -1);
    EXPECT_EQ(Days.CurrentSlot, 90);
    EXPECT_EQ(ReadWholeFile(DataFile("20240310.dat")).size(), 2880u);
}

// The clock set back onto yesterday, whose column is in memory with a slot still waiting to be
// written (yesterday's file was held at midnight, and still is): the column comes from memory,
// pending slot and all, the tick does not wait for the held file, and once the file is free the
// slot reaches it beside the file's own values. The held file is told once.
TEST_F(SlotClockTest, ClockSetBackOntoYesterdayTakesItsColumnFromMemory)
{
    std::vector<int> sixth = NoDataValues();
    sixth[2 * 240 + 40] = 123;
    PutFile("20240306.dat", sixth);
    ASSERT_TRUE(StartRecorderAt(23, 54, 0, 6));
    FileHold hold(DataFile("20240306.dat"));
    Counters.KeyTouches = 6;
    TickAt(nullptr, 23, 54, 30, 6);
    TickAt(nullptr, 0, 0, 0);  // slot 239 of 6 March cannot be written
    Counters.KeyTouches = 2;
    TickAt(nullptr, 0, 0, 30);
    DWORD start = GetTickCount();
    TickAt(nullptr, 23, 57, 0, 6);
    EXPECT_LT(GetTickCount() - start, 500u) << "the tick waited for the held file";
    EXPECT_STREQ(Days.DayFileNames[0], "20240306.dat");
    EXPECT_EQ(Days.ActivityTable[2][40][0], 123) << "the column comes from memory";
    EXPECT_EQ(Days.ActivityTable[1][239][0], 6) << "the pending slot goes on from its value";
    Counters.KeyTouches = 1;
    TickAt(nullptr, 23, 57, 30, 6);
    EXPECT_EQ(Days.ActivityTable[1][239][0], 7);
    hold.Release();
    TickAt(nullptr, 0, 0, 0);
    std::vector<unsigned char> bytes = ReadWholeFile(DataFile("20240306.dat"));
    EXPECT_EQ(FileValue(bytes, 1, 239), 7);
    EXPECT_EQ(FileValue(bytes, 2, 40), 123);
    EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240307.dat")), 1, 0), 2);
    EXPECT_EQ(Days.ActivityTable[1][0][0], 2) << "7 March read back from its file";
    ASSERT_EQ(FailureReports.Count, 1);
    EXPECT_STREQ(FailureReports.Items[0].text, UiText(TextOpenFailed));
    FailureReports.Count = 0;
}

TEST_F(SlotClockTest, MidnightOntoAnExistingFileReadsIt)
{
    std::vector<int> next = NoDataValues();
    next[239] = 31;
    PutFile("20240308.dat", next);
    ASSERT_TRUE(StartRecorderAt(23, 58, 0));
    TickAt(nullptr, 0, 0, 1, 8);
    EXPECT_EQ(Days.ActivityTable[0][239][0], 31);
    EXPECT_EQ(Days.ActivityTable[0][0][0], 0);
    EXPECT_EQ(FileValue(ReadWholeFile(DataFile("20240308.dat")), 0, 239), 31);
}
// A share folder that is not there: the change of slot writes the slot and waits on nothing (the
// copying is the publishing pass's), the pass fails without a box and the next one, with the share
// back, publishes every day whole through its own name; a data reset takes the published days too.
TEST_F(SlotClockTest, MissingShareLeavesRecordingAloneAndIsPublishedOnceBack)
{
    PutFile("20240306.dat", std::vector<int>(720, 4));
    const std::string apps = "header\r\nexcel.exe\t1\t2\t3\t4\r\n";
    ASSERT_TRUE(WriteWholeFile(DataFile("20240306.apps.txt"), apps.data(), apps.size()));
    const std::string keys = "header\r\nLBUTTON\t1\r\n";
    ASSERT_TRUE(WriteWholeFile(DataFile("20240306.keys.txt"), keys.data(), keys.size()));
    ASSERT_TRUE(StartRecorderAt(10, 5, 0));
    ASSERT_EQ(LoadPcIdentity(L"TESTPC"), 1);
    std::string share = DataFolder() + "\\share";
    ChooseShareFolder(Wide(share).c_str());
    SetPublishTarget(ShareFolder());
    Counters.LeftClicks = 3;
    TickAt(nullptr, 10, 5, 59);
    TickAt(nullptr, 10, 6, 0);
    EXPECT_EQ(FileValue(ReadWholeFile(DayFilePathOf(0)), 0, 100), 3) << "the slot is written all the same";
    EXPECT_EQ(RunPublishing(), 0);
    FILETIME last;
    int failed = 0;
    ReadPublishState(&last, &failed);
    EXPECT_EQ(failed, 1);

    ASSERT_TRUE(CreateDirectoryA(share.c_str(), nullptr));
    EXPECT_EQ(RunPublishing(), 1) << "tried again whole";
    std::string own = share + "\\" + Narrow(PcId()) + "\\";
    EXPECT_EQ(ReadWholeFile(own + "20240307.dat"), ReadWholeFile(DayFilePathOf(0)));
    EXPECT_EQ(ReadWholeFile(own + "20240306.dat"), DayFileBytes(std::vector<int>(720, 4)));
    EXPECT_EQ(ReadWholeFile(own + "20240306.keys.txt").size(), keys.size());
    EXPECT_EQ(GetFileAttributesA((own + "publish.tmp").c_str()), INVALID_FILE_ATTRIBUTES);
    std::vector<unsigned char> index = ReadWholeFile(own + "days.idx");
    EXPECT_EQ(std::string(index.begin(), index.begin() + 9), "20240306\t");
    std::vector<unsigned char> appsIndex = ReadWholeFile(own + "apps.idx");
    ASSERT_GT(appsIndex.size(), apps.size());
    EXPECT_EQ(std::string(appsIndex.end() - apps.size(), appsIndex.end()), apps) << "the apps file's text after its line";

    // A change of slot publishes today's file and leaves the indexes as they are (a sync tool would
    // carry them every six minutes); a change of day publishes every day and the indexes again.
    Counters.LeftClicks = 5;
    TickAt(nullptr, 10, 11, 59);
    TickAt(nullptr, 10, 12, 0);
    EXPECT_EQ(RunPublishing(), 1);
    EXPECT_EQ(FileValue(ReadWholeFile(own + "20240307.dat"), 0, 101), 5);
    EXPECT_EQ(ReadWholeFile(own + "days.idx"), index);
    TickAt(nullptr, 0, 0, 0, 8);
    EXPECT_EQ(RunPublishing(), 1);
    std::vector<unsigned char> nextDay = ReadWholeFile(own + "days.idx");
    EXPECT_NE(std::string(nextDay.begin(), nextDay.end()).find("\n20240308\t"), std::string::npos);

    // A name given in the share window reaches pc.ini cleaned; an empty one is the computer's.
    const struct {
        const wchar_t* given;
        const char* published;
    } names[] = {{L" Office\tPC ", "\r\nName=Office PC\r\n"}, {L" ", "\r\nName=TESTPC\r\n"}};
    for (const auto& n : names) {
        ChoosePcName(n.given);
        SetPublishTarget(ShareFolder());
        EXPECT_EQ(RunPublishing(), 1);
        std::vector<unsigned char> ini = ReadWholeFile(own + "pc.ini");
        EXPECT_NE(std::string(ini.begin(), ini.end()).find(n.published), std::string::npos) << n.published;
    }

    SYSTEMTIME now = {2024, 3, 5, 8, 0, 6, 30, 0};
    int kept = 0;
    ASSERT_TRUE(WriteWholeFile(DataFile("apps.idx"), "copies", 6));
    ASSERT_EQ(ResetData(&now, &kept), 0);
    EXPECT_EQ(GetFileAttributesA(DataFile("apps.idx").c_str()), INVALID_FILE_ATTRIBUTES) << "the apps files' copies go too";
    RequestPublish(PublishAllDays, 0, 0);
    EXPECT_EQ(RunPublishing(), 1);
    EXPECT_EQ(GetFileAttributesA((own + "20240306.dat").c_str()), INVALID_FILE_ATTRIBUTES) << "reset, and gone from the share";
    EXPECT_EQ(GetFileAttributesA((own + "20240306.keys.txt").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA((own + "20240307.dat").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(ReadWholeFile(own + "20240308.dat"), ReadWholeFile(DayFilePathOf(0))) << "today's new file";
}
}  // namespace
