// The activity plot: one-pixel bars of the selected metric for all 21 days, in both panels.
#include "graph/plot.h"

#include "base/bitmap.h"
#include "graph/geometry.h"
#include "graph/view.h"
#include "store/days.h"
#include "store/sharedpcs.h"

// Height of a bar on a day scaled so that its maximum is BarScale pixels. The product is
// taken in double and truncated, so a value equal to some maxima (11, 13, 22, ...) gives 14.
static int BarHeight(int value, int maximum)
{
    // Maxima below 0 and values outside 0..maximum come only from damaged day files;
    // such a day draws no bars and no bar leaves its band.
    const double factor = maximum > 0 ? static_cast<double>(BarScale) / maximum : 0.0;
    double height = value * factor;
    if (height < 0) height = 0;
    if (height > BarScale) height = BarScale;
    return static_cast<int>(height);
}

enum { PlotWidth = 2 * PanelWidth };  // both panels, a pixel a slot

// Colours as pixels of a 32-bit DIB (0x00RRGGBB).
enum : DWORD {
    BackgroundPixel = 0xFFFFFF,  // white, as the graph window's background
    BarPixel = 0xFF3232,         // red (255, 50, 50)
    NoDataPixel = 0x969696,      // grey (150, 150, 150)
};

// One row's band, the RowPitch pixel rows above its baseline across both panels, composed here
// and put into the context by one call: the row's 480 columns cost one transfer instead of a
// move, a line and a pen selection each.
struct RowBand {
    DWORD Pixels[RowPitch][PlotWidth];
    int Top;  // y of the band's first pixel row
};

// Colours the pixels x, top..baseline - 1, as a line from (x, top) to the baseline does (its end
// point left out), as far as they lie within the area being painted.
static void ComposeColumn(RowBand* band, const RECT& area, int x, int top, int baseline, DWORD pixel)
{
    if (x < area.left || x >= area.right) return;
    if (top < area.top) top = area.top;
    const int bottom = baseline < area.bottom ? baseline : area.bottom;
    for (int y = top; y < bottom; y++) band->Pixels[y - band->Top][x - GraphLeft] = pixel;
}

// Composes one day's columns of a panel into the band; the number of its bars (slots with data)
// that stand within the area.
static int ComposeDay(RowBand* band, const RECT& area, int day, int panelLeft, int baseline)
{
    const int m = SelectedMetric();
    const int maximum = ShownDayMaximum(m, day);
    // Today's slots after the current one hold no data yet and stay background.
    const int last = day == 0 ? CurrentSlot() : SlotCount - 1;
    int bars = 0;
    for (int s = 0; s <= last; s++) {
        const int v = ShownDayValue(m, s, day);
        if (v == NoData) {
            ComposeColumn(band, area, panelLeft + s, baseline - RowPitch, baseline, NoDataPixel);
            continue;
        }
        const int x = panelLeft + s;
        ComposeColumn(band, area, x, baseline - BarHeight(v, maximum), baseline, BarPixel);
        if (x >= area.left && x < area.right) bars++;
    }
    return bars;
}

// Puts the part of the band within the area into the context; 0 when the call failed.
static int TransferBand(HDC dc, const RowBand& band, const RECT& area)
{
    const int top = area.top > band.Top ? area.top : band.Top;
    const int bottom = area.bottom < band.Top + RowPitch ? area.bottom : band.Top + RowPitch;
    const int width = area.right - area.left, height = bottom - top;
    // From the first pixel row to be put.
    BITMAPINFO format = TopDownBitmapFormat(PlotWidth, height, 32);
    return SetDIBitsToDevice(dc, area.left, top, width, height, area.left - GraphLeft, 0, 0, height,
                             band.Pixels[top - band.Top], &format, DIB_RGB_COLORS);
}

int DrawActivityPlot(HDC dc)
{
    // Only the part of the plot that is being painted is composed and put: a live repaint asks
    // for two one-pixel columns.
    RECT area = {GraphLeft, RowBaseline(1) - RowPitch, GraphLeft + PlotWidth, RowBaseline(RowCount)};
    RECT clip;
    if (GetClipBox(dc, &clip) != ERROR && !IntersectRect(&area, &area, &clip)) return 0;

    // Each band is composed whole, background and bars, and put by one call. The context holds
    // background under the plot whenever it paints: the window erases what it repaints, the
    // export fills its picture white, and a live repaint of today's current column goes over
    // that column's earlier bar, which is never taller, as a slot's values only grow.
    RowBand band;
    int failedBars = 0;
    for (int a = 1; a <= RowCount; a++) {
        const int baseline = RowBaseline(a);
        band.Top = baseline - RowPitch;
        if (baseline <= area.top || band.Top >= area.bottom) continue;
        for (int y = 0; y < RowPitch; y++)
            for (int x = area.left; x < area.right; x++) band.Pixels[y][x - GraphLeft] = BackgroundPixel;
        const int leftDay = LeftDayOfRow(a), rightDay = RightDayOfRow(a);
        int leftBars = 0;
        if (leftDay < DayCount) leftBars = ComposeDay(&band, area, leftDay, GraphLeft, baseline);
        if (rightDay >= 0) ComposeDay(&band, area, rightDay, GraphLeft + PanelWidth, baseline);
        // Only the bars of earlier days are checked, each once, by the transfer of the band
        // that holds its left-panel column; today's bars and the no-data columns are not.
        if (!TransferBand(dc, band, area) && leftDay > 0) failedBars += leftBars;
    }
    return failedBars;
}
