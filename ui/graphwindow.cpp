// The graph window: dialog procedure, opening, painting, metric switch and pointer read-out.
#include "ui/graphwindow.h"

#include "base/report.h"
#include "base/uitext.h"
#include "graph/frame.h"
#include "graph/geometry.h"
#include "graph/plot.h"
#include "graph/view.h"
#include "res/messages.h"
#include "res/resource.h"
#include "store/days.h"
#include "store/pcidentity.h"
#include "store/sharedpcs.h"
#include "ui/aboutbox.h"
#include "ui/appswindow.h"
#include "ui/calendarwindow.h"
#include "ui/keyboardwindow.h"
#include "ui/savecommands.h"
#include "ui/sharewindow.h"
#include "ui/statusbar.h"
#include "ui/totalswindow.h"
#include "ui/uiresources.h"

GraphWindowState GraphWindow;

enum {
    GraphClientWidth = 555,  // the status bar's last part ends at 554 or beyond, the graph at 531
    GraphStatusGap = 4,      // pixels kept between the graph's lowest tick marks and the bar
};

// Puts the check mark on the item of the metric and clears the other two; any other value
// leaves the menu alone.
static void CheckMetricItem(HWND window, int metric)
{
    if (metric < MetricClicks || metric > MetricMovement) return;
    HMENU menu = GetMenu(window);
    for (int m = MetricClicks; m <= MetricMovement; ++m) {
        MENUITEMINFOW item = {};
        item.cbSize = sizeof item;
        item.fMask = MIIM_STATE;
        item.fState = m == metric ? MFS_CHECKED : 0;
        SetMenuItemInfoW(menu, IDC_SHOW_CLICKS + m, FALSE, &item);
    }
}

static void CheckAllPcsItem(HWND window)
{
    CheckMenuItem(GetMenu(window), IDC_GRAPH_ALL_PCS, MF_BYCOMMAND | (GraphShowsAllPcs() ? MF_CHECKED : MF_UNCHECKED));
}

// The sum of all PCs: the other PCs' 21 days are read when it is switched on and whenever the window
// opens on it, never by the clock.
static void SwitchAllPcs(HWND window)
{
    if (!ChooseGraphAll(!GraphShowsAllPcs())) ReportFailure(window, TextShareSettingFailed, TextErrorCaption);
    if (GraphShowsAllPcs()) LoadOthersOfDays();
    CheckAllPcsItem(window);
    RepaintGraphWindow();
}

// The result is stored only after SelectMetric returns, so its comparison sees the old metric.
static void SwitchMetric(HWND window, int metric)
{
    SetSelectedMetric(SelectMetric(window, metric));
    ShowSelectedCount();
}

// The graph is drawn at fixed pixels, but the dialog's size follows its font: with another
// font (or another resolution) the client area could cut off the graph or put the status bar
// over its lowest rows. Enlarges the window until both fit.
static void FitGraphClientArea(HWND window, HWND bar)
{
    RECT client, frame, barRect;
    GetClientRect(window, &client);
    GetWindowRect(window, &frame);
    GetWindowRect(bar, &barRect);
    RECT graph = GraphRect();
    // Status bar parts widened for their texts may reach past the layout's width.
    int barWidth = StatusBar.PartEdges[PartReadout] + 1;
    int needWidth = barWidth > GraphClientWidth ? barWidth : GraphClientWidth;
    int needHeight = graph.bottom + GraphStatusGap + (barRect.bottom - barRect.top);
    int growWidth = needWidth > client.right ? needWidth - client.right : 0;
    int growHeight = needHeight > client.bottom ? needHeight - client.bottom : 0;
    if (growWidth == 0 && growHeight == 0) return;
    // Frame, caption and menu bar stay as they are, so the window grows by what the client lacks.
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + growWidth,
                 frame.bottom - frame.top + growHeight, SWP_NOMOVE | SWP_NOZORDER);
    // The menu bar may wrap differently at the new width; check the height once more.
    GetClientRect(window, &client);
    if (client.bottom < needHeight) {
        GetWindowRect(window, &frame);
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left,
                     frame.bottom - frame.top + needHeight - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER);
    }
    // The dialog passes no WM_SIZE on to its children; this one puts the bar along the new bottom.
    SendMessageW(bar, WM_SIZE, 0, 0);
}

