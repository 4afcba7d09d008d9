#pragma once
// The 14-byte BMP file header and the 40-byte bitmap info header, little-endian.
#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane {

struct BmpFileHeader {
    static constexpr size_t kTypeOffset = 0;
    static constexpr size_t kFileSizeOffset = 2;
    static constexpr size_t kReserved1Offset = 6;
    static constexpr size_t kReserved2Offset = 8;
    static constexpr size_t kPixelOffsetOffset = 10;
    static constexpr size_t kSize = 14;
    using Bytes = std::array<uint8_t, kSize>;

    uint16_t type = 0x4D42;  // "BM"
    uint32_t fileSize = 0;
    uint16_t reserved1 = 0;
    uint16_t reserved2 = 0;
    uint32_t pixelOffset = 0;

    Bytes ToBytes() const;
    static BmpFileHeader FromBytes(const uint8_t* bytes);  // kSize bytes
};
static_assert(BmpFileHeader::kPixelOffsetOffset + 4 == BmpFileHeader::kSize);

struct BmpInfoHeader {
    static constexpr size_t kHeaderSizeOffset = 0;
    static constexpr size_t kWidthOffset = 4;
    static constexpr size_t kHeightOffset = 8;
    static constexpr size_t kPlanesOffset = 12;
    static constexpr size_t kBitCountOffset = 14;
    static constexpr size_t kCompressionOffset = 16;
    static constexpr size_t kImageSizeOffset = 20;
    static constexpr size_t kXPelsOffset = 24;
    static constexpr size_t kYPelsOffset = 28;
    static constexpr size_t kColorsUsedOffset = 32;
    static constexpr size_t kColorsImportantOffset = 36;
    static constexpr size_t kSize = 40;
    using Bytes = std::array<uint8_t, kSize>;

    uint32_t headerSize = kSize;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t planes = 0;
    uint16_t bitCount = 0;
    uint32_t compression = 0;
    uint32_t imageSize = 0;
    int32_t xPelsPerMeter = 0;
    int32_t yPelsPerMeter = 0;
    uint32_t colorsUsed = 0;
    uint32_t colorsImportant = 0;

    Bytes ToBytes() const;
    static BmpInfoHeader FromBytes(const uint8_t* bytes);  // kSize bytes
};
static_assert(BmpInfoHeader::kColorsImportantOffset + 4 == BmpInfoHeader::kSize);

constexpr uint32_t kBiRgb = 0;
constexpr uint32_t kFourCcYuy2 = 0x32595559;  // 'Y' 'U' 'Y' '2'

// Bytes of one pixel row, padded to a multiple of four; 0 for widths or depths out of range.
uint64_t DibStride(int64_t width, unsigned bitCount);

}  // namespace orvane
