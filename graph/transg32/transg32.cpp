// TransG32.DLL: writes an area of a device context to a JPEG or PNG file with the platform's
// imaging component.
#include "graph/transg32/transg32.h"

#include <objbase.h>
#include <wincodec.h>

#include "base/bitmap.h"

enum {
    AnsiPathChars = 1024,    // wide characters of a path converted from the ANSI entries
    PathChars = 32768,       // wide characters of the longest path (in the \\?\ form)
    TemporaryNameChars = 11, // "tgXXXX.tmp" and its zero
    TemporaryAttempts = 64,  // names tried for the temporary file before the save gives up
    MaxJpegQuality = 100,
};

// A 24-bit top-down section of the area; the caller deletes it. Null when the context cannot
// be read: an invalid handle, or one that BitBlt cannot copy from (a metafile, a printer).
static HBITMAP CapturePicture(HDC dc, int width, int height, void** bits)
{
    BITMAPINFO format = TopDownBitmapFormat(width, height, 24);

    HDC memory = CreateCompatibleDC(dc);
    if (!memory) return nullptr;
    HBITMAP picture = CreateDIBSection(memory, &format, DIB_RGB_COLORS, bits, nullptr, 0);
    if (picture) {
        HGDIOBJ previous = SelectObject(memory, picture);
        BOOL copied = previous && BitBlt(memory, 0, 0, width, height, dc, 0, 0, SRCCOPY);
        // The bits are read directly next; GDI may still be holding the copy in its batch.
        GdiFlush();
        if (previous) SelectObject(memory, previous);
        if (!copied) {
            DeleteObject(picture);
            picture = nullptr;
        }
    }
    DeleteDC(memory);
    return picture;
}

// Encodes the pixels into the file through a WIC stream. A failure to open the file is
// CannotWrite; anything after that is EncoderFailed.
static short EncodeToFile(const WCHAR* file, const GUID& container, float quality, int width,
                          int height, const void* bits)
{
    IWICImagingFactory* factory = nullptr;
    IWICStream* stream = nullptr;
    IWICBitmapEncoder* encoder = nullptr;
    IWICBitmapFrameEncode* frame = nullptr;
    IPropertyBag2* options = nullptr;
    // Rows of a 24-bit section are padded to whole 32-bit words.
    UINT stride = (static_cast<UINT>(width) * 3 + 3) & ~3u;
    WICPixelFormatGUID format = GUID_WICPixelFormat24bppBGR;
    short failure = TransG32EncoderFailed;

    HRESULT hr = CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IWICImagingFactory, reinterpret_cast<void**>(&factory));
    if (SUCCEEDED(hr)) hr = factory->CreateStream(&stream);
    if (SUCCEEDED(hr)) {
        failure = TransG32CannotWrite;
        hr = stream->InitializeFromFilename(file, GENERIC_WRITE);
    }
    if (SUCCEEDED(hr)) {
        failure = TransG32EncoderFailed;
        hr = factory->CreateEncoder(container, nullptr, &encoder);
    }
    if (SUCCEEDED(hr)) hr = encoder->Initialize(stream, WICBitmapEncoderNoCache);
    if (SUCCEEDED(hr)) hr = encoder->CreateNewFrame(&frame, &options);
    if (SUCCEEDED(hr) && quality >= 0 && options) {
        PROPBAG2 name = {};
        name.pstrName = const_cast<LPOLESTR>(L"ImageQuality");
        VARIANT value = {};
        value.vt = VT_R4;
        value.fltVal = quality;
        hr = options->Write(1, &name, &value);
    }
    if (SUCCEEDED(hr)) hr = frame->Initialize(options);
    if (SUCCEEDED(hr)) hr = frame->SetSize(width, height);
    if (SUCCEEDED(hr)) hr = frame->SetPixelFormat(&format);
    // The encoder names the nearest format it can take; the bits are only ever 24-bit BGR.
    if (SUCCEEDED(hr) && !IsEqualGUID(format, GUID_WICPixelFormat24bppBGR))
        hr = WINCODEC_ERR_UNSUPPORTEDPIXELFORMAT;
    if (SUCCEEDED(hr))
        hr = frame->WritePixels(height, stride, stride * height,
                                static_cast<BYTE*>(const_cast<void*>(bits)));
    if (SUCCEEDED(hr)) hr = frame->Commit();
    if (SUCCEEDED(hr)) hr = encoder->Commit();

    if (options) options->Release();
    if (frame) frame->Release();
    if (encoder) encoder->Release();
    // Releasing the stream closes the file.
    if (stream) stream->Release();
    if (factory) factory->Release();
    return SUCCEEDED(hr) ? static_cast<short>(TransG32Written) : failure;
}

