// In-process benchmarks: input messages, the hook path, painting and the slot-clock tick, each
// timed against a baseline that does the least the same path can do, in the same run.
#include <windows.h>
#include <commctrl.h>
#include <stdio.h>

#include <functional>
#include <string>
#include <vector>

#include "app/appwatch.h"
#include "app/input.h"
#include "app/monitor.h"
#include "app/slotclock.h"
#include "base/dates.h"
#include "base/files.h"
#include "base/report.h"
#include "base/uitext.h"
#include "bench/benchutil.h"
#include "e2e/e2e_support.h"
#include "graph/calendar.h"
#include "graph/frame.h"
#include "graph/geometry.h"
#include "graph/plot.h"
#include "graph/view.h"
#include "hook/hookapi.h"
#include "res/messages.h"
#include "resource.h"
#include "store/appranges.h"
#include "store/apprecords.h"
#include "store/csvfile.h"
#include "store/datafolder.h"
#include "store/dayfile.h"
#include "store/days.h"
#include "store/pcidentity.h"
#include "store/shareindex.h"
#include "store/sharedpcs.h"
#include "store/keyranges.h"
#include "store/totals.h"
#include "support/fake_clock.h"
#include "support/testwin.h"
#include "ui/appswindow.h"
#include "ui/graphwindow.h"
#include "ui/keyboardwindow.h"
#include "ui/statusbar.h"
#include "ui/totalswindow.h"

namespace {
const int Repetitions = 9;
const char* const BaselineClass = "vantle-bench-baseline";
const char* const MonitorClass = "vantle-bench-monitor";

// Arrival time of the last timed message, set by the timestamping procedures.
double Arrived = 0;

LRESULT CALLBACK NullProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_HOOK_MOUSE:
    case WM_HOOK_KEY:
    case WM_TIMER: return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

// The baseline of the hook path: notes the arrival and does nothing else.
LRESULT CALLBACK StampProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOOK_MOUSE || message == WM_HOOK_KEY) {
        Arrived = NowMicroseconds();
        return 0;
    }
    return NullProc(window, message, wParam, lParam);
}

// The monitor window of the hook path: notes the arrival, then handles the message as usual.
LRESULT CALLBACK StampedMonitorProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_HOOK_MOUSE || message == WM_HOOK_KEY) Arrived = NowMicroseconds();
    return MonitorWindowProc(window, message, wParam, lParam);
}

void Drain()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

void Pump(DWORD ms)
{
    DWORD start = GetTickCount();
    do {
        Drain();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < ms);
}

