// The status bar on a real graph window: its parts, the count texts and the guarded writes.
#include <gtest/gtest.h>
#include <string>
#include <vector>

#include "app/input.h"
#include "graph_dialog_support.h"
#include "support/fake_clock.h"
#include "support/storetest.h"
#include "support/testwin.h"
#include "ui/statusbar.h"

namespace {
class StatusBarTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ResetGraphState();
        window = OpenGraphDialogModeless();
        ASSERT_NE(window, nullptr);
        bar = StatusBar.Handle;
        ASSERT_NE(bar, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(window);
        ResetGraphState();
    }
    HWND window = nullptr;
    HWND bar = nullptr;
};

// Each part at least as wide as the layout's, wide enough for its texts in the bar's own font
// (the part's edge, the control's inset), and exactly the layout's with a narrow face.
TEST_F(StatusBarTest, HasTenPartsThatHoldTheirTextsAndNoGrip)
{
    int edges[16] = {};
    ASSERT_EQ(SendMessageA(bar, SB_GETPARTS, 16, reinterpret_cast<LPARAM>(edges)), 10);
    const int layout[10] = {70, 125, 170, 215, 235, 255, 275, 305, 440, 554};
    for (int i = 1; i < 10; ++i) EXPECT_GE(edges[i] - edges[i - 1], layout[i] - layout[i - 1]) << "part " << i;
    for (auto [part, text] : {std::pair{0, L" 2026/12/08"}, {1, L" 22:35:08"}, {8, L" クリックの回数:0000DDDD"}}) {
        RECT r = {};
        SendMessageW(bar, SB_GETRECT, part, reinterpret_cast<LPARAM>(&r));
        EXPECT_LE(TextWidthIn(bar, text) + 5, r.right - r.left) << "part " << part;
    }
    HFONT narrow = CreateFontW(7, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Arial");
    SendMessageW(bar, WM_SETFONT, reinterpret_cast<WPARAM>(narrow), FALSE);
    MeasureStatusParts(bar, edges);
    for (int i = 0; i < 10; ++i) EXPECT_EQ(edges[i], layout[i]) << "part " << i;
    SendMessageW(bar, WM_SETFONT, 0, FALSE);
    DeleteObject(narrow);

    char cls[64] = "";
    GetClassNameA(bar, cls, sizeof cls);
    EXPECT_STREQ(cls, "msctls_statusbar32");
    EXPECT_EQ(GetDlgCtrlID(bar), 2);
    EXPECT_EQ(GetParent(bar), window);
    LONG style = GetWindowLongA(bar, GWL_STYLE);
    EXPECT_TRUE(style & WS_CHILD);
    EXPECT_TRUE(style & WS_VISIBLE);
    EXPECT_TRUE(style & 0x10);
    EXPECT_FALSE(style & SBARS_SIZEGRIP);
}

// Which operation runs with which metric selected, and what part 8 then holds; null means
// part 8 keeps what it had.
struct CountCase {
    int selected;
    int (*operation)(void);
    int left, right, middle, keys, moveX, moveY;
    const char* expected;
};

const CountCase CountCases[] = {
    {0, ShowClickCount, 0, 0, 0, 9, 9, 9, " クリックの回数:00000000"},
    {0, ShowClickCount, 20, 5, 1, 0, 0, 0, " クリックの回数:0000001A"},
    {0, ShowClickCount, 0, 255, 0, 0, 0, 0, " クリックの回数:000000FF"},
    {0, ShowClickCount, 0, 0, 0x7FFFFFFF, 0, 0, 0, " クリックの回数:7FFFFFFF"},
    {0, ShowKeyTouchCount, 1, 1, 1, 40, 1, 1, nullptr},
    {0, ShowMovementCount, 1, 1, 1, 40, 300, 100, nullptr},
    {1, ShowKeyTouchCount, 5, 5, 5, 26, 5, 5, " キータッチ回数:0000001A"},
    {1, ShowKeyTouchCount, 0, 0, 0, 0, 0, 0, " キータッチ回数:00000000"},
    {1, ShowClickCount, 5, 5, 5, 26, 5, 5, nullptr},
    {1, ShowMovementCount, 5, 5, 5, 26, 5, 5, nullptr},
    {2, ShowMovementCount, 0, 0, 0, 0, 300, 100, " マウスの動き:00000190"},
    {2, ShowMovementCount, 0, 0, 0, 0, 255, 0, " マウスの動き:000000FF"},
    // 32-bit addition: the sum wraps past the signed range and prints its 32 bits.
    {2, ShowMovementCount, 0, 0, 0, 0, 0x7FFFFFFF, 1, " マウスの動き:80000000"},
    {2, ShowClickCount, 3, 3, 3, 3, 3, 3, nullptr},
    {2, ShowKeyTouchCount, 3, 3, 3, 3, 3, 3, nullptr},
};

TEST_F(StatusBarTest, CountTextFollowsOnlyTheSelectedMetric)
{
    const char sentinel[] = "previous";
    for (const CountCase& c : CountCases) {
        SCOPED_TRACE(testing::Message() << "selected " << c.selected << ", expected "
                                        << (c.expected ? c.expected : "unchanged"));
        SendMessageA(bar, SB_SETTEXTA, PartCount, reinterpret_cast<LPARAM>(sentinel));
        Graph.SelectedMetric = c.selected;
        Counters.LeftClicks = c.left, Counters.RightClicks = c.right, Counters.MiddleClicks = c.middle;
        Counters.KeyTouches = c.keys;
        Counters.MoveX = c.moveX, Counters.MoveY = c.moveY;
        HandStatusCounts(SlotClicks(), Counters.KeyTouches, SlotTravel());
        EXPECT_EQ(c.operation(), 1);
        EXPECT_EQ(PartText(bar, PartCount), c.expected ? c.expected : sentinel);
    }
}

TEST_F(StatusBarTest, WritesHaveNoEffectWhileTheWindowIsClosed)
{
    HICON up = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BUTTON_UP));
    HICON down = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_BUTTON_DOWN));
    SetStatusText(PartPointerX, L" X:12");
    SetStatusIcon(PartLeftButton, down);
    EXPECT_EQ(PartText(bar, PartPointerX), " X:12");
    EXPECT_EQ(PartIcon(bar, PartLeftButton), down);

    GraphWindow.Open = 0;
    SetStatusText(PartPointerX, L" X:99");
    SetStatusIcon(PartLeftButton, up);
    Counters.LeftClicks = 7;
    ShowClickCount();
    EXPECT_EQ(PartText(bar, PartPointerX), " X:12");
    EXPECT_EQ(PartIcon(bar, PartLeftButton), down);
    EXPECT_EQ(PartText(bar, PartCount), " クリックの回数:00000000");
    GraphWindow.Open = 1;
}

