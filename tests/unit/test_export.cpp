// Picture export: the type rule, the off-screen picture written through TransG32.DLL, and the
// whole save through the scripted save dialog, with and without the library.
#include <windows.h>
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

#include "base/uitext.h"
#include "graph/calendar.h"
#include "graph/export.h"
#include "graph/heat.h"
#include "graph/keyboard.h"
#include "graph/view.h"
#include "store/days.h"
#include "store/keyrecords.h"
#include "support/fake_clock.h"
#include "support/fake_savedialog.h"
#include "support/picture.h"
#include "support/scripteduser.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/savecommands.h"

namespace {

const int ClientWidth = 560;
const int ClientHeight = 440;
const int PictureHeight = ClientHeight - 25;  // the status bar's strip stays out

// Layout numbers the expectations are worked out from: today's left baseline is row 22's,
// 15 + 18 * 22; a bar equal to its day's maximum is 15 pixels high; slot s of the left panel
// stands at x = 50 + s; the title's top-left corner is (20, 15), in a 12-pixel cell.
const int TodayBaseline = 15 + 18 * 22;
const int BarSlot = 30;
const int BarX = 50 + BarSlot;
const int TitleLeft = 20, TitleTop = 15, TitleCell = 12;

const COLORREF White = RGB(255, 255, 255);
const COLORREF BarRed = RGB(255, 50, 50);

// Every slot of every day recorded without activity, but one bar of today equal to its maximum.
void PrepareGraphData(int metric)
{
    for (int m = 0; m < MetricCount; ++m) {
        for (int k = 0; k < DayCount; ++k) {
            Days.DayMaxima[m][k] = 0;
            for (int s = 0; s < SlotCount; ++s) Days.ActivityTable[m][s][k] = 0;
        }
    }
    Days.ActivityTable[metric][BarSlot][0] = 10;
    Days.DayMaxima[metric][0] = 10;
    Days.CurrentSlot = SlotCount - 1;
    Graph.SelectedMetric = metric;
    for (int k = 0; k < DayCount; ++k)
        snprintf(Days.DayLabels[k], sizeof Days.DayLabels[k], "03/%02d", k + 1);
}

// A folder of the test's own under the temporary folder, removed with its files.
class ScratchFolder {
public:
    ScratchFolder()
    {
        static int serial = 0;
        char temp[MAX_PATH] = "", name[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        snprintf(name, sizeof name, "%svantle-export-%lu-%d\\", temp, GetCurrentProcessId(), ++serial);
        path_ = name;
        CreateDirectoryA(path_.c_str(), nullptr);
    }
    ~ScratchFolder() { RemoveFolder(path_.substr(0, path_.size() - 1)); }
    const std::string& Path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + name; }
private:
    std::string path_;
};

// A plain popup standing in for the graph window, of a known client size. It paints itself
// black, so a picture taken from the screen instead of rendered off-screen would show it.
class GraphStandIn {
public:
    GraphStandIn()
    {
        WNDCLASSA cls = {};
        cls.lpfnWndProc = DefWindowProcA;
        cls.hInstance = GetModuleHandleA(nullptr);
        cls.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        cls.lpszClassName = "VantleExportTestWindow";
        RegisterClassA(&cls);
        RECT frame = {0, 0, ClientWidth, ClientHeight};
        const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU;
        AdjustWindowRectEx(&frame, style, FALSE, 0);
        window_ = CreateWindowExA(0, cls.lpszClassName, "export test", style, 20, 20,
                                  frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, cls.hInstance, nullptr);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
    }
    ~GraphStandIn()
    {
        DestroyWindow(window_);
        DeleteObject(update_);
    }
    HWND Handle() const { return window_; }
    // Paints what is pending and forgets the update region, so that only what follows counts.
    void Settle()
    {
        UpdateWindow(window_);
        ValidateRect(window_, nullptr);
    }
    // Notes what waits for a repaint now, before any later pumping paints it away.
    void NoteUpdateRegion() { GetUpdateRgn(window_, update_, FALSE); }
    bool WhollyInvalid() const
    {
        RECT client;
        GetClientRect(window_, &client);
        HRGN rest = CreateRectRgnIndirect(&client);
        int kind = CombineRgn(rest, rest, update_, RGN_DIFF);
        DeleteObject(rest);
        return kind == NULLREGION;
    }
    bool NothingInvalid() const
    {
        RECT box;
        return GetRgnBox(update_, &box) == NULLREGION;
    }
private:
    HWND window_ = nullptr;
    HRGN update_ = CreateRectRgn(0, 0, 0, 0);
};

// What one save asked of the dialog, and the boxes it showed.
struct SaveRun {
    std::vector<SaveDialogCall> calls;
    std::vector<std::string> failures;  // texts of the "エラー" boxes, in order
};

// Runs SaveGraphPicture on the window with the user's answer to the dialog and notes the
// window's update region as the save leaves it.
SaveRun ScriptedSave(GraphStandIn& window, const SaveDialogAnswer& answer)
{
    window.Settle();
    ScriptedUser user;
    user.Answer(UiA(TextErrorCaption), IDOK);
    ScriptSaveDialog(answer);
    SaveRun run;
    run.failures = user.TextsDuring([&] { SaveGraphPicture(window.Handle()); });
    window.NoteUpdateRegion();
    run.calls = TakeSaveDialogCalls();
    return run;
}

// What the export gives the dialog, whatever it proposes: "jpg" is added to a name typed
// without an extension.
void ExpectPictureDialog(const SaveDialogCall& call, HWND owner)
{
    const char filter[] = "Jpeg Files(*.jpg)\0*.jpg\0Png Files(*.png)\0*.png\0";  // and the closing zero
    ExpectSaveDialog(call, owner, std::string(filter, sizeof filter), "jpg");
}

// The checks that every picture of the prepared data passes.
void ExpectPreparedPicture(const Picture& p, bool exactColours)
{
    ASSERT_EQ(ClientWidth, p.width);
    ASSERT_EQ(PictureHeight, p.height);
    EXPECT_TRUE(p.AnyDark(TitleLeft, TitleTop, TitleLeft + 2 * TitleCell, TitleTop + TitleCell))
        << "no title at its corner";
    if (!exactColours) {
        // A lossy picture: near white where nothing is drawn.
        COLORREF c = p.At(300, 200);
        EXPECT_GT(GetRValue(c) + GetGValue(c) + GetBValue(c), 3 * 240);
        return;
    }
    EXPECT_EQ(BarRed, p.At(BarX, TodayBaseline - 1));
    EXPECT_EQ(BarRed, p.At(BarX, TodayBaseline - 15));
    EXPECT_EQ(White, p.At(BarX, TodayBaseline - 16));
    EXPECT_EQ(White, p.At(BarX + 1, TodayBaseline - 5));
    EXPECT_EQ(RGB(0, 0, 0), p.At(BarX + 1, TodayBaseline));  // the frame over the plot
    EXPECT_EQ(White, p.At(300, 200));
    EXPECT_EQ(White, p.At(ClientWidth - 1, PictureHeight - 1));
    EXPECT_FALSE(p.AnyDark(0, 0, ClientWidth, TitleTop)) << "something above the title";
    EXPECT_FALSE(p.AnyDark(0, 0, TitleLeft, TitleTop + TitleCell)) << "something left of the title";
}

short WritePicture(GraphStandIn& window, PictureType type, const std::string& path)
{
    int failedBars = 0;
    return WriteGraphPicture(window.Handle(), type, Wide(path).c_str(), &failedBars);
}

TEST(ExportType, LastThreeBytesInAnyCase)
{
    struct Case {
        const char* path;
        PictureType expected;
    } cases[] = {
        {"C:\\pictures\\graph.jpg", PictureJpeg},
        {"C:\\pictures\\graph.JPG", PictureJpeg},
        {"C:\\pictures\\graph.Jpg", PictureJpeg},
        {"C:\\pictures\\graph.jPg", PictureJpeg},
        {"C:\\pictures\\graph.png", PicturePng},
        {"C:\\pictures\\graph.PNG", PicturePng},
        {"C:\\pictures\\graph.Png", PicturePng},
        {"C:\\pictures\\graph.jpeg", PictureNone},  // ends in "peg"
        {"C:\\pictures\\graphxpng", PicturePng},    // no dot needed
        {"C:\\pictures\\graph.png.txt", PictureNone},
        {"jpg", PictureJpeg},
        {"pg", PictureNone},
        {"", PictureNone},
        {"C:\\画像\\グラフ.png", PicturePng},
        {"C:\\画像\\グラフ.JPG", PictureJpeg},
        {"C:\\画像\\jpト", PictureNone},            // "ト" is 0x83 0x67: a trail byte 'g'
        {"C:\\画像\\グラフ.ｐｎｇ", PictureNone},   // full-width letters are not ASCII ones
    };
    for (const Case& c : cases) EXPECT_EQ(c.expected, PictureTypeOf(Wide(c.path).c_str())) << c.path;
}

TEST(ExportWrite, PngAndJpegOfTheClientAreaLessTheStatusBar)
{
    GraphStandIn window;
    ScratchFolder folder;
    PrepareGraphData(MetricClicks);
    struct Case {
        PictureType type;
        const char* name;
        FileKind kind;
        bool exactColours;
    } cases[] = {
        {PicturePng, "graph.png", PngFile, true},
        {PictureJpeg, "graph.jpg", JpegFile, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_EQ(0, WritePicture(window, c.type, folder / c.name));
        EXPECT_EQ(c.kind, KindOfFile(folder / c.name));
        ExpectPreparedPicture(DecodePicture(folder / c.name), c.exactColours);
    }
    // A name outside code page 932 reaches the picture library whole.
    std::wstring outside = Wide(folder.Path()) + L"Müller-Ærø.png";
    int failedBars = 0;
    ASSERT_EQ(0, WriteGraphPicture(window.Handle(), PicturePng, outside.c_str(), &failedBars));
    std::vector<unsigned char> png = ReadWholeFile(outside);
    EXPECT_TRUE(png.size() > 4 && png[1] == 'P' && png[2] == 'N' && png[3] == 'G') << "no PNG file";
}

// The pictures of the keyboard and calendar windows, through the same library: where a key or a
// day must stand is worked out from the layout numbers (a quarter key of 8 pixels; a calendar cell
// of 10, the weekday names 3 cells wide and the month names 2 high; 1 January 2024 a Monday).
TEST(ExportWrite, PicturesOfHabits)
{
    // Counts as a key cap shows them: cut, never rounded up to the next unit.
    const struct {
        long long count;
        const char* text;
    } counts[] = {{999, "999"}, {1000, "1.0k"}, {1250, "1.2k"}, {34999, "34k"}, {999999, "999k"}, {1200000, "1.2M"}};
    for (const auto& c : counts) {
        wchar_t text[ShortCountSize];
        FormatShortCount(c.count, text);
        EXPECT_EQ(Narrow(text), c.text);
    }
    GraphStandIn window;
    ScratchFolder folder;
    static long long keys[KeyIndexCount];
    keys[0x39] = 1000, keys[0x1E] = 1;  // the space bar the most, A once, the left button never
    static CalendarYear year;
    year.Year = 2024, year.DayCount = 366;
    const long long values[] = {100, 0, -1, 1, 2, 3};  // -1: no day file
    for (int d = 0; d < 6; ++d) year.HasData[d] = values[d] >= 0, year.Values[d] = values[d] > 0 ? values[d] : 0;
    const COLORREF Most = RGB(200, 40, 40), Least = RGB(255, 244, 196), Outline = RGB(160, 160, 160);
    auto dayAt = [](int day) { return POINT{35, 25 + 10 * day}; };
    const struct {
        const char* name;
        int width, height;
        RenderPicture render;
        std::vector<std::pair<POINT, COLORREF>> pixels;
    } rows[] = {
        {"keyboard.png", 112 * 8, 34 * 8,
         [](HDC dc, int w, int h, const void*) { return DrawKeyboardPicture(dc, w, h, keys, Layout104), 0; },
         {{{15 * 8 + 3, 22 * 8 + 3}, Most}, {{7 * 8 + 2, 14 * 8 + 2}, Least}, {{7 * 8, 14 * 8 + 8}, Outline},
          {{93 * 8 + 2, 1 * 8 + 2}, White}}},
        {"calendar.png", 58 * 10, 12 * 10,
         [](HDC dc, int w, int h, const void*) { return DrawCalendarPicture(dc, w, h, &year, L""), 0; },
         {{dayAt(0), Most}, {dayAt(1), Least}, {dayAt(2), White}, {{31, 25}, Outline}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        int rendered = 0;
        ASSERT_EQ(0, WritePicture(window.Handle(), row.width, row.height, row.render, nullptr, PicturePng,
                                  Wide(folder / row.name).c_str(), &rendered));
        Picture p = DecodePicture(folder / row.name);
        ASSERT_EQ(row.width, p.width);
        ASSERT_EQ(row.height, p.height);
        for (const auto& pixel : row.pixels)
            EXPECT_EQ(pixel.second, p.At(pixel.first.x, pixel.first.y)) << pixel.first.x << "," << pixel.first.y;
        if (row.name[0] != 'c') continue;
        // Steps from the year's own values: the three small days stay apart though one day is far busier.
        COLORREF one = p.At(dayAt(3).x, dayAt(3).y), two = p.At(dayAt(4).x, dayAt(4).y), three = p.At(dayAt(5).x, dayAt(5).y);
        EXPECT_TRUE(one != two && two != three && three != Most && one != Least);
    }
}

TEST(ExportWrite, TitleFollowsTheSelectedMetric)
{
    GraphStandIn window;
    ScratchFolder folder;
    // "マウスクリック回数" has nine characters, "マウスの動き" six: only the first reaches
    // beyond seven and a half cells from the title's corner.
    const int beyond = TitleLeft + TitleCell * 15 / 2;
    PrepareGraphData(MetricClicks);
    ASSERT_EQ(0, WritePicture(window, PicturePng, folder / "clicks.png"));
    PrepareGraphData(MetricMovement);
    ASSERT_EQ(0, WritePicture(window, PicturePng, folder / "movement.png"));
    Picture clicks = DecodePicture(folder / "clicks.png");
    Picture movement = DecodePicture(folder / "movement.png");
    ASSERT_EQ(ClientWidth, clicks.width);
    ASSERT_EQ(ClientWidth, movement.width);
    EXPECT_TRUE(clicks.AnyDark(beyond, TitleTop, beyond + 2 * TitleCell, TitleTop + TitleCell));
    EXPECT_FALSE(movement.AnyDark(beyond, TitleTop, beyond + 2 * TitleCell, TitleTop + TitleCell));
    EXPECT_TRUE(movement.AnyDark(TitleLeft, TitleTop, TitleLeft + 2 * TitleCell, TitleTop + TitleCell));
}

TEST(ExportSave, ProposesTheDatedNameAndCancelLeavesAllAlone)
{
    GraphStandIn window;
    struct Case {
        int metric;
        const char* expected;
    } cases[] = {
        {MetricClicks, "MC20240305.jpg"},
        {MetricKeys, "KT20240305.jpg"},
        {MetricMovement, "MM20240305.jpg"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        PrepareGraphData(c.metric);
        BuildDayTables(20240305);  // today's date, as the slot clock keeps it
        SaveRun run = ScriptedSave(window, {});
        ASSERT_EQ(1u, run.calls.size()) << "no save dialog";
        ExpectPictureDialog(run.calls[0], window.Handle());
        EXPECT_EQ(c.expected, run.calls[0].proposed);
        EXPECT_TRUE(run.failures.empty());
        EXPECT_TRUE(window.NothingInvalid()) << "a cancelled save repaints nothing";
    }
}

TEST(ExportSave, TypeFollowsTheReturnedName)
{
    GraphStandIn window;
    ScratchFolder folder;
    PrepareGraphData(MetricClicks);
    struct Case {
        const char* typed;
        DWORD typeEntry;  // 0 the JPEG entry, as proposed; 2 the PNG entry chosen
        FileKind kind;
    } cases[] = {
        {"upper.PNG", 0, PngFile},
        {"mixed.Jpg", 0, JpegFile},
        {"long.jpeg", 0, NoFile},
        {"picked.jpg", 2, JpegFile},  // the name counts, not the entry
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SaveRun run = ScriptedSave(window, {folder / c.typed, c.typeEntry});
        ASSERT_EQ(1u, run.calls.size()) << "no save dialog";
        ExpectPictureDialog(run.calls[0], window.Handle());
        EXPECT_EQ(folder / c.typed, Narrow(ChosenFile.Path));
        EXPECT_EQ(c.kind, KindOfFile(folder / c.typed));
        EXPECT_TRUE(run.failures.empty()) << run.failures[0];
        EXPECT_TRUE(window.WhollyInvalid());
    }
    ExpectPreparedPicture(DecodePicture(folder / "upper.PNG"), true);
}

// Runs the tests matching the filter in a copy of this program in a folder of its own, which
// is also its current folder; the copy's output is returned in the log.
DWORD RunCopy(const ScratchFolder& folder, const char* filter, std::string* log, const char* current = nullptr)
{
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    if (!CopyFileA(self, (folder / "export_copy.exe").c_str(), FALSE) ||
        !CopyFileA((ModuleFolder() + "hookdll.dll").c_str(), (folder / "hookdll.dll").c_str(), FALSE))
        return 1001;
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE out = CreateFileA((folder / "copy.log").c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                             CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    STARTUPINFOA start = {};
    start.cb = sizeof start;
    start.dwFlags = STARTF_USESTDHANDLES;
    start.hStdOutput = start.hStdError = out;
    std::string command = "\"" + folder / "export_copy.exe" +
                          "\" --gtest_also_run_disabled_tests --gtest_filter=" + filter;
    PROCESS_INFORMATION copy = {};
    BOOL started = CreateProcessA(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr,
                                  current ? current : folder.Path().c_str(), &start, &copy);
    CloseHandle(out);
    if (!started) return 1002;
    DWORD code = 1003;
    if (WaitForSingleObject(copy.hProcess, 180000) == WAIT_OBJECT_0)
        GetExitCodeProcess(copy.hProcess, &code);
    else
        TerminateProcess(copy.hProcess, code);
    CloseHandle(copy.hThread);
    CloseHandle(copy.hProcess);
    std::vector<unsigned char> text = ReadWholeFile(folder / "copy.log");
    log->assign(text.begin(), text.end());
    return code;
}

TEST(ExportLibrary, MissingLibraryOrEntryFailsWithFiveAndIsReported)
{
    enum Library { Missing, WithoutEntries, InTheCurrentFolderOnly };
    struct Case {
        const char* what;
        Library library;
    } cases[] = {
        {"library missing", Missing},
        {"entries missing", WithoutEntries},  // a library of that name that lacks both entries
        // The real library, but in the current folder and not beside the program: it is never
        // looked for there.
        {"library in the current folder only", InTheCurrentFolderOnly},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        ScratchFolder folder, current;
        if (c.library == WithoutEntries)
            ASSERT_TRUE(CopyFileA((ModuleFolder() + "hookdll.dll").c_str(), (folder / "TransG32.DLL").c_str(), FALSE));
        if (c.library == InTheCurrentFolderOnly)
            ASSERT_TRUE(CopyFileA((ModuleFolder() + "TransG32.DLL").c_str(), (current / "TransG32.DLL").c_str(), FALSE));
        std::string log;
        DWORD code = RunCopy(folder, "ExportWithoutLibrary.*", &log,
                             c.library == InTheCurrentFolderOnly ? current.Path().c_str() : nullptr);
        EXPECT_TRUE(code == 0 && log.find("[  PASSED  ] 1 test") != std::string::npos)
            << "exit code " << code << "\n" << log;
    }
}

// Run only by the test above, in a copy of the program that cannot use TransG32.DLL.
TEST(ExportWithoutLibrary, DISABLED_EverySaveReportsItsType)
{
    ScratchFolder folder;
    std::string path = folder / "direct.png";
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(5, SaveJpegPicture(screen, 10, 10, Wide(path).c_str(), 90, TRUE));
    EXPECT_EQ(5, SavePngPicture(screen, 10, 10, Wide(path).c_str(), 0));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(NoFile, KindOfFile(path));

    GraphStandIn window;
    PrepareGraphData(MetricKeys);
    struct Case {
        const char* typed;
        std::string message;
    } cases[] = {
        {"failed.jpg", UiA(TextJpegFailed)},
        {"failed.png", UiA(TextPngFailed)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        SaveRun run = ScriptedSave(window, {folder / c.typed});
        ASSERT_EQ(1u, run.calls.size()) << "no save dialog";
        EXPECT_EQ(std::vector<std::string>{c.message}, run.failures);
        EXPECT_EQ(NoFile, KindOfFile(folder / c.typed));
        EXPECT_TRUE(window.WhollyInvalid());
    }
}

}  // namespace