HWND CreatePlainWindow(const char* cls)
{
    return CreateWindowExA(0, cls, "bench", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

// A monitor window that skips the start-up: the bench sets the store up itself, so no tray icon,
// no files and no hooks are involved unless a figure starts them.
HWND CreateBenchMonitor()
{
    HWND monitor = CreatePlainWindow(MonitorClass);
    SetWindowLongPtrA(monitor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MonitorWindowProc));
    Monitor.Window = monitor;
    SetReportWindow(monitor);
    return monitor;
}

// 21 full days: every slot of every day holds a value, so a paint draws every bar.
void FillFullDays()
{
    SetFakeTime(2024, 3, 7, 23, 59, 0);
    BuildDayTables(FakeDate());
    for (int m = 0; m < MetricCount; ++m)
        for (int k = 0; k < DayCount; ++k) {
            Days.DayMaxima[m][k] = 0;
            for (int s = 0; s < SlotCount; ++s) {
                int v = (s * 7 + k * 13 + m * 5) % 60 + 1;
                Days.ActivityTable[m][s][k] = v;
                if (v > Days.DayMaxima[m][k]) Days.DayMaxima[m][k] = v;
            }
        }
    Graph.SelectedMetric = MetricClicks;
    Days.CurrentSlot = SlotCount - 1;
    BeginSlot(Days.CurrentSlot);
    ClearIntervalCounters();
    SlotClock.Recording = 1;
}

// Per-message cost of dispatching a batch of posted messages to the window.
double DispatchCost(HWND window, UINT message, const std::vector<std::pair<WPARAM, LPARAM>>& batch)
{
    for (const auto& m : batch) PostMessageA(window, message, m.first, m.second);
    double start = NowMicroseconds();
    Drain();
    return (NowMicroseconds() - start) / static_cast<double>(batch.size());
}

// Per-message cost of moves, one at a time: the pointer is moved between them (untimed), so
// that every move changes the position texts, as a real move does: both of them, or along a
// row only the x text.
double MoveCost(HWND window, int moves, bool alongRow = false)
{
    double total = 0;
    for (int i = 0; i < moves; ++i) {
        // Away from the graph window, which would otherwise get mouse messages of its own.
        int x = 1000 + i % 2 * 5, y = 740 + (alongRow ? 0 : i % 2 * 3);
        SetCursorPos(x, y);
        Drain();  // what the move itself brings, before the timed message
        // With the move's point, as the hook library posts it.
        PostMessageA(window, WM_HOOK_MOUSE, WM_MOUSEMOVE, MAKELPARAM(x, y));
        double start = NowMicroseconds();
        Drain();
        total += NowMicroseconds() - start;
    }
    return total / moves;
}

void InputFigures(HWND monitor, HWND plain, const char* state)
{
    const int Batch = 500, Moves = 200;
    std::vector<std::pair<WPARAM, LPARAM>> keys;
    // A key touch is a press and a release; both go through the handler.
    for (int i = 0; i < Batch; ++i) keys.push_back({'A', i % 2 ? static_cast<LPARAM>(0xC0000001u) : 1});
    Figure move = {std::string("input: WM_HOOK_MOUSE move, graph ") + state, "same message, empty procedure",
                   "us/msg", {}, {}};
    Figure rowMove = {std::string("input: WM_HOOK_MOUSE move along a row, graph ") + state,
                      "same message, empty procedure", "us/msg", {}, {}};
    Figure key = {std::string("input: WM_HOOK_KEY press/release, graph ") + state,
                  "same message, empty procedure", "us/msg", {}, {}};
    // A click is a press and a release at a point below the graph window; the release looks up
    // the window under it.
    std::vector<std::pair<WPARAM, LPARAM>> clicks;
    for (int i = 0; i < Batch; ++i) clicks.push_back({i % 2 ? WM_LBUTTONUP : WM_LBUTTONDOWN, MAKELPARAM(1000, 740)});
    Figure click = {std::string("input: WM_HOOK_MOUSE press/release, graph ") + state,
                    "same message, empty procedure", "us/msg", {}, {}};
    for (int r = 0; r < Repetitions; ++r) {
        click.base.push_back(DispatchCost(plain, WM_HOOK_MOUSE, clicks));
        click.measured.push_back(DispatchCost(monitor, WM_HOOK_MOUSE, clicks));
        move.base.push_back(MoveCost(plain, Moves));
        move.measured.push_back(MoveCost(monitor, Moves));
        rowMove.base.push_back(MoveCost(plain, Moves, true));
        rowMove.measured.push_back(MoveCost(monitor, Moves, true));
        key.base.push_back(DispatchCost(plain, WM_HOOK_KEY, keys));
        key.measured.push_back(DispatchCost(monitor, WM_HOOK_KEY, keys));
    }
    PrintFigure(move);
    PrintFigure(rowMove);
    PrintFigure(key);
    PrintFigure(click);
}

// The same moves with the graph window open and with it closed, in turn in one run: the handlers
// see a closed window as its flag cleared (the window stays, so that no show or destroy falls
// between the repetitions).
void OpenAgainstClosedFigure(HWND monitor)
{
    const int Moves = 200;
    Figure move = {"input: WM_HOOK_MOUSE move, graph open", "same move, graph closed", "us/msg", {}, {}};
    for (int r = 0; r < Repetitions; ++r) {
        GraphWindow.Open = 0;
        move.base.push_back(MoveCost(monitor, Moves));
        GraphWindow.Open = 1;
        move.measured.push_back(MoveCost(monitor, Moves));
    }
    Pump(50);  // what the last moves noted is shown before the next figure
    PrintFigure(move);
}

// Moves paced as a 1,000 Hz mouse sends them, one every millisecond or the next one after it:
// the busy time of the thread per move, the dispatch of every move and of whatever else comes
// between them (the status timer), timed from each wake to the empty queue. The rate reached
// goes into *rate (moves a second).
double PacedMoveCost(HWND window, int moves, double* rate)
{
    double busy = 0, begun = NowMicroseconds();
    for (int i = 0; i < moves; ++i) {
        double next = begun + 1000.0 * i, now;
        while ((now = NowMicroseconds()) < next) {
            DWORD wait = static_cast<DWORD>((next - now) / 1000) + 1;
            if (MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT) != WAIT_OBJECT_0) continue;
            double start = NowMicroseconds();
            Drain();
            busy += NowMicroseconds() - start;
        }
        int x = 1000 + i % 2 * 5, y = 740 + i % 2 * 3;
        double start = NowMicroseconds();
        PostMessageA(window, WM_HOOK_MOUSE, WM_MOUSEMOVE, MAKELPARAM(x, y));
        Drain();
        busy += NowMicroseconds() - start;
    }
    *rate = moves * 1e6 / (NowMicroseconds() - begun);
    return busy / moves;
}

void PacedFigure(HWND monitor)
{
    const int Moves = 300;
    Figure move = {"input: moves at up to 1,000 a second, graph open", "same moves, graph closed", "us/move", {}, {}};
    std::vector<double> rates;
    for (int r = 0; r < Repetitions; ++r) {
        double rate = 0;
        GraphWindow.Open = 0;
        move.base.push_back(PacedMoveCost(monitor, Moves, &rate));
        GraphWindow.Open = 1;
        move.measured.push_back(PacedMoveCost(monitor, Moves, &rate));
        rates.push_back(rate);
    }
    Pump(50);
    PrintFigure(move);
    PrintNote("paced moves: " + std::to_string(static_cast<int>(Median(rates))) +
              " moves a second reached (median of the open runs)");
}

// The one system call of a move handler; under Wine it asks the X server.
void CursorQueryFigure(HWND plain)
{
    const int Batch = 500;
    std::vector<std::pair<WPARAM, LPARAM>> moves(Batch, {WM_MOUSEMOVE, 0});
    Figure query = {"input: GetCursorPos alone", "WM_HOOK_MOUSE, empty procedure", "us/call", {}, {}};
    for (int r = 0; r < Repetitions; ++r) {
        query.base.push_back(DispatchCost(plain, WM_HOOK_MOUSE, moves));
        POINT p;
        double start = NowMicroseconds();
        for (int i = 0; i < Batch; ++i) GetCursorPos(&p);
        query.measured.push_back((NowMicroseconds() - start) / Batch);
    }
    PrintFigure(query);
}

// One tick at a time, each dispatched with whatever it asks to repaint, as the timer gives them.
double TickCost(HWND window, int ticks)
{
    double start = NowMicroseconds();
    for (int i = 0; i < ticks; ++i) {
        PostMessageA(window, WM_TIMER, SlotTimerId, 0);
        Drain();
    }
    return (NowMicroseconds() - start) / ticks;
}

void TickFigure(HWND monitor, HWND plain, const char* state)
{
    const int Ticks = 40;
    ClearIntervalCounters();
    TickCost(monitor, 2);  // today's maxima settle; later ticks raise nothing
    Figure tick = {std::string("tick: OnSlotTimer, graph ") + state, "empty WM_TIMER handler", "us/tick", {}, {}};
    for (int r = 0; r < Repetitions; ++r) {
        tick.base.push_back(TickCost(plain, Ticks));
        tick.measured.push_back(TickCost(monitor, Ticks));
    }
    PrintFigure(tick);
}

