// The totals: the sums of a day and of the ranges, their texts, and the rows of a data folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/store.h"
#include "store/totals.h"
#include "support/storetest.h"
#include "support/testwin.h"

namespace {
std::vector<std::string> TotalsLines()
{
    std::vector<std::string> lines;
    for (int line = 0; line <= App.TotalsRowCount; ++line) {
        char text[TotalsLineSize];
        lines.emplace_back(text, FormatTotalsLine(line, text));
    }
    return lines;
}

// Counts and times as shown and copied; a day's sums count only values above 0, in 64 bits; the
// ranges end at today's running slot and take today and the 6 or 29 days before, all time every
// listed day, a later one too. Each day below counts one click of its own decimal place and one
// active slot, so that a wrong edge shows in the digits.
TEST(Totals, SumsOfDaysAndRangesAndTheirTexts)
{
    const struct {
        long long count;
        const char* text;
    } counts[] = {{0, "0"}, {7, "7"}, {999, "999"}, {1000, "1,000"}, {12345, "12,345"}, {999999, "999,999"},
                  {1000000, "1,000,000"}, {4294967294LL, "4,294,967,294"}};
    for (const auto& c : counts) {
        char text[32];
        FormatGroupedCount(c.count, text, sizeof text);
        EXPECT_STREQ(text, c.text);
    }
    const struct {
        int slots;
        const char* text;
    } times[] = {{0, "0:00"}, {1, "0:06"}, {10, "1:00"}, {139, "13:54"}, {2501, "250:06"}};
    for (const auto& t : times) {
        char text[32];
        FormatActiveTime(t.slots, text, sizeof text);
        EXPECT_STREQ(text, t.text);
    }

    std::vector<int> values = NoDataValues();
    const struct {
        int slot, clicks, keys, moves;
    } slots[] = {{0, -1, -1, -1}, {1, 0, 0, 0}, {2, 2147483647, -1, 0}, {3, 2147483647, 0, 0},
                 {4, -1, 1, -1}, {5, 0, 0, 5}, {239, 1, 1, 1}};
    for (const auto& s : slots) {
        values[s.slot] = s.clicks;
        values[240 + s.slot] = s.keys;
        values[480 + s.slot] = s.moves;
    }
    ActivityTotal day = {};
    AddDayValues(values.data(), 238, &day);
    EXPECT_EQ(day.Sums[0], 4294967294LL);
    EXPECT_EQ(day.Sums[1], 1);
    EXPECT_EQ(day.Sums[2], 5);
    EXPECT_EQ(day.ActiveSlots, 4) << "slots 2 to 5; 239 lies past the last";

    ResetStore("test_totals");
    BuildDayTables(20240307);
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    App.CurrentSlot = 100;
    App.ActivityTable[0][100][0] = 1;   // today's running slot
    App.ActivityTable[0][101][0] = 50;  // past it (the clock was set back): not counted
    App.ActivityTable[0][7][6] = 10;
    App.ActivityTable[1][8][7] = 100;
    const struct {
        const char* name;
        int clicks;  // in slot 9 of the file; days in memory take theirs from there
    } files[] = {{"20240307.dat", 0}, {"20240301.dat", 0}, {"20240229.dat", 0}, {"20240207.dat", 1000},
                 {"20240206.dat", 10000}, {"20240308.dat", 100000}};
    for (const auto& f : files) {
        std::vector<int> file = NoDataValues();
        file[9] = f.clicks;
        std::vector<unsigned char> bytes = DayFileBytes(file);
        WriteWholeFile(DataFile(f.name), bytes.data(), bytes.size());
    }  // 4 March, in the week, has no file
    ASSERT_EQ(CollectTotals(), 10);
    std::vector<std::string> lines = TotalsLines();
    EXPECT_EQ(lines[0], "日付\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動時間\r\n");
    const std::vector<std::string> want = {
        "今日\t1\t0\t0\t0:06\r\n",
        "過去7日間\t11\t0\t0\t0:12\r\n",
        "過去30日間\t1,011\t100\t0\t0:24\r\n",
        "全期間\t111,011\t100\t0\t0:36\r\n",
        "2024/03/08 (金)\t100,000\t0\t0\t0:06\r\n",
        "2024/03/07 (木)\t1\t0\t0\t0:06\r\n",
        "2024/03/01 (金)\t10\t0\t0\t0:06\r\n",
        "2024/02/29 (木)\t0\t100\t0\t0:06\r\n",
        "2024/02/07 (水)\t1,000\t0\t0\t0:06\r\n",
        "2024/02/06 (火)\t10,000\t0\t0\t0:06\r\n",
    };
    EXPECT_EQ(std::vector<std::string>(lines.begin() + 1, lines.end()), want);
    RemoveFolder(App.DataDirectory);
}

// Only names of real days count; a day held by another program past the wait keeps its row,
// marked unreadable, and counts in no sum; a short file counts what it holds.
TEST(Totals, RowsOfAFolderWithOddNamesAndAnUnreadableDay)
{
    ResetStore("test_totals");
    BuildDayTables(20240307);
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    std::vector<int> full = NoDataValues(), cut(480, 3);
    for (int s = 0; s < 240; ++s) full[s] = 3, full[480 + s] = 0;
    std::vector<unsigned char> fullBytes = DayFileBytes(full), cutBytes = DayFileBytes(cut);
    for (const char* name : {"20240307.DAT", "2024037.dat", "20230229.dat", "20241301.dat", "00000101.dat",
                             "20240306.dat.bak", "notes.txt", "19991231.dat"})
        WriteWholeFile(DataFile(name), fullBytes.data(), fullBytes.size());
    CreateDirectoryA(DataFile("20240305.dat").c_str(), nullptr);
    WriteWholeFile(DataFile("20240210.dat"), fullBytes.data(), fullBytes.size());
    WriteWholeFile(DataFile("20250101.dat"), cutBytes.data(), cutBytes.size());
    FileHold held(DataFile("19991231.dat"));
    ASSERT_EQ(CollectTotals(), 8);
    const std::vector<std::string> want = {
        "日付\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動時間\r\n",
        "今日\t0\t0\t0\t0:00\r\n",
        "過去7日間\t0\t0\t0\t0:00\r\n",
        "過去30日間\t720\t0\t0\t24:00\r\n",
        "全期間\t1,440\t720\t0\t48:00\r\n",
        "2025/01/01 (水)\t720\t720\t0\t24:00\r\n",
        "2024/03/07 (木)\t0\t0\t0\t0:00\r\n",
        "2024/02/10 (土)\t720\t0\t0\t24:00\r\n",
        "1999/12/31 (金)\t読めません\t読めません\t読めません\t読めません\r\n",
    };
    EXPECT_EQ(TotalsLines(), want);
    held.Release();
    RemoveFolder(App.DataDirectory);
}
}  // namespace
