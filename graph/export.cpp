// Saving the graph as a JPEG or PNG picture through TransG32.DLL.
#include "graph/export.h"
#include <commdlg.h>
#include <stdio.h>
#include <string.h>
#include "ui/report.h"
#include "res/texts.h"
#include "graph/frame.h"
#include "graph/plot.h"
#include "graph/savedialog.h"
#include "store/state.h"
#include "store/store.h"

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

// The library's wide entries: the path reaches it in UTF-16, whatever the folder's name.
typedef short(WINAPI* JpegEntry)(HDC dc, int width, int height, LPCWSTR path, int quality, BOOL flag);
typedef short(WINAPI* PngEntry)(HDC dc, int width, int height, LPCWSTR path, int level);

// The default extension, in wide characters.
enum { DialogExtensionChars = 8 };

void ComposePictureName(char* buffer, int metric, int year, int month, int day)
{
    const char* code = metric >= 0 && metric < MetricCount ? MetricShortCodes[metric] : "";
    snprintf(buffer, ProposedNameSize, FormatPictureName, code, year, month, day);
}

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

// An ASCII name in UTF-16 (ASCII is the same in every code page); empty when it does not fit.
static void WidenName(const char* text, WCHAR* wide, int capacity)
{
    if (!MultiByteToWideChar(CP_ACP, 0, text, -1, wide, capacity)) wide[0] = L'\0';
}

int ChooseSaveFile(HWND owner, UiTextId filter, const char* defaultExtension, const char* proposed, WCHAR* path,
                   DWORD flags)
{
    // The dialog is the wide one: its texts are those of the UI language whatever the ANSI code
    // page, and the chosen path arrives whole whatever its characters.
    WCHAR extension[DialogExtensionChars];
    WidenName(defaultExtension, extension, DialogExtensionChars);
    WidenName(proposed, path, PathCapacity);
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = UiText(filter);
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = path;
    dialog.nMaxFile = PathCapacity;
    dialog.lpstrTitle = UiText(TextSaveTitle);
    dialog.Flags = flags;
    dialog.lpstrDefExt = extension;
    // The dialog runs a modal loop: the monitor window's ticks and hook messages go on meanwhile.
    if (!ShowSaveDialog(&dialog)) return 0;
    // A chosen path that passes MAX_PATH is used in the long form.
    return ToLongPathForm(path, PathCapacity);
}

// The picture library from the program's own folder by its full path, never through the search
// path, where a file of that name in the current folder could be taken for it.
static HMODULE LoadPictureLibrary(void)
{
    DWORD length = GetModuleFileNameW(nullptr, App.LibraryPath, PathCapacity);
    if (length == 0 || length >= PathCapacity) return nullptr;
    *const_cast<WCHAR*>(AfterLastSeparator(App.LibraryPath)) = L'\0';
    if (!AppendName(App.LibraryPath, PathCapacity, TextPictureLibrary) ||
        !ToLongPathForm(App.LibraryPath, PathCapacity))
        return nullptr;
    return LoadLibraryW(App.LibraryPath);
}

short SaveJpegPicture(HDC dc, int width, int height, const WCHAR* path, int quality, BOOL progressive)
{
    HMODULE library = LoadPictureLibrary();
    if (!library) return PictureLibraryMissing;
    // Through void* so that the compiler accepts the change of function type.
    JpegEntry entry = reinterpret_cast<JpegEntry>(
        reinterpret_cast<void*>(GetProcAddress(library, TextJpegEntry)));
    short result = PictureLibraryMissing;
    if (entry) result = entry(dc, width, height, path, quality, progressive ? -1 : 0);
    FreeLibrary(library);
    return result;
}

short SavePngPicture(HDC dc, int width, int height, const WCHAR* path, int level)
{
    HMODULE library = LoadPictureLibrary();
    if (!library) return PictureLibraryMissing;
    PngEntry entry = reinterpret_cast<PngEntry>(
        reinterpret_cast<void*>(GetProcAddress(library, TextPngEntry)));
    short result = PictureLibraryMissing;
    if (entry) result = entry(dc, width, height, path, level);
    FreeLibrary(library);
    return result;
}

// What the picture shows: the white background of the window, the plot, the frame with its
// labels, and the title of the selected metric.
static void RenderGraphPicture(HWND window, HDC memoryDc, int width, int height)
{
    RECT area = {0, 0, width, height};
    FillRect(memoryDc, &area, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    DrawActivityPlot(window, memoryDc);
    DrawGraphFrame(window, memoryDc);
    // The frame has left the context with a transparent background and black text.
    static const UiTextId MetricTitles[MetricCount] = {TextMetricClicks, TextMetricKeys, TextMetricMovement};
    const wchar_t* title = App.SelectedMetric >= 0 && App.SelectedMetric < MetricCount
                               ? UiText(MetricTitles[App.SelectedMetric]) : L"";
    HFONT font = CreateGraphFont(TitleHeight, UiCharset(), UiText(TextTitleFace));
    HGDIOBJ oldFont = font ? SelectObject(memoryDc, font) : nullptr;
    TextOutW(memoryDc, TitleLeft, TitleTop, title, lstrlenW(title));
    if (font) {
        SelectObject(memoryDc, oldFont);
        DeleteObject(font);
    }
}

short WriteGraphPicture(HWND window, PictureType type, const WCHAR* path)
{
    RECT client;
    GetClientRect(window, &client);
    int width = client.right;
    int height = client.bottom - StatusBarHeight;
    if (width <= 0 || height <= 0) return PictureSurfaceFailed;

    // A 32-bit section keeps the bar and grey colours exact whatever the screen's depth.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof format.bmiHeader;
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;

    short result = PictureSurfaceFailed;
    HDC windowDc = GetDC(window);
    HDC memoryDc = windowDc ? CreateCompatibleDC(windowDc) : nullptr;
    void* bits = nullptr;
    HBITMAP bitmap = memoryDc ? CreateDIBSection(memoryDc, &format, DIB_RGB_COLORS, &bits, nullptr, 0)
                              : nullptr;
    if (bitmap) {
        HGDIOBJ oldBitmap = SelectObject(memoryDc, bitmap);
        RenderGraphPicture(window, memoryDc, width, height);
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

void SaveGraphPicture(HWND graphWindow)
{
    ZeroMemory(App.PicturePath, sizeof App.PicturePath);
    // Today as the slot clock sees it: the date of today's column.
    int today = App.TodayDate;
    char name[ProposedNameSize];
    ComposePictureName(name, App.SelectedMetric, today / 10000, today / 100 % 100, today % 100);
    if (!ChooseSaveFile(graphWindow, TextPictureFilter, TextDefaultExt, name, App.PicturePath, SaveDialogFlags))
        return;

    // Any other ending writes nothing and reports nothing.
    PictureType type = PictureTypeOf(App.PicturePath);
    if (type != PictureNone && WriteGraphPicture(graphWindow, type, App.PicturePath) != 0)
        ReportFailure(graphWindow, type == PictureJpeg ? TextJpegFailed : TextPngFailed,
                      TextErrorCaption);
    InvalidateRect(graphWindow, nullptr, TRUE);
}