// Waits for the next timed message; its delay from the start in microseconds, or -1.
double WaitForArrival(double start)
{
    DWORD begun = GetTickCount();
    while (GetTickCount() - begun < 2000) {
        Drain();
        if (Arrived != 0) return Arrived - start;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return -1;
}

void KeyInput(WORD vk, bool release)
{
    INPUT input = {};
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = vk;
    input.ki.dwFlags = release ? KEYEVENTF_KEYUP : 0;
    SendInput(1, &input, sizeof input);
}

void HookFigure(HWND monitor, HWND stamp)
{
    const int Trips = 25;
    SetWindowLongPtrA(monitor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(StampedMonitorProc));
    if (!StartMouseHook(monitor, WM_HOOK_MOUSE) || !StartKeyHook(monitor, WM_HOOK_KEY)) {
        PrintNote("hook path: the hook library did not start its hooks; not measured");
        SetWindowLongPtrA(monitor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MonitorWindowProc));
        return;
    }
    Pump(300);
    Figure move = {"hook path: SendInput move to monitor window", "PostMessage to own stamping procedure",
                   "us/trip", {}, {}};
    Figure key = {"hook path: SendInput key press to monitor window", "PostMessage to own stamping procedure",
                  "us/trip", {}, {}};
    // One trip: from the sending to the arrival noted by a stamping procedure; -1 if lost.
    auto trip = [](const std::function<void()>& send) {
        Arrived = 0;
        double start = NowMicroseconds();
        send();
        return WaitForArrival(start);
    };
    int lost = 0;
    for (int i = 0; i < Trips; ++i) {
        move.base.push_back(trip([&] { PostMessageA(stamp, WM_HOOK_MOUSE, WM_MOUSEMOVE, 0); }));
        double t = trip([&] { InjectMove(100 + i % 2 * 7, 100 + i % 2 * 3); });
        if (t >= 0) move.measured.push_back(t);
        else ++lost;

        key.base.push_back(trip([&] { PostMessageA(stamp, WM_HOOK_KEY, VK_F24, 1); }));
        t = trip([] { KeyInput(VK_F24, false); });
        if (t >= 0) key.measured.push_back(t);
        else ++lost;
        KeyInput(VK_F24, true);
        Pump(30);  // the release and any following input arrive before the next trip
    }
    EndMouseHook();
    EndKeyHook();
    SetWindowLongPtrA(monitor, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(MonitorWindowProc));
    PrintFigure(move);
    PrintFigure(key);
    if (lost) PrintNote("hook path: " + std::to_string(lost) + " injected events never reached the window");
}

struct BurstInput {
    std::vector<INPUT> moves;
    double sent;  // when SendInput returned: the last move was sent
};

DWORD WINAPI InjectBurst(void* param)
{
    BurstInput* burst = static_cast<BurstInput*>(param);
    SendInput(static_cast<UINT>(burst->moves.size()), burst->moves.data(), sizeof(INPUT));
    burst->sent = NowMicroseconds();
    return 0;
}

// One move, and whatever it brings taken.
void MoveAndSettle(int x, int y)
{
    INPUT move = AbsoluteMove(x, y);
    SendInput(1, &move, sizeof move);
    Pump(100);
}

