// Pixel tests of the graph's frame and plot, drawn into a white 32-bit memory bitmap and
// compared with pictures worked out here from the layout numbers.
#include <gtest/gtest.h>
#include <windows.h>
#include <cstdio>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "base/uitext.h"
#include "graph/calendar.h"
#include "graph/frame.h"
#include "graph/geometry.h"
#include "graph/keyboard.h"
#include "graph/plot.h"
#include "graph/view.h"
#include "store/days.h"
#include "store/pcidentity.h"
#include "store/sharedpcs.h"
#include "store/keyrecords.h"
#include "support/scripteduser.h"
#include "support/testwin.h"
#include "ui/graphwindow.h"

namespace {

const int Width = 560, Height = 440;
const COLORREF White = RGB(255, 255, 255), Black = RGB(0, 0, 0);
const COLORREF Red = RGB(255, 50, 50), Grey = RGB(150, 150, 150);

// The layout as the picture must show it: row a's baseline, and where day k stands.
int Baseline(int row) { return 15 + 18 * row; }
int LeftBase(int day) { return Baseline(22 - day); }
int RightBase(int day) { return Baseline(21 - day); }

// A picture the tests expect, white to begin with.
struct Picture {
    std::vector<COLORREF> pixels = std::vector<COLORREF>(Width * Height, White);
    void Column(int x, int top, int bottom, COLORREF c)  // rows top..bottom-1
    {
        for (int y = top; y < bottom; y++) pixels[y * Width + x] = c;
    }
    void Row(int y, int left, int right, COLORREF c)  // columns left..right-1
    {
        for (int x = left; x < right; x++) pixels[y * Width + x] = c;
    }
    void Bar(int day, int slot, int height)
    {
        Column(50 + slot, LeftBase(day) - height, LeftBase(day), Red);
        Column(290 + slot, RightBase(day) - height, RightBase(day), Red);
    }
    void NoData(int day, int slot)
    {
        Column(50 + slot, LeftBase(day) - 18, LeftBase(day), Grey);
        Column(290 + slot, RightBase(day) - 18, RightBase(day), Grey);
    }
    // Baselines: left on rows 2..22, right on rows 1..21; ticks three pixels down from each.
    void Frame()
    {
        for (int a = 2; a <= 22; a++) {
            Row(Baseline(a), 50, 290, Black);
            for (int x = 50; x <= 290; x += 60) Column(x, Baseline(a), Baseline(a) + 3, Black);
        }
        for (int a = 1; a <= 21; a++) {
            Row(Baseline(a), 290, 530, Black);
            for (int x = 290; x <= 530; x += 60) Column(x, Baseline(a), Baseline(a) + 3, Black);
        }
    }
};

// A memory context on a top-down 32-bit bitmap, filled white.
class Canvas {
public:
    Canvas()
    {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_), nullptr, 0);
        old_ = SelectObject(dc, bitmap_);
        for (int i = 0; i < Width * Height; i++) bits_[i] = 0xFFFFFF;
    }
    ~Canvas()
    {
        SelectObject(dc, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc);
    }
    COLORREF At(int x, int y) const
    {
        GdiFlush();
        DWORD p = bits_[y * Width + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // Differences from the expected picture within columns left..right-1, a few of them named.
    std::string Diff(const Picture& want, int left = 0, int right = Width) const
    {
        int count = 0;
        std::string named;
        for (int y = 0; y < Height; y++)
            for (int x = left; x < right; x++) {
                COLORREF got = At(x, y), expected = want.pixels[y * Width + x];
                if (got == expected) continue;
                if (++count <= 8) {
                    char line[96];
                    std::snprintf(line, sizeof line, " (%d,%d) got %06lX want %06lX;", x, y,
                                  static_cast<unsigned long>(got), static_cast<unsigned long>(expected));
                    named += line;
                }
            }
        return count ? std::to_string(count) + " pixels differ:" + named : std::string();
    }
    HDC dc;

private:
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

bool RunningOnWine()
{
    return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr;
}

// Every test starts from recorded, empty days and gives the days and the graph back as it found them.
class GraphDrawTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        saved_.reset(new DayStore(Days));
        savedGraph_ = Graph;
        Clear();
    }
    void TearDown() override
    {
        Days = *saved_;
        Graph = savedGraph_;
    }
    static void Clear()
    {
        for (int m = 0; m < MetricCount; m++) {
            for (int s = 0; s < SlotCount; s++)
                for (int k = 0; k < DayCount; k++) Days.ActivityTable[m][s][k] = 0;
            for (int k = 0; k < DayCount; k++) Days.DayMaxima[m][k] = 0;
        }
        for (int k = 0; k < DayCount; k++) Days.DayLabels[k][0] = 0;
        Days.CurrentSlot = 239;
        Graph.SelectedMetric = 0;
    }
    std::unique_ptr<DayStore> saved_;
    GraphView savedGraph_;
};

