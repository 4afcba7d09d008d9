#include "media/picture_bytes.h"

namespace orvane {
namespace {

bool StartsWith(const uint8_t* bytes, size_t size, std::initializer_list<uint8_t> prefix) {
    if (size < prefix.size()) return false;
    size_t i = 0;
    for (uint8_t b : prefix) {
        if (bytes[i++] != b) return false;
    }
    return true;
}

constexpr uint32_t kBiBitfields = 3;

// Colour table entries a bitmap of this depth carries (4 bytes each).
uint64_t ColourEntries(const BmpInfoHeader& info) {
    if (info.bitCount > 8) return info.colorsUsed;
    const uint64_t full = uint64_t{1} << info.bitCount;
    return info.colorsUsed == 0 ? full : info.colorsUsed;
}

}  // namespace

bool FindBmpParts(const uint8_t* bytes, size_t size, BmpParts& parts) {
    return FindBmpParts(bytes, size, size, parts);
}

bool FindBmpParts(const uint8_t* bytes, size_t headSize, uint64_t size, BmpParts& parts) {
    constexpr size_t kHeaders = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    if (!bytes || headSize < kHeaders || size < headSize) return false;
    const BmpFileHeader file = BmpFileHeader::FromBytes(bytes);
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(bytes + BmpFileHeader::kSize);
    if (file.type != 0x4D42 || info.headerSize < BmpInfoHeader::kSize ||
        info.headerSize > headSize - BmpFileHeader::kSize) {
        return false;
    }
    const int64_t height = info.height < 0 ? -int64_t{info.height} : info.height;
    if (info.width <= 0 || height == 0 || info.width > kLargestPictureSide ||
        height > kLargestPictureSide || info.planes != 1) {
        return false;
    }
    switch (info.bitCount) {
        case 1: case 4: case 8: case 16: case 24: case 32: break;
        default: return false;
    }
    uint64_t masks = 0;
    if (info.compression == kBiBitfields && info.headerSize == BmpInfoHeader::kSize) {
        masks = 12;  // the three masks after a plain header
    }
    const uint64_t offset = file.pixelOffset;
    uint64_t table = ColourEntries(info);
    if (table > 256 && info.bitCount <= 8) return false;
    // Above 8 bits a colour table is only a hint for displays: one the pixels begin inside
    // of is no table.
    if (info.bitCount > 8 &&
        BmpFileHeader::kSize + info.headerSize + masks + 4 * table > offset) {
        table = 0;
    }
    const uint64_t headerBytes = info.headerSize + masks + 4 * table;
    uint64_t pixels = 0;
    if (info.compression == kBiRgb || info.compression == kBiBitfields) {
        pixels = DibStride(info.width, info.bitCount) * static_cast<uint64_t>(height);
    } else {
        pixels = info.imageSize;  // compressed: the header's count is all there is
        if (pixels == 0) return false;
    }
    if (offset < BmpFileHeader::kSize + headerBytes || offset > size || pixels > size - offset ||
        pixels > kLargestPictureBytes) {
        return false;
    }
    parts.info = info;
    if (info.bitCount > 8 && table == 0) parts.info.colorsUsed = 0;
    parts.headerBytes = static_cast<size_t>(headerBytes);
    parts.pixelOffset = static_cast<size_t>(offset);
    parts.pixelBytes = static_cast<size_t>(pixels);
    return true;
}

PictureCheck CheckPictureBytes(const uint8_t* bytes, size_t size) {
    return CheckPictureHead(bytes, size, size);
}

PictureCheck CheckPictureHead(const uint8_t* bytes, size_t headSize, uint64_t fileSize) {
    const size_t size = headSize;
    if (!bytes || size < 2) return PictureCheck::kNotPicture;
    if (StartsWith(bytes, size, {'B', 'M'})) {
        BmpParts parts;
        if (FindBmpParts(bytes, headSize, fileSize, parts)) return PictureCheck::kWhole;
        // Told apart for the message: sane headers over too few bytes, or no sane headers.
        if (fileSize < BmpFileHeader::kSize + BmpInfoHeader::kSize) return PictureCheck::kTruncated;
        if (size < BmpFileHeader::kSize + BmpInfoHeader::kSize) return PictureCheck::kDamaged;
        const BmpFileHeader file = BmpFileHeader::FromBytes(bytes);
        return file.pixelOffset > fileSize || file.fileSize > fileSize ? PictureCheck::kTruncated
                                                                       : PictureCheck::kDamaged;
    }
    // Formats whose decoders stop at the end of the bytes they are given.
    if (StartsWith(bytes, size, {0xFF, 0xD8, 0xFF}) ||
        StartsWith(bytes, size, {0x89, 'P', 'N', 'G'}) ||
        StartsWith(bytes, size, {'G', 'I', 'F', '8'}) ||
        StartsWith(bytes, size, {'I', 'I', 42, 0}) || StartsWith(bytes, size, {'M', 'M', 0, 42})) {
        return PictureCheck::kWhole;
    }
    return PictureCheck::kNotPicture;
}

}  // namespace orvane