// A pointer-position text is left out only when its part already shows it: a write that did not
// reach the bar (window closed) does not count as shown, the two parts keep apart, and the bar
// made at the next opening shows nothing until its first write.
enum PointerAction { Write, WriteClosed, Reopen };
struct PointerCase {
    PointerAction action;
    int part;
    const char* text;
    const char* x;  // parts 2 and 3 afterwards
    const char* y;
};
const PointerCase PointerCases[] = {
    {Write, PartPointerX, " X:12", " X:12", ""},
    {WriteClosed, PartPointerX, " X:99", " X:12", ""},
    {Write, PartPointerX, " X:99", " X:99", ""},
    {Write, PartPointerY, " X:99", " X:99", " X:99"},
    {Reopen, 0, nullptr, "", ""},
    {Write, PartPointerX, " X:99", " X:99", ""},
    {Write, PartPointerY, " X:99", " X:99", " X:99"},
};

TEST_F(StatusBarTest, PointerPartsShowEveryNewText)
{
    for (const PointerCase& c : PointerCases) {
        SCOPED_TRACE(testing::Message() << "step " << &c - PointerCases);
        if (c.action == Reopen) {
            DestroyWindow(window);
            window = OpenGraphDialogModeless();
            ASSERT_NE(window, nullptr);
            bar = StatusBar.Handle;
        } else {
            GraphWindow.Open = c.action == Write;
            SetStatusText(c.part, Wide(c.text).c_str());
            GraphWindow.Open = 1;
        }
        EXPECT_EQ(PartText(bar, PartPointerX), c.x);
        EXPECT_EQ(PartText(bar, PartPointerY), c.y);
    }
}

