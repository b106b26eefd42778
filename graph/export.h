// Saving the graph as a JPEG or PNG picture through TransG32.DLL.
#pragma once
#include <windows.h>
#include "res/texts.h"

enum PictureType { PictureNone = 0, PictureJpeg = 1, PicturePng = 2 };

// The size of a proposed file name.
enum { ProposedNameSize = 64 };

void SaveGraphPicture(HWND graphWindow);
// The save dialog of both exports, titled "名前を付けて保存" (in the UI language), with no initial
// folder, the filter of the UI language, proposing the name (ASCII, as the extension): nonzero
// when the user chose a file, whose full path is then in the buffer (PathCapacity wide
// characters), in the long form when it passes MAX_PATH.
int ChooseSaveFile(HWND owner, UiTextId filter, const char* defaultExtension, const char* proposed, WCHAR* path,
                   DWORD flags);
short SaveJpegPicture(HDC dc, int width, int height, const WCHAR* path, int quality, BOOL progressive);
short SavePngPicture(HDC dc, int width, int height, const WCHAR* path, int level);
// The type named by the last three characters of the path, in any case.
PictureType PictureTypeOf(const WCHAR* path);
// Formats the proposed file name for the metric and date into the buffer (ProposedNameSize).
void ComposePictureName(char* buffer, int metric, int year, int month, int day);
// Renders the window's graph off-screen, client width by client height less the status bar,
// and writes it to the path as the type; 0 when the file was written.
short WriteGraphPicture(HWND window, PictureType type, const WCHAR* path);
