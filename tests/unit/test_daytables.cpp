// Day tables across month ends, leap days and new year; the data folder beside the program.
#include <gtest/gtest.h>
#include <string.h>

#include "store/state.h"
#include "store/store.h"
#include "support/fake_clock.h"

namespace {
struct DayTableCase {
    int year, month, day;
    int entry;
    const char* label;
    const char* date;
    const char* file;
};

const DayTableCase DayTableCases[] = {
    {2024, 3, 7, 0, "03/07", "2024/03/07", "20240307.dat"},
    {2024, 3, 1, 1, "02/29", "2024/02/29", "20240229.dat"},  // leap year
    {2023, 3, 1, 1, "02/28", "2023/02/28", "20230228.dat"},
    {2100, 3, 1, 1, "02/28", "2100/02/28", "21000228.dat"},  // century, no leap day
    {2025, 1, 1, 1, "12/31", "2024/12/31", "20241231.dat"},  // new year
    {2025, 1, 10, 20, "12/21", "2024/12/21", "20241221.dat"},
    {2024, 5, 1, 1, "04/30", "2024/04/30", "20240430.dat"},
    {2024, 3, 20, 20, "02/29", "2024/02/29", "20240229.dat"},
};

TEST(DayTables, EntriesStepBackOneCalendarDay)
{
    for (const DayTableCase& c : DayTableCases) {
        SetFakeTime(c.year, c.month, c.day, 0, 30, 0);
        BuildDayTables(FakeDate());
        SCOPED_TRACE(c.date);
        EXPECT_STREQ(App.DayLabels[c.entry], c.label);
        EXPECT_STREQ(App.DayDates[c.entry], c.date);
        EXPECT_STREQ(App.DayFileNames[c.entry], c.file);
        EXPECT_EQ(App.TodayDate, DateNumber(c.year, c.month, c.day));
    }
}

TEST(DayTables, TwentyOneConsecutiveDistinctDays)
{
    SetFakeTime(2024, 1, 5, 23, 59, 59);
    BuildDayTables(FakeDate());
    for (int i = 1; i < DayCount; ++i) {
        EXPECT_STRNE(App.DayFileNames[i], App.DayFileNames[i - 1]);
        EXPECT_EQ(strlen(App.DayFileNames[i]), 12u);
        EXPECT_EQ(strlen(App.DayLabels[i]), 5u);
    }
    EXPECT_STREQ(App.DayFileNames[5], "20231231.dat");
    EXPECT_STREQ(App.DayFileNames[20], "20231216.dat");
}

TEST(DayTables, DaysBetweenDates)
{
    EXPECT_EQ(DaysBetween(20240228, 20240301), 2);
    EXPECT_EQ(DaysBetween(20230228, 20230301), 1);
    EXPECT_EQ(DaysBetween(20241231, 20250101), 1);
    EXPECT_EQ(DaysBetween(20250101, 20241231), -1);
    EXPECT_EQ(DaysBetween(20240101, 20250101), 366);
    EXPECT_EQ(DaysBetween(20240307, 20240307), 0);
}

struct DirectoryCase {
    const char* exe;
    const char* data;
};

// 表 and ソ end in the byte 5C in code page 932; the path split must not take it for a '\'.
// The directory keeps its closing separator and "\\data" follows it, so the folder name has
// a doubled separator, which the file system reads as one.
const DirectoryCase DirectoryCases[] = {
    {"C:\\Program Files\\Vantle\\vantle.exe", "C:\\Program Files\\Vantle\\\\data"},
    {"D:\\vantle.exe", "D:\\\\data"},
    {"C:\\表\\vantle.exe", "C:\\表\\\\data"},
    {"C:\\ソフト\\表示\\vantle.exe", "C:\\ソフト\\表示\\\\data"},
    {"C:\\tools\\表", "C:\\tools\\\\data"},
    {"\\\\server\\share\\v.exe", "\\\\server\\share\\\\data"},
    {"C:/mixed/slash\\v.exe", "C:/mixed/slash\\\\data"},
    {"vantle.exe", "\\data"},
};

TEST(DataDirectory, BesideTheExecutableDoubleByteAware)
{
    ASSERT_EQ(GetACP(), 932u) << "the tests run with the Japanese ANSI code page";
    for (const DirectoryCase& c : DirectoryCases) {
        ComposeDataDirectory(c.exe);
        EXPECT_STREQ(App.DataDirectory, c.data) << c.exe;
    }
}

TEST(DataDirectory, OverlongDirectoryIsCut)
{
    char exe[600] = "C:\\";
    for (int i = 0; i < 300; ++i) strcat(exe, "a");
    strcat(exe, "\\v.exe");
    ComposeDataDirectory(exe);
    // Drive, 255 characters of directory, then "\data".
    EXPECT_EQ(strlen(App.DataDirectory), 2u + 255u + 5u);
    EXPECT_EQ(App.DataDirectory[2 + 254], 'a');
}
}  // namespace