// Creates an empty file with a name of its own in the target's folder, so that the finished
// picture can take the target's place by a rename on the same volume. The name is made here
// rather than by GetTempFileNameW, which takes no folder past MAX_PATH - 14: a target in the
// \\?\ form gives a temporary path in that form too.
static BOOL CreateTemporaryBeside(const WCHAR* target, WCHAR* temporary)
{
    int end = 0;
    for (int i = 0; target[i]; ++i)
        if (target[i] == L'\\' || target[i] == L'/' || target[i] == L':') end = i + 1;
    if (end + TemporaryNameChars > PathChars) return FALSE;
    CopyMemory(temporary, target, end * sizeof(WCHAR));
    DWORD unique = GetTickCount() ^ (GetCurrentProcessId() << 8);
    for (int attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        WCHAR* name = temporary + end;
        DWORD number = (unique + attempt) & 0xFFFF;
        name[0] = L't';
        name[1] = L'g';
        for (int digit = 0; digit < 4; ++digit)
            name[2 + digit] = L"0123456789ABCDEF"[number >> (12 - 4 * digit) & 0xF];
        CopyMemory(name + 6, L".tmp", 5 * sizeof(WCHAR));
        HANDLE file = CreateFileW(temporary, GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            CloseHandle(file);
            return TRUE;
        }
        if (GetLastError() != ERROR_FILE_EXISTS) return FALSE;
    }
    return FALSE;
}

// True when nothing is at the path, or a file that may be overwritten.
static BOOL IsReplaceable(const WCHAR* target)
{
    DWORD attributes = GetFileAttributesW(target);
    return attributes == INVALID_FILE_ATTRIBUTES ||
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

// Encodes into a temporary file and renames it over the target, so that a failure at any
// step leaves whatever was at the path before untouched and no half-written file anywhere.
static short WritePictureFile(const WCHAR* target, const GUID& container, float quality,
                              int width, int height, const void* bits)
{
    WCHAR temporary[PathChars];
    if (!CreateTemporaryBeside(target, temporary)) return TransG32CannotWrite;

    // The caller's thread may already be in an apartment of the other kind; WIC works in
    // either, and that initialisation is not ours to undo.
    HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    short result = TransG32EncoderFailed;
    if (SUCCEEDED(com) || com == RPC_E_CHANGED_MODE)
        result = EncodeToFile(temporary, container, quality, width, height, bits);
    if (SUCCEEDED(com)) CoUninitialize();

    // Windows refuses to rename over a read-only file, but not every implementation of the
    // call does; asking first makes a protected target stay as it was everywhere.
    if (result == TransG32Written && !IsReplaceable(target)) result = TransG32CannotWrite;
    if (result == TransG32Written && !MoveFileExW(temporary, target, MOVEFILE_REPLACE_EXISTING))
        result = TransG32CannotWrite;
    if (result != TransG32Written) DeleteFileW(temporary);
    return result;
}

// quality < 0: the container has no quality option.
static short SavePicture(HDC dc, int width, int height, LPCWSTR path, const GUID& container,
                         float quality)
{
    if (!dc || !path || !path[0] || width <= 0 || height <= 0) return TransG32BadArguments;
    void* bits = nullptr;
    HBITMAP picture = CapturePicture(dc, width, height, &bits);
    if (!picture) return TransG32CaptureFailed;
    short result = WritePictureFile(path, container, quality, width, height, bits);
    DeleteObject(picture);
    return result;
}

// The ANSI entries' path: a double-byte name must reach the wide API whole, and a byte sequence
// that is no text in the code page is refused rather than guessed at. False for a refused path.
static BOOL WidenAnsiPath(LPCSTR path, WCHAR* wide)
{
    if (!path) {
        wide[0] = L'\0';
        return TRUE;
    }
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, path, -1, wide, AnsiPathChars) != 0;
}

extern "C" short WINAPI DCSavetoJPEGW(HDC dc, int width, int height, LPCWSTR path, int quality,
                                      BOOL progressive)
{
    (void)progressive;
    if (quality < 0 || quality > MaxJpegQuality) return TransG32BadArguments;
    return SavePicture(dc, width, height, path, GUID_ContainerFormatJpeg,
                       static_cast<float>(quality) / MaxJpegQuality);
}

extern "C" short WINAPI DCSavetoPNGW(HDC dc, int width, int height, LPCWSTR path, int level)
{
    (void)level;
    return SavePicture(dc, width, height, path, GUID_ContainerFormatPng, -1.0f);
}

extern "C" short WINAPI DCSavetoJPEG(HDC dc, int width, int height, LPSTR path, int quality,
                                     BOOL progressive)
{
    WCHAR target[AnsiPathChars];
    if (!WidenAnsiPath(path, target)) return TransG32BadArguments;
    return DCSavetoJPEGW(dc, width, height, target, quality, progressive);
}

extern "C" short WINAPI DCSavetoPNG(HDC dc, int width, int height, LPSTR path, int level)
{
    WCHAR target[AnsiPathChars];
    if (!WidenAnsiPath(path, target)) return TransG32BadArguments;
    return DCSavetoPNGW(dc, width, height, target, level);
}