TEST_F(GraphDrawTest, FrameDrawsBaselinesAndTicksOnly)
{
    Canvas canvas;
    EXPECT_EQ(0, DrawGraphFrame(canvas.dc));
    Picture want;
    want.Frame();
    EXPECT_EQ("", canvas.Diff(want));

    // The ends of the baselines and the ticks beside them.
    struct { int x, y; COLORREF colour; } edges[] = {
        {49, 411, White}, {50, 411, Black}, {289, 411, Black}, {290, 411, Black}, {291, 411, White},
        {290, 413, Black}, {290, 414, White}, {289, 33, White}, {290, 33, Black}, {529, 33, Black},
        {530, 33, Black}, {530, 35, Black}, {530, 36, White}, {531, 33, White}, {290, 395, Black},
        {290, 377, Black}, {291, 394, White},
    };
    for (const auto& e : edges)
        EXPECT_EQ(e.colour, canvas.At(e.x, e.y)) << "at " << e.x << "," << e.y;
}

TEST_F(GraphDrawTest, FrameWritesEachDayLabelInItsCell)
{
    for (int k = 0; k < DayCount; k++) std::snprintf(Days.DayLabels[k], 8, "%02d/%02d", 12 - k % 12, 31 - k);
    Canvas canvas;
    DrawGraphFrame(canvas.dc);

    // The same texts written here at their cells, with the label font.
    Canvas labels;
    HFONT font = CreateGraphFont(12, SHIFTJIS_CHARSET, UiText(TextLabelFace));
    HGDIOBJ old = SelectObject(labels.dc, font);
    SetBkMode(labels.dc, TRANSPARENT);
    for (int k = 0; k < DayCount; k++) TextOutA(labels.dc, 13, LeftBase(k) - 13, Days.DayLabels[k], 5);
    SelectObject(labels.dc, old);
    DeleteObject(font);

    Picture want;
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < 50; x++) want.pixels[y * Width + x] = labels.At(x, y);
    EXPECT_EQ("", canvas.Diff(want, 0, 50));

    // Ink only inside the 12-pixel cells of rows 2..22, some in each; row 1 has no label.
    std::vector<int> ink(23, 0);
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < 50; x++) {
            if (canvas.At(x, y) == White) continue;
            int row = 0;
            for (int a = 1; a <= 22; a++)
                if (x >= 13 && y >= Baseline(a) - 13 && y <= Baseline(a) - 2) row = a;
            EXPECT_GE(row, 2) << "ink at " << x << "," << y;
            ink[row]++;
        }
    EXPECT_EQ(0, ink[0] + ink[1]);
    for (int a = 2; a <= 22; a++) EXPECT_GT(ink[a], 0) << "row " << a;
}

TEST_F(GraphDrawTest, FrameLeavesTransparentBlackTextAndGivesObjectsBack)
{
    Canvas canvas;
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 255));
    HFONT font = CreateFontA(20, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    HGDIOBJ oldPen = SelectObject(canvas.dc, pen), oldFont = SelectObject(canvas.dc, font);
    SetBkMode(canvas.dc, OPAQUE);
    SetTextColor(canvas.dc, RGB(0, 200, 0));

    DrawGraphFrame(canvas.dc);
    EXPECT_EQ(TRANSPARENT, GetBkMode(canvas.dc));
    EXPECT_EQ(Black, GetTextColor(canvas.dc));
    EXPECT_EQ(pen, GetCurrentObject(canvas.dc, OBJ_PEN));
    EXPECT_EQ(font, GetCurrentObject(canvas.dc, OBJ_FONT));
    DrawActivityPlot(canvas.dc);
    EXPECT_EQ(pen, GetCurrentObject(canvas.dc, OBJ_PEN));

    SelectObject(canvas.dc, oldPen);
    SelectObject(canvas.dc, oldFont);
    DeleteObject(pen);
    DeleteObject(font);
}

