// The real program's graph window under Wine: prepared days drawn where the layout puts them,
// and today's column and the click count following injected clicks live.
#include <gtest/gtest.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <functional>
#include <sstream>

#include "e2e/e2e_support.h"

#include <commctrl.h>

#include "res/resource.h"
#include "support/dayimage.h"
#include "support/testwin.h"

namespace {
const WPARAM OpenGraphCommand = 40002;
const WPARAM AboutCommand = 40007;
const WPARAM ShowTotalsCommand = 40025;

struct Rgb {
    int r, g, b;
    bool operator==(const Rgb& o) const { return r == o.r && g == o.g && b == o.b; }
};
const Rgb Red = {255, 50, 50}, Grey = {150, 150, 150}, White = {255, 255, 255}, Black = {0, 0, 0};

std::ostream& operator<<(std::ostream& out, const Rgb& c)
{
    return out << "(" << c.r << "," << c.g << "," << c.b << ")";
}

// Baselines of day k: row 22 - k in the left panel, one row higher in the right one.
int LeftBaseline(int k) { return 15 + 18 * (22 - k); }
int RightBaseline(int k) { return LeftBaseline(k) - 18; }

// Tick marks every 60 slots reach 2 pixels into the band below a baseline; those columns
// (and slot 0 of the right panel, under the left panel's last tick) are left out of the checks.
bool UnderTick(int s) { return s % 60 == 0; }

// Bar height for a value on a day with the given maximum: BarScale 15 at the maximum.
int BarHeight(int v, int maximum) { return maximum == 0 ? 0 : static_cast<int>(v * (15.0 / maximum)); }

// The prepared past days (metric 0): each day has its own maximum, all of which scale to
// exactly 15 pixels, and a repeating mix of no-data, idle, full, partial and small slots.
const int Maxima[10] = {10, 15, 5, 3, 30, 20, 12, 6, 2, 1};
const int MissingDay = 7;  // no file: the whole day is no data

int PastMaximum(int k) { return Maxima[k % 10]; }

int PastValue(int k, int s)
{
    if (k == MissingDay) return -1;
    int m = PastMaximum(k);
    switch ((s / 3 + k) % 7) {
    case 0:
    case 1: return -1;
    case 2: return 0;
    case 3: return m;
    case 4: return m / 2;
    case 5: return m / 3;
    default: return s % 5 == 0 ? m : 1;
    }
}

// Today before this run: values up to 6 in the slots before the current one, nothing from the
// current slot on. A few clicks now stay below that maximum; a few more raise it.
int TodayValue(int slot, int current)
{
    if (slot >= current) return -1;
    switch (slot % 4) {
    case 0: return -1;
    case 1: return 2;
    case 2: return 6;
    default: return 0;
    }
}

HWND FindGraphWindow(DWORD processId, DWORD timeoutMs)
{
    return WaitForProcessWindow(processId, "#32770", UiA(TextTitle).c_str(), true, timeoutMs);
}

// The window's client area as it is on the screen, read from the screen's device context.
// Nothing is repainted for the picture: it shows what the program's own paints left there.
class ClientPicture {
public:
    bool Take(HWND window)
    {
        RECT client;
        if (!GetClientRect(window, &client)) return false;
        POINT origin = {0, 0};
        ClientToScreen(window, &origin);
        width_ = client.right;
        height_ = client.bottom;
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width_;
        info.bmiHeader.biHeight = -height_;  // top-down rows
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        HDC screen = GetDC(nullptr);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        bool ok = false;
        if (bitmap) {
            HGDIOBJ old = SelectObject(memory, bitmap);
            ok = BitBlt(memory, 0, 0, width_, height_, screen, origin.x, origin.y, SRCCOPY) != FALSE;
            GdiFlush();
            const DWORD* p = static_cast<const DWORD*>(bits);
            pixels_.assign(p, p + static_cast<size_t>(width_) * height_);
            SelectObject(memory, old);
            DeleteObject(bitmap);
        }
        DeleteDC(memory);
        ReleaseDC(nullptr, screen);
        return ok;
    }
    Rgb At(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= width_ || y >= height_) return {-1, -1, -1};
        DWORD v = pixels_[static_cast<size_t>(y) * width_ + x];
        return {static_cast<int>((v >> 16) & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>(v & 0xFF)};
    }
    int Width() const { return width_; }
    int Height() const { return height_; }
    // For looking at a failure: the picture as a 24-bit BMP.
    void Save(const std::string& path) const
    {
        if (pixels_.empty()) return;
        FILE* f = fopen(path.c_str(), "wb");
        if (!f) return;
        int row = (width_ * 3 + 3) & ~3;
        BITMAPFILEHEADER fh = {};
        BITMAPINFOHEADER ih = {};
        fh.bfType = 0x4D42;
        fh.bfOffBits = sizeof fh + sizeof ih;
        fh.bfSize = fh.bfOffBits + row * height_;
        ih.biSize = sizeof ih;
        ih.biWidth = width_;
        ih.biHeight = height_;
        ih.biPlanes = 1;
        ih.biBitCount = 24;
        fwrite(&fh, sizeof fh, 1, f);
        fwrite(&ih, sizeof ih, 1, f);
        std::vector<unsigned char> line(row);
        for (int y = height_ - 1; y >= 0; --y) {
            for (int x = 0; x < width_; ++x) {
                Rgb c = At(x, y);
                line[x * 3] = static_cast<unsigned char>(c.b);
                line[x * 3 + 1] = static_cast<unsigned char>(c.g);
                line[x * 3 + 2] = static_cast<unsigned char>(c.r);
            }
            fwrite(line.data(), row, 1, f);
        }
        fclose(f);
    }

private:
    int width_ = 0, height_ = 0;
    std::vector<DWORD> pixels_;
};

// A status bar part's text, fetched through the program's own memory.
std::string StatusPartText(HANDLE process, HWND bar, int part)
{
    return Narrow(RemoteText(process, bar, SB_GETTEXTW, part));
}

// Checks the bar column of slot s of day k in both panels, from 1 to 17 pixels above the
// baselines (the 18th is the baseline of the row above): grey for no data, otherwise red from
// the bar's top down and white above it. Empty when right, else the first difference.
std::string ColumnMismatch(const ClientPicture& picture, int k, int s, int v, int maximum)
{
    int yL = LeftBaseline(k), yR = RightBaseline(k), h = BarHeight(v, maximum);
    for (int dy = 1; dy <= 17; ++dy) {
        Rgb want = v == -1 ? Grey : dy <= h ? Red : White;
        Rgb left = picture.At(50 + s, yL - dy), right = picture.At(290 + s, yR - dy);
        if (!(left == want) || !(right == want)) {
            std::ostringstream out;
            out << "day " << k << " slot " << s << " value " << v << " of " << maximum << ", " << dy
                << " above the baselines: want " << want << ", left " << left << ", right " << right;
            return out.str();
        }
    }
    return "";
}

// Today's rows after the given number of clicks in the current slot: the earlier slots and
// the current one scaled by today's maximum, nothing drawn after the current slot.
std::string TodayMismatch(const ClientPicture& picture, const std::vector<int>& earlier, int current,
                          int clicks)
{
    int maximum = clicks;
    for (int s = 0; s < current; ++s)
        if (earlier[s] > maximum) maximum = earlier[s];
    for (int s = 0; s < 240; ++s) {
        if (UnderTick(s)) continue;
        int v = s < current ? earlier[s] : s == current ? clicks : 0;
        std::string wrong = ColumnMismatch(picture, 0, s, v, maximum);
        if (!wrong.empty()) return wrong + (s == current ? " (the current slot)" : "");
    }
    return "";
}

// Whether any pixel of the area (right and bottom exclusive) is black: text is there.
bool HasInk(const ClientPicture& picture, int left, int top, int right, int bottom)
{
    for (int y = top; y < bottom; ++y)
        for (int x = left; x < right; ++x)
            if (picture.At(x, y) == Black) return true;
    return false;
}

// Past days, every slot of both panels; a few differences a day are enough to tell.
std::vector<std::string> PastMismatches(const ClientPicture& picture)
{
    std::vector<std::string> found;
    for (int k = 1; k <= 20; ++k) {
        int wrong = 0;
        for (int s = 0; s < 240 && wrong < 3; ++s) {
            if (UnderTick(s)) continue;
            int maximum = k == MissingDay ? 0 : PastMaximum(k);
            std::string mismatch = ColumnMismatch(picture, k, s, PastValue(k, s), maximum);
            if (!mismatch.empty()) {
                found.push_back(mismatch);
                ++wrong;
            }
        }
    }
    return found;
}

// Takes the window's picture until it shows what the test waits for, within a bound: the
// program's paints reach the screen in their own time, and nothing tells another process when.
// A picture that never comes right is reported by the checks that follow.
void TakeWhen(ClientPicture& picture, HWND window, const std::function<bool()>& shows)
{
    PumpUntil([&] { return picture.Take(window) && shows(); });
}

class GraphWindowTest : public ::testing::Test {
protected:
    RunningProgram program;
    ClientPicture before, below, above;
    void TearDown() override
    {
        KillProgram(&program);
        // For looking at a failure: the pictures go beside the program folder.
        if (!HasFailure()) return;
        before.Save(program.folder + "..\\graph-before.bmp");
        below.Save(program.folder + "..\\graph-below.bmp");
        above.Save(program.folder + "..\\graph-above.bmp");
    }
};

TEST_F(GraphWindowTest, ShowsThePreparedDaysAndFollowsClicksLive)
{
    std::string folder = MakeProgramFolder("graph");
    std::string data = folder + "data\\";
    CreateDirectoryA(data.c_str(), nullptr);
    // The run takes a few seconds; it starts early in a slot so that the slot (and the day) stay
    // the same throughout.
    StartEarlyInSlot(30);
    std::string today = DayFileNameAt(0);
    int current = SlotNow();

    std::vector<int> todayValues = NoDataValues();
    for (int s = 0; s < 240; ++s) todayValues[s] = TodayValue(s, current);
    std::vector<unsigned char> bytes = DayFileBytes(todayValues);
    ASSERT_TRUE(WriteWholeFile(data + today, bytes.data(), bytes.size()));
    for (int k = 1; k <= 20; ++k) {
        if (k == MissingDay) continue;
        std::vector<int> values = NoDataValues();
        for (int s = 0; s < 240; ++s) {
            values[s] = PastValue(k, s);
            // The other metrics hold other data, which the click graph must not show.
            values[240 + s] = s % 2 ? 1000 : -1;
            values[480 + s] = s % 3 ? 77 : -1;
        }
        bytes = DayFileBytes(values);
        ASSERT_TRUE(WriteWholeFile(data + DayFileNameAt(0, -k), bytes.data(), bytes.size()));
    }

    // The pointer rests away from where the graph window opens, so that the clicks below land
    // on no window of the program.
    InjectMove(1000, 740);
    ASSERT_TRUE(StartProgram(&program, folder));
    ASSERT_TRUE(WaitUntilRecording(&program, today, 20000));

    // The command opens a modal dialog inside the program; a posted message leaves us free.
    PostMessageA(program.monitor, WM_COMMAND, OpenGraphCommand, 0);
    HWND graph = FindGraphWindow(program.process.dwProcessId, 10000);
    ASSERT_NE(graph, nullptr) << "the graph window did not open";
    // The picture is read from the screen, so the window must lie wholly on it.
    RECT where;
    GetWindowRect(graph, &where);
    if (where.left < 0 || where.top < 0 || where.right > GetSystemMetrics(SM_CXSCREEN) ||
        where.bottom > GetSystemMetrics(SM_CYSCREEN))
        SetWindowPos(graph, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);

    // Its first paint.
    TakeWhen(before, graph,
             [&] { return PastMismatches(before).empty() && TodayMismatch(before, todayValues, current, 0).empty(); });
    ASSERT_GE(before.Width(), 531);
    ASSERT_GE(before.Height(), 414);
    for (const std::string& mismatch : PastMismatches(before)) ADD_FAILURE() << mismatch;
    // The frame over the plot: baselines, the tick marks under them, and a label left of
    // each left baseline (none beside row 1).
    for (int k = 0; k <= 20; ++k) {
        for (int x : {51, 100, 289}) EXPECT_EQ(before.At(x, LeftBaseline(k)), Black) << "day " << k;
        for (int x : {291, 400, 529}) EXPECT_EQ(before.At(x, RightBaseline(k)), Black) << "day " << k;
        for (int t = 0; t <= 240; t += 60) {
            EXPECT_EQ(before.At(50 + t, LeftBaseline(k) + 2), Black) << "left tick " << t << ", day " << k;
            EXPECT_EQ(before.At(290 + t, RightBaseline(k) + 2), Black) << "right tick " << t << ", day " << k;
        }
        EXPECT_TRUE(HasInk(before, 13, LeftBaseline(k) - 13, 50, LeftBaseline(k) - 1)) << "label, day " << k;
    }
    EXPECT_FALSE(HasInk(before, 0, 16, 50, 33)) << "row 1 has no label";
    EXPECT_EQ(before.At(300, LeftBaseline(0)), White) << "row 22 has no right panel";
    for (int t = 0; t <= 240; t += 60)
        EXPECT_EQ(before.At(50 + t, LeftBaseline(0) + 3), White) << "a tick is 3 pixels long";
    ASSERT_EQ(PastValue(20, 50), -1);
    EXPECT_EQ(before.At(100, 33), Grey) << "row 1 has no left baseline";

    // Today: the earlier slots scaled by today's maximum; the current slot (0 so far) and the
    // slots after it draw nothing.
    EXPECT_EQ(TodayMismatch(before, todayValues, current, 0), "");
    HWND bar = GetDlgItem(graph, 2);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(StatusPartText(program.process.hProcess, bar, 8), " クリックの回数:00000000");

    // Clicks while the window is open: the current slot's column grows in both panels, the
    // count follows at once, and once the current slot tops today's maximum every bar of today is
    // scaled down to the new one at the next tick.
    int clicks = 0;
    auto click = [&](int n, const char* count, ClientPicture& picture) {
        for (int i = 0; i < n; ++i, ++clicks) InjectClick(MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP);
        PumpUntil([&] { return StatusPartText(program.process.hProcess, bar, 8) == count; });
        TakeWhen(picture, graph, [&] { return TodayMismatch(picture, todayValues, current, clicks).empty(); });
    };
    click(3, " クリックの回数:00000003", below);
    EXPECT_EQ(StatusPartText(program.process.hProcess, bar, 8), " クリックの回数:00000003");
    EXPECT_EQ(TodayMismatch(below, todayValues, current, clicks), "") << "below today's maximum";

    click(5, " クリックの回数:00000008", above);
    EXPECT_EQ(StatusPartText(program.process.hProcess, bar, 8), " クリックの回数:00000008");
    EXPECT_EQ(TodayMismatch(above, todayValues, current, clicks), "") << "above today's maximum";
    for (int dy = 1; dy <= 15; ++dy) {
        EXPECT_EQ(above.At(50 + current, LeftBaseline(0) - dy), Red) << "a full bar, " << dy << " up";
        EXPECT_EQ(above.At(290 + current, RightBaseline(0) - dy), Red) << "a full bar, " << dy << " up";
    }
    EXPECT_EQ(SlotNow(), current) << "the run outlasted its slot";

    // Esc or the close box: the window goes, the program stays in the tray until asked to end.
    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    AskToEnd(&program, IDYES);
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
}

// Not a check: opens the graph window of a program that a script has started, then the about
// box and the totals window in front of it, so that the script can take their pictures
// (scripts/screenshot.sh), then closes them and ends the program.
// The script names a folder (VANTLE_SHOT_DIR) for the window's place and for its go-ahead.
TEST(GraphShot, Open)
{
    const char* shot = getenv("VANTLE_SHOT");
    const char* where = getenv("VANTLE_SHOT_DIR");
    if (!shot || lstrcmpA(shot, "1") != 0 || !where) GTEST_SKIP() << "run by scripts/screenshot.sh";
    std::string dir = std::string(where) + "\\";
    RunningProgram program;
    ASSERT_TRUE(FindStartedProgram(&program, dir + "..\\", 30000)) << "the program is not running";
    ASSERT_TRUE(WaitUntilRecording(&program, DayFileNameAt(0), 30000));

    PostMessageA(program.monitor, WM_COMMAND, OpenGraphCommand, 0);
    HWND graph = FindGraphWindow(program.process.dwProcessId, 10000);
    ASSERT_NE(graph, nullptr) << "the graph window did not open";
    RECT frame;
    GetWindowRect(graph, &frame);
    if (frame.left < 0 || frame.top < 0) {
        SetWindowPos(graph, nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetWindowRect(graph, &frame);
    }
    // The clock's ticks fill the date and the time.
    HWND bar = GetDlgItem(graph, 2);
    EXPECT_TRUE(PumpUntil([&] { return StatusPartText(program.process.hProcess, bar, 1).size() > 1; }));
    // The pointer over yesterday's row at 13:42 fills the read-out and the position parts.
    // On a virtual desktop Wine moves the pointer for SetCursorPos but not for injected moves,
    // which still reach the hook, and a move before the window has settled reads an old
    // position: the pointer is moved again until the read-out names 13:42.
    POINT over = {50 + 137, 385};
    ClientToScreen(graph, &over);
    bool shown = false;
    for (int round = 0; round < 5 && !shown; ++round) {
        SetCursorPos(over.x, over.y);
        InjectMove(over.x, over.y);
        shown = PumpUntil(
            [&] {
                std::string readout = StatusPartText(program.process.hProcess, bar, 9);
                return readout.size() > 6 && readout.compare(readout.size() - 6, 6, " 13:42") == 0;
            },
            1000);
    }
    EXPECT_TRUE(shown) << "no read-out of 13:42";
    // The paints that follow come before the window's thread takes this message.
    EXPECT_TRUE(WaitUntilIdle(graph));

    // The script takes each picture once the window's place is written, and says when.
    auto shoot = [&](HWND window, const std::string& name) {
        RECT frame;
        GetWindowRect(window, &frame);
        char place[64];
        snprintf(place, sizeof place, "%ld %ld %ld %ld\n", frame.left, frame.top, frame.right - frame.left,
                 frame.bottom - frame.top);
        ASSERT_TRUE(WriteWholeFile(dir + name + ".tmp", place, strlen(place)));
        ASSERT_TRUE(MoveFileExA((dir + name + ".tmp").c_str(), (dir + name + ".txt").c_str(),
                                MOVEFILE_REPLACE_EXISTING));
        std::string done = dir + name + ".taken";
        EXPECT_TRUE(PumpUntil([&] { return GetFileAttributesA(done.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000))
            << "no picture was taken of " << name;
    };
    shoot(graph, "window");

    // The about box, in front of the graph window.
    PostMessageA(graph, WM_COMMAND, AboutCommand, 0);
    HWND about = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextAboutCaption).c_str(), true, 10000);
    ASSERT_NE(about, nullptr) << "the about box did not open";
    EXPECT_TRUE(WaitUntilIdle(about));
    shoot(about, "about");
    PostMessageA(about, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(about); }, 5000));

