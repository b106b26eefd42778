// Benchmarks of the real program as a process: its start-up against a bare program's, its
// footprint (private bytes, GDI and USER objects) before and after a long run of use, and its
// graph window's repaints caused from outside against a plain window's.
#include <windows.h>
#include <stdio.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/uitext.h"
#include "bench/benchutil.h"
#include "e2e/e2e_support.h"
#include "graph/geometry.h"
#include "res/messages.h"
#include "resource.h"
#include "support/dayimage.h"
#include "support/objectcount.h"
#include "support/testwin.h"

namespace {
// Runs a program to its end; microseconds from CreateProcess to its exit, or -1.
double RunToExit(const std::string& exe)
{
    std::vector<char> command(exe.begin(), exe.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    double start = NowMicroseconds();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        return -1;
    WaitForSingleObject(process.hProcess, 20000);
    double took = NowMicroseconds() - start;
    CloseHandle(process.hProcess);
    CloseHandle(process.hThread);
    return took;
}

// Starts vantle.exe in a fresh folder and waits until it records; microseconds from
// CreateProcess until today's file and the tray icon are both there, or -1.
double StartToRecording(RunningProgram* program, const std::string& folder)
{
    std::string exe = folder + "vantle.exe";
    std::string today = folder + "data\\" + DayFileNameAt(0);
    std::vector<char> command(exe.begin(), exe.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    program->folder = folder;
    double start = NowMicroseconds();
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &program->process))
        return -1;
    // The tray icon comes before the day file; the file is the later of the two signs.
    while (GetFileAttributesA(today.c_str()) == INVALID_FILE_ATTRIBUTES) {
        if (NowMicroseconds() - start > 30e6) return -1;
        Sleep(1);
    }
    double took = NowMicroseconds() - start;
    program->monitor = FindMonitorWindow(program->process.dwProcessId, 10000);
    if (!program->monitor || !TrayIconExists(program->monitor)) return -1;
    return took;
}

void EndProgram(RunningProgram* program)
{
    if (program->monitor) AskToEnd(program, IDYES);
    WaitForExit(program, 10000);
    KillProgram(program);  // ends a program that did not end, and closes the handles
}

void StartupFigure(const std::string& bare)
{
    const int Repetitions = 5;
    // The start-up waits for nothing: the whole time from process creation counts. The bare
    // program loads the same libraries (common controls 6 through the same manifest, shell32,
    // the hook library), so the ratio is what the program's own start-up adds to that.
    Figure startup = {"start-up: from process creation to recording",
                      "bare program, same libraries, start to exit", "ms", {}, {}};
    int failed = 0;
    for (int r = 0; r < Repetitions; ++r) {
        double b = RunToExit(bare);
        if (b >= 0) startup.base.push_back(b / 1000);
        RunningProgram program;
        double took = StartToRecording(&program, MakeProgramFolder("bench-start"));
        if (took >= 0) startup.measured.push_back(took / 1000);
        else ++failed;
        EndProgram(&program);
    }
    PrintFigure(startup);
    if (failed) PrintNote("start-up: " + std::to_string(failed) + " starts did not reach recording");
}

struct Sample {
    std::string moment;
    long gdi, windows, user, handles;
    SIZE_T privateBytes;
};

// Each paint and tick creates pens and fonts for its own duration; the least of a few counts
// leaves out those that happen to be alive at one moment.
long SettledGdiCount(HANDLE process)
{
    long least = CountGdiObjects(process);
    for (int i = 0; i < 6; ++i) {
        Sleep(37);
        least = std::min(least, CountGdiObjects(process));
    }
    return least;
}

Sample Take(const RunningProgram& program, const std::string& moment)
{
    HANDLE process = program.process.hProcess;
    DWORD id = program.process.dwProcessId;
    return {moment, SettledGdiCount(process), CountWindows(id), CountUserObjects(process), CountHandles(process, id),
            PrivateBytes(process)};
}

void PrintSample(const Sample& s)
{
    printf("COUNTS\t%s\t%lu\t%ld\t%ld\t%ld\t%ld\n", s.moment.c_str(), static_cast<unsigned long>(s.privateBytes / 1024),
           s.gdi, s.windows, s.user, s.handles);
    fflush(stdout);
}

void PrintSeries(const char* name, const std::vector<long>& values)
{
    printf("SERIES\t%s\t", name);
    for (long v : values) printf(" %ld", v);
    printf("\n");
    fflush(stdout);
}

HWND FindProcessWindow(DWORD processId, const char* cls, const char* title, bool visibleOnly)
{
    HWND window = nullptr;
    while ((window = FindWindowExA(nullptr, window, cls, title)) != nullptr) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == processId && (!visibleOnly || IsWindowVisible(window))) return window;
    }
    return nullptr;
}