int InitGraphWindow(HWND window)
{
    GraphWindow.Open = 1;
    SetWindowTextW(window, UiText(TextTitle));
    SetUiMenuTexts(GetMenu(window), IDM_GRAPH);
    DrawMenuBar(window);

    HICON appIcon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_APP));
    SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(appIcon));
    SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(appIcon));

    FitGraphClientArea(window, CreateStatusBar(window));
    // Whatever is held down now shows as released until its next down message.
    ShowReleasedIcons();

    // The menu comes fresh from the resource, unchecked; the metric is the one kept from before.
    CheckMetricItem(window, SelectedMetric());
    SwitchMetric(window, SelectedMetric());
    if (GraphShowsAllPcs()) LoadOthersOfDays();
    CheckAllPcsItem(window);
    return 1;
}

// The frame goes over the plot so that baselines and tick marks lie on top of the bars. The
// failures are reported once the graph is drawn: a box's modal loop may paint the window.
void PaintGraph(HWND window, HDC dc)
{
    int failedBars = DrawActivityPlot(dc);
    DrawGraphFrame(dc);
    for (int b = 0; b < failedBars; b++) ReportFailure(window, TextPlotError, TextPlotErrorCaption, MB_OK);
}

int PaintGraphWindow(HWND window)
{
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    PaintGraph(window, dc);
    EndPaint(window, &paint);
    return 0;
}

// The slot clock's requests. Each does nothing while the window is closed.
static void InvalidateOpenGraph(const RECT* area, BOOL erase)
{
    if (GraphWindow.Open) InvalidateRect(GraphWindow.Handle, area, erase);
}

void RepaintLiveColumns(int slot)
{
    const int x = GraphLeft + slot;
    const RECT left = {x, LeftBaselineOfDay(0) - RowPitch, x + 1, LeftBaselineOfDay(0)};
    const RECT right = {x + PanelWidth, RightBaselineOfDay(0) - RowPitch, x + PanelWidth + 1, RightBaselineOfDay(0)};
    InvalidateOpenGraph(&left, FALSE);
    InvalidateOpenGraph(&right, FALSE);
}

void RepaintTodayBands(void)
{
    const RECT left = TodayBandLeft(), right = TodayBandRight();
    InvalidateOpenGraph(&left, TRUE);
    InvalidateOpenGraph(&right, TRUE);
}

void RepaintGraph(void)
{
    const RECT graph = GraphRect();
    InvalidateOpenGraph(&graph, TRUE);
}

void RepaintGraphWindow(void) { InvalidateOpenGraph(nullptr, TRUE); }

int SelectMetric(HWND window, int metric)
{
    if (metric == SelectedMetric()) return metric;
    CheckMetricItem(window, metric);
    RECT graph = GraphRect();
    InvalidateRect(window, &graph, TRUE);
    return metric;
}

void ComposeReadout(unsigned x, unsigned y, wchar_t* text, int* overGraph)
{
    // A pointer in the pixel rows down to and including a baseline, y(a - 1) < y <= y(a), names
    // the day whose bars stand on that baseline: the left panel's day of row a, or the right's.
    int day = -1;
    unsigned slot = 0;
    if (y > GraphTop && y <= static_cast<unsigned>(RowBaseline(RowCount))) {
        int row = static_cast<int>((y - GraphTop - 1) / RowPitch) + 1;
        if (x >= GraphLeft && x < GraphLeft + PanelWidth) {
            slot = x - GraphLeft;
            day = LeftDayOfRow(row);
        } else if (x >= GraphLeft + PanelWidth && x < GraphLeft + 2 * PanelWidth) {
            slot = x - GraphLeft - PanelWidth;
            day = RightDayOfRow(row);
        }
    }
    if (day < 0 || day >= DayCount) {
        lstrcpyW(text, UiText(TextReadoutNone));
        *overGraph = 0;
        return;
    }
    wsprintfW(text, UiText(FormatReadout), DayDate(day), slot / 10, slot % 10 * 6);
    *overGraph = 1;
}