// Wine counts no GDI objects but gives freed handle slots out again, the last freed first:
// while nothing leaks, a batch of fresh pens gets the same slots before and after the drawing.
std::set<WORD> FreshPenSlots()
{
    std::vector<HPEN> pens;
    std::set<WORD> slots;
    for (int i = 0; i < 64; i++) pens.push_back(CreatePen(PS_SOLID, 1, RGB(i, 0, 0)));
    for (HPEN pen : pens) slots.insert(LOWORD(reinterpret_cast<UINT_PTR>(pen)));
    for (HPEN pen : pens) DeleteObject(pen);
    return slots;
}

TEST_F(GraphDrawTest, DrawingLeaksNoGdiObjects)
{
    Days.ActivityTable[0][3][4] = -1;
    Days.ActivityTable[0][5][4] = 1;
    Days.DayMaxima[0][4] = 1;
    std::snprintf(Days.DayLabels[0], 8, "01/02");
    // The keyboard and calendar pictures too, with something on every kind of cap and square.
    static long long keys[KeyIndexCount];
    keys[0x1E] = 5, keys[KeyLeftButton] = 70, keys[KeyWheel] = 2;
    static CalendarYear year;
    year.Year = 2024, year.DayCount = 366, year.HasData[0] = year.HasData[1] = 1, year.Values[1] = 9;
    auto draw = [&](HDC dc) {
        DrawActivityPlot(dc);
        DrawGraphFrame(dc);
        DrawKeyboardPicture(dc, 560, 170, keys, Layout109);
        DrawCalendarPicture(dc, 580, 120, &year, L"9");
    };
    Canvas canvas;
    draw(canvas.dc);
    DWORD before = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
    std::set<WORD> slots = FreshPenSlots();
    for (int i = 0; i < 100; i++) draw(canvas.dc);
    if (RunningOnWine())
        EXPECT_EQ(slots, FreshPenSlots());
    else
        EXPECT_EQ(before, GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS));
}

// Each day is scaled by its own maximum: h = value * (15.0 / maximum), truncated.
TEST_F(GraphDrawTest, BarHeightsFollowTheDaysMaximum)
{
    struct { int day, slot, maximum, value, height; } cases[] = {
        {3, 17, 10, 10, 15},   {5, 0, 11, 11, 14},     {20, 239, 16, 1, 0},  {0, 120, 16, 16, 15},
        {7, 60, 13, 13, 14},   {9, 99, 22, 22, 14},    {1, 5, 12, 12, 15},   {2, 30, 30, 15, 7},
        {4, 31, 3, 1, 5},      {6, 200, 1000, 999, 14}, {19, 1, 1, 1, 15},   {0, 0, 7, 0, 0},
        // Damaged day files: no bar leaves its band and a negative maximum draws nothing.
        {8, 8, 10, 100, 15},   {10, 10, -5, -5, 0},    {11, 11, 10, -7, 0},
    };
    for (const auto& c : cases) {
        Clear();
        Days.DayMaxima[0][c.day] = c.maximum;
        Days.ActivityTable[0][c.slot][c.day] = c.value;
        Canvas canvas;
        DrawActivityPlot(canvas.dc);
        Picture want;
        want.Bar(c.day, c.slot, c.height);
        EXPECT_EQ("", canvas.Diff(want)) << "maximum " << c.maximum << " value " << c.value;
    }
}

// The sum of all PCs: this PC's values plus the others' (slots without data where neither has
// any), each day scaled by the sum's maximum; switched off, the others leave no pixel.
TEST_F(GraphDrawTest, SumOfAllPcsAddsTheOtherPcsAndOffIsAsBefore)
{
    const int savedAll = Pc.GraphAll;
    for (int m = 0; m < MetricCount; m++)
        for (int s = 0; s < SlotCount; s++)
            for (int k = 0; k < DayCount; k++) OthersOfDays.Values[m][s][k] = -1;
    OthersOfDays.Today = Days.TodayDate;
    Days.DayMaxima[0][3] = 10;
    Days.ActivityTable[0][17][3] = 10;
    Days.ActivityTable[0][18][3] = -1;
    OthersOfDays.Values[0][17][3] = 5;
    OthersOfDays.Values[0][18][3] = 30;
    Days.ActivityTable[0][19][3] = Days.ActivityTable[0][20][3] = -1;
    OthersOfDays.Values[0][19][3] = -1;
    const struct {
        int all;
        std::vector<std::pair<int, int>> bars;  // slot of day 3, height (-1: no data)
    } cases[] = {{0, {{17, 15}, {18, -1}, {19, -1}, {20, -1}}}, {1, {{17, 7}, {18, 15}, {19, -1}, {20, -1}}}};
    for (const auto& c : cases) {
        Pc.GraphAll = c.all;
        Canvas canvas;
        DrawActivityPlot(canvas.dc);
        Picture want;
        for (const auto& bar : c.bars) {
            if (bar.second < 0) want.NoData(3, bar.first);
            else want.Bar(3, bar.first, bar.second);
        }
        EXPECT_EQ("", canvas.Diff(want)) << "all PCs " << c.all;
    }
    Pc.GraphAll = savedAll;
}

