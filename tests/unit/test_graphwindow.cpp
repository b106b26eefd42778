// The graph window: pointer read-out, opening, metric switch, closing and the client area.
#include <gtest/gtest.h>
#include <stdio.h>
#include <string>
#include <vector>

#include "graph_dialog_support.h"
#include "support/testwin.h"
#include "ui/statusbar.h"

namespace {
// Day i's date text names the day, so the read-out shows which day it picked.
void FillDayDates()
{
    for (int i = 0; i < DayCount; ++i) snprintf(Days.DayDates[i], sizeof Days.DayDates[i], "day%02d", i);
    lstrcpyA(Days.DayDates[0], "2006/05/22");
}

struct ReadoutCase {
    unsigned x, y;
    const char* text;  // expected read-out
};

// Rows: a pointer at y names the day standing on the baseline at or below it (baselines at
// 15 + 18a); the left panel (x 50..289) holds rows 2..22 for days 20..0, the right panel
// (x 290..529) rows 1..21 for the same days.
const ReadoutCase ReadoutCases[] = {
    {50, 34, " day20 00:00"},
    {289, 34, " day20 23:54"},
    {290, 34, " day19 00:00"},
    {529, 34, " day19 23:54"},
    {530, 34, " "},
    {49, 34, " "},
    {100, 33, " "},
    {100, 0, " "},
    {100, 51, " day20 05:00"},
    {147, 52, " day19 09:42"},
    {50, 393, " day01 00:00"},
    {50, 394, " 2006/05/22 00:00"},
    {187, 400, " 2006/05/22 13:42"},
    {289, 411, " 2006/05/22 23:54"},
    {100, 412, " "},
    {290, 15, " "},
    {290, 16, " day20 00:00"},
    {300, 33, " day20 01:00"},
    {300, 34, " day19 01:00"},
    {529, 375, " day01 23:54"},
    {290, 376, " 2006/05/22 00:00"},
    {529, 393, " 2006/05/22 23:54"},
    {400, 394, " "},
    {400, 411, " "},
    {65535, 100, " "},
    {100, 65535, " "},
};

TEST(GraphReadout, NamesTheDayAndTimeUnderThePointer)
{
    FillDayDates();
    for (const ReadoutCase& c : ReadoutCases) {
        SCOPED_TRACE(testing::Message() << "x " << c.x << ", y " << c.y);
        wchar_t text[256] = L"unset";
        int over = -1;
        ComposeReadout(c.x, c.y, text, &over);
        EXPECT_EQ(Narrow(text), c.text);
        EXPECT_EQ(over, lstrcmpA(c.text, " ") != 0 ? 1 : 0);
    }
}

class GraphWindowTest : public ::testing::Test {
protected:
    void SetUp() override { ResetGraphState(); FillDayDates(); }
    void TearDown() override
    {
        if (window) DestroyWindow(window);
        ResetGraphState();
    }
    void Open()
    {
        window = OpenGraphDialogModeless();
        ASSERT_NE(window, nullptr);
        bar = StatusBar.Handle;
        ASSERT_NE(bar, nullptr);
    }
    HWND window = nullptr;
    HWND bar = nullptr;
};

const UINT MetricCommands[3] = {IDC_SHOW_CLICKS, IDC_SHOW_KEYS, IDC_SHOW_MOVEMENT};

// At opening, part 8 shows the count of whichever metric is selected.
struct OpeningCase {
    int metric;
    const char* count;
};
const OpeningCase OpeningCases[] = {
    {0, " クリックの回数:00000006"},
    {1, " キータッチ回数:00000004"},
    {2, " マウスの動き:00000011"},
};

TEST_F(GraphWindowTest, OpensWithTitleIconsChecksAndCount)
{
    HMODULE module = GetModuleHandleA(nullptr);
    HICON appIcon = LoadIconA(module, MAKEINTRESOURCEA(IDI_APP));
    HICON buttonUp = LoadIconA(module, MAKEINTRESOURCEA(IDI_BUTTON_UP));
    HICON keyUp = LoadIconA(module, MAKEINTRESOURCEA(IDI_KEY_UP));
    ASSERT_NE(buttonUp, nullptr);
    ASSERT_NE(keyUp, nullptr);
    for (const OpeningCase& c : OpeningCases) {
        SCOPED_TRACE(c.metric);
        ResetGraphState();
        Graph.SelectedMetric = c.metric;
        Counters.LeftClicks = 1, Counters.RightClicks = 2, Counters.MiddleClicks = 3;
        Counters.KeyTouches = 4;
        Counters.MoveX = 8, Counters.MoveY = 9;
        HandStatusCounts(SlotClicks(), Counters.KeyTouches, SlotTravel());
        Open();

        char caption[256] = "";
        GetWindowTextA(window, caption, sizeof caption);
        EXPECT_STREQ(caption, "Vantle  PC活動記録測定ソフト  Version 1.13");
        EXPECT_EQ(GraphWindow.Open, 1);
        EXPECT_EQ(GraphWindow.Handle, window);
        EXPECT_EQ(Graph.SelectedMetric, c.metric);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0)), appIcon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0)), appIcon);
        EXPECT_EQ(StatusBar.ButtonUpIcon, buttonUp);
        EXPECT_EQ(StatusBar.ButtonDownIcon, LoadIconA(module, MAKEINTRESOURCEA(IDI_BUTTON_DOWN)));
        EXPECT_EQ(StatusBar.KeyUpIcon, keyUp);
        EXPECT_EQ(StatusBar.KeyDownIcon, LoadIconA(module, MAKEINTRESOURCEA(IDI_KEY_DOWN)));

        for (int part = PartLeftButton; part <= PartRightButton; ++part)
            EXPECT_EQ(PartIcon(bar, part), buttonUp) << "part " << part;
        EXPECT_EQ(PartIcon(bar, PartKeyboard), keyUp);
        EXPECT_EQ(PartText(bar, PartCount), c.count);
        EXPECT_EQ(PartText(bar, PartReadout), "");
        for (int m = 0; m < 3; ++m)
            EXPECT_EQ(MenuItemChecked(window, MetricCommands[m]), m == c.metric) << "item " << m;

        // The background is white.
        HDC dc = GetDC(window);
        EXPECT_EQ(SendMessageA(window, WM_CTLCOLORDLG, reinterpret_cast<WPARAM>(dc),
                               reinterpret_cast<LPARAM>(window)),
                  reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)));
        ReleaseDC(window, dc);
        DestroyWindow(window);
        window = nullptr;
    }
}

