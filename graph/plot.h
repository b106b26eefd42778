// The double-plotted bars of the selected metric for the 21 days.
#pragma once
#include <windows.h>

// Draws the plot into the context; the window owns the diagnostic box. Returns 0.
int DrawActivityPlot(HWND window, HDC dc);
