#pragma once
// Pictures as packed rows of blue, green, red bytes, read from and written to BMP file images,
// and sampled to another size by nearest pixel.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace orvane {

struct PixelRows {
    int32_t width = 0;
    int32_t height = 0;          // always positive
    bool topDown = false;        // row order of the file the rows came from or go to
    std::vector<uint8_t> bytes;  // height rows of width * 3 bytes, no padding, in file order

    uint8_t* Row(int32_t y) { return bytes.data() + static_cast<size_t>(y) * width * 3; }
    const uint8_t* Row(int32_t y) const {
        return bytes.data() + static_cast<size_t>(y) * width * 3;
    }
};

// The pixels of an uncompressed 24- or 32-bit BMP file image. Every row is read at its real
// padded stride and only within the file; anything else (another depth, compression, a file
// shorter than its rows, sizes beyond 32768 pixels a side) gives nothing.
std::optional<PixelRows> ReadBmpPixels(const uint8_t* file, size_t size);

// A complete 24-bit BMP file image of the rows (padded to four bytes, height negative when
// top-down, the file size field the real length).
std::vector<uint8_t> WriteBmp24(const PixelRows& picture);
// The 54 header bytes of that file image, for writers that stream the rows after it.
std::vector<uint8_t> Bmp24Header(int32_t width, int32_t height, bool topDown);

// The same picture with its rows in the other order (top-down <-> bottom-up), in place.
void FlipRowOrder(PixelRows& picture);

// Source indices trunc(i * ratio) for i in [0, count), each kept inside [0, limit).
std::vector<int32_t> NearestIndices(int32_t count, double ratio, int32_t limit);

// Output pixel (x, y) is source pixel (columns[x], rows[y]); indices must lie inside the
// source (NearestIndices keeps them there). Row order is kept.
PixelRows SampleNearest(const PixelRows& source, const std::vector<int32_t>& columns,
                        const std::vector<int32_t>& rows);

}  // namespace orvane