// What the bar is given, in order: the part, and the icon (0 for a text).
std::vector<std::pair<int, LPARAM>> BarWrites;
LRESULT CALLBACK RecordBarWrites(HWND bar, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == SB_SETTEXTA || message == SB_SETTEXTW || message == SB_SETICON)
        BarWrites.push_back({static_cast<int>(wParam & 0xFF), message == SB_SETICON ? lParam : 0});
    return CallWindowProcA(reinterpret_cast<WNDPROC>(GetPropA(bar, "oldproc")), bar, message, wParam, lParam);
}

// Input handled within one frame, after a move that begins it (moves to x = 2, 3, ..., then
// the buttons): the part's text at the end, or (text null) the icons the part was given.
struct FrameCase {
    const char* name;
    int moves;
    std::vector<UINT> buttons;
    int part;
    const char* text;
    std::vector<WORD> icons;
};
const FrameCase FrameCases[] = {
    {"the last of many moves", 100, {}, PartPointerX, " X:101", {}},
    {"a click's down icon before its up", 0, {WM_LBUTTONDOWN, WM_LBUTTONUP}, PartLeftButton, nullptr,
     {IDI_BUTTON_DOWN, IDI_BUTTON_UP}},
};

TEST_F(StatusBarTest, InputOfOneFrameShowsOnceInItsLastState)
{
    HWND monitor = CreateMonitorWithoutStartup();
    SetPropA(bar, "oldproc", reinterpret_cast<HANDLE>(SetWindowLongPtrA(
                                 bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RecordBarWrites))));
    // Every case's input falls within one frame of the test clock, however slowly this machine runs.
    StopTickClock();
    for (const FrameCase& c : FrameCases) {
        SCOPED_TRACE(c.name);
        OnHookMouse(WM_MOUSEMOVE, MAKELPARAM(1, 1));
        BarWrites.clear();
        for (int x = 2; x < 2 + c.moves; ++x) OnHookMouse(WM_MOUSEMOVE, MAKELPARAM(x, 2 * x));
        for (UINT button : c.buttons) OnHookMouse(button, 0);
        EXPECT_TRUE(PumpUntil([] { return StatusBar.TimerSet == 0; })) << "shown when the frame ends";
        std::vector<LPARAM> given, icons;
        for (const auto& w : BarWrites)
            if (w.first == c.part) given.push_back(w.second);
        for (WORD id : c.icons) icons.push_back(reinterpret_cast<LPARAM>(LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id))));
        if (c.text) {
            EXPECT_EQ(PartText(bar, c.part), c.text);
            EXPECT_EQ(given.size(), 1u) << "written once a frame, not once a move";
        } else {
            EXPECT_EQ(given, icons);
        }
    }
    ResetTickClock();
    SetWindowLongPtrA(bar, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(RemovePropA(bar, "oldproc")));
    DestroyMonitor(monitor);
}

// The owner going away takes the window with it, without any command; the handle goes too.
TEST(StatusBarLifetime, HandleIsClearedWhenTheOwnerEndsTheWindow)
{
    ResetGraphState();
    HWND owner = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    HWND window = OpenGraphDialogModeless(owner);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(GraphWindow.Open, 1);
    DestroyWindow(owner);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(StatusBar.Handle, nullptr);
    EXPECT_EQ(GraphWindow.Open, 0);
    GraphWindow.Open = 1;  // even with the flag wrongly set, nothing is sent anywhere
    ShowClickCount();
    SetStatusText(PartReadout, L" ");
    ResetGraphState();
}
}  // namespace
