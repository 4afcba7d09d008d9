#include "media/bmp_layout.h"

#include "media/byte_io.h"

namespace orvane {

BmpFileHeader::Bytes BmpFileHeader::ToBytes() const {
    Bytes out{};
    PutU16(&out[kTypeOffset], type);
    PutU32(&out[kFileSizeOffset], fileSize);
    PutU16(&out[kReserved1Offset], reserved1);
    PutU16(&out[kReserved2Offset], reserved2);
    PutU32(&out[kPixelOffsetOffset], pixelOffset);
    return out;
}

BmpFileHeader BmpFileHeader::FromBytes(const uint8_t* in) {
    BmpFileHeader h;
    h.type = GetU16(&in[kTypeOffset]);
    h.fileSize = GetU32(&in[kFileSizeOffset]);
    h.reserved1 = GetU16(&in[kReserved1Offset]);
    h.reserved2 = GetU16(&in[kReserved2Offset]);
    h.pixelOffset = GetU32(&in[kPixelOffsetOffset]);
    return h;
}

BmpInfoHeader::Bytes BmpInfoHeader::ToBytes() const {
    Bytes out{};
    PutU32(&out[kHeaderSizeOffset], headerSize);
    PutI32(&out[kWidthOffset], width);
    PutI32(&out[kHeightOffset], height);
    PutU16(&out[kPlanesOffset], planes);
    PutU16(&out[kBitCountOffset], bitCount);
    PutU32(&out[kCompressionOffset], compression);
    PutU32(&out[kImageSizeOffset], imageSize);
    PutI32(&out[kXPelsOffset], xPelsPerMeter);
    PutI32(&out[kYPelsOffset], yPelsPerMeter);
    PutU32(&out[kColorsUsedOffset], colorsUsed);
    PutU32(&out[kColorsImportantOffset], colorsImportant);
    return out;
}

BmpInfoHeader BmpInfoHeader::FromBytes(const uint8_t* in) {
    BmpInfoHeader h;
    h.headerSize = GetU32(&in[kHeaderSizeOffset]);
    h.width = GetI32(&in[kWidthOffset]);
    h.height = GetI32(&in[kHeightOffset]);
    h.planes = GetU16(&in[kPlanesOffset]);
    h.bitCount = GetU16(&in[kBitCountOffset]);
    h.compression = GetU32(&in[kCompressionOffset]);
    h.imageSize = GetU32(&in[kImageSizeOffset]);
    h.xPelsPerMeter = GetI32(&in[kXPelsOffset]);
    h.yPelsPerMeter = GetI32(&in[kYPelsOffset]);
    h.colorsUsed = GetU32(&in[kColorsUsedOffset]);
    h.colorsImportant = GetU32(&in[kColorsImportantOffset]);
    return h;
}

uint64_t DibStride(int64_t width, unsigned bitCount) {
    if (width <= 0 || width > 0x10000 || bitCount == 0 || bitCount > 32) return 0;
    return ((static_cast<uint64_t>(width) * bitCount + 31) / 32) * 4;
}

}  // namespace orvane
