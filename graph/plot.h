// The double-plotted bars of the selected metric for the 21 days.
#pragma once
#include <windows.h>

// Draws the plot into the context. The number of bars of earlier days that could not be put into
// it (each checked once, by the transfer of its left-panel column; today's bars and the no-data
// columns are not checked): the caller reports one box a bar.
int DrawActivityPlot(HDC dc);
