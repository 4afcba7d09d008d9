#include <gtest/gtest.h>

#include <vector>

#include "capture/preview/preview_convert.h"

namespace orvane {
namespace {

// A 4 x 2 picture with a border stride, so writes past a row or the picture show up.
struct Canvas {
    static constexpr int kStride = 4 * 4 + 8;
    std::vector<uint8_t> bytes = std::vector<uint8_t>(kStride * 2, 0xAB);
    BgrxPicture Picture(bool topDown) { return {bytes.data(), 4, 2, kStride, topDown}; }
    const uint8_t* Pixel(int x, int row) const { return bytes.data() + row * kStride + x * 4; }
};

TEST(PreviewConvert, Yuy2BecomesStudioRangeRgbBottomUp) {
    // Top row: black, white; bottom row: grey, and a saturated red (Y 81, U 90, V 240).
    const uint8_t yuy2[] = {16,  128, 235, 128, 16, 128, 235, 128,
                            128, 128, 128, 128, 81, 90,  81,  240};
    Canvas canvas;
    ASSERT_TRUE(Yuy2ToBgrx(yuy2, sizeof yuy2, canvas.Picture(false)));
    // Bottom-up: the frame's top row is the picture's last row.
    EXPECT_EQ(std::vector<uint8_t>(canvas.Pixel(0, 1), canvas.Pixel(0, 1) + 8),
              (std::vector<uint8_t>{0, 0, 0, 0, 255, 255, 255, 0}));
    EXPECT_EQ(std::vector<uint8_t>(canvas.Pixel(0, 0), canvas.Pixel(0, 0) + 4),
              (std::vector<uint8_t>{130, 130, 130, 0}));
    EXPECT_EQ(std::vector<uint8_t>(canvas.Pixel(3, 0), canvas.Pixel(3, 0) + 4),
              (std::vector<uint8_t>{0, 0, 255, 0}));
    EXPECT_EQ(canvas.bytes[4 * 4], 0xAB) << "the stride's padding is left alone";
}

TEST(PreviewConvert, TopDownPicturesKeepTheRowOrder) {
    const uint8_t yuy2[] = {16,  128, 16,  128, 16,  128, 16,  128,
                            235, 128, 235, 128, 235, 128, 235, 128};
    Canvas canvas;
    ASSERT_TRUE(Yuy2ToBgrx(yuy2, sizeof yuy2, canvas.Picture(true)));
    EXPECT_EQ(canvas.Pixel(0, 0)[0], 0);
    EXPECT_EQ(canvas.Pixel(0, 1)[0], 255);
}

TEST(PreviewConvert, ShortOrOddFramesAndSmallPicturesAreRefusedUntouched) {
    const std::vector<uint8_t> frame(4 * 2 * 2, 128);
    Canvas canvas;
    EXPECT_FALSE(Yuy2ToBgrx(frame.data(), frame.size() - 1, canvas.Picture(false)));
    BgrxPicture narrow = canvas.Picture(false);
    narrow.stride = 4 * 4 - 1;
    EXPECT_FALSE(Yuy2ToBgrx(frame.data(), frame.size(), narrow));
    BgrxPicture odd = canvas.Picture(false);
    odd.width = 3;
    EXPECT_FALSE(Yuy2ToBgrx(frame.data(), frame.size(), odd));
    EXPECT_FALSE(Yuy2ToBgrx(nullptr, frame.size(), canvas.Picture(false)));
    EXPECT_EQ(canvas.bytes, std::vector<uint8_t>(Canvas::kStride * 2, 0xAB));
    EXPECT_EQ(Yuy2FrameBytes(16386, 2), 0u);
    EXPECT_EQ(Yuy2FrameBytes(1280, 960), 1280u * 960 * 2);
}

TEST(PreviewConvert, DecodedRowsAreFlippedIntoBottomUpPictures) {
    std::vector<uint8_t> rows(4 * 4 * 2);
    for (size_t i = 0; i < rows.size(); ++i) rows[i] = static_cast<uint8_t>(i);
    Canvas canvas;
    ASSERT_TRUE(CopyTopDownBgrx(rows.data(), rows.size(), canvas.Picture(false)));
    EXPECT_EQ(canvas.Pixel(0, 1)[0], 0);
    EXPECT_EQ(canvas.Pixel(0, 0)[0], 16);
    EXPECT_FALSE(CopyTopDownBgrx(rows.data(), rows.size() - 1, canvas.Picture(false)));
}

}  // namespace
}  // namespace orvane
