// The activity plot: one-pixel bars of the selected metric for all 21 days, in both panels.
#include "graph/plot.h"
#include "graph/geometry.h"
#include "store/state.h"
#include "app/texts.h"
#include "app/report.h"

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

int DrawActivityPlot(HWND window, HDC dc)
{
    const int m = App.SelectedMetric;
    HPEN barPen = CreatePen(PS_SOLID, 1, RGB(255, 50, 50));
    HPEN noDataPen = CreatePen(PS_SOLID, 1, RGB(150, 150, 150));
    HGDIOBJ previousPen = GetCurrentObject(dc, OBJ_PEN);
    // A live repaint asks for two one-pixel columns: columns and rows outside the area to be
    // painted are left out instead of drawn and then clipped away.
    RECT clip;
    const int clipped = GetClipBox(dc, &clip) != ERROR;

    for (int k = 0; k < DayCount; k++) {
        const int yL = RowBaseline(22 - k);
        const int yR = yL - RowPitch;
        // The day's two rows cover the band from yR - RowPitch to just above yL.
        if (clipped && (yL <= clip.top || yR - RowPitch >= clip.bottom)) continue;
        // Today's slots after the current one hold no data yet and stay background.
        const int last = k == 0 ? App.CurrentSlot : SlotCount - 1;
        const int maximum = App.DayMaxima[m][k];
        for (int s = 0; s <= last; s++) {
            const int v = App.ActivityTable[m][s][k];
            const int xL = GraphLeft + s;
            const int xR = GraphLeft + PanelWidth + s;
            if (clipped && (xL < clip.left || xL >= clip.right) && (xR < clip.left || xR >= clip.right)) continue;
            // Lines leave out their end point: a column from y to the baseline ends just above it.
            if (v == NoData) {
                SelectObject(dc, noDataPen);
                MoveToEx(dc, xL, yL - RowPitch, nullptr);
                LineTo(dc, xL, yL);
                MoveToEx(dc, xR, yR - RowPitch, nullptr);
                LineTo(dc, xR, yR);
                continue;
            }
            SelectObject(dc, barPen);
            const int h = BarHeight(v, maximum);
            if (!MoveToEx(dc, xL, yL - h, nullptr) && k > 0)
                ReportFailure(window, TextPlotError, TextPlotErrorCaption, MB_OK);
            LineTo(dc, xL, yL);
            MoveToEx(dc, xR, yR - h, nullptr);
            LineTo(dc, xR, yR);
        }
    }

    SelectObject(dc, previousPen);
    DeleteObject(barPen);
    DeleteObject(noDataPen);
    return 0;
}
