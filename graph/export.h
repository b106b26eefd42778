// Saving the graph as a JPEG or PNG picture through TransG32.DLL.
#pragma once
#include <windows.h>

enum PictureType { PictureNone = 0, PictureJpeg = 1, PicturePng = 2 };

void SaveGraphPicture(HWND graphWindow);
int ChoosePictureFile(HWND owner, const char* filter, char* path, DWORD flags);
// The save dialog of both exports, titled "名前を付けて保存", with no initial folder: nonzero
// when the user chose a file, whose full path is then in the buffer.
int ChooseSaveFile(HWND owner, const char* filter, const char* defaultExtension, char* path, DWORD pathSize,
                   DWORD flags);
short SaveJpegPicture(HDC dc, int width, int height, char* path, int quality, BOOL progressive);
short SavePngPicture(HDC dc, int width, int height, char* path, int level);
// The type named by the last three characters of the path, in any case.
PictureType PictureTypeOf(const char* path);
// Formats the proposed file name for the metric and date into the buffer (520 bytes, as the
// picture path).
void ComposePictureName(char* buffer, int metric, int year, int month, int day);
// Renders the window's graph off-screen, client width by client height less the status bar,
// and writes it to the path as the type; 0 when the file was written.
short WriteGraphPicture(HWND window, PictureType type, char* path);
