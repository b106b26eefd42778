// TransG32.DLL loaded by name as the program loads it: pictures of a known pattern written,
// decoded again and compared, and the calls that must leave no file behind.
#include <windows.h>
#include <wincodec.h>
#include <gtest/gtest.h>
#include <set>
#include <string>
#include <vector>

#include "graph/transg32/transg32.h"
#include "support/testwin.h"

namespace {

typedef short(WINAPI* JpegEntry)(HDC dc, int width, int height, LPSTR path, int quality, BOOL flag);
typedef short(WINAPI* PngEntry)(HDC dc, int width, int height, LPSTR path, int level);
typedef short(WINAPI* WideJpegEntry)(HDC dc, int width, int height, LPCWSTR path, int quality, BOOL flag);
typedef short(WINAPI* WidePngEntry)(HDC dc, int width, int height, LPCWSTR path, int level);

enum Format { Jpeg, Png };

// The source is larger than the area taken from its top-left corner. 61 pixels of 3 bytes
// make rows that need padding.
const int SourceWidth = 96, SourceHeight = 72;
const int AreaWidth = 61, AreaHeight = 45;

struct Block {
    int left, top, right, bottom;
    COLORREF colour;
    bool flat;   // a 16-pixel square on the 16-pixel grid, where JPEG keeps the colour
};
// Later blocks paint over earlier ones; one-pixel blocks are single dots.
const Block Pattern[] = {
    {0, 0, SourceWidth, SourceHeight, RGB(0, 0, 0), false},         // beyond the area
    {0, 0, AreaWidth, AreaHeight, RGB(255, 255, 255), false},
    {0, 16, 16, 32, RGB(255, 50, 50), true},
    {16, 16, 32, 32, RGB(150, 150, 150), true},
    {32, 0, 48, 16, RGB(20, 40, 200), true},
    {32, 16, 48, 32, RGB(30, 160, 60), true},
    {0, 0, 16, 16, RGB(255, 255, 255), true},
    {0, 40, AreaWidth, 41, RGB(200, 100, 0), false},                 // a one-pixel line
    {53, 6, 54, 7, RGB(0, 0, 0), false},
    {0, AreaHeight - 1, 1, AreaHeight, RGB(0, 0, 255), false},       // corners of the area
    {AreaWidth - 1, 0, AreaWidth, 1, RGB(0, 255, 0), false},
    {AreaWidth - 1, AreaHeight - 1, AreaWidth, AreaHeight, RGB(255, 0, 0), false},
    {50, 20, 51, 21, RGB(1, 2, 3), false},
    {AreaWidth, AreaHeight, AreaWidth + 1, AreaHeight + 1, RGB(255, 255, 0), false},
};

COLORREF ExpectedAt(int x, int y)
{
    COLORREF colour = 0;
    for (const Block& b : Pattern)
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) colour = b.colour;
    return colour;
}

// A memory context holding the pattern in a 32-bit section.
struct Source {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    Source(int width = SourceWidth, int height = SourceHeight)
    {
        BITMAPINFO format = {};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = width;
        format.bmiHeader.biHeight = -height;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        dc = CreateCompatibleDC(nullptr);
        bitmap = CreateDIBSection(dc, &format, DIB_RGB_COLORS, &bits, nullptr, 0);
        previous = SelectObject(dc, bitmap);
        for (const Block& b : Pattern) {
            RECT r = {b.left, b.top, b.right, b.bottom};
            HBRUSH brush = CreateSolidBrush(b.colour);
            FillRect(dc, &r, brush);
            DeleteObject(brush);
        }
        GdiFlush();
    }
    ~Source()
    {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
};

struct Decoded {
    bool ok = false;
    GUID container = {};
    UINT width = 0, height = 0;
    std::vector<BYTE> bgr;   // 3 bytes a pixel, rows unpadded
    COLORREF At(int x, int y) const
    {
        const BYTE* p = &bgr[(static_cast<size_t>(y) * width + x) * 3];
        return RGB(p[2], p[1], p[0]);
    }
};

Decoded DecodePicture(const std::wstring& path)
{
    Decoded result;
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICBitmapSource* converted = nullptr;
    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr))
        hr = factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                WICDecodeMetadataCacheOnDemand, &decoder);
    if (SUCCEEDED(hr)) hr = decoder->GetContainerFormat(&result.container);
    if (SUCCEEDED(hr)) hr = decoder->GetFrame(0, &frame);
    if (SUCCEEDED(hr)) hr = WICConvertBitmapSource(GUID_WICPixelFormat24bppBGR, frame, &converted);
    if (SUCCEEDED(hr)) hr = converted->GetSize(&result.width, &result.height);
    if (SUCCEEDED(hr)) {
        result.bgr.resize(static_cast<size_t>(result.width) * result.height * 3);
        hr = converted->CopyPixels(nullptr, result.width * 3, static_cast<UINT>(result.bgr.size()),
                                   result.bgr.data());
    }
    result.ok = SUCCEEDED(hr);
    if (converted) converted->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (factory) factory->Release();
    return result;
}

