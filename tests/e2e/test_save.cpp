// The real program's saves under Wine: the graph window's save commands, the save dialog
// answered as a user would, and the PNG and JPEG files it leaves, read back pixel by pixel, and
// the CSV file of every recorded day.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/e2e_support.h"

#include "base/uitext.h"
#include "res/resource.h"
#include "support/dayimage.h"
#include "support/picture.h"
#include "support/testwin.h"

namespace {
const int StatusBarStrip = 25;  // the picture leaves out the status bar along the bottom

// Yesterday (day 1) holds the bar: slots BarFirst..BarLast at the day's maximum, so they stand
// 15 pixels high, every other slot recorded without activity. Its baselines: row 21 of the left
// panel, one row higher in the right one; slot s stands at x = 50 + s on the left, 290 + s on
// the right. The bar is many slots wide so that a JPEG keeps its colour in the middle.
const int BarFirst = 24, BarLast = 47, BarMiddle = 36, BarValue = 10;
const int IdleSlot = 90;  // in the middle of idle slots: white above the baseline
const int LeftBaseline = 15 + 18 * 21;
const int RightBaseline = LeftBaseline - 18;
const COLORREF BarRed = RGB(255, 50, 50), White = RGB(255, 255, 255);

// What one save through the dialog showed.
struct SaveOutcome {
    bool dialog = false;  // the save dialog came up and took the name
    bool closed = false;  // and went away after Save
    bool idle = false;    // and the program's thread came back to its loop
};

// Sends the save command to the graph window; the user types the path into the dialog and saves.
// The save is over once the picture is there (it is written beside its name and renamed into
// place), and the thread takes messages again; a failure box is one nobody expected.
SaveOutcome SaveThroughDialog(ScriptedUser& user, HWND graph, const std::string& path,
                              UINT command = IDC_SAVE_PICTURE)
{
    SaveOutcome out;
    user.SaveAs(UiA(TextSaveTitle), path);
    size_t before = user.Answered().size();
    // The command runs the dialog's modal loop inside the program; a posted message leaves us free.
    PostMessageA(graph, WM_COMMAND, command, 0);
    out.dialog = PumpUntil([&] { return user.Answered().size() > before; }, 20000);
    out.closed = out.dialog && user.WaitForAnswered(before + 1);
    if (!out.closed) return out;
    PumpUntil([&] { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
    out.idle = WaitUntilIdle(graph);
    return out;
}

// Every box that nobody expected (a refusal of the name, an overwrite question) is cancelled by
// the user and reported, however the test ended.
class PictureSaveTest : public ::testing::Test {
protected:
    RunningProgram program;
    std::unique_ptr<ScriptedUser> user;
    void TearDown() override
    {
        user.reset();
        KillProgram(&program);
    }
};

bool Near(COLORREF got, COLORREF want, int tolerance)
{
    return abs(GetRValue(got) - GetRValue(want)) <= tolerance &&
           abs(GetGValue(got) - GetGValue(want)) <= tolerance &&
           abs(GetBValue(got) - GetBValue(want)) <= tolerance;
}

std::string Describe(COLORREF c)
{
    return "(" + std::to_string(GetRValue(c)) + "," + std::to_string(GetGValue(c)) + "," +
           std::to_string(GetBValue(c)) + ")";
}

TEST_F(PictureSaveTest, SavesTheGraphAsPngAndJpegOfTheChosenName)
{
    // The slot, and so yesterday, must stay the same while the test runs (a few seconds).
    StartEarlyInSlot(30);
    std::string today = DayFileNameAt(0);
    std::string folder = MakeProgramFolder("save");
    std::string data = folder + "data\\";
    CreateDirectoryA(data.c_str(), nullptr);
    std::vector<int> values = NoDataValues();
    for (int s = 0; s < 240; ++s) values[s] = s >= BarFirst && s <= BarLast ? BarValue : 0;
    std::vector<unsigned char> bytes = DayFileBytes(values);
    ASSERT_TRUE(WriteWholeFile(data + DayFileNameAt(0, -1), bytes.data(), bytes.size()));

    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, today, 20000));
    user.reset(new ScriptedUser(program.process.dwProcessId));
    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", GraphCaption().c_str(), true, 10000);
    ASSERT_NE(graph, nullptr) << "the graph window did not open";
    RECT client;
    ASSERT_TRUE(GetClientRect(graph, &client));
    ASSERT_GT(client.bottom, LeftBaseline + StatusBarStrip);

    struct Case {
        const char* name;
        FileKind kind;
        int tolerance;  // per colour channel: none for PNG, JPEG's loss for JPEG
    } cases[] = {
        {"saved.png", PngFile, 0},
        {"saved.jpg", JpegFile, 40},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string path = folder + c.name;
        DeleteFileA(path.c_str());
        SaveOutcome outcome = SaveThroughDialog(*user, graph, path);
        ASSERT_TRUE(outcome.dialog) << "no save dialog with a name field";
        ASSERT_TRUE(outcome.closed) << "the dialog did not take the name";
        EXPECT_TRUE(outcome.idle) << "the program did not come back from the save";

        EXPECT_EQ(c.kind, KindOfFile(path));
        Picture picture = DecodePicture(path);
        EXPECT_EQ(client.right, picture.width);
        EXPECT_EQ(client.bottom - StatusBarStrip, picture.height);
        if (picture.width != client.right || picture.height != client.bottom - StatusBarStrip) continue;
        struct Probe {
            int x, y;
            COLORREF want;
            const char* what;
        } probes[] = {
            {50 + BarMiddle, LeftBaseline - 8, BarRed, "the bar's middle, left panel"},
            {290 + BarMiddle, RightBaseline - 8, BarRed, "the bar's middle, right panel"},
            {50 + IdleSlot, LeftBaseline - 8, White, "over idle slots"},
        };
        for (const Probe& p : probes) {
            COLORREF got = picture.At(p.x, p.y);
            EXPECT_TRUE(Near(got, p.want, c.tolerance)) << p.what << ": " << Describe(got);
        }
        if (c.tolerance == 0) {
            // The bar's full height and its ends, exactly.
            for (int x : {50 + BarFirst, 50 + BarLast}) {
                EXPECT_EQ(BarRed, picture.At(x, LeftBaseline - 1)) << x;
                EXPECT_EQ(BarRed, picture.At(x, LeftBaseline - 15)) << x;
                EXPECT_EQ(White, picture.At(x, LeftBaseline - 16)) << x;
            }
            EXPECT_EQ(White, picture.At(50 + BarFirst - 1, LeftBaseline - 8));
            EXPECT_EQ(White, picture.At(50 + BarLast + 1, LeftBaseline - 8));
        }
    }

    // Every recorded day as CSV through the same dialog: yesterday's 240 slots with the bar,
    // then today's up to the running slot; UTF-8 with its mark, CRLF, the last line ended too.
    std::string csv = folder + "activity.csv";
    DeleteFileA(csv.c_str());  // an earlier run's file would bring the overwrite question
    int slot = SlotNow();
    SaveOutcome outcome = SaveThroughDialog(*user, graph, csv, IDC_SAVE_CSV);
    ASSERT_TRUE(outcome.closed) << "the dialog did not take the CSV name";
    std::vector<unsigned char> text = ReadWholeFile(csv);
    std::string file(text.begin(), text.end());
    const std::string header = "\xEF\xBB\xBF" + std::string(u8"日付,時刻,マウスクリック回数,キータッチ回数,マウスの動き") + "\r\n";
    EXPECT_EQ(file.substr(0, header.size()), header);
    std::string yesterday = DayFileNameAt(0, -1), day = yesterday.substr(0, 4) + "-" + yesterday.substr(4, 2) + "-" +
                                                          yesterday.substr(6, 2);
    EXPECT_NE(file.find("\r\n" + day + ",00:00,0,,\r\n"), std::string::npos);
    EXPECT_NE(file.find("\r\n" + day + ",02:24,10,,\r\n"), std::string::npos) << "slot 24, the bar";
    EXPECT_NE(file.find("\r\n" + day + ",23:54,0,,\r\n"), std::string::npos);
    size_t lines = 0;
    for (size_t at = 0; (at = file.find("\r\n", at)) != std::string::npos; at += 2) ++lines;
    EXPECT_EQ(file.substr(file.size() - 2), "\r\n");
    EXPECT_EQ(lines, 1u + 240u + static_cast<size_t>(slot) + 1u) << "header, yesterday, today up to the running slot";
    EXPECT_EQ(SlotNow(), slot) << "the slot changed during the export";

    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, *user, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}
}  // namespace
