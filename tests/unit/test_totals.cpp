// The totals: the sums of the days and the ranges, their texts, and the rows of a data folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "store/days.h"
#include "store/totals.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/calendarwindow.h"
#include "ui/totalswindow.h"

namespace {
std::vector<std::string> TotalsLines()
{
    std::vector<std::string> lines;
    for (int line = 0; line <= DayTotals.RowCount; ++line) {
        wchar_t text[ListLineSize];
        lines.push_back(Narrow(std::wstring(text, FormatListLine(&TotalsList, line, text, ListLineSize))));
    }
    return lines;
}

// Counts and times as shown and copied. The rows of a folder: only names of real days count;
// memory for the 21 days (today up to its running slot), files for the others; sums of values
// above 0 in 64 bits; today and the 6 or 29 days before it; all time every readable row, a
// later day too; a day held past the wait keeps its row, unreadable, and counts nowhere, also one
// of the 21 whose file the start-up could not read. Each day
// has its own decimal place of clicks, so that a wrong edge shows in the digits. The calendar takes
// its years and days from the same rows.
TEST(Totals, SumsRangesAndRowsOfAFolder)
{
    const struct {
        long long count;
        const char* text;
    } counts[] = {{0, "0"}, {7, "7"}, {999, "999"}, {1000, "1,000"}, {12345, "12,345"}, {999999, "999,999"},
                  {1000000, "1,000,000"}, {4294967294LL, "4,294,967,294"}};
    for (const auto& c : counts) {
        wchar_t text[32];
        FormatGroupedCount(c.count, text, 32);
        EXPECT_EQ(Narrow(text), c.text);
    }
    const struct {
        int slots;
        const char* text;
    } times[] = {{0, "0:00"}, {1, "0:06"}, {10, "1:00"}, {139, "13:54"}, {2501, "250:06"}};
    for (const auto& t : times) {
        wchar_t text[32];
        FormatActiveTime(t.slots, text, 32);
        EXPECT_EQ(Narrow(text), t.text);
    }

    ResetStore("test_totals");
    BuildDayTables(20240307);
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    Days.CurrentSlot = 100;
    Days.ActivityTable[0][100][0] = 1;   // today's running slot
    Days.ActivityTable[0][101][0] = 50;  // past it (the clock was set back): not counted
    Days.ActivityTable[0][7][6] = 10;
    Days.ActivityTable[1][8][7] = 100;
    const struct {
        const char* name;
        int clicks, keys;  // clicks in slot 9, key touches in slots 9 and 10; days in memory take theirs from there
    } files[] = {{"20240307.dat", 0, -1}, {"20240301.dat", 0, -1}, {"20240229.dat", 0, -1},
                 {"20240207.dat", 1000, 2147483647}, {"20240206.DAT", 10000, -1}, {"20240308.dat", 100000, -1},
                 {"19991231.dat", 5, -1}, {"20240306.dat", 7, -1}, {"2024037.dat", 7, -1}, {"20230229.dat", 7, -1}, {"20241301.dat", 7, -1},
                 {"00000101.dat", 7, -1}, {"20240306.dat.bak", 7, -1}, {"notes.txt", 7, -1}};
    for (const auto& f : files) {
        std::vector<int> file = NoDataValues();
        file[9] = f.clicks, file[240 + 9] = file[240 + 10] = f.keys, file[480 + 9] = 0;
        file[11] = file[240 + 11] = file[480 + 11] = 0;  // recorded without activity
        std::vector<unsigned char> bytes = DayFileBytes(file);
        WriteWholeFile(DataFile(f.name), bytes.data(), bytes.size());
    }  // 4 March, in the week, has no file
    CreateDirectoryA(DataFile("20240305.dat").c_str(), nullptr);
    FileHold held(DataFile("19991231.dat"));
    // Yesterday's file, held since the start-up: its day in memory has not been read.
    FileHold heldSinceStart(DataFile("20240306.dat"));
    Days.DayUnread[1] = 1;
    ASSERT_EQ(CollectTotals(), 12);
    const std::vector<std::string> want = {
        "日付\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動時間\r\n",
        "今日\t1\t0\t0\t0:06\r\n",
        "過去7日間\t11\t0\t0\t0:12\r\n",
        "過去30日間\t1,011\t4,294,967,394\t0\t0:30\r\n",
        "全期間\t111,011\t4,294,967,394\t0\t0:42\r\n",
        "2024/03/08 (金)\t100,000\t0\t0\t0:06\r\n",
        "2024/03/07 (木)\t1\t0\t0\t0:06\r\n",
        "2024/03/06 (水)\t読めません\t読めません\t読めません\t読めません\r\n",
        "2024/03/01 (金)\t10\t0\t0\t0:06\r\n",
        "2024/02/29 (木)\t0\t100\t0\t0:06\r\n",
        "2024/02/07 (水)\t1,000\t4,294,967,294\t0\t0:12\r\n",
        "2024/02/06 (火)\t10,000\t0\t0\t0:06\r\n",
        "1999/12/31 (金)\t読めません\t読めません\t読めません\t読めません\r\n",
    };
    EXPECT_EQ(TotalsLines(), want);
    held.Release();
    heldSinceStart.Release();
    // The calendar of the same folder, read whole now: its years newest first; 8 March 2024 is day
    // 31 + 29 + 7, 29 February day 59 (recorded, nothing in it), 7 February day 37 (two active
    // slots); 4 March (day 63) has no file.
    ASSERT_EQ(TakeCalendarYears(), 2);
    EXPECT_EQ(CalendarShown.Years[0] * 10000 + CalendarShown.Years[1], 20241999);
    FillCalendarYear(2024, MetricClicks);
    const CalendarYear& year = CalendarShown.Shown;
    EXPECT_EQ(year.DayCount, 366);
    EXPECT_TRUE(year.HasData[67] && year.Values[67] == 100000 && year.HasData[59] && year.Values[59] == 0);
    EXPECT_FALSE(year.HasData[63]);
    FillCalendarYear(2024, MeasureActiveTime);
    EXPECT_EQ(year.Values[37], 2);
    RemoveFolder(DataFolder());
}
}  // namespace
