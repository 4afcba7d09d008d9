#pragma once
// What a picture file's own bytes promise, checked before any platform decoder sees them: a
// file cut short, or whose header claims more than the file holds, is refused here.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/bmp_layout.h"

namespace orvane {

enum class PictureCheck {
    kWhole,       // a picture format whose headers agree with the file's length
    kTruncated,   // a BMP whose header claims more bytes than the file holds
    kDamaged,     // a BMP with impossible header values
    kNotPicture,  // neither BMP nor a format the decoders read (JPEG, PNG, GIF, TIFF)
};

// The largest picture the program decodes: a side of 16384 pixels, and 512 MiB of pixels at 32
// bits, so that a decoded picture never exhausts a 32-bit process.
constexpr int64_t kLargestPictureSide = 16384;
constexpr uint64_t kLargestPictureBytes = 512ull << 20;

PictureCheck CheckPictureBytes(const uint8_t* bytes, size_t size);
// The same from the first bytes of a file of fileSize bytes (a few hundred bytes are enough for
// every header; 2048 hold any colour table too).
PictureCheck CheckPictureHead(const uint8_t* head, size_t headSize, uint64_t fileSize);
inline PictureCheck CheckPictureBytes(const std::vector<uint8_t>& bytes) {
    return CheckPictureBytes(bytes.data(), bytes.size());
}

// The bitmap's parts of a BMP file: its information header, the colour table the header says
// it has, and where its pixels start and how many bytes they take. False for anything the file
// does not hold in full.
struct BmpParts {
    BmpInfoHeader info;
    size_t headerBytes = 0;  // the information header and any masks or colour table after it
    size_t pixelOffset = 0;
    size_t pixelBytes = 0;
};
bool FindBmpParts(const uint8_t* bytes, size_t size, BmpParts& parts);
bool FindBmpParts(const uint8_t* head, size_t headSize, uint64_t fileSize, BmpParts& parts);

}  // namespace orvane
