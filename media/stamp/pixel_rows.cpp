#include "media/stamp/pixel_rows.h"

#include <algorithm>

#include <cstring>

#include "media/bmp_layout.h"

namespace orvane {

namespace {
constexpr int32_t kLargestSide = 32768;
}

std::optional<PixelRows> ReadBmpPixels(const uint8_t* file, size_t size) {
    if (file == nullptr || size < BmpFileHeader::kSize + BmpInfoHeader::kSize) return {};
    const BmpFileHeader head = BmpFileHeader::FromBytes(file);
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(file + BmpFileHeader::kSize);
    if (head.type != 0x4D42 || info.headerSize < BmpInfoHeader::kSize) return {};
    if (info.compression != kBiRgb || (info.bitCount != 24 && info.bitCount != 32)) return {};
    if (info.width <= 0 || info.width > kLargestSide || info.height == 0 ||
        info.height < -kLargestSide || info.height > kLargestSide) {
        return {};
    }
    PixelRows out;
    out.width = info.width;
    out.height = info.height < 0 ? -info.height : info.height;
    out.topDown = info.height < 0;
    const uint64_t stride = DibStride(out.width, info.bitCount);
    const uint64_t need = static_cast<uint64_t>(head.pixelOffset) + stride * out.height;
    if (head.pixelOffset < BmpFileHeader::kSize + info.headerSize || need > size) return {};
    out.bytes.resize(static_cast<size_t>(out.width) * out.height * 3);
    const size_t step = info.bitCount / 8;
    for (int32_t y = 0; y < out.height; ++y) {
        const uint8_t* in = file + head.pixelOffset + stride * y;
        uint8_t* row = out.Row(y);
        if (step == 3) {
            std::memcpy(row, in, static_cast<size_t>(out.width) * 3);
            continue;
        }
        for (int32_t x = 0; x < out.width; ++x, in += step, row += 3) {
            row[0] = in[0];
            row[1] = in[1];
            row[2] = in[2];
        }
    }
    return out;
}

std::vector<uint8_t> Bmp24Header(int32_t width, int32_t height, bool topDown) {
    const uint64_t stride = DibStride(width, 24);
    const size_t offset = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    BmpFileHeader head;
    head.fileSize = static_cast<uint32_t>(offset + stride * static_cast<uint64_t>(height));
    head.pixelOffset = static_cast<uint32_t>(offset);
    BmpInfoHeader info;
    info.width = width;
    info.height = topDown ? -height : height;
    info.planes = 1;
    info.bitCount = 24;
    info.imageSize = static_cast<uint32_t>(stride * static_cast<uint64_t>(height));
    const auto headBytes = head.ToBytes();
    const auto infoBytes = info.ToBytes();
    std::vector<uint8_t> out(offset);
    std::memcpy(out.data(), headBytes.data(), headBytes.size());
    std::memcpy(out.data() + BmpFileHeader::kSize, infoBytes.data(), infoBytes.size());
    return out;
}

std::vector<uint8_t> WriteBmp24(const PixelRows& picture) {
    const uint64_t stride = DibStride(picture.width, 24);
    std::vector<uint8_t> out = Bmp24Header(picture.width, picture.height, picture.topDown);
    const size_t offset = out.size();
    out.resize(offset + static_cast<size_t>(stride * picture.height), 0);
    for (int32_t y = 0; y < picture.height; ++y) {
        std::memcpy(out.data() + offset + stride * y, picture.Row(y),
                    static_cast<size_t>(picture.width) * 3);
    }
    return out;
}

void FlipRowOrder(PixelRows& picture) {
    const size_t row = static_cast<size_t>(picture.width) * 3;
    for (int32_t top = 0, bottom = picture.height - 1; top < bottom; ++top, --bottom) {
        std::swap_ranges(picture.Row(top), picture.Row(top) + row, picture.Row(bottom));
    }
    picture.topDown = !picture.topDown;
}

std::vector<int32_t> NearestIndices(int32_t count, double ratio, int32_t limit) {
    std::vector<int32_t> out(count > 0 ? static_cast<size_t>(count) : 0);
    for (int32_t i = 0; i < count; ++i) {
        const double at = static_cast<double>(i) * ratio;
        int32_t index = at >= static_cast<double>(limit) ? limit - 1 : static_cast<int32_t>(at);
        out[i] = index < 0 ? 0 : index;
    }
    return out;
}

PixelRows SampleNearest(const PixelRows& source, const std::vector<int32_t>& columns,
                        const std::vector<int32_t>& rows) {
    PixelRows out;
    out.width = static_cast<int32_t>(columns.size());
    out.height = static_cast<int32_t>(rows.size());
    out.topDown = source.topDown;
    out.bytes.resize(static_cast<size_t>(out.width) * out.height * 3);
    for (int32_t y = 0; y < out.height; ++y) {
        const uint8_t* in = source.Row(rows[y]);
        uint8_t* row = out.Row(y);
        for (int32_t x = 0; x < out.width; ++x, row += 3) {
            std::memcpy(row, in + static_cast<size_t>(columns[x]) * 3, 3);
        }
    }
    return out;
}

}  // namespace orvane