// With a maximum of 15 a value is its own height; every day gets its own pattern.
TEST_F(GraphDrawTest, PlotPutsEveryDayInBothPanels)
{
    Days.CurrentSlot = 239;
    Picture want;
    for (int k = 0; k < DayCount; k++) {
        Days.DayMaxima[0][k] = 15;
        for (int s = 0; s < SlotCount; s++) {
            int v = (s + 3 * k) % 19 < 3 ? -1 : (s * 7 + k) % 16;
            Days.ActivityTable[0][s][k] = v;
            if (v == -1) want.NoData(k, s);
            else want.Bar(k, s, v);
        }
    }
    Canvas canvas;
    EXPECT_EQ(0, DrawActivityPlot(canvas.dc));
    EXPECT_EQ("", canvas.Diff(want));
}

// Draws into a fresh canvas clipped to the rectangles and compares it with the whole drawing: the
// same inside the clip, nothing outside it.
std::string PartialDiff(int (*draw)(HDC), const Canvas& whole, const std::vector<RECT>& parts)
{
    Canvas part;
    HRGN clip = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : parts) {
        HRGN one = CreateRectRgnIndirect(&r);
        CombineRgn(clip, clip, one, RGN_OR);
        DeleteObject(one);
    }
    SelectClipRgn(part.dc, clip);
    draw(part.dc);
    Picture want;
    for (int y = 0; y < Height; y++)
        for (int x = 0; x < Width; x++)
            if (PtInRegion(clip, x, y)) want.pixels[y * Width + x] = whole.At(x, y);
    DeleteObject(clip);
    return part.Diff(want);
}

// A paint of part of the graph (the live repaint asks for two one-pixel columns) draws inside
// that part exactly what a whole paint draws there, and nothing outside it: at the ends of a
// panel, across the panels' seam, and across the border of two day rows.
TEST_F(GraphDrawTest, PartialPaintMatchesTheWholeInsideItsClip)
{
    for (int k = 0; k < DayCount; k++) {
        Days.DayMaxima[0][k] = 15;
        for (int s = 0; s < SlotCount; s++) Days.ActivityTable[0][s][k] = (s + 3 * k) % 19 < 3 ? -1 : (s * 7 + k) % 16;
    }
    Days.CurrentSlot = 150;
    Canvas whole;
    DrawActivityPlot(whole.dc);
    const struct {
        const char* name;
        std::vector<RECT> parts;
    } cases[] = {
        {"today's slot in both panels", {{200, 0, 201, Height}, {440, 0, 441, Height}}},
        {"first and last slot of a panel", {{50, 0, 51, Height}, {289, 0, 290, Height}}},
        {"the seam of the panels", {{288, 0, 292, Height}}},
        {"two day rows meeting", {{0, LeftBase(5) - 1, Width, LeftBase(5) + 1}}},
        {"the top and bottom rows", {{0, 0, Width, RightBase(20) + 1}, {0, LeftBase(0) - 1, Width, Height}}},
    };
    for (const auto& c : cases) EXPECT_EQ("", PartialDiff(DrawActivityPlot, whole, c.parts)) << c.name;
}

// The same for the frame, labels included: where a paint leaves lines and labels out, none of
// them reaches into its area (the live columns, ticks at the ends of baselines, rows of a label).
TEST_F(GraphDrawTest, PartialFrameMatchesTheWholeInsideItsClip)
{
    for (int k = 0; k < DayCount; k++) std::snprintf(Days.DayLabels[k], 8, "%02d/%02d", 1 + k % 12, 10 + k);
    Canvas whole;
    DrawGraphFrame(whole.dc);
    const RECT parts[] = {
        {289, LeftBase(0) - 18, 290, LeftBase(0)},
        {529, RightBase(0) - 18, 530, RightBase(0)},
        {290, RightBase(0) - 1, 291, RightBase(0) + 4},
        {530, 0, 531, Height},
        {0, LeftBase(7) - 8, 50, LeftBase(7) - 7},
        {20, LeftBase(3) - 6, 60, LeftBase(3) + 1},
        {50, LeftBase(9) - 13, 51, LeftBase(9)},
        {0, 0, Width, RightBase(20)},
    };
    for (const RECT& r : parts)
        EXPECT_EQ("", PartialDiff(DrawGraphFrame, whole, {r}))
            << r.left << "," << r.top << " to " << r.right << "," << r.bottom;
}

