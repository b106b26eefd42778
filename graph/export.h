// The graph as a JPEG or PNG picture, rendered off-screen and written through TransG32.DLL.
#pragma once
#include <windows.h>

#include "base/files.h"

enum PictureType { PictureNone = 0, PictureJpeg = 1, PicturePng = 2 };

// Written by graph/export.cpp alone: the picture library's full path.
struct PictureExport {
    WCHAR Path[PathCapacity];
};
extern PictureExport PictureLibrary;

short SaveJpegPicture(HDC dc, int width, int height, const WCHAR* path, int quality, BOOL progressive);
short SavePngPicture(HDC dc, int width, int height, const WCHAR* path, int level);
// The type named by the last three characters of the path, in any case.
PictureType PictureTypeOf(const WCHAR* path);
// Renders the window's graph off-screen, client width by client height less the status bar,
// with the title of the selected metric, and writes it to the path as the type; 0 when the file
// was written. The bars that could not be drawn go to *failedBars, for the caller to report.
short WriteGraphPicture(HWND window, PictureType type, const WCHAR* path, int* failedBars);
// Renders a picture of the size off-screen, on a context compatible with the window's, and writes
// it to the path as the type; 0 when the file was written. What the renderer returns goes to
// *rendered.
typedef int (*RenderPicture)(HDC dc, int width, int height, const void* context);
short WritePicture(HWND window, int width, int height, RenderPicture render, const void* context, PictureType type,
                   const WCHAR* path, int* rendered);
