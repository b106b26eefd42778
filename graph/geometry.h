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

enum { RowCount = 22 };  // rows 1..22; day k stands on row 22 - k on the left, 21 - k on the right

// Baseline of row a (1..22).
inline int RowBaseline(int row) { return GraphTop + row * RowPitch; }
// The baselines of day k (0 today .. 20): its bars stand on them, in the left and right panel.
inline int LeftBaselineOfDay(int day) { return RowBaseline(RowCount - day); }
inline int RightBaselineOfDay(int day) { return RowBaseline(RowCount - 1 - day); }
// The day whose bars stand on row a's baseline in the left or right panel; out of 0..20 when
// the row holds none there (row 1 on the left, row 22 on the right).
inline int LeftDayOfRow(int row) { return RowCount - row; }
inline int RightDayOfRow(int row) { return RowCount - 1 - row; }
