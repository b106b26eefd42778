// TransG32.DLL's entries and the codes they return.
#pragma once
#include <windows.h>

// 0 means the whole file was written; every other code means no file was made or changed.
enum TransG32Result {
    TransG32Written = 0,
    TransG32BadArguments = 1,    // null context, null, empty or unconvertible path, size <= 0
    TransG32CaptureFailed = 2,   // the area could not be copied out of the context
    TransG32EncoderFailed = 3,   // the imaging component could not encode the picture
    TransG32CannotWrite = 4,     // the file could not be created or put in place
};

extern "C" {
// Writes the area (0, 0, width, height) of the context as a JPEG of the given quality, 0..100.
// The imaging component writes baseline JPEGs only, so the progressive flag is accepted and
// has no effect.
short WINAPI DCSavetoJPEG(HDC dc, int width, int height, LPSTR path, int quality, BOOL progressive);
// Writes the same area as a PNG. PNG is lossless at every level; the imaging component
// chooses its own compression, so the level is accepted and has no effect.
short WINAPI DCSavetoPNG(HDC dc, int width, int height, LPSTR path, int level);
// The same two with the path in UTF-16, which may be in the \\?\ form: any name, any length.
// The entries above take the path in the ANSI code page and pass it on to these.
short WINAPI DCSavetoJPEGW(HDC dc, int width, int height, LPCWSTR path, int quality, BOOL progressive);
short WINAPI DCSavetoPNGW(HDC dc, int width, int height, LPCWSTR path, int level);
}