    // The totals window over the graph window, its first row selected.
    PostMessageA(graph, WM_COMMAND, ShowTotalsCommand, 0);
    HWND totals = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextTotalsCaption).c_str(), true, 10000);
    ASSERT_NE(totals, nullptr) << "the totals window did not open";
    PostMessageA(GetDlgItem(totals, 1001), WM_KEYDOWN, VK_DOWN, 0);
    EXPECT_TRUE(WaitUntilIdle(totals));
    // Paints come only once the window's queue is empty: wait until nothing in it awaits one.
    auto painted = [](HWND window) {
        BOOL waiting = GetUpdateRect(window, nullptr, FALSE);
        EnumChildWindows(
            window, [](HWND child, LPARAM any) -> BOOL {
                *reinterpret_cast<BOOL*>(any) |= GetUpdateRect(child, nullptr, FALSE);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&waiting));
        return !waiting;
    };
    EXPECT_TRUE(PumpUntil([&] { return painted(totals); }, 5000));
    shoot(totals, "totals");
    PostMessageA(totals, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(totals); }, 5000));

    // The apps window over the graph window, showing the last 7 days.
    PostMessageA(graph, WM_COMMAND, IDC_SHOW_APPS, 0);
    HWND apps = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextAppsCaption).c_str(), true, 10000);
    ASSERT_NE(apps, nullptr) << "the apps window did not open";
    HWND range = GetDlgItem(apps, IDC_APPS_RANGE);
    EXPECT_EQ(SendBounded(range, CB_SETCURSEL, 1, 0), 1);
    PostMessageA(apps, WM_COMMAND, MAKEWPARAM(IDC_APPS_RANGE, CBN_SELCHANGE), reinterpret_cast<LPARAM>(range));
    EXPECT_TRUE(WaitUntilIdle(apps));
    EXPECT_TRUE(PumpUntil([&] { return painted(apps); }, 5000));
    shoot(apps, "apps");
    PostMessageA(apps, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(apps); }, 5000));

    // The share window with the other PC of the share, then the totals window on all PCs.
    PostMessageA(graph, WM_COMMAND, IDC_SHARE, 0);
    HWND share = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextShareCaption).c_str(), true, 10000);
    ASSERT_NE(share, nullptr) << "the share window did not open";
    EXPECT_TRUE(PumpUntil([&] { return painted(share); }, 5000));
    shoot(share, "share");
    PostMessageA(share, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(share); }, 5000));
    PostMessageA(graph, WM_COMMAND, ShowTotalsCommand, 0);
    totals = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextTotalsCaption).c_str(), true, 10000);
    ASSERT_NE(totals, nullptr) << "the totals window did not open again";
    HWND pcs = GetDlgItem(totals, IDC_TOTALS_PC);
    SendMessageA(pcs, CB_SETCURSEL, SendMessageA(pcs, CB_GETCOUNT, 0, 0) - 1, 0);
    PostMessageA(totals, WM_COMMAND, MAKEWPARAM(IDC_TOTALS_PC, CBN_SELCHANGE), reinterpret_cast<LPARAM>(pcs));
    EXPECT_TRUE(WaitUntilIdle(totals));
    EXPECT_TRUE(PumpUntil([&] { return painted(totals); }, 5000));
    shoot(totals, "totals-all");
    PostMessageA(totals, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(totals); }, 5000));
    // The keyboard window on the last 30 days, and the calendar of this year's clicks.
    const struct {
        int command;
        UiTextId caption;
        int choice, item;
        const char* name;
    } pictures[] = {{IDC_SHOW_KEYBOARD, TextKeyboardCaption, IDC_KEYBOARD_RANGE, 2, "keyboard"},
                    {IDC_SHOW_CALENDAR, TextCalendarCaption, IDC_CALENDAR_MEASURE, 0, "calendar"}};
    for (const auto& p : pictures) {
        PostMessageA(graph, WM_COMMAND, p.command, 0);
        HWND window = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(p.caption).c_str(), true, 10000);
        ASSERT_NE(window, nullptr) << p.name << " did not open";
        HWND choice = GetDlgItem(window, p.choice);
        SendMessageA(choice, CB_SETCURSEL, p.item, 0);
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(p.choice, CBN_SELCHANGE), reinterpret_cast<LPARAM>(choice));
        EXPECT_TRUE(WaitUntilIdle(window));
        EXPECT_TRUE(PumpUntil([&] { return painted(window); }, 5000));
        shoot(window, p.name);
        PostMessageA(window, WM_COMMAND, IDCANCEL, 0);
        EXPECT_TRUE(PumpUntil([&] { return !IsWindow(window); }, 5000));
    }

    PostMessageA(graph, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(PumpUntil([&] { return !IsWindow(graph); }, 5000));
    EXPECT_TRUE(AskToEnd(&program, IDYES));
    EXPECT_EQ(WaitForExit(&program, 15000), 0u);
    KillProgram(&program);
}
}  // namespace