static INT_PTR OnGraphWindowInit(HWND window)
{
    GraphWindow.Handle = window;
    InitGraphWindow(window);
    return 0;  // no focus is set
}

// Ends the dialog; the flag is cleared first so that no write of the input handlers reaches
// the bar once the window is on its way out.
static void EndGraphWindow(HWND window, INT_PTR result)
{
    GraphWindow.Open = 0;
    EndDialog(window, result);
}

int OpenGraphWindow(HWND monitor)
{
    if (!GraphWindow.Open) ShowUiDialog(IDD_GRAPH, monitor, GraphWindowProc);
    return 1;
}

int PutAwayGraphWindow(void)
{
    if (GraphWindow.Open) EndGraphWindow(GraphWindow.Handle, 0);
    return 1;
}

static INT_PTR OnGraphWindowCommand(HWND window, int command)
{
    switch (command) {
    case IDCANCEL: EndGraphWindow(window, 0); break;
    case IDC_ABOUT:
        ShowUiDialog(IDD_ABOUT, window, AboutBoxProc);
        break;
    case IDC_SHOW_CLICKS: SwitchMetric(window, MetricClicks); break;
    case IDC_SHOW_KEYS: SwitchMetric(window, MetricKeys); break;
    case IDC_SHOW_MOVEMENT: SwitchMetric(window, MetricMovement); break;
    // The monitor window, the owner, carries the reset out: the running slot's counters are its own.
    case IDC_RESET_DATA: SendMessageW(GetWindow(window, GW_OWNER), WM_RESET_DATA, 0, 0); break;
    case IDC_GRAPH_TO_TRAY: EndGraphWindow(window, 1); break;
    case IDC_SAVE_PICTURE: SaveGraphPicture(window); break;
    case IDC_SAVE_CSV: SaveActivityCsv(window); break;
    case IDC_SHOW_TOTALS: OpenTotalsWindow(window); break;
    case IDC_SHOW_APPS: OpenAppsWindow(window); break;
    case IDC_SHARE: OpenShareWindow(window); break;
    case IDC_GRAPH_ALL_PCS: SwitchAllPcs(window); break;
    case IDC_SHOW_KEYBOARD: OpenKeyboardWindow(window); break;
    case IDC_SHOW_CALENDAR: OpenCalendarWindow(window); break;
    }
    // Every command counts as handled, IDOK (the Enter key) among them.
    return 1;
}

static INT_PTR OnGraphMouseMove(LPARAM position)
{
    wchar_t text[256];
    int overGraph = 0;
    ComposeReadout(LOWORD(position), HIWORD(position), text, &overGraph);
    if (overGraph) SetCursor(LoadCursorA(nullptr, IDC_CROSS));
    SetStatusText(PartReadout, text);
    return 0;
}

// However the window ends (its own commands, the tray, or its owner being destroyed), the bar
// goes with it: later writes from the input handlers must find no handle.
static INT_PTR OnGraphWindowDestroy(HWND window)
{
    if (window == GraphWindow.Handle) {
        GraphWindow.Open = 0;
        ForgetStatusBar();
    }
    return 0;
}

INT_PTR CALLBACK GraphWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: return OnGraphWindowInit(window);
    case WM_PAINT: return PaintGraphWindow(window);
    case WM_COMMAND: return OnGraphWindowCommand(window, LOWORD(wParam));
    case WM_CTLCOLORDLG: return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_MOUSEMOVE: return OnGraphMouseMove(lParam);
    case WM_DESTROY: return OnGraphWindowDestroy(window);
    }
    return 0;
}
