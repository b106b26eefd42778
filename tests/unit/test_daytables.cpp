// Day tables across month ends, leap days and new year; the data folder beside the program.
#include <gtest/gtest.h>
#include <string.h>

#include <string>

#include "base/dates.h"
#include "base/files.h"
#include "store/appsfile.h"
#include "store/datafolder.h"
#include "store/days.h"
#include "support/fake_clock.h"
#include "support/testwin.h"

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
        EXPECT_STREQ(Days.DayLabels[c.entry], c.label);
        EXPECT_STREQ(Days.DayDates[c.entry], c.date);
        EXPECT_STREQ(Days.DayFileNames[c.entry], c.file);
        EXPECT_EQ(Days.TodayDate, DateNumber(c.year, c.month, c.day));
    }
}

TEST(DayTables, TwentyOneConsecutiveDistinctDays)
{
    SetFakeTime(2024, 1, 5, 23, 59, 59);
    BuildDayTables(FakeDate());
    for (int i = 1; i < DayCount; ++i) {
        EXPECT_STRNE(Days.DayFileNames[i], Days.DayFileNames[i - 1]);
        EXPECT_EQ(strlen(Days.DayFileNames[i]), 12u);
        EXPECT_EQ(strlen(Days.DayLabels[i]), 5u);
    }
    EXPECT_STREQ(Days.DayFileNames[5], "20231231.dat");
    EXPECT_STREQ(Days.DayFileNames[20], "20231216.dat");
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
    std::wstring exe;
    std::wstring data;
};

// The folder "data" beside the executable, whatever the folder's characters: the path is UTF-16
// throughout (表 ends in the byte 5C in code page 932, the others are not in it at all). From
// LongPathLimit characters on, the folder takes the \\?\ form, so that the paths of its files (the
// apps files' names are the longest) may pass MAX_PATH; a long directory is never cut.
TEST(DataDirectory, BesideTheExecutableInAnyFolder)
{
    const std::wstring belowLimit(LongPathLimit - 1 - 8, L'a'), atLimit(LongPathLimit - 8, L'a'), a300(300, L'a');
    const DirectoryCase cases[] = {
        {L"C:\\Program Files\\Vantle\\vantle.exe", L"C:\\Program Files\\Vantle\\data"},
        {L"D:\\vantle.exe", L"D:\\data"},
        {L"C:\\ソフト\\表\\vantle.exe", L"C:\\ソフト\\表\\data"},
        {L"C:\\Users\\Müller-Ærø\\vantle.exe", L"C:\\Users\\Müller-Ærø\\data"},
        {L"\\\\server\\share\\v.exe", L"\\\\server\\share\\data"},
        {L"C:/mixed/slash\\v.exe", L"C:/mixed/slash\\data"},
        {L"C:\\" + belowLimit + L"\\v.exe", L"C:\\" + belowLimit + L"\\data"},
        {L"C:\\" + atLimit + L"\\v.exe", L"\\\\?\\C:\\" + atLimit + L"\\data"},
        {L"C:/" + a300 + L"/v.exe", L"\\\\?\\C:\\" + a300 + L"\\data"},
        {L"\\\\srv\\" + a300 + L"\\v.exe", L"\\\\?\\UNC\\srv\\" + a300 + L"\\data"},
        {L"\\\\?\\D:\\" + a300 + L"\\v.exe", L"\\\\?\\D:\\" + a300 + L"\\data"},
    };
    for (const DirectoryCase& c : cases) {
        EXPECT_EQ(ComposeDataDirectory(c.exe.c_str()), 1) << Narrow(c.exe);
        EXPECT_EQ(std::wstring(DataPaths.Directory), c.data) << Narrow(c.exe);
        const std::wstring apps = AppsFilePath(20240307);
        EXPECT_TRUE(apps.size() < MAX_PATH || apps.rfind(L"\\\\?\\", 0) == 0) << Narrow(apps);
    }
}
}  // namespace