// Notes whether the window's background was erased while it painted.
LRESULT CALLBACK NoteErase(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_ERASEBKGND) SetPropA(window, "erased", reinterpret_cast<HANDLE>(1));
    WNDPROC old = reinterpret_cast<WNDPROC>(GetPropA(window, "oldproc"));
    return CallWindowProcA(old, window, message, wParam, lParam);
}

TEST_F(GraphWindowTest, MetricSwitchRedrawsOnlyTheGraphAndRewritesTheCount)
{
    Counters.LeftClicks = 3;
    Counters.KeyTouches = 5;
    Counters.MoveX = 10;
    HandStatusCounts(SlotClicks(), Counters.KeyTouches, SlotTravel());
    Open();
    // A hidden window gathers no update region.
    ShowWindow(window, SW_SHOW);
    UpdateWindow(window);
    const char sentinel[] = "previous";

    // The same metric again: no redraw, no change of check marks, but part 8 is written.
    ValidateRect(window, nullptr);
    SendMessageA(bar, SB_SETTEXTA, PartCount, reinterpret_cast<LPARAM>(sentinel));
    SendMessageA(window, WM_COMMAND, IDC_SHOW_CLICKS, 0);
    RECT update;
    EXPECT_FALSE(GetUpdateRect(window, &update, FALSE));
    EXPECT_EQ(PartText(bar, PartCount), " クリックの回数:00000003");
    EXPECT_TRUE(MenuItemChecked(window, IDC_SHOW_CLICKS));
    EXPECT_EQ(Graph.SelectedMetric, 0);

    struct SwitchCase {
        UINT command;
        int metric;
        const char* count;
    };
    const SwitchCase cases[] = {
        {IDC_SHOW_KEYS, 1, " キータッチ回数:00000005"},
        {IDC_SHOW_MOVEMENT, 2, " マウスの動き:0000000A"},
        {IDC_SHOW_CLICKS, 0, " クリックの回数:00000003"},
    };
    SetPropA(window, "oldproc", reinterpret_cast<HANDLE>(GetWindowLongPtrA(window, GWLP_WNDPROC)));
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(NoteErase));
    for (const SwitchCase& c : cases) {
        SCOPED_TRACE(c.metric);
        ValidateRect(window, nullptr);
        SendMessageA(bar, SB_SETTEXTA, PartCount, reinterpret_cast<LPARAM>(sentinel));
        SendMessageA(window, WM_COMMAND, c.command, 0);
        EXPECT_EQ(Graph.SelectedMetric, c.metric);
        EXPECT_EQ(PartText(bar, PartCount), c.count);
        for (int m = 0; m < 3; ++m)
            EXPECT_EQ(MenuItemChecked(window, MetricCommands[m]), m == c.metric) << "item " << m;
        ASSERT_TRUE(GetUpdateRect(window, &update, FALSE));
        EXPECT_EQ(update.left, 50);
        EXPECT_EQ(update.top, 15);
        EXPECT_EQ(update.right, 531);
        EXPECT_EQ(update.bottom, 414);
        RemovePropA(window, "erased");
        UpdateWindow(window);
        EXPECT_NE(GetPropA(window, "erased"), nullptr) << "the background was not erased";
    }
    SetWindowLongPtrA(window, GWLP_WNDPROC,
                      reinterpret_cast<LONG_PTR>(RemovePropA(window, "oldproc")));
    RemovePropA(window, "erased");
}

