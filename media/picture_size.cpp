#include "media/picture_size.h"

#include <cstdlib>

#include "media/bmp_layout.h"
#include "media/byte_io.h"

namespace orvane {
namespace {

uint32_t BigEndian16(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}
uint32_t BigEndian32(const uint8_t* p) {
    return BigEndian16(p) << 16 | BigEndian16(p + 2);
}

std::optional<PictureSize> Sized(int64_t width, int64_t height) {
    if (width < 1 || height < 1 || width > INT32_MAX || height > INT32_MAX) return std::nullopt;
    return PictureSize{static_cast<int32_t>(width), static_cast<int32_t>(height)};
}

std::optional<PictureSize> BmpSize(const uint8_t* head, size_t size) {
    constexpr size_t kInfo = BmpFileHeader::kSize;
    constexpr size_t kCoreHeaderSize = 12;  // the oldest header: 16-bit width and height
    if (size < kInfo + 4) return std::nullopt;
    const uint32_t headerSize = GetU32(head + kInfo);
    if (headerSize == kCoreHeaderSize && size >= kInfo + kCoreHeaderSize)
        return Sized(GetU16(head + kInfo + 4), GetU16(head + kInfo + 6));
    if (headerSize < BmpInfoHeader::kSize || size < kInfo + BmpInfoHeader::kSize)
        return std::nullopt;
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(head + kInfo);
    // A negative height is a top-down bitmap of that many rows.
    return Sized(info.width, std::llabs(static_cast<int64_t>(info.height)));
}

// The frame header (SOF0..SOF15 but for the table and arithmetic markers among them) after
// the segments before it; markers without a length are skipped, fill bytes too.
std::optional<PictureSize> JpegSize(const uint8_t* head, size_t size) {
    size_t at = 2;  // after the start of image
    while (at + 4 <= size) {
        if (head[at] != 0xFF) return std::nullopt;
        const uint8_t marker = head[at + 1];
        if (marker == 0xFF) {
            ++at;
            continue;
        }
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            at += 2;
            continue;
        }
        if (marker == 0xD9 || marker == 0xDA) return std::nullopt;  // end, or scan data
        const size_t length = BigEndian16(head + at + 2);
        if (length < 2) return std::nullopt;
        const bool frame =
            marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frame) {
            if (length < 7 || at + 9 > size) return std::nullopt;
            return Sized(BigEndian16(head + at + 7), BigEndian16(head + at + 5));
        }
        at += 2 + length;
    }
    return std::nullopt;
}

std::optional<PictureSize> PngSize(const uint8_t* head, size_t size) {
    static constexpr uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (size < 24) return std::nullopt;
    for (size_t i = 0; i < 8; ++i)
        if (head[i] != kSignature[i]) return std::nullopt;
    if (head[12] != 'I' || head[13] != 'H' || head[14] != 'D' || head[15] != 'R')
        return std::nullopt;
    return Sized(BigEndian32(head + 16), BigEndian32(head + 20));
}

}  // namespace

std::optional<PictureSize> PictureSizeFromHead(const uint8_t* head, size_t headSize) {
    if (!head || headSize < 3) return std::nullopt;
    if (head[0] == 'B' && head[1] == 'M') return BmpSize(head, headSize);
    if (head[0] == 0xFF && head[1] == 0xD8 && head[2] == 0xFF) return JpegSize(head, headSize);
    return PngSize(head, headSize);
}

}  // namespace orvane
