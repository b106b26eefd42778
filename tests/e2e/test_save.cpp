// The real program's picture save under Wine: the graph window's save command, the save dialog
// answered as a user would, and the PNG and JPEG files it leaves, read back pixel by pixel.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <string>
#include <vector>

#include "e2e/e2e_support.h"

#include "app/texts.h"
#include "res/resource.h"
#include "support/dayimage.h"
#include "support/picture.h"
#include "support/savedialog.h"
#include "support/testwin.h"

namespace {
const char GraphCaption[] = "Vantle  PC活動記録測定ソフト  Version 1.13";
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

// Visible dialogs and message boxes of the process, with the given caption if one is given.
std::vector<HWND> ProgramBoxes(DWORD processId, const char* caption = nullptr)
{
    return ProcessWindows(processId, "#32770", caption, true);
}

HWND WaitForBox(DWORD processId, const char* caption, DWORD timeoutMs)
{
    return WaitForProcessWindow(processId, "#32770", caption, true, timeoutMs);
}

std::string CaptionOf(HWND window)
{
    char title[256] = "";
    GetWindowTextA(window, title, sizeof title);
    return title;
}

// A message box's text: its static control 0xFFFF, fetched with a bounded wait.
std::string BoxMessage(HWND box)
{
    HWND text = GetDlgItem(box, 0xFFFF);
    char message[512] = "";
    DWORD_PTR copied = 0;
    if (text)
        SendMessageTimeoutA(text, WM_GETTEXT, sizeof message, reinterpret_cast<LPARAM>(message),
                            SMTO_ABORTIFHUNG, 2000, &copied);
    return message;
}

void Press(HWND box, int button)
{
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(box, button)));
}

// What one save through the dialog showed.
struct SaveOutcome {
    bool dialog = false;  // the save dialog came up with its name field
    bool closed = false;  // and went away after Save
    bool idle = false;    // and the program's thread came back to its loop
    std::vector<std::string> errors;  // messages of "エラー" boxes
    std::vector<std::string> others;  // captions of any other box that came up
};

// Gives the program's boxes but the graph window Cancel, so that a failing save ends.
void CancelBoxes(DWORD processId, HWND graph)
{
    for (HWND box : ProgramBoxes(processId))
        if (box != graph) Press(box, IDCANCEL);
}

// Sends the save command to the graph window and answers the dialog with the path.
SaveOutcome SaveThroughDialog(const RunningProgram& program, HWND graph, const std::string& path)
{
    SaveOutcome out;
    DWORD pid = program.process.dwProcessId;
    // The command runs the dialog's modal loop inside the program; a posted message leaves us free.
    PostMessageA(graph, WM_COMMAND, IDC_SAVE_PICTURE, 0);
    HWND dialog = nullptr, edit = nullptr;
    for (DWORD start = GetTickCount(); !edit && GetTickCount() - start < 20000; Sleep(50)) {
        dialog = WaitForBox(pid, TextSaveTitle, 0);
        edit = dialog ? SaveDialogNameEdit(dialog) : nullptr;
    }
    if (!edit) {
        CancelBoxes(pid, graph);
        return out;
    }
    out.dialog = true;
    // The system carries the text of WM_SETTEXT across processes.
    DWORD_PTR result = 0;
    SendMessageTimeoutA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()), SMTO_ABORTIFHUNG, 5000,
                        &result);
    Press(dialog, IDOK);

    // Any box but the dialog itself while it is still open (a refusal of the name, an
    // overwrite question) is a failure; it is noted, and everything is cancelled.
    DWORD answered = GetTickCount();
    while (IsWindow(dialog) && GetTickCount() - answered < 15000) {
        for (HWND box : ProgramBoxes(pid))
            if (box != graph && box != dialog) {
                out.others.push_back(CaptionOf(box) + ": " + BoxMessage(box));
                Press(box, IDCANCEL);
            }
        if (!out.others.empty()) break;
        Sleep(50);
    }
    if (IsWindow(dialog)) {
        CancelBoxes(pid, graph);
        for (DWORD start = GetTickCount(); IsWindow(dialog) && GetTickCount() - start < 5000;) Sleep(50);
        return out;
    }
    out.closed = true;

    // The picture is written before the thread takes messages again, unless a failure box
    // shows first. Its modal loop answers too, and may show the box only once its queue is
    // empty: the thread counts as back when two answers in a row came with no box in sight.
    int quiet = 0;
    for (DWORD start = GetTickCount(); quiet < 2 && GetTickCount() - start < 30000;) {
        DWORD_PTR ignored = 0;
        bool answers = SendMessageTimeoutA(graph, WM_NULL, 0, 0, SMTO_NORMAL, 2000, &ignored) != 0;
        Sleep(300);
        std::vector<HWND> failures = ProgramBoxes(pid, TextErrorCaption);
        for (HWND box : failures) {
            out.errors.push_back(BoxMessage(box));
            Press(box, IDOK);
        }
        quiet = failures.empty() && answers ? quiet + 1 : 0;
    }
    out.idle = quiet >= 2;
    for (HWND box : ProgramBoxes(pid))
        if (box != graph) out.others.push_back(CaptionOf(box));
    return out;
}

class PictureSaveTest : public ::testing::Test {
protected:
    RunningProgram program;
    void TearDown() override
    {
        if (program.process.hProcess) CancelBoxes(program.process.dwProcessId, nullptr);
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
    // Yesterday must stay yesterday while the test runs (well under a minute).
    if (SlotNow() == 239 && SecondsLeftInSlot() < 60) Sleep((SecondsLeftInSlot() + 2) * 1000);
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
    PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
    HWND graph = WaitForBox(program.process.dwProcessId, GraphCaption, 10000);
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
        SaveOutcome outcome = SaveThroughDialog(program, graph, path);
        ASSERT_TRUE(outcome.dialog) << "no save dialog with a name field";
        EXPECT_TRUE(outcome.others.empty()) << outcome.others[0];
        ASSERT_TRUE(outcome.closed) << "the dialog did not take the name";
        EXPECT_TRUE(outcome.idle) << "the program did not come back from the save";
        EXPECT_TRUE(outcome.errors.empty()) << outcome.errors[0];

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

    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    for (DWORD start = GetTickCount(); IsWindow(graph) && GetTickCount() - start < 5000;) Sleep(50);
    EXPECT_FALSE(IsWindow(graph));
    AskToEnd(&program, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    if (DayFileNameAt(0) != today) GTEST_SKIP() << "the day changed during the test";
}
}  // namespace