// Waits until the process has (or no longer has) a visible window of the class and title.
bool WaitForWindow(DWORD processId, const char* cls, const char* title, bool present, DWORD timeoutMs)
{
    DWORD start = GetTickCount();
    while ((FindProcessWindow(processId, cls, title, true) != nullptr) != present) {
        if (GetTickCount() - start > timeoutMs) return false;
        Sleep(2);
    }
    return true;
}

// Twenty past days and today, each with a value in every slot, so that every paint draws bars.
void WriteFullDays(const std::string& folder)
{
    std::string data = folder + "data\\";
    CreateDirectoryA(data.c_str(), nullptr);
    for (int k = 0; k < 21; ++k) {
        std::vector<int> values(720);
        for (int i = 0; i < 720; ++i) values[i] = (i * 7 + k * 13) % 60 + 1;
        std::vector<unsigned char> bytes = DayFileBytes(values);
        WriteWholeFile(data + DayFileNameAt(0, -k), bytes.data(), bytes.size());
    }
}

bool OpenTrayMenuAndDismiss(const RunningProgram& program)
{
    DWORD id = program.process.dwProcessId;
    PostMessageA(program.monitor, WM_TRAY_NOTIFY, TrayIconId, WM_RBUTTONDOWN);
    if (!WaitForWindow(id, "#32768", nullptr, true, 5000)) return false;
    PostMessageA(FindProcessWindow(id, "#32768", nullptr, true), WM_KEYDOWN, VK_ESCAPE, 0);
    return WaitForWindow(id, "#32768", nullptr, false, 5000);
}