// A day without data is a grey band of 18 rows in both panels; the frame lies over it.
TEST_F(GraphDrawTest, NoDataBandsUnderTheFrame)
{
    Picture want;
    for (int k : {5, 20}) {
        for (int s = 0; s < SlotCount; s++) {
            Days.ActivityTable[0][s][k] = -1;
            want.NoData(k, s);
        }
    }
    want.Frame();
    Canvas canvas;
    DrawActivityPlot(canvas.dc);
    DrawGraphFrame(canvas.dc);
    EXPECT_EQ("", canvas.Diff(want));
    // Day 20's left band starts on row 1, which has no left baseline; its right band is the top one.
    EXPECT_EQ(Grey, canvas.At(100, 33));
    EXPECT_EQ(Grey, canvas.At(300, 15));
    EXPECT_EQ(Black, canvas.At(100, LeftBase(5) - 18));
}

// Today is drawn up to the current slot only; the slots after it stay background.
TEST_F(GraphDrawTest, TodayStopsAtTheCurrentSlot)
{
    for (int current : {0, 100, 239}) {
        Clear();
        Days.CurrentSlot = current;
        Days.DayMaxima[0][0] = 15;
        Picture want;
        for (int s = 0; s < SlotCount; s++) {
            int v = s % 3 == 0 ? -1 : s % 16;
            Days.ActivityTable[0][s][0] = v;
            if (s > current) continue;
            if (v == -1) want.NoData(0, s);
            else want.Bar(0, s, v);
        }
        Canvas canvas;
        DrawActivityPlot(canvas.dc);
        EXPECT_EQ("", canvas.Diff(want)) << "current slot " << current;
    }
}

// A maximum of 0 gives no bars, also while today's cells still hold the counts of earlier slots.
TEST_F(GraphDrawTest, DaysWithMaximumZeroShowNoBars)
{
    Picture want;
    for (int s = 0; s < SlotCount; s++) {
        Days.ActivityTable[0][s][0] = s % 5 + 1;
        Days.ActivityTable[0][s][6] = s % 2 ? -1 : 0;
        if (s % 2) want.NoData(6, s);
    }
    Canvas canvas;
    DrawActivityPlot(canvas.dc);
    EXPECT_EQ("", canvas.Diff(want));
}

// The selected metric chooses both the cells and the maxima that scale them.
TEST_F(GraphDrawTest, SelectedMetricChoosesTheTable)
{
    const int maxima[MetricCount] = {6, 12, 30}, heights[MetricCount] = {15, 7, 3};
    for (int m = 0; m < MetricCount; m++) {
        Days.ActivityTable[m][40 + m][2] = 6;
        Days.DayMaxima[m][2] = maxima[m];
    }
    for (int m = 0; m < MetricCount; m++) {
        Graph.SelectedMetric = m;
        Canvas canvas;
        DrawActivityPlot(canvas.dc);
        Picture want;
        want.Bar(2, 40 + m, heights[m]);
        EXPECT_EQ("", canvas.Diff(want)) << "metric " << m;
    }
}

// A failed move to the top of an earlier day's bar is reported once per bar; today's are not.
TEST_F(GraphDrawTest, FailedMoveOnEarlierDayIsReported)
{
    for (int s = 0; s < SlotCount; s++)
        for (int k = 0; k < DayCount; k++) Days.ActivityTable[0][s][k] = -1;
    for (int s = 0; s < 6; s++) Days.ActivityTable[0][s][0] = 4;
    Days.DayMaxima[0][0] = 4;
    Days.ActivityTable[0][9][2] = 3;
    Days.DayMaxima[0][2] = 3;
    Days.ActivityTable[0][200][11] = 0;

    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    HDC gone = CreateCompatibleDC(nullptr);
    DeleteDC(gone);
    ScriptedUser user;
    user.Answer(UiA(TextPlotErrorCaption), IDOK);
    PaintGraph(owner, gone);
    std::vector<SeenBox> boxes = user.Answered();
    user.Finish();
    DestroyWindow(owner);

    ASSERT_EQ(2u, boxes.size());
    for (const SeenBox& box : boxes) {
        EXPECT_EQ(UiA(TextPlotError), box.text);
        EXPECT_EQ(owner, box.owner);
    }
}

