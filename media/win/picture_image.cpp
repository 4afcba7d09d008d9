#include "media/win/picture_image.h"

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cstring>
#include <memory>

#include "media/area_scale.h"
#include "media/win/disk_case.h"
#include "media/win/picture_file.h"
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

namespace {

bool IsBmpPath(const std::wstring& path) {
    return path.size() > 4 && _wcsicmp(path.c_str() + path.size() - 4, L".bmp") == 0;
}

// BMP files through the platform's own loader: several times faster than the codec for the
// small cached thumbnails.
PictureBitmap LoadBmp(const std::wstring& path) {
    PictureBitmap out;
    UniqueBitmap bitmap(static_cast<HBITMAP>(LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                                        LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
    DIBSECTION dib{};
    if (!bitmap || GetObjectW(bitmap.Get(), sizeof dib, &dib) != sizeof dib) return out;
    if (dib.dsBm.bmWidth <= 0 || dib.dsBm.bmHeight <= 0) return out;
    out.width = dib.dsBm.bmWidth;
    out.height = dib.dsBm.bmHeight;
    out.bitsPerPixel = dib.dsBm.bmBitsPixel == 32 ? 32 : 24;
    out.bitmap = std::move(bitmap);
    return out;
}

// Whether the first stored row of a 24- or 32-bit DIB section is its top row. The header
// cannot always say: Wine reports a top-down section's height as positive too. So pixel (0, 0)
// is changed for a moment through a memory DC and looked for at the start of the bits; both
// ends are put back as they were.
bool TopRowStoredFirst(HBITMAP bitmap, const DIBSECTION& dib) {
    if (dib.dsBmih.biHeight < 0 || dib.dsBm.bmHeight == 1) return true;
    UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
    if (!dc) return false;
    const HGDIOBJ old = SelectObject(dc.Get(), bitmap);
    if (!old) return false;  // selected elsewhere: the header is all there is
    auto* first = static_cast<uint8_t*>(dib.dsBm.bmBits);
    uint8_t* last = first + static_cast<ptrdiff_t>(dib.dsBm.bmHeight - 1) * dib.dsBm.bmWidthBytes;
    const size_t pixel = static_cast<size_t>(dib.dsBm.bmBitsPixel / 8);
    uint8_t firstWas[4], lastWas[4];
    GdiFlush();
    std::memcpy(firstWas, first, pixel);
    std::memcpy(lastWas, last, pixel);
    const COLORREF was = GetPixel(dc.Get(), 0, 0);
    SetPixelV(dc.Get(), 0, 0, (was ^ 0x00808080) & 0x00FFFFFF);
    GdiFlush();
    const bool topFirst = std::memcmp(firstWas, first, 3) != 0;
    std::memcpy(first, firstWas, pixel);
    std::memcpy(last, lastWas, pixel);
    SelectObject(dc.Get(), old);
    return topFirst;
}

// The pixels of a 24- or 32-bit DIB section, top row first; empty for anything else.
PixelView PixelsOf(HBITMAP bitmap) {
    DIBSECTION dib{};
    if (GetObjectW(bitmap, sizeof dib, &dib) != sizeof dib || !dib.dsBm.bmBits) return {};
    const int bits = dib.dsBm.bmBitsPixel;
    if (bits != 24 && bits != 32) return {};
    const int height = dib.dsBm.bmHeight;
    const ptrdiff_t stride = dib.dsBm.bmWidthBytes;
    const auto* first = static_cast<const uint8_t*>(dib.dsBm.bmBits);
    const bool bottomUp = !TopRowStoredFirst(bitmap, dib);
    return {bottomUp ? first + (height - 1) * stride : first, dib.dsBm.bmWidth, height,
            bottomUp ? -stride : stride, bits / 8};
}

}  // namespace

PictureBitmap LoadPicture(const std::wstring& listedPath) {
    const std::wstring path = DiskCasePath(listedPath);
    PictureBitmap out;
    if (IsBmpPath(path)) {
        // The platform's loader reads what the header promises: only a file that holds it
        // reaches the loader (a file cut short would make it read past its end).
        const PictureCheck check = CheckPictureFile(path);
        if (check == PictureCheck::kTruncated || check == PictureCheck::kDamaged) return out;
        if (check == PictureCheck::kWhole) {
            PictureBitmap bmp = LoadBmp(path);
            if (bmp.bitmap) return bmp;
        }
    }
    // Decoded from memory: no file stays open behind the picture, decoded or refused.
    const DecodedPicture picture = DecodePictureFile(path);
    const std::unique_ptr<Gdiplus::Bitmap>& decoded = picture.bitmap;
    if (!decoded) return out;
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

PictureBitmap ScalePicture(const PictureBitmap& source, int width, int height, int bitsPerPixel,
                           bool smooth) {
    PictureBitmap out;
    if (!source.bitmap || width <= 0 || height <= 0) return out;
    void* bits = nullptr;
    const int depth = bitsPerPixel == 32 ? 32 : 24;
    UniqueBitmap dib(NewDib(width, height, depth, &bits));
    if (!dib) return out;
    // Shrinking is averaged here: the same smooth result as a halftone stretch, many times
    // faster than the platform's under Wine.
    const PixelView pixels = PixelsOf(source.bitmap.Get());
    if (smooth && pixels.bits && width <= source.width && height <= source.height) {
        const ptrdiff_t stride = ((static_cast<ptrdiff_t>(width) * depth + 31) / 32) * 4;
        GdiFlush();
        if (AreaScale(pixels, {static_cast<uint8_t*>(bits), width, height, stride, depth / 8})) {
            out.bitmap = std::move(dib);
            out.width = width;
            out.height = height;
            out.bitsPerPixel = depth;
            return out;
        }
    }
    UniqueMemoryDc from(CreateCompatibleDC(nullptr));
    UniqueMemoryDc to(CreateCompatibleDC(nullptr));
    if (!from || !to) return out;
    const HGDIOBJ oldFrom = SelectObject(from.Get(), source.bitmap.Get());
    const HGDIOBJ oldTo = SelectObject(to.Get(), dib.Get());
    SetStretchBltMode(to.Get(), smooth ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(to.Get(), 0, 0, nullptr);
    const BOOL drawn = StretchBlt(to.Get(), 0, 0, width, height, from.Get(), 0, 0, source.width,
                                  source.height, SRCCOPY);
    SelectObject(to.Get(), oldTo);
    SelectObject(from.Get(), oldFrom);
    if (!drawn) return out;
    out.bitmap = std::move(dib);
    out.width = width;
    out.height = height;
    out.bitsPerPixel = depth;
    return out;
}

PictureBitmap PictureFromPixels(const PixelView& pixels, int width, int height) {
    PictureBitmap out;
    if (!pixels.bits || width <= 0 || height <= 0) return out;
    void* bits = nullptr;
    UniqueBitmap dib(NewDib(width, height, 24, &bits));
    if (!dib) return out;
    const ptrdiff_t stride = ((static_cast<ptrdiff_t>(width) * 24 + 31) / 32) * 4;
    if (!AreaScale(pixels, {static_cast<uint8_t*>(bits), width, height, stride, 3})) return out;
    out.bitmap = std::move(dib);
    out.width = width;
    out.height = height;
    out.bitsPerPixel = 24;
    return out;
}

bool SavePicture(const PictureBitmap& picture, const std::wstring& listedPath) {
    const std::wstring path = DiskCasePath(listedPath);
    CLSID encoder;
    if (!picture.bitmap || !ImageEncoderForPath(path.c_str(), &encoder)) return false;
    Gdiplus::Bitmap image(picture.bitmap.Get(), nullptr);
    return image.GetLastStatus() == Gdiplus::Ok &&
           image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
}

int64_t LastWriteTime(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExW(DiskCasePath(path).c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<int64_t>(data.ftLastWriteTime.dwHighDateTime) << 32 |
           data.ftLastWriteTime.dwLowDateTime;
}

bool MakeNewerThan(const std::wstring& path, const std::wstring& other) {
    const int64_t own = LastWriteTime(path), than = LastWriteTime(other);
    if (own == 0 || than == 0) return false;
    if (own > than) return true;
    const UniqueFile file(CreateFileW(DiskCasePath(path).c_str(), FILE_WRITE_ATTRIBUTES,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    // One second later: a file system keeping times in whole seconds still tells them apart.
    const int64_t later = than + 10'000'000;
    FILETIME time{static_cast<DWORD>(later & 0xFFFFFFFF), static_cast<DWORD>(later >> 32)};
    return SetFileTime(file.Get(), nullptr, nullptr, &time) != FALSE && LastWriteTime(path) > than;
}

}  // namespace orvane
