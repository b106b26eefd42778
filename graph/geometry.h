// The graph's fixed pixel layout, shared by drawing, repaint requests, read-out and export.
#pragma once
#include <windows.h>

// Sixteen constants in their fixed order; the named views below index into it.
extern const int GraphGeometry[16];

enum {
    RowPitch = 18,    // baseline to baseline of two day rows
    BarScale = 15,    // height of a bar equal to its day's maximum
    GraphTop = 15,    // upper edge of row 1's band
    GraphLeft = 50,   // x of slot 0 in the left panel
    PanelWidth = 240, // one pixel per slot
};

// The three stored rectangles (right and bottom exclusive).
RECT GraphRect(void);
RECT TodayBandLeft(void);
RECT TodayBandRight(void);

// Baseline of row a (1..22).
inline int RowBaseline(int row) { return GraphTop + row * RowPitch; }
