// The format of a top-down device-independent bitmap, as the plot, the picture export and the
// picture library make them.
#pragma once
#include <windows.h>

// Rows from the top (a negative height), one plane, no compression.
inline BITMAPINFO TopDownBitmapFormat(int width, int height, int bitsPerPixel)
{
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}
