// The CSV export: a day's lines, the days it takes from a data folder, and the file as a whole.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "base/uitext.h"
#include "store/csvfile.h"
#include "store/days.h"
#include "support/fake_savedialog.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/savecommands.h"

namespace {
TEST(CsvDay, LinesOfADayFromItsValues)
{
    std::vector<int> values = NoDataValues();
    values[0] = 0;                        // clicks, slot 0
    values[240 + 0] = 2147483647;         // key touches, slot 0
    values[239] = 37;                     // slot 239: clicks only
    values[480 + 239] = 1204;             // and travel
    values[137] = 5;
    const struct {
        int lastSlot;
        size_t lines;
        const char* first;
        const char* last;
    } cases[] = {
        {239, 240, "2025-07-12,00:00,0,2147483647,\r\n", "2025-07-12,23:54,37,,1204\r\n"},
        {0, 1, "2025-07-12,00:00,0,2147483647,\r\n", "2025-07-12,00:00,0,2147483647,\r\n"},
        {137, 138, "2025-07-12,00:00,0,2147483647,\r\n", "2025-07-12,13:42,5,,\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.lastSlot);
        char text[CsvTextSize];
        std::string day(text, FormatCsvDay(20250712, values.data(), c.lastSlot, text));
        std::vector<std::string> lines;
        for (size_t at = 0, end; (end = day.find("\r\n", at)) != std::string::npos; at = end + 2)
            lines.push_back(day.substr(at, end + 2 - at));
        ASSERT_EQ(lines.size(), c.lines);
        EXPECT_EQ(lines.front(), c.first);
        EXPECT_EQ(lines.back(), c.last);
        EXPECT_EQ(lines[1 % c.lines], c.lines > 1 ? "2025-07-12,00:06,,,\r\n" : c.first);
    }
}

// Only names of real days count, whatever else the folder holds; today comes once, in order.
TEST(CsvDays, DaysOfTheDataFolderOldestFirst)
{
    ResetStore("test_csv");
    BuildDayTables(20240307);
    for (const char* name : {"20240307.dat", "20240229.dat", "19991231.dat", "20250101.dat", "20240307.DAT",
                             "2024037.dat", "20230229.dat", "20241301.dat", "00000101.dat", "2024-03-0.dat",
                             "20240306.dat.bak", "notes.txt"})
        WriteWholeFile(DataFile(name), "x", 1);
    CreateDirectoryA(DataFile("20240305.dat").c_str(), nullptr);
    ASSERT_EQ(CollectCsvDates(), 4);
    EXPECT_EQ(std::vector<int>(CsvWork.Dates, CsvWork.Dates + 4),
              (std::vector<int>{19991231, 20240229, 20240307, 20250101}));
    // A folder with more days than the table holds is refused whole, not cut short.
    EXPECT_EQ(CollectCsvDates(3), -1);
    RemoveFolder(DataFolder());
}

// The whole file: byte-order mark, header, memory for the 21 days (today up to its running slot),
// files for older days by the reading rules; a file that cannot be put in place leaves nothing.
TEST(CsvFile, WrittenWholeOrNotAtAll)
{
    ResetStore("test_csv");
    BuildDayTables(20240307);
    for (int d = 0; d < DayCount; ++d) ClearDayColumn(d);
    Days.CurrentSlot = 1;
    Days.ActivityTable[1][1][0] = 9;    // today's running slot, not yet written
    Days.ActivityTable[0][5][20] = 4;   // 16 February, from memory although its file says otherwise
    std::vector<unsigned char> old = DayFileBytes(std::vector<int>(480, 3));  // a file cut short
    for (const char* name : {"20240307.dat", "20240216.dat", "20240101.dat"})
        WriteWholeFile(DataFile(name), old.data(), old.size());
    std::string path = DataFile("out.csv");
    ASSERT_EQ(WriteActivityCsv(Wide(path).c_str()), 1);
    std::vector<unsigned char> bytes = ReadWholeFile(path);
    std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_EQ(text.substr(3, text.find("\r\n") - 1), u8"日付,時刻,マウスクリック回数,キータッチ回数,マウスの動き\r\n");
    EXPECT_NE(text.find("\r\n2024-01-01,00:00,3,3,\r\n"), std::string::npos) << "values past the end are empty";
    EXPECT_NE(text.find("\r\n2024-02-16,00:30,4,,\r\n"), std::string::npos);
    EXPECT_LT(text.find("2024-01-01,23:54"), text.find("2024-02-16,00:00"));
    EXPECT_EQ(text.substr(text.find("2024-03-07,00:00")), "2024-03-07,00:00,,,\r\n2024-03-07,00:06,,9,\r\n");

    {
        FileHold hold(path);
        EXPECT_EQ(WriteActivityCsv(Wide(path).c_str()), 0) << "the old file is held by another program";
    }
    EXPECT_EQ(ReadWholeFile(path), bytes);
    EXPECT_EQ(WriteActivityCsv(Wide(DataFile("gone\\out.csv")).c_str()), 0);
    // Any folder: a name outside code page 932, and a path past MAX_PATH in the long form.
    std::wstring other = L"\\\\?\\" + Wide(DataFolder()) + L"\\Müller-Ærø\\";
    CreateDirectoryW(other.c_str(), nullptr);
    for (const std::wstring& name : {std::wstring(L"Ærø.csv"), std::wstring(250, L'c') + L".csv"}) {
        EXPECT_EQ(WriteActivityCsv((other + name).c_str()), 1);
        EXPECT_EQ(ReadWholeFile(other + name), bytes);
    }
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA(DataFile("vcs*").c_str(), &found);
    EXPECT_EQ(search, INVALID_HANDLE_VALUE) << "a temporary file was left: " << found.cFileName;
    if (search != INVALID_HANDLE_VALUE) FindClose(search);
    RemoveFolder(DataFolder());
}
// The menu command: the save dialog as the picture export's, with the CSV's own filter, name
// and extension; Cancel writes nothing; a failure is reported in a box of the graph window.
TEST(CsvExport, DialogCancelAndFailure)
{
    ResetStore("test_csv");
    BuildDayTables(20240307);
    HWND window = CreateWindowExA(0, "STATIC", "graph", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ScriptedUser user;
    user.Answer(UiA(TextErrorCaption), IDOK);
    EXPECT_TRUE(user.TextsDuring([&] { SaveActivityCsv(window); }).empty()) << "cancelled";
    std::vector<SaveDialogCall> calls = TakeSaveDialogCalls();
    ASSERT_EQ(calls.size(), 1u);
    const char filter[] = "CSVファイル (*.csv)\0*.csv\0";  // and the closing zero
    ExpectSaveDialog(calls[0], window, std::string(filter, sizeof filter), "csv");
    EXPECT_EQ(calls[0].proposed, "Vantle-20240307.csv");

    ScriptSaveDialog({DataFile("gone\\all.csv"), 0, nullptr});
    EXPECT_EQ(user.TextsDuring([&] { SaveActivityCsv(window); }), std::vector<std::string>{"CSVファイルを保存できませんでした"});
    ASSERT_EQ(user.Answered().size(), 1u);
    EXPECT_EQ(user.Answered()[0].owner, window);
    user.Finish();
    TakeSaveDialogCalls();
    DestroyWindow(window);
    RemoveFolder(DataFolder());
}
}  // namespace