// Where a face is missing, the font still comes from an installed face of the same kind.
// A day's two baselines, and the day standing on a row, worked out from the layout: row a has its
// baseline at 15 + 18 a; day k stands on row 22 - k on the left and 21 - k on the right.
TEST(GraphGeometry, BaselinesOfTheDays)
{
    const struct {
        int day, left, right;
    } days[] = {{0, 411, 393}, {1, 393, 375}, {20, 51, 33}};
    for (const auto& d : days) {
        EXPECT_EQ(LeftBaselineOfDay(d.day), d.left) << d.day;
        EXPECT_EQ(RightBaselineOfDay(d.day), d.right) << d.day;
    }
    const struct {
        int row, left, right;  // -1: no day there
    } rows[] = {{1, -1, 20}, {2, 20, 19}, {21, 1, 0}, {22, 0, -1}};
    for (const auto& r : rows) {
        int left = LeftDayOfRow(r.row), right = RightDayOfRow(r.row);
        EXPECT_EQ(left >= 0 && left < DayCount ? left : -1, r.left) << r.row;
        EXPECT_EQ(right >= 0 && right < DayCount ? right : -1, r.right) << r.row;
    }
}

TEST(GraphFont, FacesOfTheRightKindAtTwelvePixels)
{
    struct { const wchar_t* face; const wchar_t* kind[2]; } cases[] = {
        {UiText(TextLabelFace), {L"Gothic", L"ゴシック"}},
        {UiText(TextTitleFace), {L"Mincho", L"明朝"}},
        {L"No Such Face 0", {L"Gothic", L"ゴシック"}},
    };
    HDC screen = GetDC(nullptr);
    for (const auto& c : cases) {
        HFONT font = CreateGraphFont(12, SHIFTJIS_CHARSET, c.face);
        ASSERT_NE(nullptr, font);
        HGDIOBJ old = SelectObject(screen, font);
        char face[LF_FACESIZE] = "";
        GetTextFaceA(screen, sizeof face, face);
        TEXTMETRICA metrics = {};
        GetTextMetricsA(screen, &metrics);
        SelectObject(screen, old);
        DeleteObject(font);

        wchar_t wide[LF_FACESIZE] = L"";
        MultiByteToWideChar(932, 0, face, -1, wide, LF_FACESIZE);
        std::wstring name(wide);
        EXPECT_TRUE(name.find(c.kind[0]) != std::wstring::npos || name.find(c.kind[1]) != std::wstring::npos)
            << "face " << face << " for " << Narrow(c.face);
        EXPECT_EQ(12, metrics.tmHeight);
        EXPECT_EQ(SHIFTJIS_CHARSET, metrics.tmCharSet);
    }
    ReleaseDC(nullptr, screen);
}

// The label and title faces are looked up once and kept by name; any other face is looked up
// each time and kept nowhere.
TEST(GraphFont, LabelAndTitleFacesAreKept)
{
    wchar_t label[LF_FACESIZE], title[LF_FACESIZE];
    lstrcpyW(label, Graph.LabelFace);
    lstrcpyW(title, Graph.TitleFace);
    Graph.LabelFace[0] = Graph.TitleFace[0] = 0;
    auto faceOf = [](const wchar_t* face) {
        HFONT font = CreateGraphFont(12, SHIFTJIS_CHARSET, face);
        LOGFONTA made = {};
        GetObjectA(font, sizeof made, &made);
        DeleteObject(font);
        return std::string(made.lfFaceName);
    };
    faceOf(L"No Such Face 0");
    EXPECT_STREQ(L"", Graph.LabelFace);
    EXPECT_STREQ(L"", Graph.TitleFace);
    faceOf(UiText(TextLabelFace));
    faceOf(UiText(TextTitleFace));
    EXPECT_STRNE(L"", Graph.LabelFace);
    EXPECT_STRNE(L"", Graph.TitleFace);
    // Once kept, the name is used as it stands: it is not looked up again.
    lstrcpyW(Graph.LabelFace, L"Kept Label");
    lstrcpyW(Graph.TitleFace, L"Kept Title");
    EXPECT_EQ("Kept Label", faceOf(UiText(TextLabelFace)));
    EXPECT_EQ("Kept Title", faceOf(UiText(TextTitleFace)));
    lstrcpyW(Graph.LabelFace, label);
    lstrcpyW(Graph.TitleFace, title);
}

}  // namespace
