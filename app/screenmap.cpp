// The hook's physical points in this process's screen coordinates, monitor by monitor.
#include "app/screenmap.h"

ScreenMapState ScreenMap;

// A monitor's physical rectangle is that of its display mode, which the system never scales;
// its rectangle from GetMonitorInfo is in the caller's own coordinates. The two are the same
// in a per-monitor aware process, so there the mapping leaves every point as it is.
struct MonitorSearch {
    POINT physical;
    int found;
    RECT physicalRect, processRect;
};

static BOOL CALLBACK MatchMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM data)
{
    MonitorSearch* search = reinterpret_cast<MonitorSearch*>(data);
    MONITORINFOEXA info = {};
    info.cbSize = sizeof info;
    DEVMODEA mode = {};
    mode.dmSize = sizeof mode;
    if (!GetMonitorInfoA(monitor, &info) || !EnumDisplaySettingsA(info.szDevice, ENUM_CURRENT_SETTINGS, &mode))
        return TRUE;
    RECT physical = {mode.dmPosition.x, mode.dmPosition.y, mode.dmPosition.x + static_cast<LONG>(mode.dmPelsWidth),
                     mode.dmPosition.y + static_cast<LONG>(mode.dmPelsHeight)};
    if (!PtInRect(&physical, search->physical)) return TRUE;
    search->physicalRect = physical;
    search->processRect = info.rcMonitor;
    search->found = 1;
    return FALSE;
}

POINT MapPointBetween(POINT point, const RECT& from, const RECT& to)
{
    LONG fromWidth = from.right - from.left, fromHeight = from.bottom - from.top;
    if (fromWidth <= 0 || fromHeight <= 0) return point;
    POINT mapped;
    mapped.x = to.left + MulDiv(point.x - from.left, to.right - to.left, fromWidth);
    mapped.y = to.top + MulDiv(point.y - from.top, to.bottom - to.top, fromHeight);
    return mapped;
}

// The monitor of the last point is kept, so that a move costs a comparison and two
// multiplications; only a move onto another monitor enumerates them.
POINT ProcessPointFromPhysical(POINT physical)
{
    if (!ScreenMap.Valid || !PtInRect(&ScreenMap.Physical, physical)) {
        MonitorSearch search = {physical, 0, {}, {}};
        EnumDisplayMonitors(nullptr, nullptr, MatchMonitor, reinterpret_cast<LPARAM>(&search));
        // A point on no monitor (displays changing under the pointer) is taken as it is.
        if (!search.found) return physical;
        ScreenMap.Physical = search.physicalRect;
        ScreenMap.Process = search.processRect;
        ScreenMap.Valid = 1;
    }
    return MapPointBetween(physical, ScreenMap.Physical, ScreenMap.Process);
}

void ForgetScreenMap(void)
{
    ScreenMap.Valid = 0;
}