// 4,000 moves of 60 px, back and forth along a row below the graph window, sent by another
// thread in one SendInput (as fast as input goes) while this thread takes the hook messages as
// the program's loop would. The figure is the travel recorded, in per cent of the travel made.
void BurstFigure(HWND monitor, const char* state)
{
    const int Moves = 4000, Bursts = 3, Left = 900, Right = 960, Row = 740;
    if (!StartMouseHook(monitor, WM_HOOK_MOUSE)) {
        PrintNote("burst: the hook library did not start its mouse hook; not measured");
        return;
    }
    // On the bench's 1024-pixel screen these absolute moves land on exact pixels (as the
    // end-to-end test of the burst shows), so every move is one of 60 px.
    double made = static_cast<double>(Moves) * (Right - Left);
    BurstInput burst;
    for (int i = 1; i <= Moves; ++i) burst.moves.push_back(AbsoluteMove(i % 2 ? Left : Right, Row));
    Figure recorded = {std::string("burst: 4000 moves of 60 px, graph ") + state, "-", "%", {}, {}};
    int lostBefore = LostHookEvents();
    for (int r = 0; r < Bursts; ++r) {
        MoveAndSettle(Right, Row);
        ClearIntervalCounters();
        HANDLE sender = CreateThread(nullptr, 0, InjectBurst, &burst, 0, nullptr);
        if (!sender) break;
        while (MsgWaitForMultipleObjects(1, &sender, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Drain();
        CloseHandle(sender);
        Drain();  // SendInput has returned: every move's message is queued
        recorded.measured.push_back(100.0 * (Counters.MoveX + Counters.MoveY) / made);
    }
    EndMouseHook();
    Drain();
    ClearIntervalCounters();
    PrintFigure(recorded);
    int lost = LostHookEvents() - lostBefore;
    if (lost) PrintNote("burst: " + std::to_string(lost) + " moves could not be posted");
}

std::string StatusPart(int part)
{
    char text[64] = "";
    SendMessageA(StatusBar.Handle, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

// The same 4,000 moves with the graph window open, the last one a pixel lower, so that the
// status bar's last position differs from every earlier one: milliseconds from the moment
// SendInput returned (the last move sent) until the bar's position parts show that point. The
// loop takes the messages as the program's would and reads the bar whenever its queue is empty.
void BurstShownFigure(HWND monitor)
{
    const int Moves = 4000, Bursts = 3, Left = 900, Right = 960, Row = 740;
    if (!StartMouseHook(monitor, WM_HOOK_MOUSE)) {
        PrintNote("burst shown: the hook library did not start its mouse hook; not measured");
        return;
    }
    BurstInput burst;
    for (int i = 1; i <= Moves; ++i) burst.moves.push_back(AbsoluteMove(i % 2 ? Left : Right, Row));
    burst.moves.back() = AbsoluteMove(Right, Row + 1);
    char lastX[32], lastY[32];
    snprintf(lastX, sizeof lastX, UiA(FormatPointerX).c_str(), static_cast<long>(Right));
    snprintf(lastY, sizeof lastY, UiA(FormatPointerY).c_str(), static_cast<long>(Row + 1));
    Figure shown = {"burst: 4000 moves, graph open, last sent to last shown", "-", "ms", {}, {}};
    int missed = 0;
    for (int r = 0; r < Bursts; ++r) {
        MoveAndSettle(Right, Row);
        burst.sent = 0;
        HANDLE sender = CreateThread(nullptr, 0, InjectBurst, &burst, 0, nullptr);
        if (!sender) break;
        double shownAt = 0;
        DWORD begun = GetTickCount();
        while (GetTickCount() - begun < 60000) {
            Drain();
            if (StatusPart(PartPointerX) == lastX && StatusPart(PartPointerY) == lastY) {
                shownAt = NowMicroseconds();
                break;
            }
            // Once the sender has ended its handle stays signalled: wait for messages alone.
            DWORD handles = WaitForSingleObject(sender, 0) == WAIT_OBJECT_0 ? 0 : 1;
            MsgWaitForMultipleObjects(handles, &sender, FALSE, 1, QS_ALLINPUT);
        }
        WaitForSingleObject(sender, INFINITE);
        CloseHandle(sender);
        if (shownAt > 0 && burst.sent > 0) shown.measured.push_back((shownAt - burst.sent) / 1000);
        else ++missed;
    }
    EndMouseHook();
    Drain();
    ClearIntervalCounters();
    PrintFigure(shown);
    if (missed) PrintNote("burst shown: " + std::to_string(missed) + " bursts whose last position never showed");
}

enum { DrawPlot = 1, DrawFrame = 2, DrawBoth = 3 };

// The plot and the frame in the window's context, clipped as a paint would clip them.
double DrawCost(HDC dc, HRGN clip, int paints, int parts = DrawBoth)
{
    SelectClipRgn(dc, clip);
    double start = NowMicroseconds();
    for (int i = 0; i < paints; ++i) {
        if (parts & DrawPlot) DrawActivityPlot(dc);
        if (parts & DrawFrame) DrawGraphFrame(dc);
    }
    GdiFlush();
    double cost = (NowMicroseconds() - start) / paints;
    SelectClipRgn(dc, nullptr);
    return cost;
}

double FillCost(HDC dc, const std::vector<RECT>& area, int fills)
{
    HBRUSH white = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    double start = NowMicroseconds();
    for (int i = 0; i < fills; ++i)
        for (const RECT& r : area) FillRect(dc, &r, white);
    GdiFlush();
    return (NowMicroseconds() - start) / fills;
}

double WindowPaintCost(HWND graph, int paints)
{
    RECT all = GraphRect();
    double start = NowMicroseconds();
    for (int i = 0; i < paints; ++i) {
        InvalidateRect(graph, &all, TRUE);
        UpdateWindow(graph);
    }
    GdiFlush();
    return (NowMicroseconds() - start) / paints;
}

void PaintFigures(HWND graph)
{
    RECT all = GraphRect();
    // The two one-pixel columns that a tick asks to repaint, as the slot clock composes them.
    int x = GraphLeft + Days.CurrentSlot;
    RECT left = {x, RowBaseline(21), x + 1, RowBaseline(22)};
    RECT right = {x + PanelWidth, RowBaseline(20), x + PanelWidth + 1, RowBaseline(21)};
    HRGN fullClip = CreateRectRgnIndirect(&all);
    HRGN liveClip = CreateRectRgnIndirect(&left);
    HRGN rightClip = CreateRectRgnIndirect(&right);
    CombineRgn(liveClip, liveClip, rightClip, RGN_OR);
    DeleteObject(rightClip);

    Figure full = {"paint: plot + frame, GraphRect, 21 full days", "FillRect of GraphRect, same context",
                   "us/paint", {}, {}};
    Figure live = {"paint: live repaint (two 1-px columns)", "FillRect of the two columns, same context",
                   "us/paint", {}, {}};
    Figure livePlot = {"paint: live repaint, plot only", "FillRect of the two columns, same context",
                       "us/paint", {}, {}};
    Figure liveFrame = {"paint: live repaint, frame only", "FillRect of the two columns, same context",
                        "us/paint", {}, {}};
    Figure window = {"paint: InvalidateRect+UpdateWindow of GraphRect", "FillRect of GraphRect, same context",
                     "us/paint", {}, {}};
    HDC dc = GetDC(graph);
    DrawCost(dc, fullClip, 1);  // fonts and glyphs come into the caches once
    for (int r = 0; r < Repetitions; ++r) {
        full.base.push_back(FillCost(dc, {all}, 20));
        full.measured.push_back(DrawCost(dc, fullClip, 3));
        live.base.push_back(FillCost(dc, {left, right}, 200));
        live.measured.push_back(DrawCost(dc, liveClip, 10));
        livePlot.base.push_back(live.base.back());
        livePlot.measured.push_back(DrawCost(dc, liveClip, 10, DrawPlot));
        liveFrame.base.push_back(live.base.back());
        liveFrame.measured.push_back(DrawCost(dc, liveClip, 10, DrawFrame));
    }
    ReleaseDC(graph, dc);
    for (int r = 0; r < Repetitions; ++r) {
        dc = GetDC(graph);
        window.base.push_back(FillCost(dc, {all}, 20));
        ReleaseDC(graph, dc);
        window.measured.push_back(WindowPaintCost(graph, 3));
    }
    DeleteObject(fullClip);
    DeleteObject(liveClip);
    PrintFigure(full);
    PrintFigure(live);
    PrintFigure(livePlot);
    PrintFigure(liveFrame);
    PrintFigure(window);
}

// Ten years of day files before today, every slot holding a value: the totals window opened over
// them, as its menu command opens it, against the CSV export of the same folder.
const int TenYears = 3650, FolderRepetitions = 5;
const char TotalsCaption[] = "日別の合計";
double TotalsShown = 0;

// Served by the totals window's own modal loop: once the window is up, its paints are done at
// once, the time is noted and the window ended.
void CALLBACK EndTotalsWhenShown(HWND, UINT, UINT_PTR, DWORD)
{
    HWND totals = FindWindowA("#32770", TotalsCaption);
    if (!totals || !IsWindowVisible(totals) || TotalsShown > 0) return;
    RedrawWindow(totals, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TotalsShown = NowMicroseconds();
    EndDialog(totals, IDCANCEL);
}

std::vector<std::string> WriteTenYears(const std::string& folder)
{
    CreateDirectoryA(folder.c_str(), nullptr);
    MultiByteToWideChar(CP_ACP, 0, folder.c_str(), -1, DataPaths.Directory, PathCapacity);
    std::vector<unsigned char> bytes(DayFileSize, 0);
    for (int i = 0; i < MetricCount * SlotCount; ++i) bytes[i * 4] = static_cast<unsigned char>(i % 50 + 1);
    SYSTEMTIME today = {};
    today.wYear = static_cast<WORD>(Days.TodayDate / 10000);
    today.wMonth = static_cast<WORD>(Days.TodayDate / 100 % 100);
    today.wDay = static_cast<WORD>(Days.TodayDate % 100);
    ULARGE_INTEGER at;
    FILETIME file;
    SystemTimeToFileTime(&today, &file);
    at.LowPart = file.dwLowDateTime;
    at.HighPart = file.dwHighDateTime;
    std::vector<std::string> paths;
    for (int k = 1; k <= TenYears; ++k) {
        at.QuadPart -= 864000000000ULL;  // one day in 100-ns units
        file.dwLowDateTime = at.LowPart;
        file.dwHighDateTime = at.HighPart;
        SYSTEMTIME day;
        FileTimeToSystemTime(&file, &day);
        char name[32];
        snprintf(name, sizeof name, "\\%04d%02d%02d.dat", day.wYear, day.wMonth, day.wDay);
        paths.push_back(folder + name);
        WriteWholeFile(paths.back(), bytes.data(), bytes.size());
    }
    return paths;
}

void TenYearsFigure(HWND graph)
{
    std::string folder = ModuleFolder() + "bench-tenyears", csv = ModuleFolder() + "bench-tenyears.csv";
    std::vector<std::string> paths = WriteTenYears(folder);
    WCHAR csvPath[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, csv.c_str(), -1, csvPath, MAX_PATH);
    Figure totals = {"totals window open, 3,650 day files", "CSV export of the same folder", "ms", {}, {}};
    for (int r = 0; r < FolderRepetitions; ++r) {
        double start = NowMicroseconds();
        int written = WriteActivityCsv(csvPath);
        totals.base.push_back((NowMicroseconds() - start) / 1000);
        TotalsShown = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 1, EndTotalsWhenShown);
        start = NowMicroseconds();
        OpenTotalsWindow(graph);
        KillTimer(nullptr, timer);
        totals.measured.push_back((TotalsShown - start) / 1000);
        if (!written || TotalsShown == 0) PrintNote("ten years: the export or the window failed");
    }
    PrintFigure(totals);
    std::string each;
    for (size_t r = 0; r < totals.measured.size(); ++r)
        each += " " + std::to_string(static_cast<int>(totals.measured[r])) + "/" +
                std::to_string(static_cast<int>(totals.base[r]));
    PrintNote("ten years, each repetition in turn (totals window/CSV export, ms):" + each);
    WIN32_FILE_ATTRIBUTE_DATA size = {};
    GetFileAttributesExA(csv.c_str(), GetFileExInfoStandard, &size);
    PrintNote("ten years: " + std::to_string(DayTotals.RowCount) + " rows in the totals window, a CSV file of " +
              std::to_string(size.nFileSizeLow / (1024 * 1024)) + " MiB");
    DeleteFileA(csv.c_str());
    for (const std::string& path : paths) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

// Ten years of apps files before today, 40 applications a day: the apps window opened and all
// time chosen, until it is shown, against reading the same files whole.
const char AppsCaption[] = "アプリ別の合計";

void CALLBACK ShowAllTimeWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    HWND apps = FindWindowA("#32770", AppsCaption);
    if (!apps || !IsWindowVisible(apps) || TotalsShown > 0) return;
    SendDlgItemMessageA(apps, IDC_APPS_RANGE, CB_SETCURSEL, RangeAll, 0);
    SendMessageA(apps, WM_COMMAND, MAKEWPARAM(IDC_APPS_RANGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(apps, IDC_APPS_RANGE)));
    RedrawWindow(apps, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TotalsShown = NowMicroseconds();
    EndDialog(apps, IDCANCEL);
}

void TenYearsAppsFigure(HWND graph)
{
    std::string folder = ModuleFolder() + "bench-tenyears-apps";
    std::vector<std::string> paths = WriteTenYears(folder);
    std::string text = u8"アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n";
    for (int a = 0; a < 40; ++a)
        text += "application" + std::to_string(a) + ".exe\t" + std::to_string(a * 37) + "\t" + std::to_string(a * 401) + "\t" +
                std::to_string(a * 25013) + "\t" + std::to_string(a * 97) + "\r\n";
    for (std::string& path : paths) {
        DeleteFileA(path.c_str());
        path.replace(path.size() - 4, 4, ".apps.txt");
        WriteWholeFile(path, text.data(), text.size());
    }
    AppsOfDays.Recording = 1;
    Figure apps = {"apps window, all time, 3,650 apps files", "reading the same files whole", "ms", {}, {}};
    for (int r = 0; r < FolderRepetitions; ++r) {
        double start = NowMicroseconds();
        size_t read = 0;
        for (const std::string& path : paths) read += ReadWholeFile(path).size();
        apps.base.push_back((NowMicroseconds() - start) / 1000);
        TotalsShown = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 1, ShowAllTimeWhenOpen);
        start = NowMicroseconds();
        OpenAppsWindow(graph);
        KillTimer(nullptr, timer);
        apps.measured.push_back((TotalsShown - start) / 1000);
        if (!read || TotalsShown == 0 || ShownApps.Count < 40) PrintNote("ten years of apps: the window failed");
    }
    PrintFigure(apps);
    for (const std::string& path : paths) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

// Five PCs of ten years each in one share folder: this PC's data folder and four other PCs'
// published folders, each with its pc.ini and index of days as a publishing PC leaves them, and
// 40 applications a day in every apps file. The totals window on "すべてのPC", the apps window's
// "全期間" on it and the graph's sum of all PCs, each against reading the same files whole; this
// PC's ten years alone in the totals window too.
const int SharePcs = 5;
const char ShareIds[SharePcs][40] = {"", "{00000001-0000-0000-0000-000000000000}", "{00000002-0000-0000-0000-000000000000}",
                                     "{00000003-0000-0000-0000-000000000000}", "{00000004-0000-0000-0000-000000000000}"};

// Selects the last item of the drop-down (all PCs) and, for the apps window, all time.
void CALLBACK ShowAllPcsWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    HWND window = FindWindowA("#32770", TotalsCaption);
    int pcId = IDC_TOTALS_PC;
    if (!window) window = FindWindowA("#32770", AppsCaption), pcId = IDC_APPS_PC;
    if (!window || !IsWindowVisible(window) || TotalsShown > 0) return;
    if (pcId == IDC_APPS_PC) SendDlgItemMessageA(window, IDC_APPS_RANGE, CB_SETCURSEL, RangeAll, 0);
    HWND pcs = GetDlgItem(window, pcId);
    SendMessageA(pcs, CB_SETCURSEL, SendMessageA(pcs, CB_GETCOUNT, 0, 0) - 1, 0);
    SendMessageA(window, WM_COMMAND, MAKEWPARAM(pcId, CBN_SELCHANGE), reinterpret_cast<LPARAM>(pcs));
    RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TotalsShown = NowMicroseconds();
    EndDialog(window, IDCANCEL);
}

// A PC's ten years: its day files (each PC's values its own) and apps files, and for the other PCs
// the index of days that their publishing writes.
std::vector<std::string> WriteSharePc(const std::string& folder, int pc, const std::string& appsText)
{
    std::vector<std::string> paths = WriteTenYears(folder);
    std::vector<unsigned char> bytes(DayFileSize, 0);
    for (int i = 0; i < MetricCount * SlotCount; ++i) bytes[i * 4] = static_cast<unsigned char>(i % 50 + 1 + pc);
    std::string index, appsIndex;
    std::vector<std::string> all;
    for (const std::string& path : paths) {
        WriteWholeFile(path, bytes.data(), bytes.size());
        std::string apps = path.substr(0, path.size() - 4) + ".apps.txt";
        WriteWholeFile(apps, appsText.data(), appsText.size());
        all.push_back(path), all.push_back(apps);
        if (pc == 0) continue;
        IndexEntry entry = {};
        entry.Date = atoi(path.substr(path.size() - 12, 8).c_str());
        int values[MetricCount * SlotCount];
        DayValuesOfBytes(bytes.data(), DayFileSize, 1, values);
        entry.Fingerprint = FingerprintOfValues(values);
        ActivityTotal total = {};
        AddDayValues(values, SlotCount - 1, &total);
        for (int m = 0; m < MetricCount; ++m) entry.Sums[m] = total.Sums[m];
        entry.ActiveSlots = total.ActiveSlots;
        WIN32_FILE_ATTRIBUTE_DATA written;
        GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &written);
        entry.Written = WriteTimeOf(&written.ftLastWriteTime);
        char line[IndexLineSize];
        index.append(line, FormatIndexLine(&entry, line));
        GetFileAttributesExA(apps.c_str(), GetFileExInfoStandard, &written);
        appsIndex.append(line, FormatAppsBlockHeader(entry.Date, WriteTimeOf(&written.ftLastWriteTime),
                                                     FingerprintOfText(appsText.data(), static_cast<long>(appsText.size())),
                                                     static_cast<long>(appsText.size()), line));
        appsIndex += appsText;
    }
    if (pc > 0) {
        std::string ini = std::string("[PC]\r\nId=") + ShareIds[pc] + "\r\nName=PC" + std::to_string(pc) + "\r\n";
        WriteWholeFile(folder + "\\pc.ini", ini.data(), ini.size());
        WriteWholeFile(folder + "\\days.idx", index.data(), index.size());
        WriteWholeFile(folder + "\\apps.idx", appsIndex.data(), appsIndex.size());
        all.push_back(folder + "\\pc.ini"), all.push_back(folder + "\\days.idx"), all.push_back(folder + "\\apps.idx");
    }
    return all;
}

void SharedPcsFigures(HWND graph)
{
    std::string share = ModuleFolder() + "bench-share";
    CreateDirectoryA(share.c_str(), nullptr);
    std::vector<std::string> files, folders;
    for (int pc = SharePcs - 1; pc >= 0; --pc) {
        // Each PC's applications their own numbers, so that no PC's apps file counts as another's.
        std::string text = u8"アプリ\tマウスクリック回数\tキータッチ回数\tマウスの動き\t活動秒数\r\n";
        for (int a = 0; a < 40; ++a)
            text += "application" + std::to_string(a) + ".exe\t" + std::to_string(a * 37 + pc) + "\t1\t1\t" +
                    std::to_string(a * 97) + "\r\n";
        folders.push_back(pc ? share + "\\" + ShareIds[pc] : ModuleFolder() + "bench-share-own");
        std::vector<std::string> written = WriteSharePc(folders.back(), pc, text);
        files.insert(files.end(), written.begin(), written.end());
    }
    lstrcpynW(Pc.Id, L"{00000000-0000-0000-0000-000000000000}", PcIdSize);
    lstrcpynW(Pc.Name, L"PC0", PcNameSize);
    MultiByteToWideChar(CP_ACP, 0, share.c_str(), -1, Pc.ShareFolder, PathCapacity);
    AppsOfDays.Recording = 1;
    Figure totals = {"totals window, all PCs, 5 x 3,650 day files", "reading the 18,250 day files whole", "ms", {}, {}};
    Figure apps = {"apps window, all PCs, all time, 5 x 3,650 apps files", "reading the 18,250 apps files whole", "ms", {}, {}};
    Figure own = {"totals window, this PC, 3,650 day files", "reading its 3,650 day files whole", "ms", {}, {}};
    Figure sum = {"graph: sum of all PCs read and drawn, 5 PCs", "reading their 84 day files of the 21 days whole", "ms", {}, {}};
    auto readWhole = [&](const char* suffix, bool ownOnly) {
        double start = NowMicroseconds();
        for (const std::string& path : files)
            if (path.size() > strlen(suffix) && path.compare(path.size() - strlen(suffix), strlen(suffix), suffix) == 0 &&
                (!ownOnly || path.find("bench-share-own") != std::string::npos))
                ReadWholeFile(path);
        return (NowMicroseconds() - start) / 1000;
    };
    auto openShown = [&](void (*open)(HWND), TIMERPROC shown) {
        TotalsShown = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 1, shown);
        double start = NowMicroseconds();
        open(graph);
        KillTimer(nullptr, timer);
        if (TotalsShown == 0) PrintNote("five PCs: a window failed");
        return (TotalsShown - start) / 1000;
    };
    for (int r = 0; r < FolderRepetitions; ++r) {
        totals.base.push_back(readWhole(".dat", false));
        totals.measured.push_back(openShown(OpenTotalsWindow, ShowAllPcsWhenOpen));
        apps.base.push_back(readWhole(".apps.txt", false));
        apps.measured.push_back(openShown(OpenAppsWindow, ShowAllPcsWhenOpen));
        own.base.push_back(readWhole(".dat", true));
        own.measured.push_back(openShown(OpenTotalsWindow, EndTotalsWhenShown));
        double start = NowMicroseconds();
        for (int pc = 1; pc < SharePcs; ++pc)
            for (int d = 0; d < DayCount; ++d) {
                char name[16];
                ComposeDayFileName(DateAfterDays(Days.TodayDate, -d), name, sizeof name);
                ReadWholeFile(share + "\\" + ShareIds[pc] + "\\" + name);
            }
        sum.base.push_back((NowMicroseconds() - start) / 1000);
        Pc.GraphAll = 1;
        start = NowMicroseconds();
        LoadOthersOfDays();
        RedrawWindow(graph, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        sum.measured.push_back((NowMicroseconds() - start) / 1000);
        Pc.GraphAll = 0;
    }
    PrintFigure(totals);
    PrintFigure(apps);
    PrintFigure(own);
    PrintFigure(sum);
    PrintNote("five PCs: " + std::to_string(DayTotals.RowCount) + " rows of this PC's totals, " +
              std::to_string(SharedPcCount()) + " other PCs found");
    for (const std::string& path : files) DeleteFileA(path.c_str());
    for (const std::string& folder : folders) RemoveDirectoryA(folder.c_str());
    RemoveDirectoryA(share.c_str());
}

// Ten years of keys files before today, 60 keys and the buttons a day: the keyboard window opened
// and all time chosen, until it is shown, against reading the same files whole.
const char KeyboardCaption[] = "キーボードとマウス";

void CALLBACK ShowAllKeysWhenOpen(HWND, UINT, UINT_PTR, DWORD)
{
    HWND keyboard = FindWindowA("#32770", KeyboardCaption);
    if (!keyboard || !IsWindowVisible(keyboard) || TotalsShown > 0) return;
    SendDlgItemMessageA(keyboard, IDC_KEYBOARD_RANGE, CB_SETCURSEL, RangeAll, 0);
    SendMessageA(keyboard, WM_COMMAND, MAKEWPARAM(IDC_KEYBOARD_RANGE, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(GetDlgItem(keyboard, IDC_KEYBOARD_RANGE)));
    RedrawWindow(keyboard, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
    TotalsShown = NowMicroseconds();
    EndDialog(keyboard, IDCANCEL);
}

void TenYearsKeysFigure(HWND graph)
{
    std::string folder = ModuleFolder() + "bench-tenyears-keys";
    std::vector<std::string> paths = WriteTenYears(folder);
    std::string text = u8"キー\t回数\r\n";
    for (int k = 0x02; k < 0x3E; ++k) text += "SC" + std::string(1, "0123456789ABCDEF"[k / 16]) + "0123456789ABCDEF"[k % 16] + "\t" + std::to_string(k * 53) + "\r\n";
    text += "LBUTTON\t2400\r\nRBUTTON\t310\r\nMBUTTON\t12\r\nXBUTTON1\t40\r\nWHEEL\t1800\r\n";
    for (std::string& path : paths) {
        DeleteFileA(path.c_str());
        path.replace(path.size() - 4, 4, ".keys.txt");
        WriteWholeFile(path, text.data(), text.size());
    }
    KeysOfDays.Recording = 1;
    Figure keys = {"keyboard window, all time, 3,650 keys files", "reading the same files whole", "ms", {}, {}};
    for (int r = 0; r < FolderRepetitions; ++r) {
        double start = NowMicroseconds();
        size_t read = 0;
        for (const std::string& path : paths) read += ReadWholeFile(path).size();
        keys.base.push_back((NowMicroseconds() - start) / 1000);
        TotalsShown = 0;
        UINT_PTR timer = SetTimer(nullptr, 0, 1, ShowAllKeysWhenOpen);
        start = NowMicroseconds();
        OpenKeyboardWindow(graph);
        KillTimer(nullptr, timer);
        keys.measured.push_back((TotalsShown - start) / 1000);
        if (!read || TotalsShown == 0 || ShownKeyCounts()[0x3D] != 0x3D * 53LL * TenYears) PrintNote("ten years of keys: the window failed");
    }
    PrintFigure(keys);
    for (const std::string& path : paths) DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

// A year of days drawn into the calendar window's picture, at the size the window gives it on a
// display of 100 %, against filling the same area white.
void CalendarYearFigure(HWND graph)
{
    enum { Width = 824, Height = 190, Repetitions = 20 };
    static CalendarYear year;
    year.Year = Days.TodayDate / 10000, year.DayCount = 366;
    for (int d = 0; d < year.DayCount; ++d) year.HasData[d] = d % 7 != 3, year.Values[d] = (d * 7919) % 5000;
    HDC windowDc = GetDC(graph);
    HDC dc = CreateCompatibleDC(windowDc);
    HBITMAP bitmap = CreateCompatibleBitmap(windowDc, Width, Height);
    HGDIOBJ old = SelectObject(dc, bitmap);
    Figure draw = {"calendar picture, one year of days", "filling the same area white", "ms", {}, {}};
    RECT all = {0, 0, Width, Height};
    for (int r = 0; r < Repetitions; ++r) {
        double start = NowMicroseconds();
        FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        GdiFlush();
        draw.base.push_back((NowMicroseconds() - start) / 1000);
        start = NowMicroseconds();
        DrawCalendarPicture(dc, Width, Height, &year, L"2026: 1,234,567");
        GdiFlush();
        draw.measured.push_back((NowMicroseconds() - start) / 1000);
    }
    PrintFigure(draw);
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ReleaseDC(graph, windowDc);
}

ATOM RegisterBenchClass(const char* name, WNDPROC proc)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    return RegisterClassA(&wc);
}
}  // namespace

// With the argument "totals" only the ten-year figure is taken; with "apps" the input figures
// with the graph window closed and the ten years of apps files; with "share" only the five PCs'.
// with the graph window closed and the ten years of apps files; with "habits" the ten years of keys
// files in the keyboard window and a year drawn as the calendar.
int main(int argc, char** argv)
{
    bool totalsOnly = argc > 1 && lstrcmpA(argv[1], "totals") == 0;
    bool appsOnly = argc > 1 && lstrcmpA(argv[1], "apps") == 0;
    bool shareOnly = argc > 1 && lstrcmpA(argv[1], "share") == 0;
    bool habitsOnly = argc > 1 && lstrcmpA(argv[1], "habits") == 0;
    RegisterBenchClass(BaselineClass, NullProc);
    RegisterBenchClass(MonitorClass, DefWindowProcA);
    RegisterBenchClass("vantle-bench-stamp", StampProc);
    FillFullDays();
    HWND monitor = CreateBenchMonitor();
    HWND plain = CreatePlainWindow(BaselineClass);
    HWND stamp = CreatePlainWindow("vantle-bench-stamp");
    SetCursorPos(300, 300);
    Pump(200);
    // Recording per application is on, as it is by default: every input adds to its record.
    AppsOfDays.Recording = 1;
    ClearAppsDay(&AppsOfDays.Today, Days.TodayDate);
    LookAtForeground();

    if (appsOnly) InputFigures(monitor, plain, "closed");
    if (!totalsOnly && !appsOnly && !shareOnly && !habitsOnly) {
        InputFigures(monitor, plain, "closed");
        CursorQueryFigure(plain);
        TickFigure(monitor, plain, "closed");
        HookFigure(monitor, stamp);
        BurstFigure(monitor, "closed");
    }

    // The graph window as the tray command opens it, but modeless, so that the bench's own loop
    // dispatches; it must be on screen, or nothing would be painted.
    HWND graph = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_GRAPH), monitor, GraphWindowProc, 0);
    if (!graph) {
        PrintNote("the graph window could not be created; open-window figures not measured");
        return 1;
    }
    ShowWindow(graph, SW_SHOWNOACTIVATE);
    Pump(2500);
    if (shareOnly) {
        SharedPcsFigures(graph);
        DestroyWindow(graph);
        return 0;
    }
    if (habitsOnly) {
        TenYearsKeysFigure(graph);
        CalendarYearFigure(graph);
        DestroyWindow(graph);
        return 0;
    }
    if (appsOnly) {
        TenYearsAppsFigure(graph);
        DestroyWindow(graph);
        return 0;
    }
    if (!totalsOnly) {
        InputFigures(monitor, plain, "open");
        OpenAgainstClosedFigure(monitor);
        PacedFigure(monitor);
        BurstFigure(monitor, "open");
        BurstShownFigure(monitor);
        TickFigure(monitor, plain, "open");
        PaintFigures(graph);
    }
    TenYearsFigure(graph);
    DestroyWindow(graph);
    DestroyWindow(stamp);
    DestroyWindow(plain);
    DestroyWindow(monitor);
    return 0;
}