// The counters must see objects come and go, or the footprint figure would prove nothing:
// ten pens and one window of this process are created and released, and counted each time.
bool CountersSeeObjects()
{
    HANDLE self = GetCurrentProcess();
    DWORD id = GetCurrentProcessId();
    long gdi = CountGdiObjects(self);
    HPEN pens[10];
    for (HPEN& pen : pens) pen = CreatePen(PS_SOLID, 1, RGB(1, 2, 3));
    long gdiWith = CountGdiObjects(self);
    for (HPEN pen : pens) DeleteObject(pen);
    long gdiAfter = CountGdiObjects(self);
    // The thread's first window brings a default IME window with it; the second one counts alone.
    HWND first = CreateWindowExA(0, "STATIC", "count", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    long windows = CountWindows(id);
    HWND window = CreateWindowExA(0, "STATIC", "count", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    long windowsWith = CountWindows(id);
    DestroyWindow(window);
    long windowsAfter = CountWindows(id);
    DestroyWindow(first);
    bool ok = gdiWith == gdi + 10 && gdiAfter == gdi && windowsWith == windows + 1 && windowsAfter == windows;
    char text[160];
    snprintf(text, sizeof text, "counter check: GDI %ld -> %ld -> %ld for 10 pens, windows %ld -> %ld -> %ld: %s", gdi,
             gdiWith, gdiAfter, windows, windowsWith, windowsAfter, ok ? "ok" : "FAILED");
    PrintNote(text);
    return ok;
}

// The full run: 100 openings with 100 paints each (10,000 paints), then 1,000 tray popups.
void FootprintFigure(int Openings, int Popups)
{
    const int PaintsPerOpening = 100;
    if (!CountersSeeObjects()) PrintNote("footprint: the object counters cannot be trusted here");
    std::string folder = MakeProgramFolder("bench-footprint");
    WriteFullDays(folder);
    RunningProgram program;
    if (!StartProgram(&program, folder) || !WaitUntilRecording(&program, DayFileNameAt(0), 30000)) {
        PrintNote("footprint: the program did not start; not measured");
        KillProgram(&program);
        return;
    }
    DWORD id = program.process.dwProcessId;
    Sleep(1000);
    Sample start = Take(program, "after start, graph closed");
    // Both samples with the window open are taken before that opening's paints.
    Sample openFirst = {}, openLast = {};
    // The first opening loads what stays loaded (icons, fonts): later counts are compared with
    // the counts after it, and must stay there.
    Sample warm = start;
    int opened = 0;

    RECT all = GraphRect();
    int failedOpenings = 0, failedPopups = 0;
    std::vector<double> paintTimes;
    std::vector<long> openGdi, closedGdi, popupGdi;
    for (int i = 0; i < Openings; ++i) {
        PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
        HWND graph = WaitForWindow(id, "#32770", UiA(TextTitle).c_str(), true, 15000)
                         ? FindProcessWindow(id, "#32770", UiA(TextTitle).c_str(), true)
                         : nullptr;
        if (!graph) {
            ++failedOpenings;
            continue;
        }
        ++opened;
        openLast = Take(program, "graph open, opening " + std::to_string(i + 1));
        if (opened == 1) openFirst = openLast;
        openGdi.push_back(openLast.gdi);
        double begun = NowMicroseconds();
        // Each paint is sent to the program and returns once it is done.
        for (int p = 0; p < PaintsPerOpening; ++p)
            RedrawWindow(graph, &all, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        paintTimes.push_back((NowMicroseconds() - begun) / PaintsPerOpening / 1000);
        PostMessageA(program.monitor, WM_COMMAND, IDC_PUT_AWAY_GRAPH, 0);
        if (!WaitForWindow(id, "#32770", UiA(TextTitle).c_str(), false, 15000)) ++failedOpenings;
        // Under Wine without a window manager the hidden dialog lingers about 2 s before its end.
        DWORD hidden = GetTickCount();
        while (IsWindow(graph) && GetTickCount() - hidden < 10000) Sleep(2);
        closedGdi.push_back(SettledGdiCount(program.process.hProcess));
        if (opened == 1) warm = Take(program, "after the 1st opening, graph closed");
    }
    Sleep(500);
    Sample afterOpenings = Take(program, "after " + std::to_string(opened) + " openings and " +
                                             std::to_string(opened * PaintsPerOpening) + " paints");
    for (int i = 0; i < Popups; ++i) {
        if (!OpenTrayMenuAndDismiss(program)) ++failedPopups;
        if (i % 100 == 99) popupGdi.push_back(SettledGdiCount(program.process.hProcess));
    }
    Sleep(500);
    Sample afterPopups = Take(program, "after " + std::to_string(Popups - failedPopups) + " tray popups");

    PrintSample(start);
    if (opened) {
        PrintSample(openFirst);
        PrintSample(warm);
        PrintSample(openLast);
    }
    PrintSample(afterOpenings);
    PrintSample(afterPopups);
    PrintSeries("GDI objects with the graph open, at each opening", openGdi);
    PrintSeries("GDI objects after each put-away", closedGdi);
    PrintSeries("GDI objects after every 100 tray popups", popupGdi);
    auto row = [](const std::string& name, const std::string& base, const char* unit, double m, double b) {
        Figure f = {name, base, unit, {m}, {b}};
        PrintFigure(f);
    };
    row("footprint: GDI objects after all", "after 1st opening", "objects", afterPopups.gdi, warm.gdi);
    row("footprint: windows after all", "after 1st opening", "windows", afterPopups.windows, warm.windows);
    row("footprint: handles after all", "after 1st opening", "handles", afterPopups.handles, warm.handles);
    row("footprint: private bytes after all", "after 1st opening", "KiB", afterPopups.privateBytes / 1024.0,
        warm.privateBytes / 1024.0);
    row("footprint: GDI objects, 1st opening closed", "after start", "objects", warm.gdi, start.gdi);
    if (opened) {
        row("footprint: GDI objects, last opening", "1st opening", "objects", openLast.gdi, openFirst.gdi);
        row("footprint: windows, last opening", "1st opening", "windows", openLast.windows, openFirst.windows);
    }
    // Growth is a later count above the highest of the earlier ones in the same series: a leak
    // keeps climbing with use, a cache that the first opening or popup fills does not.
    auto climbs = [](const std::vector<long>& v) {
        if (v.size() < 2) return false;
        long early = *std::max_element(v.begin(), v.begin() + v.size() / 2);
        return *std::max_element(v.begin() + v.size() / 2, v.end()) > early;
    };
    bool grew = climbs(openGdi) || climbs(closedGdi) || climbs(popupGdi) ||
                afterOpenings.windows > start.windows || afterPopups.windows > start.windows ||
                openLast.windows > openFirst.windows;
    PrintNote(std::string("footprint: GDI object and window counts ") +
              (grew ? "GREW with use" : "did not grow with use (first uses fill caches once)"));
    Figure paint = {"footprint run: one full paint sent from outside", "-", "ms", paintTimes, {}};
    PrintFigure(paint);
    if (failedOpenings || failedPopups)
        PrintNote("footprint: " + std::to_string(failedOpenings) + " openings and " + std::to_string(failedPopups) +
                  " popups failed");
    EndProgram(&program);
}

// A repaint as another process causes it: the areas invalidated, then WM_PAINT sent, which
// returns once the window has painted; microseconds a repaint.
double RepaintCost(HWND window, const RECT* areas, int count, BOOL erase, int repaints)
{
    double start = NowMicroseconds();
    for (int i = 0; i < repaints; ++i) {
        for (int a = 0; a < count; ++a) InvalidateRect(window, &areas[a], erase);
        SendMessageA(window, WM_PAINT, 0, 0);
    }
    return (NowMicroseconds() - start) / repaints;
}

// Starts the plain window's program with its client area at the given screen position and the
// graph window's client size; its window, or null.
HWND StartPlainWindow(PROCESS_INFORMATION* process, int left, int top, int width, int height)
{
    std::string exe = ModuleFolder() + "plain_window.exe";
    std::string line = "\"" + exe + "\" " + std::to_string(left) + " " + std::to_string(top) + " " +
                       std::to_string(width) + " " + std::to_string(height);
    std::vector<char> command(line.begin(), line.end());
    command.push_back('\0');
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (!CreateProcessA(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        process))
        return nullptr;
    return WaitForProcessWindow(process->dwProcessId, "vantle-bench-plain", nullptr, true, 15000);
}

// GraphRect of a window in screen pixels.
RECT ScreenGraphRect(HWND window)
{
    RECT r = GraphRect();
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The real program with 21 full days and its graph window open, and a plain window of the same
// client size in a process of its own: a full repaint (GraphRect, erased, as at a change of slot)
// and a live repaint (the current slot's two columns, not erased, as at a tick) of each.
void RepaintFigures()
{
    const int Repetitions = 9, FullRepaints = 20, LiveRepaints = 100;
    std::string folder = MakeProgramFolder("bench-repaint");
    WriteFullDays(folder);
    RunningProgram program;
    HWND graph = nullptr;
    if (StartProgram(&program, folder) && WaitUntilRecording(&program, DayFileNameAt(0), 30000)) {
        PostMessageA(program.monitor, WM_COMMAND, IDC_OPEN_GRAPH, 0);
        graph = WaitForProcessWindow(program.process.dwProcessId, "#32770", UiA(TextTitle).c_str(), true, 15000);
    }
    PROCESS_INFORMATION plainProcess = {};
    HWND plain = nullptr;
    if (graph) {
        // Side by side on the screen, each graph area whole and uncovered: the plain window's
        // empty left margin lies off the screen's left edge, and its frame (on top) ends where
        // the graph window's graph area begins.
        RECT client;
        GetClientRect(graph, &client);
        const int clientTop = 40;  // below the plain window's caption
        plain = StartPlainWindow(&plainProcess, -GraphRect().left, clientTop, client.right, client.bottom);
    }
    if (!plain) {
        PrintNote("repaint: the graph window or the plain window did not come up; not measured");
    } else {
        RECT plainFrame, graphFrame, graphClient = {0, 0, 0, 0};
        GetWindowRect(plain, &plainFrame);
        GetWindowRect(graph, &graphFrame);
        MapWindowPoints(graph, nullptr, reinterpret_cast<POINT*>(&graphClient), 1);
        const int graphLeft = plainFrame.right - GraphRect().left - (graphClient.left - graphFrame.left);
        const int graphTop = ScreenGraphRect(plain).top - GraphRect().top - (graphClient.top - graphFrame.top);
        SetWindowPos(graph, nullptr, graphLeft, graphTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
        Sleep(500);
        RECT onGraph = ScreenGraphRect(graph), onPlain = ScreenGraphRect(plain), screen = {
            0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        RECT overlap, inGraph, inPlain;
        if (IntersectRect(&overlap, &onGraph, &plainFrame) || !IntersectRect(&inGraph, &onGraph, &screen) ||
            !EqualRect(&inGraph, &onGraph) || !IntersectRect(&inPlain, &onPlain, &screen) ||
            !EqualRect(&inPlain, &onPlain))
            PrintNote("repaint: the two graph areas are not both whole on the screen; figures are off");

        RECT full = GraphRect();
        // The current slot's columns, as the slot clock invalidates them at every tick.
        const int x = GraphLeft + SlotNow();
        RECT live[2] = {{x, RowBaseline(21), x + 1, RowBaseline(22)},
                        {x + PanelWidth, RowBaseline(20), x + PanelWidth + 1, RowBaseline(21)}};
        Figure fullFigure = {"outside: full repaint, graph window, 21 full days",
                             "same on a plain window, one FillRect of GraphRect", "us/paint", {}, {}};
        Figure liveFigure = {"outside: live repaint (two 1-px columns), graph window",
                             "same on a plain window, one FillRect of GraphRect", "us/paint", {}, {}};
        // Fonts, glyphs and both paths come into their caches once.
        RepaintCost(graph, &full, 1, TRUE, 2);
        RepaintCost(plain, &full, 1, TRUE, 2);
        for (int r = 0; r < Repetitions; ++r) {
            fullFigure.base.push_back(RepaintCost(plain, &full, 1, TRUE, FullRepaints));
            fullFigure.measured.push_back(RepaintCost(graph, &full, 1, TRUE, FullRepaints));
            liveFigure.base.push_back(RepaintCost(plain, live, 2, FALSE, LiveRepaints));
            liveFigure.measured.push_back(RepaintCost(graph, live, 2, FALSE, LiveRepaints));
        }
        PrintFigure(fullFigure);
        PrintFigure(liveFigure);
    }
    if (plain) {
        PostMessageA(plain, WM_CLOSE, 0, 0);
        WaitForSingleObject(plainProcess.hProcess, 10000);
    }
    if (plainProcess.hProcess) {
        // Started, but its window never came up, or it did not end when asked.
        if (WaitForSingleObject(plainProcess.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(plainProcess.hProcess, 1);
        CloseHandle(plainProcess.hProcess);
        CloseHandle(plainProcess.hThread);
    }
    if (graph) {
        PostMessageA(program.monitor, WM_COMMAND, IDC_PUT_AWAY_GRAPH, 0);
        WaitForWindow(program.process.dwProcessId, "#32770", UiA(TextTitle).c_str(), false, 15000);
    }
    EndProgram(&program);
}
}  // namespace

int main(int argc, char** argv)
{
    // Arguments: which figure ("startup", "repaint" or "footprint"; all three without one), and
    // "quick" for a short footprint run that only checks the bench itself.
    bool startup = true, repaint = true, footprint = true;
    if (argc > 1) {
        std::string only = argv[1];
        startup = only == "startup";
        repaint = only == "repaint";
        footprint = only == "footprint";
    }
    bool quick = argc > 2 && std::string(argv[2]) == "quick";
    if (startup) StartupFigure(ModuleFolder() + "bare_program.exe");
    if (repaint) RepaintFigures();
    if (footprint) FootprintFigure(quick ? 8 : 100, quick ? 200 : 1000);
    return 0;
}
