// Reading picture files in tests: the type from the first bytes, the pixels through the platform's codecs.
#pragma once
#include <windows.h>
#include <wincodec.h>
#include <string>
#include <vector>

#include "support/testwin.h"

struct Picture {
    int width = 0, height = 0;
    std::vector<BYTE> bgra;
    COLORREF At(int x, int y) const
    {
        const BYTE* p = &bgra[(static_cast<size_t>(y) * width + x) * 4];
        return RGB(p[2], p[1], p[0]);
    }
    bool AnyDark(int left, int top, int right, int bottom) const
    {
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                if (GetRValue(At(x, y)) < 128 && GetGValue(At(x, y)) < 128 && GetBValue(At(x, y)) < 128)
                    return true;
        return false;
    }
};

// Decodes a JPEG or PNG file with the platform's codecs; empty when it is no picture.
inline Picture DecodePicture(const std::string& path)
{
    Picture result;
    HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    wchar_t widePath[MAX_PATH] = L"";
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
    UINT w = 0, h = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                   IID_IWICImagingFactory, reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(widePath, nullptr, GENERIC_READ,
                                                     WICDecodeMetadataCacheOnDemand, &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat32bppBGRA, WICBitmapDitherTypeNone,
                                        nullptr, 0, WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        std::vector<BYTE> bgra(static_cast<size_t>(w) * h * 4);
        if (SUCCEEDED(converter->CopyPixels(nullptr, w * 4, static_cast<UINT>(bgra.size()), bgra.data()))) {
            result.width = static_cast<int>(w);
            result.height = static_cast<int>(h);
            result.bgra = std::move(bgra);
        }
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (factory) factory->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return result;
}

enum FileKind { NoFile, JpegFile, PngFile, OtherFile };

// What the file's first bytes say it is.
inline FileKind KindOfFile(const std::string& path)
{
    if (GetFileAttributesA(path.c_str()) == INVALID_FILE_ATTRIBUTES) return NoFile;
    std::vector<unsigned char> data = ReadWholeFile(path);
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF) return JpegFile;
    if (data.size() >= 4 && data[0] == 0x89 && data[1] == 'P' && data[2] == 'N' && data[3] == 'G')
        return PngFile;
    return OtherFile;
}