std::wstring WideModuleFolder()
{
    wchar_t path[MAX_PATH] = L"";
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s = path;
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

std::vector<unsigned char> ReadWideFile(const std::wstring& path)
{
    std::vector<unsigned char> data;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return data;
    data.resize(GetFileSize(file, nullptr));
    DWORD got = 0;
    if (!data.empty() && !ReadFile(file, data.data(), static_cast<DWORD>(data.size()), &got, nullptr))
        got = 0;
    data.resize(got);
    CloseHandle(file);
    return data;
}

// Names of the files in a folder, to see that nothing was left beside the target.
std::set<std::wstring> ListFolder(const std::wstring& folder)
{
    std::set<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.insert(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

void EmptyFolder(const std::wstring& folder)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    for (const std::wstring& name : ListFolder(folder)) {
        SetFileAttributesW((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW((folder + name).c_str());
    }
}

const unsigned char PngSignature[] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};
const unsigned char JpegSignature[] = {0xFF, 0xD8, 0xFF};

bool StartsWith(const std::vector<unsigned char>& data, const unsigned char* prefix, size_t size)
{
    return data.size() >= size && std::equal(prefix, prefix + size, data.begin());
}

class TransG32Test : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        // Cleared at the start, not the end, so that the pictures stay for other tools to check.
        EmptyFolder(WideFolder());
        Library = LoadLibraryA("TransG32.DLL");
        if (!Library) return;
        SaveJpeg = reinterpret_cast<JpegEntry>(
            reinterpret_cast<void*>(GetProcAddress(Library, "DCSavetoJPEG")));
        SavePng = reinterpret_cast<PngEntry>(
            reinterpret_cast<void*>(GetProcAddress(Library, "DCSavetoPNG")));
        SaveWideJpeg = reinterpret_cast<WideJpegEntry>(
            reinterpret_cast<void*>(GetProcAddress(Library, "DCSavetoJPEGW")));
        SaveWidePng = reinterpret_cast<WidePngEntry>(
            reinterpret_cast<void*>(GetProcAddress(Library, "DCSavetoPNGW")));
    }
    static void TearDownTestSuite()
    {
        if (Library) FreeLibrary(Library);
        CoUninitialize();
    }
    void SetUp() override
    {
        ASSERT_NE(Library, nullptr) << "TransG32.DLL did not load";
        ASSERT_NE(SaveJpeg, nullptr) << "no entry named DCSavetoJPEG";
        ASSERT_NE(SavePng, nullptr) << "no entry named DCSavetoPNG";
        ASSERT_NE(SaveWideJpeg, nullptr) << "no entry named DCSavetoJPEGW";
        ASSERT_NE(SaveWidePng, nullptr) << "no entry named DCSavetoPNGW";
    }

    static std::string Folder() { return ModuleFolder() + "transg32-work\\"; }
    static std::wstring WideFolder() { return WideModuleFolder() + L"transg32-work\\"; }

    static short Save(Format format, HDC dc, int width, int height, const char* path,
                      int quality = 90)
    {
        char* text = const_cast<char*>(path);
        return format == Jpeg ? SaveJpeg(dc, width, height, text, quality, -1)
                              : SavePng(dc, width, height, text, 0);
    }

    static short SaveWide(Format format, HDC dc, int width, int height, const std::wstring& path)
    {
        return format == Jpeg ? SaveWideJpeg(dc, width, height, path.c_str(), 90, -1)
                              : SaveWidePng(dc, width, height, path.c_str(), 0);
    }

    static HMODULE Library;
    static JpegEntry SaveJpeg;
    static PngEntry SavePng;
    static WideJpegEntry SaveWideJpeg;
    static WidePngEntry SaveWidePng;
};
HMODULE TransG32Test::Library = nullptr;
JpegEntry TransG32Test::SaveJpeg = nullptr;
PngEntry TransG32Test::SavePng = nullptr;
WideJpegEntry TransG32Test::SaveWideJpeg = nullptr;
WidePngEntry TransG32Test::SaveWidePng = nullptr;

const char* Extension(Format format) { return format == Jpeg ? ".jpg" : ".png"; }
const wchar_t* WideExtension(Format format) { return format == Jpeg ? L".jpg" : L".png"; }

// Checks the picture at the path against the pattern: PNG to the pixel, JPEG on the insides of
// the flat blocks.
void ExpectPattern(Format format, const std::wstring& path)
{
    std::vector<unsigned char> data = ReadWideFile(path);
    if (format == Png)
        EXPECT_TRUE(StartsWith(data, PngSignature, sizeof PngSignature)) << "not a PNG file";
    else
        EXPECT_TRUE(StartsWith(data, JpegSignature, sizeof JpegSignature)) << "not a JPEG file";

    Decoded picture = DecodePicture(path);
    ASSERT_TRUE(picture.ok) << "the file does not decode";
    EXPECT_TRUE(IsEqualGUID(picture.container,
                            format == Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg));
    ASSERT_EQ(picture.width, static_cast<UINT>(AreaWidth));
    ASSERT_EQ(picture.height, static_cast<UINT>(AreaHeight));

    if (format == Png) {
        int wrong = 0;
        for (int y = 0; y < AreaHeight; ++y)
            for (int x = 0; x < AreaWidth; ++x)
                if (picture.At(x, y) != ExpectedAt(x, y) && ++wrong <= 5)
                    ADD_FAILURE() << "pixel (" << x << ", " << y << ") is " << std::hex
                                  << picture.At(x, y) << ", expected " << ExpectedAt(x, y);
        EXPECT_EQ(wrong, 0);
        return;
    }
    const int Tolerance = 12, Inset = 4;
    for (const Block& b : Pattern) {
        if (!b.flat) continue;
        for (int y = b.top + Inset; y < b.bottom - Inset; ++y)
            for (int x = b.left + Inset; x < b.right - Inset; ++x) {
                COLORREF got = picture.At(x, y);
                ASSERT_NEAR(GetRValue(got), GetRValue(b.colour), Tolerance) << x << ", " << y;
                ASSERT_NEAR(GetGValue(got), GetGValue(b.colour), Tolerance) << x << ", " << y;
                ASSERT_NEAR(GetBValue(got), GetBValue(b.colour), Tolerance) << x << ", " << y;
            }
    }
}

struct GoodCase {
    const char* what;
    Format format;
    const char* folder;        // below the work folder, "" for none; narrow and wide alike
    const wchar_t* wideFolder;
    const char* name;          // without the extension; null: saved through the wide entry
    const wchar_t* wideName;
    bool existing;             // a file of other content is there already
    size_t deeper;             // characters of one more folder, the whole path in the \\?\ form
};
// "表" ends in the byte 0x5C, the backslash, in code page 932.
const GoodCase GoodCases[] = {
    {"PNG", Png, "", L"", "pattern", L"pattern", false, 0},
    {"JPEG", Jpeg, "", L"", "pattern", L"pattern", false, 0},
    {"PNG over an older file", Png, "", L"", "replaced", L"replaced", true, 0},
    {"JPEG over an older file", Jpeg, "", L"", "replaced", L"replaced", true, 0},
    {"PNG, double-byte name", Png, "", L"", "表示テスト", L"表示テスト", false, 0},
    {"JPEG, double-byte name", Jpeg, "", L"", "表示テスト", L"表示テスト", false, 0},
    {"PNG, double-byte folder", Png, "表\\", L"表\\", "ソ表", L"ソ表", true, 0},
    {"PNG, wide, outside code page 932", Png, "", L"Müller-Ærø\\", nullptr, L"Ærø", true, 0},
    {"JPEG, wide, past MAX_PATH", Jpeg, "", L"Müller-Ærø\\", nullptr, L"lang", true, 250},
};

TEST_F(TransG32Test, WritesThePatternOfTheArea)
{
    ASSERT_EQ(GetACP(), 932u) << "run with the Japanese ANSI code page (LC_ALL=ja_JP.UTF-8)";
    Source source;
    for (const GoodCase& c : GoodCases) {
        SCOPED_TRACE(c.what);
        std::wstring folder = WideFolder() + c.wideFolder;
        CreateDirectoryW(folder.c_str(), nullptr);
        if (c.deeper) {
            folder = L"\\\\?\\" + folder + std::wstring(c.deeper, L'd') + L"\\";
            CreateDirectoryW(folder.c_str(), nullptr);
        }
        std::wstring target = folder + c.wideName + WideExtension(c.format);
        if (c.existing) {
            HANDLE file = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
            DWORD put = 0;
            WriteFile(file, "older", 5, &put, nullptr);
            CloseHandle(file);
        }
        std::set<std::wstring> before = ListFolder(folder);
        before.insert(c.wideName + std::wstring(WideExtension(c.format)));

        if (c.name) {
            std::string path = Folder() + c.folder + c.name + Extension(c.format);
            EXPECT_EQ(Save(c.format, source.dc, AreaWidth, AreaHeight, path.c_str()), TransG32Written);
        } else {
            EXPECT_EQ(SaveWide(c.format, source.dc, AreaWidth, AreaHeight, target), TransG32Written);
        }
        ExpectPattern(c.format, target);
        EXPECT_EQ(ListFolder(folder), before) << "a file other than the target appeared";
    }
}

enum Context { GoodContext, NullContext, DeletedContext, WideContext };

struct BadCase {
    const char* what;
    bool jpeg, png;            // the entries the case applies to
    Context context;
    int width, height;
    const char* name;          // below the work folder, without extension; null: null path,
                               // "-": the empty path
    int quality;
    short expected;
};
const int TooWideForJpeg = 70000;   // JPEG holds at most 65535 pixels a side
const BadCase BadCases[] = {
    {"null context", true, true, NullContext, AreaWidth, AreaHeight, "a", 90, TransG32BadArguments},
    {"zero width", true, true, GoodContext, 0, AreaHeight, "a", 90, TransG32BadArguments},
    {"zero height", true, true, GoodContext, AreaWidth, 0, "a", 90, TransG32BadArguments},
    {"negative width", true, true, GoodContext, -AreaWidth, AreaHeight, "a", 90, TransG32BadArguments},
    {"negative height", true, true, GoodContext, AreaWidth, -1, "a", 90, TransG32BadArguments},
    {"null path", true, true, GoodContext, AreaWidth, AreaHeight, nullptr, 90, TransG32BadArguments},
    {"empty path", true, true, GoodContext, AreaWidth, AreaHeight, "-", 90, TransG32BadArguments},
    // 0x81 opens a double-byte character in code page 932; a space cannot end it.
    {"no text in the code page", true, true, GoodContext, AreaWidth, AreaHeight, "bad\x81 ", 90,
     TransG32BadArguments},
    {"quality above 100", true, false, GoodContext, AreaWidth, AreaHeight, "a", 101, TransG32BadArguments},
    {"negative quality", true, false, GoodContext, AreaWidth, AreaHeight, "a", -1, TransG32BadArguments},
    {"deleted context", true, true, DeletedContext, AreaWidth, AreaHeight, "a", 90, TransG32CaptureFailed},
    {"too wide for JPEG", true, false, WideContext, TooWideForJpeg, 1, "a", 90, TransG32EncoderFailed},
    {"folder that does not exist", true, true, GoodContext, AreaWidth, AreaHeight, "missing\\a", 90,
     TransG32CannotWrite},
    {"a folder at the path", true, true, GoodContext, AreaWidth, AreaHeight, "folder", 90,
     TransG32CannotWrite},
};

TEST_F(TransG32Test, RefusedCallsLeaveNoFile)
{
    Source source;
    Source wide(TooWideForJpeg, 1);
    HDC deleted = CreateCompatibleDC(nullptr);
    DeleteDC(deleted);
    for (Format format : {Jpeg, Png})
        CreateDirectoryA((Folder() + "folder" + Extension(format)).c_str(), nullptr);
    const std::set<std::wstring> before = ListFolder(WideFolder());
    for (const BadCase& c : BadCases)
        for (Format format : {Jpeg, Png}) {
            if (!(format == Jpeg ? c.jpeg : c.png)) continue;
            SCOPED_TRACE(std::string(c.what) + Extension(format));
            HDC dc = c.context == GoodContext ? source.dc
                     : c.context == WideContext ? wide.dc
                     : c.context == DeletedContext ? deleted : nullptr;
            std::string path = !c.name ? "" : c.name[0] == '-' ? "" : Folder() + c.name + Extension(format);
            const char* text = c.name ? path.c_str() : nullptr;
            EXPECT_EQ(Save(format, dc, c.width, c.height, text, c.quality), c.expected);
            EXPECT_EQ(ListFolder(WideFolder()), before) << "a file was left in the folder";
        }
    for (Format format : {Jpeg, Png})
        EXPECT_TRUE(GetFileAttributesA((Folder() + "folder" + Extension(format)).c_str()) &
                    FILE_ATTRIBUTE_DIRECTORY);
}

// A file that may not be replaced keeps its content: one marked read-only, and one that another
// program holds open without sharing.
TEST_F(TransG32Test, ProtectedFileStaysAsItWas)
{
    Source source;
    for (bool held : {false, true})
        for (Format format : {Jpeg, Png}) {
            SCOPED_TRACE(std::string(held ? "held open" : "read-only") + Extension(format));
            std::string path = Folder() + (held ? "held" : "locked") + Extension(format);
            const char older[] = "older content";
            ASSERT_TRUE(WriteWholeFile(path, older, sizeof older));
            HANDLE holder = INVALID_HANDLE_VALUE;
            if (held)
                holder = CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr);
            else
                ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
            const std::set<std::wstring> before = ListFolder(WideFolder());

            EXPECT_EQ(Save(format, source.dc, AreaWidth, AreaHeight, path.c_str()),
                      TransG32CannotWrite);
            if (holder != INVALID_HANDLE_VALUE) CloseHandle(holder);
            std::vector<unsigned char> now = ReadWholeFile(path);
            EXPECT_EQ(std::string(now.begin(), now.end()), std::string(older, sizeof older));
            if (!held) {
                EXPECT_TRUE(GetFileAttributesA(path.c_str()) & FILE_ATTRIBUTE_READONLY);
            }
            EXPECT_EQ(ListFolder(WideFolder()), before) << "a file was left in the folder";
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        }
}

