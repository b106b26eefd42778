// The graph's constant layout table.
#include "graph/geometry.h"

const int GraphGeometry[16] = {
    RowPitch, BarScale, GraphTop, GraphLeft,
    50, 15, 531, 414,    // GraphRect: 414 = bottom baseline + 3 tick pixels, 531 = 50 + 480 + 1
    50, 395, 290, 414,   // TodayBandLeft
    290, 378, 531, 396,  // TodayBandRight
};

static RECT RectAt(int first)
{
    RECT r = {GraphGeometry[first], GraphGeometry[first + 1],
              GraphGeometry[first + 2], GraphGeometry[first + 3]};
    return r;
}

RECT GraphRect(void) { return RectAt(4); }
RECT TodayBandLeft(void) { return RectAt(8); }
RECT TodayBandRight(void) { return RectAt(12); }
