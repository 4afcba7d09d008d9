#include "media/frame_decode.h"

#include <algorithm>
#include <cstring>

namespace orvane {

namespace {
constexpr int64_t kMaxSide = 16384;

uint8_t ClampToByte(double v) {
    if (v <= 0.0) return 0;
    if (v >= 255.0) return 255;
    return static_cast<uint8_t>(v);
}

void PutPixel(int y, double u, double v, uint8_t* out) {
    out[0] = ClampToByte(y + 2.0 * u);
    out[1] = ClampToByte(y - 0.5 * u - v);
    out[2] = ClampToByte(y + 2.0 * v);
}
}  // namespace

void Yuy2ToBgr(const uint8_t* in, size_t pixelPairs, uint8_t* out) {
    for (size_t i = 0; i < pixelPairs; ++i, in += 4, out += 6) {
        const double u = in[1] - 128.0;
        const double v = in[3] - 128.0;
        PutPixel(in[0] - 16, u, v, out);
        PutPixel(in[2] - 16, u, v, out + 3);
    }
}

bool DecodeRawFrame(const BmpInfoHeader& format, const uint8_t* sample, size_t sampleSize,
                    std::vector<uint8_t>& packedDib) {
    const int64_t width = format.width;
    const int64_t height = format.height < 0 ? -static_cast<int64_t>(format.height) : format.height;
    if (width <= 0 || width > kMaxSide || height <= 0 || height > kMaxSide) return false;
    const bool yuy2 = format.compression == kFourCcYuy2 && format.bitCount == 16;
    const bool rgb24 = format.compression == kBiRgb && format.bitCount == 24;
    if (!yuy2 && !rgb24) return false;
    if (yuy2 && width % 2 != 0) return false;
    const uint64_t inStride = yuy2 ? static_cast<uint64_t>(width) * 2 : DibStride(width, 24);
    if (sample == nullptr || sampleSize / inStride < static_cast<uint64_t>(height)) return false;

    const uint64_t outStride = DibStride(width, 24);
    BmpInfoHeader out;
    out.width = static_cast<int32_t>(width);
    out.height = static_cast<int32_t>(height);
    out.planes = 1;
    out.bitCount = 24;
    out.compression = kBiRgb;
    out.imageSize = static_cast<uint32_t>(outStride * height);
    const BmpInfoHeader::Bytes head = out.ToBytes();
    packedDib.assign(head.begin(), head.end());
    packedDib.resize(head.size() + outStride * height, 0);

    // YUY2 rows run top-down, as do 24-bit rows with a negative height; the result is bottom-up.
    const bool topDown = yuy2 || format.height < 0;
    for (int64_t row = 0; row < height; ++row) {
        const uint8_t* src = sample + inStride * row;
        const int64_t outRow = topDown ? height - 1 - row : row;
        uint8_t* dst = packedDib.data() + head.size() + outStride * outRow;
        if (yuy2) {
            Yuy2ToBgr(src, static_cast<size_t>(width / 2), dst);
        } else {
            std::memcpy(dst, src, static_cast<size_t>(width * 3));
        }
    }
    return true;
}

}  // namespace orvane
