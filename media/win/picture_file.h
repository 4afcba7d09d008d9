#pragma once
// A picture file read whole into memory and decoded from there: its header is checked against
// its length before a decoder sees it, and no file stays open behind a decoded (or refused)
// picture.
#include <windows.h>
#include <objidl.h>  // before gdiplus.h: the lean windows.h leaves out what it needs
#include <gdiplus.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "media/picture_bytes.h"
#include "media/picture_size.h"

namespace orvane {

// Reads the whole file; false when it cannot be opened or read, or holds more than maxBytes.
// The file is closed on every path.
bool ReadFileBytes(const std::wstring& path, std::vector<uint8_t>& bytes, uint64_t maxBytes);

// The check of a file's first bytes against its length, without reading it whole.
PictureCheck CheckPictureFile(const std::wstring& path);

// The size the file's header declares (see PictureSizeFromHead), from its first bytes; none
// when the file cannot be read or its header does not say.
std::optional<PictureSize> ReadPictureSize(const std::wstring& path);

// The largest picture file read: far above any capture, below what a 32-bit process can hold
// next to the decoded picture.
constexpr uint64_t kLargestPictureFile = 256ull << 20;

struct DecodedPicture {
    std::unique_ptr<Gdiplus::Bitmap> bitmap;  // null when the picture could not be decoded
    PictureCheck check = PictureCheck::kNotPicture;
    Gdiplus::Status status = Gdiplus::GenericError;  // the decoder's answer, when it ran
    bool unreadable = false;                         // the file could not be read at all
    DWORD readError = 0;
};

// The file's picture, decoded from memory by the platform's codecs; a BMP whose header claims
// more than the file holds never reaches them. Pictures larger than the program handles
// (kLargestPictureSide, kLargestPictureBytes) come back without a bitmap.
DecodedPicture DecodePictureFile(const std::wstring& path);

}  // namespace orvane
