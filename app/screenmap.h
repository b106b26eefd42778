// Points of the hook library, which are physical screen coordinates, in this process's own
// screen coordinates (those GetCursorPos gives it).
#pragma once
#include <windows.h>

// Written by app/screenmap.cpp alone: the monitor of the last hook point, in the hook's physical
// coordinates and in this process's own; looked up again when a point leaves it or the displays
// change.
struct ScreenMapState {
    int Valid;
    RECT Physical, Process;
};
extern ScreenMapState ScreenMap;

// The point in the coordinates of this process: on a scaled display a process that is not
// per-monitor DPI aware sees each monitor shrunk by its scale, the hook's points do not.
POINT ProcessPointFromPhysical(POINT physical);
// Maps a point on one monitor from its rectangle in one coordinate space onto the same
// monitor's rectangle in another, to the nearest pixel.
POINT MapPointBetween(POINT point, const RECT& from, const RECT& to);
// The displays changed (layout, resolution or scale): the next point looks its monitor up anew.
void ForgetScreenMap(void);
