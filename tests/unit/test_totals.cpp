// The totals: the sums of the days and the ranges, their texts, and the rows of a data folder.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "store/appranges.h"
#include "store/days.h"
#include "store/keyranges.h"
#include "store/pcidentity.h"
#include "store/ranges.h"
#include "store/sharedpcs.h"
#include "store/totals.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/calendarwindow.h"
#include "ui/sharewindow.h"
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
    ASSERT_EQ(CollectTotals(ThisPc), 12);
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
    ASSERT_EQ(TakeCalendarYears(ThisPc), 2);
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
// The other PCs of a share, read as untrusted: a folder is a PC only with a pc.ini naming it (its
// name cleaned of control characters); a day's content that two identities published (a copied data
// folder, a renamed PC) counts once, also against this PC's own; a half-written file, a conflict
// copy, this PC's own published copy and a bad index line count nowhere; an index entry that names
// the file as listed stands for it unopened (the apps index too); an apps file published twice
// counts once, a name that
// is not UTF-8 nowhere; this PC's own index of days follows its files.
TEST(Totals, OtherPcsOfAShareCheckedAndCountedOnce)
{
    ResetStore("test_totals_share");
    BuildDayTables(20240307);
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    Days.CurrentSlot = 100;
    Days.ActivityTable[0][100][0] = 1;
    ASSERT_EQ(LoadPcIdentity(L"TESTPC"), 1);
    std::string share = DataFolder() + "\\share\\";
    ChooseShareFolder(Wide(share).c_str());
    auto day = [](int clicks) {
        std::vector<int> values = NoDataValues();
        values[9] = clicks;
        return DayFileBytes(values);
    };
    std::vector<unsigned char> copied = day(1000), shared = day(10);
    WriteWholeFile(DataFile("20240205.dat"), copied.data(), copied.size());
    const char* office = "{11111111-2222-3333-4444-555555555555}";
    const char* home = "{AAAAAAAA-2222-3333-4444-555555555555}";
    const char* apps = "\xEF\xBB\xBFheader\r\nexcel.exe\t1\t2\t3\t60\r\nbad\xFF.exe\t9\t9\t9\t9\r\n";
    const struct {
        std::string folder, name;
        std::string text;           // of a text file
        std::vector<unsigned char> bytes;  // of a day file
    } files[] = {
        {office, "pc.ini", std::string("[PC]\r\nId=") + office + "\r\nName=Office\r\n", {}},
        {office, "20240306.dat", "", shared},
        {office, "20240205.dat", "", copied},
        {office, "20240304 (1).dat", "", day(7)},
        {office, "20240303.dat", "", std::vector<unsigned char>(shared.begin(), shared.begin() + 2000)},
        {office, "20240306.apps.txt", apps, {}},
        {home, "pc.ini", std::string("[PC]\r\nId=") + home + "\r\nName= Ho\tme\r\n", {}},
        {home, "20240306.dat", "", shared},
        {home, "20240306.apps.txt", apps, {}},
        {office, "20240306.keys.txt", "\xEF\xBB\xBFheader\r\nLBUTTON\t5\r\nWHEEL\t999999999999999999\r\n", {}},
        {home, "20240306.keys.txt", "\xEF\xBB\xBFheader\r\nLBUTTON\t5\r\nWHEEL\t999999999999999999\r\n", {}},
        {home, "20240305.keys.txt", "header\r\nWHEEL\t9223372036854775807\r\nNOSUCHKEY\t1\r\n", {}},
        {home, "20240302.dat", "", day(7)},
        {"{BBBBBBBB-2222-3333-4444-555555555555}", "pc.ini", std::string("[PC]\r\nId=") + office + "\r\n", {}},
        {"{BBBBBBBB-2222-3333-4444-555555555555}", "20240301.dat", "", day(50000)},
        {Narrow(PcId()), "pc.ini", "[PC]\r\nId=" + Narrow(PcId()) + "\r\n", {}},
        {Narrow(PcId()), "20240301.dat", "", day(90000)},
    };
    for (const auto& f : files) {
        CreateDirectoryA(share.c_str(), nullptr);
        CreateDirectoryA((share + f.folder).c_str(), nullptr);
        std::string path = share + f.folder + "\\" + f.name;
        if (f.bytes.empty()) WriteWholeFile(path, f.text.data(), f.text.size());
        else WriteWholeFile(path, f.bytes.data(), f.bytes.size());
    }
    // Home's index stands for its file of 2 March (5 clicks, not the file's 7) while it names the
    // file's time of writing; its second line is out of bounds.
    WIN32_FILE_ATTRIBUTE_DATA written;
    ASSERT_TRUE(GetFileAttributesExA((share + home + "\\20240302.dat").c_str(), GetFileExInfoStandard, &written));
    char index[256];
    snprintf(index, sizeof index, "20240302\t0000000000000001\t%08lX%08lX\t5\t0\t0\t1\t0000000000000000\t0000000000000000\r\n"
             "20240306\t0000000000000001\t%08lX%08lX\t999999999999999999\t0\t0\t1\t0000000000000000\t0000000000000000\r\n",
             written.ftLastWriteTime.dwHighDateTime, written.ftLastWriteTime.dwLowDateTime,
             written.ftLastWriteTime.dwHighDateTime, written.ftLastWriteTime.dwLowDateTime);
    WriteWholeFile(share + home + "\\days.idx", index, strlen(index));

    ASSERT_EQ(FindSharedPcs(), 2);
    std::vector<std::string> names = {Narrow(SharedPcAt(0)->Name), Narrow(SharedPcAt(1)->Name)};
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Ho me", "Office"}));
    int officePc = Narrow(SharedPcAt(0)->Name) == "Office" ? 0 : 1;
    // The share window's row of a PC: its newest day and its days, the half-written file and the
    // conflict copy not among them; the windows' choice: this PC, the others, all of them.
    const std::vector<std::string> officeRow = {"Office", "2024/03/06", "2"};
    for (int c = 0; c < 3; ++c) {
        wchar_t cell[64];
        FormatSharePcCell(officePc + 1, c, cell, 64);
        EXPECT_EQ(Narrow(cell), officeRow[c]);
    }
    HWND box = CreateWindowExA(0, "ComboBox", "", CBS_DROPDOWNLIST, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    FillPcChoice(box);
    EXPECT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 4);
    EXPECT_EQ(static_cast<int>(SendMessageA(box, CB_GETITEMDATA, 0, 0)), ThisPc);
    EXPECT_EQ(static_cast<int>(SendMessageA(box, CB_GETITEMDATA, 3, 0)), AllPcs);
    DestroyWindow(box);
    const struct {
        int pc;
        std::vector<std::string> rows;  // all time's clicks, then each day's date and clicks
    } cases[] = {
        {ThisPc, {"1,001", "2024/03/07 (木)\t1", "2024/02/05 (月)\t1,000"}},
        {officePc, {"1,010", "2024/03/06 (水)\t10", "2024/02/05 (月)\t1,000"}},
        {AllPcs, {"1,016", "2024/03/07 (木)\t1", "2024/03/06 (水)\t10", "2024/03/02 (土)\t5", "2024/02/05 (月)\t1,000"}},
    };
    for (const auto& c : cases) {
        ASSERT_GT(CollectTotals(c.pc), 0);
        std::vector<std::string> lines = TotalsLines(), rows;
        rows.push_back(lines[4].substr(lines[4].find('\t') + 1, lines[4].find('\t', lines[4].find('\t') + 1) - lines[4].find('\t') - 1));
        for (size_t l = 5; l < lines.size(); ++l) rows.push_back(lines[l].substr(0, lines[l].find('\t', lines[l].find('\t') + 1)));
        EXPECT_EQ(rows, c.rows) << "pc " << c.pc;
    }
    // This PC's index of days stands for a day file only until the file is written again.
    copied = day(2000);
    WriteWholeFile(DataFile("20240205.dat"), copied.data(), copied.size());
    ASSERT_GT(CollectTotals(ThisPc), 0);
    std::string allTime = TotalsLines()[4];
    EXPECT_EQ(allTime.substr(0, allTime.find('\t', allTime.find('\t') + 1)), "全期間\t2,001");
    // The keys files too: a copy counts once, a count past 18 digits nowhere, no sum past 64 bits.
    CollectKeys(RangeAll, AllPcs);
    EXPECT_EQ(ShownKeyCounts()[KeyOfName("LBUTTON", 7)], 5);
    EXPECT_EQ(ShownKeyCounts()[KeyOfName("WHEEL", 5)], 999999999999999999LL);
    ASSERT_EQ(CollectApps(RangeAll, AllPcs), 1);
    EXPECT_STREQ(ShownApp(0)->Name, "excel.exe");
    EXPECT_EQ(ShownApp(0)->Clicks, 1);
    // Home's apps index stands for its apps file of 6 March (of the same size and time) unopened.
    std::string indexed = apps;
    indexed.replace(indexed.find("excel"), 5, "wordx");
    ASSERT_TRUE(GetFileAttributesExA((share + home + "\\20240306.apps.txt").c_str(), GetFileExInfoStandard, &written));
    snprintf(index, sizeof index, "20240306\t%08lX%08lX\t0000000000000002\t%d\r\n", written.ftLastWriteTime.dwHighDateTime,
             written.ftLastWriteTime.dwLowDateTime, static_cast<int>(indexed.size()));
    indexed = index + indexed;
    WriteWholeFile(share + home + "\\apps.idx", indexed.data(), indexed.size());
    ASSERT_EQ(CollectApps(RangeAll, AllPcs), 2);
    EXPECT_EQ(std::string(ShownApp(0)->Name) + std::string(ShownApp(1)->Name), "excel.exewordx.exe");
    ASSERT_EQ(CollectApps(RangeAll, 1 - officePc), 1);
    EXPECT_STREQ(ShownApp(0)->Name, "wordx.exe");
    // The graph's sum of the 21 days: the day that two identities published counts once there too.
    LoadOthersOfDays();
    EXPECT_EQ(OthersOfDays.Values[0][9][1], 10);
    EXPECT_EQ(OthersOfDays.Values[0][9][5], 7) << "home's 2 March, its slots from its file";
    RemoveFolder(DataFolder());
}
// What another PC's folder holds is checked before use: index lines out of shape or bounds, apps
// index blocks whose length the text does not hold, a pc.ini of another identity. And a data folder
// keeps its identity only on the computer and in the place it was made on.
TEST(Totals, SharedFilesCheckedAndIdentityFollowsTheFolder)
{
    const char* good = "20240306\t0000000000000001\t0000000000000002\t5\t0\t0\t1\t0000000000000000\t0000000000000000";
    const struct {
        std::string text;
        int entries;
    } indexes[] = {
        {std::string(good) + "\r\n" + good + "\n", 2},
        {std::string(good) + "\t9\r\n", 0},                                 // a field too many
        {"20240230\t0000000000000001\t0000000000000002\t5\t0\t0\t1\t0000000000000000\t0000000000000000", 0},  // no such day
        {"20240306\t000000000000000g\t0000000000000002\t5\t0\t0\t1\t0000000000000000\t0000000000000000", 0},
        {"20240306\t0000000000000001\t0000000000000002\t-5\t0\t0\t1\t0000000000000000\t0000000000000000", 0},
        {"20240306\t0000000000000001\t0000000000000002\t515396075281\t0\t0\t1\t0000000000000000\t0000000000000000", 0},
        {"20240306\t0000000000000001\t0000000000000002\t5\t0\t0\t241\t0000000000000000\t0000000000000000", 0},
    };
    for (const auto& c : indexes) {
        IndexEntry entries[4];
        EXPECT_EQ(ParseIndexText(c.text.data(), static_cast<long>(c.text.size()), entries, 4), c.entries) << c.text;
    }
    const struct {
        std::string text;
        int blocks;
    } appsIndexes[] = {
        {"20240306\t0000000000000001\t0000000000000002\t3\r\nabc20240307\t0000000000000001\t0000000000000002\t0\r\n", 2},
        {"20240306\t0000000000000001\t0000000000000002\t4\r\nabc", 0},       // cut short
        {"20240306\t0000000000000001\t0000000000000002\t65537\r\n", 0},     // no apps file is so long
        {"20240306\t0000000000000001\t0000000000000002\t3\r\nabc junk\r\n", 1},
    };
    for (const auto& c : appsIndexes) {
        AppsIndexBlock blocks[4];
        EXPECT_EQ(ParseAppsIndex(c.text.data(), static_cast<long>(c.text.size()), blocks, 4), c.blocks) << c.text;
    }
    const wchar_t* id = L"{11111111-2222-3333-4444-555555555555}";
    const struct {
        std::string text;
        const char* name;  // null: not that PC
    } pcFiles[] = {
        {"[PC]\r\nId={11111111-2222-3333-4444-555555555555}\r\nName=\x01Office\r\n", "Office"},
        {"[PC]\r\nId={11111111-2222-3333-4444-555555555555}\r\nName=\xFF\xFE\r\n", "{11111111-2222-3333-4444-555555555555}"},
        {"[PC]\r\nId={11111111-2222-3333-4444-555555555556}\r\nName=Office\r\n", nullptr},
        {"[PC]\r\nId=..\\..\\x\r\nName=Office\r\n", nullptr},
    };
    for (const auto& c : pcFiles) {
        WCHAR name[PcNameSize];
        int taken = ParsePcFile(c.text.data(), static_cast<long>(c.text.size()), id, name, PcNameSize);
        EXPECT_EQ(taken, c.name != nullptr) << c.text;
        if (taken) EXPECT_EQ(Narrow(name), c.name);
    }

    ResetStore("test_totals_identity");
    ASSERT_EQ(LoadPcIdentity(L"OFFICE"), 1);
    std::wstring first = PcId();
    const struct {
        const wchar_t* computer;
        const char* folder;
        bool same;
    } starts[] = {{L"OFFICE", "", true}, {L"office", "", true}, {L"HOME", "", false}, {L"HOME", "", true},
                  {L"HOME", "\\moved", false}};
    for (const auto& c : starts) {
        std::wstring before = PcId();
        if (c.folder[0]) {
            std::string moved = DataFolder() + c.folder;
            CreateDirectoryA(moved.c_str(), nullptr);
            CopyFileA(DataFile("vantle.ini").c_str(), (moved + "\\vantle.ini").c_str(), FALSE);
            SetDataFolder(moved);
        }
        ASSERT_EQ(LoadPcIdentity(c.computer), 1);
        EXPECT_EQ(PcId() == before, c.same) << Narrow(c.computer) << c.folder;
        EXPECT_TRUE(IsPcId(PcId()));
    }
    EXPECT_NE(first, std::wstring(PcId()));
    std::wstring last = PcId();
    FileHold held(DataFile("vantle.ini"));
    EXPECT_EQ(LoadPcIdentity(L"HOME"), 0) << "a held settings file makes no identity";
    EXPECT_STREQ(PcId(), L"");
    held.Release();
    ASSERT_EQ(LoadPcIdentity(L"HOME"), 1);
    EXPECT_EQ(std::wstring(PcId()), last);
    SetDataFolder(ModuleFolder() + "test_totals_identity");
    RemoveFolder(DataFolder());
}
}  // namespace
