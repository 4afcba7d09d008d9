#pragma once
// The little-endian records of a baseline TIFF file: the 8-byte header, the 12-byte directory
// entry and the 8-byte rational, with the tag numbers and field types the program writes.
#include <array>
#include <cstddef>
#include <cstdint>

namespace orvane::results {

struct TiffHeader {
    static constexpr size_t kByteOrderOffset = 0;
    static constexpr size_t kMagicOffset = 2;
    static constexpr size_t kFirstDirectoryOffset = 4;
    static constexpr size_t kSize = 8;
    using Bytes = std::array<uint8_t, kSize>;

    uint16_t byteOrder = 0x4949;  // "II": little-endian
    uint16_t magic = 42;
    uint32_t firstDirectory = kSize;

    Bytes ToBytes() const;
    static TiffHeader FromBytes(const uint8_t* bytes);  // kSize bytes
};
static_assert(TiffHeader::kFirstDirectoryOffset + 4 == TiffHeader::kSize);

// One field of a directory. The value is held in the entry itself when it fits in four bytes
// (left-justified), else the entry holds the offset of the value.
struct TiffEntry {
    static constexpr size_t kTagOffset = 0;
    static constexpr size_t kTypeOffset = 2;
    static constexpr size_t kCountOffset = 4;
    static constexpr size_t kValueOffset = 8;
    static constexpr size_t kSize = 12;
    using Bytes = std::array<uint8_t, kSize>;

    uint16_t tag = 0;
    uint16_t type = 0;
    uint32_t count = 0;
    std::array<uint8_t, 4> value{};

    Bytes ToBytes() const;
    static TiffEntry FromBytes(const uint8_t* bytes);  // kSize bytes
};
static_assert(TiffEntry::kValueOffset + 4 == TiffEntry::kSize);

struct TiffRational {
    static constexpr size_t kNumeratorOffset = 0;
    static constexpr size_t kDenominatorOffset = 4;
    static constexpr size_t kSize = 8;
    using Bytes = std::array<uint8_t, kSize>;

    uint32_t numerator = 0;
    uint32_t denominator = 1;

    Bytes ToBytes() const;
    static TiffRational FromBytes(const uint8_t* bytes);  // kSize bytes
};
static_assert(TiffRational::kDenominatorOffset + 4 == TiffRational::kSize);

// A directory: a 2-byte entry count, the entries, a 4-byte offset of the next directory.
constexpr size_t TiffDirectorySize(size_t entries) {
    return 2 + entries * TiffEntry::kSize + 4;
}

enum TiffType : uint16_t {
    kTiffAscii = 2,
    kTiffShort = 3,
    kTiffLong = 4,
    kTiffRational = 5,
};

enum TiffTag : uint16_t {
    kTagImageWidth = 256,
    kTagImageLength = 257,
    kTagBitsPerSample = 258,
    kTagCompression = 259,
    kTagPhotometric = 262,
    kTagImageDescription = 270,
    kTagStripOffsets = 273,
    kTagSamplesPerPixel = 277,
    kTagRowsPerStrip = 278,
    kTagStripByteCounts = 279,
    kTagXResolution = 282,
    kTagYResolution = 283,
    kTagPlanarConfiguration = 284,
    kTagResolutionUnit = 296,
    kTagSoftware = 305,
};

constexpr uint16_t kTiffUncompressed = 1;
constexpr uint16_t kTiffRgb = 2;
constexpr uint16_t kTiffChunky = 1;  // R, G, B of a pixel side by side
constexpr uint16_t kTiffNoUnit = 1;
constexpr uint16_t kTiffCentimetre = 3;

// The closest fraction n / d to v with n and d within 32 bits (continued fractions); 0/1 for
// values that are not finite or not above 0, and the largest fraction for values beyond it.
TiffRational NearestRational(double v);

}  // namespace orvane::results
