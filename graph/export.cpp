// The graph as a JPEG or PNG picture: rendered off-screen and written through TransG32.DLL.
#include "graph/export.h"

#include "base/bitmap.h"
#include "base/uitext.h"
#include "graph/frame.h"
#include "graph/plot.h"
#include "graph/view.h"
#include "store/days.h"

PictureExport PictureLibrary;

// The library, loaded from the program's folder, and its wide entries: the path reaches it in
// UTF-16, whatever the folder's name.
static const char PictureLibraryName[] = "TransG32.DLL";
static const char JpegEntryName[] = "DCSavetoJPEGW";
static const char PngEntryName[] = "DCSavetoPNGW";

enum {
    StatusBarHeight = 25,    // the picture leaves out the status bar along the bottom edge
    TitleLeft = 20,          // the title stands in row 1's band, whose left half holds no day
    TitleTop = 15,
    TitleHeight = 12,
    JpegQuality = 90,
    PngLevel = 0,
    PictureLibraryMissing = 5,   // TransG32.DLL or its entry could not be found
    PictureSurfaceFailed = 6,    // the off-screen context or bitmap could not be made
};

typedef short(WINAPI* JpegEntry)(HDC dc, int width, int height, LPCWSTR path, int quality, BOOL flag);
typedef short(WINAPI* PngEntry)(HDC dc, int width, int height, LPCWSTR path, int level);

// ASCII letters only: a locale-dependent case conversion could fold another letter into one
// of the extension's.
static WCHAR FoldAsciiLetter(WCHAR c)
{
    return c >= L'A' && c <= L'Z' ? static_cast<WCHAR>(c - L'A' + L'a') : c;
}

static int EndsWithLetters(const WCHAR* end, const char* letters)
{
    for (int i = 0; i < 3; ++i)
        if (FoldAsciiLetter(end[i]) != letters[i]) return 0;
    return 1;
}

PictureType PictureTypeOf(const WCHAR* path)
{
    int length = lstrlenW(path);
    if (length < 3) return PictureNone;
    const WCHAR* end = path + length - 3;
    if (EndsWithLetters(end, "jpg")) return PictureJpeg;
    if (EndsWithLetters(end, "png")) return PicturePng;
    return PictureNone;
}

// The picture library from the program's own folder by its full path, never through the search
// path, where a file of that name in the current folder could be taken for it; and the entry of the
// name in it, or null. The caller frees the library when it was loaded.
static void* LoadPictureEntry(const char* name, HMODULE* library)
{
    *library = nullptr;
    DWORD length = GetModuleFileNameW(nullptr, PictureLibrary.Path, PathCapacity);
    if (length == 0 || length >= PathCapacity) return nullptr;
    *const_cast<WCHAR*>(AfterLastSeparator(PictureLibrary.Path)) = L'\0';
    if (!AppendName(PictureLibrary.Path, PathCapacity, PictureLibraryName) ||
        !ToLongPathForm(PictureLibrary.Path, PathCapacity) || !(*library = LoadLibraryW(PictureLibrary.Path)))
        return nullptr;
    // Through void* so that the compiler accepts the change of function type.
    return reinterpret_cast<void*>(GetProcAddress(*library, name));
}

short SaveJpegPicture(HDC dc, int width, int height, const WCHAR* path, int quality, BOOL progressive)
{
    HMODULE library;
    JpegEntry entry = reinterpret_cast<JpegEntry>(LoadPictureEntry(JpegEntryName, &library));
    short result = PictureLibraryMissing;
    if (entry) result = entry(dc, width, height, path, quality, progressive ? -1 : 0);
    if (library) FreeLibrary(library);
    return result;
}

short SavePngPicture(HDC dc, int width, int height, const WCHAR* path, int level)
{
    HMODULE library;
    PngEntry entry = reinterpret_cast<PngEntry>(LoadPictureEntry(PngEntryName, &library));
    short result = PictureLibraryMissing;
    if (entry) result = entry(dc, width, height, path, level);
    if (library) FreeLibrary(library);
    return result;
}

// What the picture shows: the white background of the window, the plot, the frame with its
// labels, and the title of the selected metric.
static int RenderGraphPicture(HDC memoryDc, int width, int height)
{
    RECT area = {0, 0, width, height};
    FillRect(memoryDc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    int failedBars = DrawActivityPlot(memoryDc);
    DrawGraphFrame(memoryDc);
    // The frame has left the context with a transparent background and black text.
    static const UiTextId MetricTitles[MetricCount] = {TextMetricClicks, TextMetricKeys, TextMetricMovement};
    const int metric = SelectedMetric();
    const wchar_t* title = metric >= 0 && metric < MetricCount ? UiText(MetricTitles[metric]) : L"";
    HFONT font = CreateGraphFont(TitleHeight, UiCharset(), UiText(TextTitleFace));
    HGDIOBJ oldFont = font ? SelectObject(memoryDc, font) : nullptr;
    TextOutW(memoryDc, TitleLeft, TitleTop, title, lstrlenW(title));
    if (font) {
        SelectObject(memoryDc, oldFont);
        DeleteObject(font);
    }
    return failedBars;
}

short WritePicture(HWND window, int width, int height, RenderPicture render, const void* context, PictureType type,
                   const WCHAR* path, int* rendered)
{
    *rendered = 0;
    if (width <= 0 || height <= 0) return PictureSurfaceFailed;

    // A 32-bit section keeps the bar and grey colours exact whatever the screen's depth.
    BITMAPINFO format = TopDownBitmapFormat(width, height, 32);

    short result = PictureSurfaceFailed;
    HDC windowDc = GetDC(window);
    HDC memoryDc = windowDc ? CreateCompatibleDC(windowDc) : nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = memoryDc ? CreateDIBSection(memoryDc, &format, DIB_RGB_COLORS, &bits, nullptr, 0)
                              : nullptr;
    if (bitmap) {
        HGDIOBJ oldBitmap = SelectObject(memoryDc, bitmap);
        *rendered = render(memoryDc, width, height, context);
        // The section must be complete before the library reads it through the context.
        GdiFlush();
        if (type == PictureJpeg)
            result = SaveJpegPicture(memoryDc, width, height, path, JpegQuality, TRUE);
        else if (type == PicturePng)
            result = SavePngPicture(memoryDc, width, height, path, PngLevel);
        SelectObject(memoryDc, oldBitmap);
        DeleteObject(bitmap);
    }
    if (memoryDc) DeleteDC(memoryDc);
    if (windowDc) ReleaseDC(window, windowDc);
    return result;
}

static int RenderGraph(HDC memoryDc, int width, int height, const void* context)
{
    (void)context;
    return RenderGraphPicture(memoryDc, width, height);
}

short WriteGraphPicture(HWND window, PictureType type, const WCHAR* path, int* failedBars)
{
    RECT client;
    GetClientRect(window, &client);
    return WritePicture(window, client.right, client.bottom - StatusBarHeight, RenderGraph, nullptr, type, path,
                        failedBars);
}