// Each call gives back the context and bitmap that it makes: more calls than the process may
// hold GDI objects still capture.
TEST_F(TransG32Test, RepeatedCallsKeepNoGdiObjects)
{
    const int Calls = 70000;
    Source source;
    std::string path = Folder() + "missing\\repeated.png";
    int captured = 0;
    for (int i = 0; i < Calls; ++i)
        if (Save(Png, source.dc, 1, 1, path.c_str()) == TransG32CannotWrite) ++captured;
    EXPECT_EQ(captured, Calls);
}

// A thread's apartment is the same after a save as before: the library's own initialisation is
// undone, and one of the other kind is left alone.
struct ApartmentCase {
    const char* what;
    DWORD before;           // apartment the thread enters first; ~0u for none
    HRESULT probe;          // what entering a single-threaded apartment gives after the save
};
const DWORD NoApartment = ~0u;
const ApartmentCase ApartmentCases[] = {
    {"no apartment", NoApartment, S_OK},
    {"single-threaded", COINIT_APARTMENTTHREADED, S_FALSE},
    {"multithreaded", COINIT_MULTITHREADED, RPC_E_CHANGED_MODE},
};

struct ApartmentRun {
    const ApartmentCase* c;
    HDC dc;
    std::string path;
    PngEntry save;
    short result;
    HRESULT probe;
};

DWORD WINAPI RunInApartment(void* param)
{
    ApartmentRun* run = static_cast<ApartmentRun*>(param);
    if (run->c->before != NoApartment) CoInitializeEx(nullptr, run->c->before);
    run->result = run->save(run->dc, AreaWidth, AreaHeight, const_cast<char*>(run->path.c_str()), 0);
    run->probe = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(run->probe)) CoUninitialize();
    if (run->c->before != NoApartment) CoUninitialize();
    return 0;
}

TEST_F(TransG32Test, LeavesTheThreadsApartmentAsItWas)
{
    Source source;
    for (const ApartmentCase& c : ApartmentCases) {
        SCOPED_TRACE(c.what);
        ApartmentRun run = {&c, source.dc, Folder() + "apartment.png", SavePng, -1, E_FAIL};
        HANDLE thread = CreateThread(nullptr, 0, RunInApartment, &run, 0, nullptr);
        ASSERT_NE(thread, nullptr);
        WaitForSingleObject(thread, 30000);
        CloseHandle(thread);
        EXPECT_EQ(run.result, TransG32Written);
        EXPECT_EQ(run.probe, c.probe);
    }
}

}  // namespace
