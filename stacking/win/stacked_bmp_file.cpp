#include "stacking/win/stacked_bmp_file.h"

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "media/bmp_layout.h"
#include "media/stamp/pixel_rows.h"
#include "platform/handles.h"

namespace orvane {
namespace {

bool WriteAll(HANDLE file, const uint8_t* data, size_t size) {
    DWORD written = 0;
    return size <= MAXDWORD && WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) &&
           written == size;
}

// Bottom-up rows, padded to four bytes, in batches of about a megabyte.
bool WriteRows(HANDLE file, const stacking::BgrImage& picture) {
    const std::vector<uint8_t> header = Bmp24Header(picture.Width(), picture.Height(), false);
    if (!WriteAll(file, header.data(), header.size())) return false;
    const size_t padded = static_cast<size_t>(DibStride(picture.Width(), 24));
    const int32_t batch = static_cast<int32_t>(std::max<size_t>(1, (size_t{1} << 20) / padded));
    std::unique_ptr<uint8_t[]> buffer(new (std::nothrow) uint8_t[padded * batch]());
    if (!buffer) return false;
    for (int32_t done = 0; done < picture.Height(); done += batch) {
        const int32_t n = std::min(batch, picture.Height() - done);
        for (int32_t k = 0; k < n; ++k) {
            std::memcpy(buffer.get() + padded * k, picture.Row(picture.Height() - 1 - done - k),
                        picture.Stride());
        }
        if (!WriteAll(file, buffer.get(), padded * static_cast<size_t>(n))) return false;
    }
    return true;
}

}  // namespace

bool WriteStackedPicture(const std::wstring& path, const stacking::BgrImage& picture) {
    if (picture.Empty()) return false;
    const std::wstring part = path + L".part";
    bool written = false;
    {
        UniqueFile file(CreateFileW(part.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) return false;
        written = WriteRows(file.Get(), picture) && FlushFileBuffers(file.Get());
    }
    // No replacing: a capture that took the name meanwhile stays as it is.
    if (written && MoveFileExW(part.c_str(), path.c_str(), MOVEFILE_WRITE_THROUGH)) return true;
    DeleteFileW(part.c_str());
    return false;
}

}  // namespace orvane
