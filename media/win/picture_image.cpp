#include "media/win/picture_image.h"

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <memory>

#include "platform/image_codecs.h"

namespace orvane {
namespace {

HBITMAP NewDib(int width, int height, int bitsPerPixel, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = static_cast<WORD>(bitsPerPixel);
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

}  // namespace

PictureBitmap LoadPicture(const std::wstring& path) {
    PictureBitmap out;
    // The decoder holds the file open while it lives: copy the pixels out and let it go.
    std::unique_ptr<Gdiplus::Bitmap> decoded(Gdiplus::Bitmap::FromFile(path.c_str(), FALSE));
    if (!decoded || decoded->GetLastStatus() != Gdiplus::Ok) return out;
    const int width = static_cast<int>(decoded->GetWidth());
    const int height = static_cast<int>(decoded->GetHeight());
    if (width <= 0 || height <= 0) return out;
    void* bits = nullptr;
    UniqueBitmap dib(NewDib(width, height, 32, &bits));
    if (!dib) return out;
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(width);
    data.Height = static_cast<UINT>(height);
    data.Stride = width * 4;
    data.PixelFormat = PixelFormat32bppRGB;
    data.Scan0 = bits;
    const Gdiplus::Rect whole(0, 0, width, height);
    if (decoded->LockBits(&whole, Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                          PixelFormat32bppRGB, &data) != Gdiplus::Ok) {
        return out;
    }
    decoded->UnlockBits(&data);
    out.bitsPerPixel = Gdiplus::IsAlphaPixelFormat(decoded->GetPixelFormat()) ? 32 : 24;
    out.bitmap = std::move(dib);
    out.width = width;
    out.height = height;
    return out;
}

PictureBitmap ScalePicture(const PictureBitmap& source, int width, int height, int bitsPerPixel) {
    PictureBitmap out;
    if (!source.bitmap || width <= 0 || height <= 0) return out;
    void* bits = nullptr;
    UniqueBitmap dib(NewDib(width, height, bitsPerPixel == 32 ? 32 : 24, &bits));
    UniqueMemoryDc from(CreateCompatibleDC(nullptr));
    UniqueMemoryDc to(CreateCompatibleDC(nullptr));
    if (!dib || !from || !to) return out;
    const HGDIOBJ oldFrom = SelectObject(from.Get(), source.bitmap.Get());
    const HGDIOBJ oldTo = SelectObject(to.Get(), dib.Get());
    SetStretchBltMode(to.Get(), HALFTONE);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const BOOL drawn = StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, source.width,
                                  source.height, SRCCOPY);
    SelectObject(to.Get(), oldTo);
    SelectObject(from.Get(), oldFrom);
    if (!drawn) return out;
    out.bitmap = std::move(dib);
    out.width = width;
    out.height = height;
    out.bitsPerPixel = bitsPerPixel == 32 ? 32 : 24;
    return out;
}

bool SavePicture(const PictureBitmap& picture, const std::wstring& path) {
    CLSID encoder;
    if (!picture.bitmap || !ImageEncoderForPath(path.c_str(), &encoder)) return false;
    Gdiplus::Bitmap image(picture.bitmap.Get(), nullptr);
    return image.GetLastStatus() == Gdiplus::Ok &&
           image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

int64_t LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
           data.ftLastWriteTime.dwLowDateTime;
}

}  // namespace orvane