TEST_F(GraphWindowTest, ChosenMetricSurvivesCloseAndReopen)
{
    RunGraphDialog([](HWND window) {
        SendMessageA(window, WM_COMMAND, IDC_SHOW_KEYS, 0);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(Graph.SelectedMetric, 1);
    Counters.KeyTouches = 2;
    HandStatusCounts(SlotClicks(), Counters.KeyTouches, SlotTravel());
    bool seen = false;
    RunGraphDialog([&](HWND window) {
        seen = true;
        EXPECT_FALSE(MenuItemChecked(window, IDC_SHOW_CLICKS));
        EXPECT_TRUE(MenuItemChecked(window, IDC_SHOW_KEYS));
        EXPECT_FALSE(MenuItemChecked(window, IDC_SHOW_MOVEMENT));
        EXPECT_EQ(PartText(StatusBar.Handle, PartCount), " キータッチ回数:00000002");
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_TRUE(seen);
    EXPECT_EQ(Graph.SelectedMetric, 1);
}

// Esc and the close box arrive as IDCANCEL (result 0); the menu's put-away gives 1. Enter
// (IDOK) and unknown commands leave the window open and report the command handled.
TEST_F(GraphWindowTest, ClosingCommandsEndTheDialogWithTheirResult)
{
    struct CloseCase {
        const char* name;
        std::function<void(HWND)> close;
        INT_PTR result;
    };
    const CloseCase cases[] = {
        {"IDCANCEL", [](HWND w) { PostMessageA(w, WM_COMMAND, IDCANCEL, 0); }, 0},
        {"close box", [](HWND w) { PostMessageA(w, WM_SYSCOMMAND, SC_CLOSE, 0); }, 0},
        {"put away", [](HWND w) { PostMessageA(w, WM_COMMAND, IDC_GRAPH_TO_TRAY, 0); }, 1},
    };
    for (const CloseCase& c : cases) {
        SCOPED_TRACE(c.name);
        ResetGraphState();
        HWND oldBar = nullptr;
        INT_PTR result = RunGraphDialog([&](HWND w) {
            oldBar = StatusBar.Handle;
            EXPECT_EQ(GraphWindowProc(w, WM_COMMAND, IDOK, 0), 1);
            EXPECT_EQ(GraphWindowProc(w, WM_COMMAND, 45000, 0), 1);
            EXPECT_EQ(GraphWindow.Open, 1);
            EXPECT_TRUE(IsWindowVisible(w));
            c.close(w);
        });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(GraphWindow.Open, 0);
        EXPECT_NE(GraphWindow.Handle, nullptr);  // kept after the window has ended
        // The bar went with the window, and its handle with it.
        EXPECT_NE(oldBar, nullptr);
        EXPECT_FALSE(IsWindow(oldBar));
        EXPECT_EQ(StatusBar.Handle, nullptr);
    }
}

TEST_F(GraphWindowTest, PointerMoveWritesTheReadoutAndSetsTheCrossHair)
{
    Open();
    HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
    HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);

    SetCursor(arrow);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(187, 400));
    EXPECT_EQ(PartText(bar, PartReadout), " 2006/05/22 13:42");
    EXPECT_EQ(GetCursor(), cross);

    SetCursor(arrow);
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 400));
    EXPECT_EQ(PartText(bar, PartReadout), " ");
    EXPECT_EQ(GetCursor(), arrow);
}

