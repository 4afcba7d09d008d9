#include "media/win/picture_rows_io.h"

#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cstring>
#include <new>

#include "media/bmp_layout.h"
#include "media/win/picture_file.h"
#include "platform/handles.h"
#include "platform/image_codecs.h"

namespace orvane {
namespace {

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    while (size > 0) {
        const DWORD chunk = size > (1u << 30) ? (1u << 30) : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(file, data, chunk, &written, nullptr) || written != chunk) return false;
        data += chunk;
        size -= chunk;
    }
    return true;
}

size_t PackedRow(int32_t width) {
    return static_cast<size_t>(width) * 3;
}
size_t PaddedRow(int32_t width) {
    return static_cast<size_t>(DibStride(width, 24));
}

// Moves packed rows apart to their padded places (last row first), or back together (first row
// first), inside storage of the padded size.
void SpreadRows(uint8_t* bytes, int32_t width, int32_t height) {
    for (int32_t y = height - 1; y > 0; --y) {
        std::memmove(bytes + PaddedRow(width) * y, bytes + PackedRow(width) * y, PackedRow(width));
    }
}
void PackRows(uint8_t* bytes, int32_t width, int32_t height) {
    for (int32_t y = 1; y < height; ++y) {
        std::memmove(bytes + PackedRow(width) * y, bytes + PaddedRow(width) * y, PackedRow(width));
    }
}

bool Allocate(std::vector<uint8_t>& bytes, size_t size) {
    // A size from a picture's header: memory too short for it is a refusal.
    try {
        bytes.resize(size);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return true;
}

}  // namespace

std::optional<PixelRows> DecodePictureRows(const std::wstring& path) {
    DecodedPicture decoded = DecodePictureFile(path);
    if (!decoded.bitmap) return std::nullopt;
    PixelRows rows;
    rows.width = static_cast<int32_t>(decoded.bitmap->GetWidth());
    rows.height = static_cast<int32_t>(decoded.bitmap->GetHeight());
    rows.topDown = true;
    if (!Allocate(rows.bytes, PaddedRow(rows.width) * static_cast<size_t>(rows.height))) {
        return std::nullopt;
    }
    Gdiplus::BitmapData data{};
    data.Width = static_cast<UINT>(rows.width);
    data.Height = static_cast<UINT>(rows.height);
    data.Stride = static_cast<INT>(PaddedRow(rows.width));
    data.PixelFormat = PixelFormat24bppRGB;
    data.Scan0 = rows.bytes.data();
    const Gdiplus::Rect whole(0, 0, rows.width, rows.height);
    if (decoded.bitmap->LockBits(&whole,
                                 Gdiplus::ImageLockModeRead | Gdiplus::ImageLockModeUserInputBuf,
                                 PixelFormat24bppRGB, &data) != Gdiplus::Ok) {
        return std::nullopt;
    }
    decoded.bitmap->UnlockBits(&data);
    decoded.bitmap.reset();  // the decoder's own copy goes before anything else is made
    PackRows(rows.bytes.data(), rows.width, rows.height);
    rows.bytes.resize(PackedRow(rows.width) * static_cast<size_t>(rows.height));
    return rows;
}

bool WritePictureRows(const std::wstring& path, PixelRows& picture, bool jpeg) {
    if (picture.width <= 0 || picture.height <= 0 ||
        picture.bytes.size() < PackedRow(picture.width) * static_cast<size_t>(picture.height)) {
        return false;
    }
    if (!jpeg) {
        UniqueFile file(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        const std::vector<uint8_t> header =
            Bmp24Header(picture.width, picture.height, picture.topDown);
        if (!WriteAll(file.Get(), header.data(), header.size())) return false;
        // Rows in batches of about a megabyte, each padded to four bytes.
        const size_t padded = PaddedRow(picture.width);
        const int32_t batch = static_cast<int32_t>(std::max<size_t>(1, (1u << 20) / padded));
        std::vector<uint8_t> buffer(padded * static_cast<size_t>(batch), 0);
        for (int32_t y = 0; y < picture.height; y += batch) {
            const int32_t n = std::min(batch, picture.height - y);
            for (int32_t k = 0; k < n; ++k) {
                std::memcpy(buffer.data() + padded * k, picture.Row(y + k),
                            PackedRow(picture.width));
            }
            if (!WriteAll(file.Get(), buffer.data(), padded * static_cast<size_t>(n))) {
                return false;
            }
        }
        return true;
    }
    CLSID encoder{};
    if (!ImageEncoderFor(L"*.JPG", &encoder)) return false;
    const size_t packed = PackedRow(picture.width) * static_cast<size_t>(picture.height);
    if (!Allocate(picture.bytes, PaddedRow(picture.width) * static_cast<size_t>(picture.height))) {
        return false;
    }
    SpreadRows(picture.bytes.data(), picture.width, picture.height);
    bool ok = false;
    {
        // The encoder reads the rows where they are; a bottom-up picture by a negative stride.
        const INT stride = static_cast<INT>(PaddedRow(picture.width));
        BYTE* first = picture.bytes.data();
        if (!picture.topDown) first += static_cast<size_t>(stride) * (picture.height - 1);
        Gdiplus::Bitmap image(picture.width, picture.height, picture.topDown ? stride : -stride,
                              PixelFormat24bppRGB, first);
        ok = image.GetLastStatus() == Gdiplus::Ok &&
             image.Save(path.c_str(), &encoder, nullptr) == Gdiplus::Ok;
    }
    PackRows(picture.bytes.data(), picture.width, picture.height);
    picture.bytes.resize(packed);
    return ok;
}

}  // namespace orvane
