#include "media/win/picture_file.h"

#include <shlwapi.h>

#include <algorithm>
#include <new>

#include "platform/com_ptr.h"
#include "platform/handles.h"

namespace orvane {

bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, uint64_t maxBytes) {
    bytes.clear();
    HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return false;
    const UniqueHandle file(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0 ||
        static_cast<uint64_t>(size.QuadPart) > maxBytes) {
        return false;
    }
    std::vector<uint8_t> read;
    const size_t total = static_cast<size_t>(size.QuadPart);
    // The size comes from the disk: memory too short for it is a refusal, not a failure.
    try {
        read.resize(total);
    } catch (const std::bad_alloc&) {
        return false;
    }
    size_t done = 0;
    while (done < total) {
        const DWORD chunk = static_cast<DWORD>(std::min<size_t>(total - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file.Get(), read.data() + done, chunk, &got, nullptr) || got == 0) {
            return false;
        }
        done += got;
    }
    bytes.swap(read);
    return true;
}

PictureCheck CheckPictureFile(const std::wstring& path) {
    HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return PictureCheck::kNotPicture;
    const UniqueHandle file(raw);
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || size.QuadPart < 0) return PictureCheck::kNotPicture;
    uint8_t head[2048];
    DWORD got = 0;
    if (!ReadFile(file.Get(), head, sizeof head, &got, nullptr)) return PictureCheck::kNotPicture;
    return CheckPictureHead(head, got, static_cast<uint64_t>(size.QuadPart));
}

std::optional<PictureSize> ReadPictureSize(const std::wstring& path) {
    HANDLE raw = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (raw == INVALID_HANDLE_VALUE) return std::nullopt;
    const UniqueHandle file(raw);
    // Most headers lie in the first few kilobytes; a JPEG's may follow long application
    // segments.
    std::vector<uint8_t> head;
    for (size_t want : {size_t{4096}, kPictureSizeHeadBytes}) {
        const size_t had = head.size();
        head.resize(want);
        DWORD got = 0;
        if (!ReadFile(file.Get(), head.data() + had, static_cast<DWORD>(want - had), &got,
                      nullptr)) {
            return std::nullopt;
        }
        head.resize(had + got);
        if (std::optional<PictureSize> size = PictureSizeFromHead(head.data(), head.size()))
            return size;
        if (head.size() < want) break;  // the whole file was read
    }
    return std::nullopt;
}

DecodedPicture DecodePictureFile(const std::wstring& path) {
    DecodedPicture out;
    std::vector<uint8_t> bytes;
    if (!ReadFileBytes(path, bytes, kLargestPictureFile)) {
        out.unreadable = true;
        out.readError = GetLastError();
        return out;
    }
    out.check = CheckPictureBytes(bytes);
    if (out.check == PictureCheck::kTruncated || out.check == PictureCheck::kDamaged) return out;
    // The stream holds its own copy: the file is closed already.
    ComPtr<IStream> stream;
    *stream.Put() = SHCreateMemStream(bytes.data(), static_cast<UINT>(bytes.size()));
    if (!stream) {
        out.status = Gdiplus::OutOfMemory;
        return out;
    }
    std::unique_ptr<Gdiplus::Bitmap> bitmap(Gdiplus::Bitmap::FromStream(stream.Get(), FALSE));
    if (!bitmap) {
        out.status = Gdiplus::OutOfMemory;
        return out;
    }
    out.status = bitmap->GetLastStatus();
    if (out.status != Gdiplus::Ok) return out;
    const uint64_t width = bitmap->GetWidth(), height = bitmap->GetHeight();
    if (width == 0 || height == 0 || width > kLargestPictureSide || height > kLargestPictureSide ||
        width * height * 4 > kLargestPictureBytes) {
        out.status = Gdiplus::OutOfMemory;
        return out;
    }
    out.bitmap = std::move(bitmap);
    return out;
}

}  // namespace orvane
