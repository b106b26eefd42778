// The graph's baselines, six-hour tick marks and day labels.
#pragma once
#include <windows.h>

// Draws the frame over the plot; leaves the context TRANSPARENT with black text. Returns 0.
int DrawGraphFrame(HDC dc);
// A 12-pixel-cell font of the face, or of an installed Japanese face where a Japanese one is missing.
HFONT CreateGraphFont(int height, BYTE charset, const wchar_t* face);
