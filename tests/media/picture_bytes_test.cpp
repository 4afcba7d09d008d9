#include "media/picture_bytes.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvane {
namespace {

std::vector<uint8_t> Bmp(int32_t width, int32_t height, uint16_t bits, size_t pixelBytes) {
    BmpFileHeader head;
    head.pixelOffset = 54;
    head.fileSize = static_cast<uint32_t>(54 + pixelBytes);
    BmpInfoHeader info;
    info.width = width;
    info.height = height;
    info.planes = 1;
    info.bitCount = bits;
    const auto h = head.ToBytes();
    const auto i = info.ToBytes();
    std::vector<uint8_t> file(54 + pixelBytes, 0x11);
    std::copy(h.begin(), h.end(), file.begin());
    std::copy(i.begin(), i.end(), file.begin() + 14);
    return file;
}

TEST(PictureBytes, ABitmapIsWholeOnlyWhenTheFileHoldsItsPixels) {
    EXPECT_EQ(CheckPictureBytes(Bmp(640, 480, 24, 640 * 480 * 3)), PictureCheck::kWhole);
    EXPECT_EQ(CheckPictureBytes(Bmp(3, -2, 24, 24)), PictureCheck::kWhole);  // padded rows
    // Cut short anywhere: a copy or a write interrupted.
    std::vector<uint8_t> cut = Bmp(640, 480, 24, 640 * 480 * 3);
    for (size_t keep : {size_t{2}, size_t{30}, size_t{54}, size_t{1000}, cut.size() - 1}) {
        EXPECT_EQ(CheckPictureBytes(cut.data(), keep), PictureCheck::kTruncated) << keep;
    }
    // Headers that claim what no picture has.
    for (auto damage : {+[](std::vector<uint8_t>& f) { f[18] = 0, f[19] = 0; },      // width 0
                        +[](std::vector<uint8_t>& f) { f[28] = 7; },                  // 7 bits
                        +[](std::vector<uint8_t>& f) { f[26] = 2; },                  // 2 planes
                        +[](std::vector<uint8_t>& f) { f[14] = 8; },                  // header 8
                        +[](std::vector<uint8_t>& f) { f[21] = 0x7F; }}) {            // huge width
        std::vector<uint8_t> file = Bmp(4, 4, 24, 48);
        damage(file);
        EXPECT_NE(CheckPictureBytes(file), PictureCheck::kWhole);
    }
}

TEST(PictureBytes, OtherFormatsByTheirSignature) {
    const std::vector<uint8_t> jpeg{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10};
    const std::vector<uint8_t> png{0x89, 'P', 'N', 'G', 13, 10};
    const std::vector<uint8_t> tiff{'I', 'I', 42, 0, 8, 0};
    EXPECT_EQ(CheckPictureBytes(jpeg), PictureCheck::kWhole);
    EXPECT_EQ(CheckPictureBytes(png), PictureCheck::kWhole);
    EXPECT_EQ(CheckPictureBytes(tiff), PictureCheck::kWhole);
    EXPECT_EQ(CheckPictureBytes(std::vector<uint8_t>(4000, 0x5A)), PictureCheck::kNotPicture);
    EXPECT_EQ(CheckPictureBytes(std::vector<uint8_t>{}), PictureCheck::kNotPicture);
}

}  // namespace
}  // namespace orvane