// A dialog template in memory: the graph window's menu, no controls, the given size and font.
std::vector<DWORD> GraphTemplate(short width, short height, WORD points, const wchar_t* face)
{
    std::vector<WORD> words;
    auto put32 = [&](DWORD v) { words.push_back(LOWORD(v)); words.push_back(HIWORD(v)); };
    auto putText = [&](const wchar_t* s) { do words.push_back(*s); while (*s++); };
    put32(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT);
    put32(0);
    words.push_back(0);  // no controls
    words.push_back(0), words.push_back(0);
    words.push_back(width), words.push_back(height);
    words.push_back(0xFFFF), words.push_back(IDM_GRAPH);
    words.push_back(0);  // the standard dialog class
    putText(L"graph");
    words.push_back(points);
    putText(face);
    std::vector<DWORD> aligned((words.size() + 1) / 2);
    memcpy(aligned.data(), words.data(), words.size() * sizeof(WORD));
    return aligned;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT, WPARAM, LPARAM) { return 0; }

// Whatever the font makes of the template, the client area holds the graph (to x 531,
// y 414) with the status bar below it, and the bar runs along the bottom of the client area.
TEST_F(GraphWindowTest, ClientAreaHoldsTheGraphAndTheStatusBar)
{
    struct SizeCase {
        short width, height;
        WORD points;
        const wchar_t* face;
    };
    const SizeCase cases[] = {
        {318, 303, 9, L"ＭＳ Ｐゴシック"},
        {318, 303, 5, L"Tahoma"},  // a small font: the template comes out too small
        {100, 100, 9, L"Tahoma"},
        {318, 200, 9, L"Tahoma"},
        {500, 400, 9, L"Tahoma"},  // already large enough: the window keeps its size
    };
    HMODULE module = GetModuleHandleA(nullptr);
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " x " << c.height << ", " << c.points);
        ResetGraphState();
        std::vector<DWORD> tmpl = GraphTemplate(c.width, c.height, c.points, c.face);
        const DLGTEMPLATE* t = reinterpret_cast<const DLGTEMPLATE*>(tmpl.data());

        HWND plain = CreateDialogIndirectParamA(module, t, nullptr, PlainDialogProc, 0);
        ASSERT_NE(plain, nullptr);
        RECT plainClient, plainFrame;
        GetClientRect(plain, &plainClient);
        GetWindowRect(plain, &plainFrame);
        DestroyWindow(plain);

        window = CreateDialogIndirectParamA(module, t, nullptr, GraphWindowProc, 0);
        ASSERT_NE(window, nullptr);
        bar = StatusBar.Handle;
        RECT client, barRect;
        GetClientRect(window, &client);
        GetWindowRect(bar, &barRect);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&barRect), 2);

        EXPECT_GE(client.right, 555);
        EXPECT_GE(barRect.top, 414);
        EXPECT_EQ(barRect.bottom, client.bottom);
        EXPECT_GE(barRect.right, 554);
        EXPECT_GT(barRect.bottom - barRect.top, 10);
        if (plainClient.right >= 555 && plainClient.bottom >= 414 + 40) {
            EXPECT_EQ(client.right, plainClient.right);
            EXPECT_EQ(client.bottom, plainClient.bottom);
        }
        // Only the size changes; the window stays where the dialog manager put it.
        RECT frame;
        GetWindowRect(window, &frame);
        EXPECT_EQ(frame.left, plainFrame.left);
        EXPECT_EQ(frame.top, plainFrame.top);
        DestroyWindow(window);
        window = nullptr;
    }
}
}  // namespace
