// A picture's size read from the first bytes of its file.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "media/bmp_layout.h"
#include "media/picture_size.h"

namespace orvane {
namespace {

std::vector<uint8_t> Bmp(int32_t width, int32_t height) {
    BmpInfoHeader info;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = 24;
    BmpFileHeader file;
    file.pixelOffset = BmpFileHeader::kSize + BmpInfoHeader::kSize;
    std::vector<uint8_t> bytes;
    for (uint8_t b : file.ToBytes()) bytes.push_back(b);
    for (uint8_t b : info.ToBytes()) bytes.push_back(b);
    return bytes;
}

void Segment(std::vector<uint8_t>& out, uint8_t marker, size_t payload, uint8_t fill = 0) {
    out.insert(out.end(), {0xFF, marker, static_cast<uint8_t>((payload + 2) >> 8),
                           static_cast<uint8_t>((payload + 2) & 0xFF)});
    out.insert(out.end(), payload, fill);
}

// A JPEG's head: its segments in order, then the frame header of the given marker.
std::vector<uint8_t> Jpeg(int width, int height, uint8_t frameMarker,
                          const std::vector<std::pair<uint8_t, size_t>>& before) {
    std::vector<uint8_t> out = {0xFF, 0xD8};
    for (const auto& [marker, payload] : before) Segment(out, marker, payload, 0xFF);
    out.insert(out.end(), {0xFF, frameMarker, 0x00, 0x11, 0x08, static_cast<uint8_t>(height >> 8),
                           static_cast<uint8_t>(height & 0xFF), static_cast<uint8_t>(width >> 8),
                           static_cast<uint8_t>(width & 0xFF), 0x03});
    out.insert(out.end(), 9, 0x11);
    return out;
}

std::optional<PictureSize> SizeOf(const std::vector<uint8_t>& bytes) {
    return PictureSizeFromHead(bytes.data(), bytes.size());
}

TEST(PictureSize, BitmapsGiveTheirWidthAndRowsWhicheverWayTheyAreStored) {
    EXPECT_EQ(SizeOf(Bmp(3488, 2616)), (PictureSize{3488, 2616}));
    EXPECT_EQ(SizeOf(Bmp(640, -480)), (PictureSize{640, 480})) << "top-down";
    // The oldest header: 16-bit sides.
    std::vector<uint8_t> core = {'B', 'M', 0, 0, 0, 0,    0,    0,    0,    0, 26, 0,  0,
                                 0,   12,  0, 0, 0, 0x20, 0x03, 0x58, 0x02, 1, 0,  24, 0};
    EXPECT_EQ(SizeOf(core), (PictureSize{800, 600}));
    // No size: none wide or high, an unknown header, a head cut inside it.
    EXPECT_EQ(SizeOf(Bmp(0, 480)), std::nullopt);
    EXPECT_EQ(SizeOf(Bmp(640, 0)), std::nullopt);
    std::vector<uint8_t> odd = Bmp(640, 480);
    odd[14] = 20;
    EXPECT_EQ(SizeOf(odd), std::nullopt);
    const std::vector<uint8_t> whole = Bmp(640, 480);
    EXPECT_EQ(PictureSizeFromHead(whole.data(), 30), std::nullopt);
}

TEST(PictureSize, JpegsGiveTheirFrameHeadersSizeBehindTheSegmentsBeforeIt) {
    // JFIF, a long application segment and tables before the frame; baseline and progressive.
    const std::vector<std::pair<uint8_t, size_t>> segments = {
        {0xE0, 14}, {0xE1, 65000}, {0xDB, 67}, {0xC4, 30}};
    EXPECT_EQ(SizeOf(Jpeg(3488, 2616, 0xC0, segments)), (PictureSize{3488, 2616}));
    EXPECT_EQ(SizeOf(Jpeg(2048, 1536, 0xC2, segments)), (PictureSize{2048, 1536}));
    // Fill bytes before a marker and a marker without a length are stepped over.
    std::vector<uint8_t> filled = {0xFF, 0xD8, 0xFF, 0xFF, 0xD0};
    const std::vector<uint8_t> frame = Jpeg(100, 50, 0xC1, {});
    filled.insert(filled.end(), frame.begin() + 2, frame.end());
    EXPECT_EQ(SizeOf(filled), (PictureSize{100, 50}));
    // The Huffman table marker (0xC4) is no frame: the size comes from the frame after it.
    EXPECT_EQ(SizeOf(Jpeg(7, 9, 0xC0, {{0xC4, 40}})), (PictureSize{7, 9}));
    // No size: the frame header beyond the head, scan data before any frame, a broken segment.
    const std::vector<uint8_t> far = Jpeg(3488, 2616, 0xC0, segments);
    EXPECT_EQ(PictureSizeFromHead(far.data(), 60000), std::nullopt);
    std::vector<uint8_t> scanFirst = {0xFF, 0xD8};
    Segment(scanFirst, 0xDA, 10);
    EXPECT_EQ(SizeOf(scanFirst), std::nullopt);
    std::vector<uint8_t> broken = {0xFF, 0xD8, 0x12, 0x34, 0x00, 0x10};
    EXPECT_EQ(SizeOf(broken), std::nullopt);
    EXPECT_EQ(SizeOf(Jpeg(0, 10, 0xC0, {})), std::nullopt);
}

TEST(PictureSize, PngsGiveTheirHeaderChunksSizeAndOtherBytesNone) {
    const std::vector<uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                      'I',  'H', 'D', 'R', 0,    0,    0x0A, 0xC0, 0, 0, 7, 0x80};
    EXPECT_EQ(SizeOf(png), (PictureSize{2752, 1920}));
    std::vector<uint8_t> other = png;
    other[12] = 'X';
    EXPECT_EQ(SizeOf(other), std::nullopt);
    const std::vector<uint8_t> text = {'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0};
    EXPECT_EQ(SizeOf(text), std::nullopt);
    EXPECT_EQ(PictureSizeFromHead(nullptr, 100), std::nullopt);
}

}  // namespace
}  // namespace orvane
