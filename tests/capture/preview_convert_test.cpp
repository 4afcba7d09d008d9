#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "capture/preview/preview_convert.h"
#include "capture/preview/preview_rows.h"

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

// The SIMD row kernels this processor runs (the plain kernel, first in the list, is the
// reference: it is the conversion's arithmetic as written).
std::vector<preview::Yuy2Row> SimdRows() {
    int count = 0;
    const preview::Yuy2Row* rows = preview::Yuy2Rows(&count);
    return std::vector<preview::Yuy2Row>(rows + 1, rows + count);
}

TEST(PreviewConvertKernels, TheBaselineAndTheBestKernelAreThere) {
    int count = 0;
    const preview::Yuy2Row* rows = preview::Yuy2Rows(&count);
    ASSERT_GE(count, 2);
    EXPECT_EQ(std::string(rows[0].name), "plain");
    EXPECT_EQ(std::string(rows[1].name), "sse2");
    EXPECT_EQ(preview::BestYuy2Row(), rows[count - 1].convert);
}

// Sanitizer builds take every seventh chroma pair value (the plain build takes all).
#ifdef __SANITIZE_ADDRESS__
constexpr int kChromaStep = 7;
#else
constexpr int kChromaStep = 1;
#endif

// Every (Y, U, V): one row per chroma pair value, its pairs running through every luma in
// both pixels (Y and 255 - Y), against the plain kernel.
TEST(PreviewConvertKernels, EverySimdKernelMatchesThePlainOneOverAllInputs) {
    constexpr int kWidth = 512;
    std::vector<uint8_t> row(kWidth * 2), want(kWidth * 4), got(kWidth * 4);
    for (const preview::Yuy2Row& kernel : SimdRows()) {
        for (int uv = 0; uv < 65536; uv += kChromaStep) {
            for (int k = 0; k < 256; ++k) {
                row[4 * k] = static_cast<uint8_t>(k);
                row[4 * k + 1] = static_cast<uint8_t>(uv & 0xFF);
                row[4 * k + 2] = static_cast<uint8_t>(255 - k);
                row[4 * k + 3] = static_cast<uint8_t>(uv >> 8);
            }
            preview::Yuy2RowPlain(row.data(), kWidth, want.data());
            kernel.convert(row.data(), kWidth, got.data());
            ASSERT_EQ(got, want) << kernel.name << " U " << (uv & 0xFF) << " V " << (uv >> 8);
        }
    }
}

// Random frames of every even width up to two vectors past the widest kernel's block and of
// the cameras' sizes, into padded bottom-up and top-down pictures: the same bytes as the plain
// kernel, and the padding untouched.
TEST(PreviewConvertKernels, RandomFramesOfAllSizesMatchThePlainKernel) {
    std::vector<std::pair<int, int>> sizes;
    for (int w = 2; w <= 66; w += 2) sizes.push_back({w, 1 + w % 5});
    for (auto s :
         {std::pair{640, 480}, std::pair{800, 600}, std::pair{1280, 960}, std::pair{1600, 1200},
          std::pair{2048, 1536}, std::pair{2, 1200}, std::pair{1282, 3}}) {
        sizes.push_back(s);
    }
    std::mt19937 rng(23);
    for (const preview::Yuy2Row& kernel : SimdRows()) {
        for (auto [w, h] : sizes) {
            std::vector<uint8_t> frame(Yuy2FrameBytes(w, h));
            for (auto& b : frame) b = static_cast<uint8_t>(rng());
            const int pad = static_cast<int>(rng() % 3) * 4 + 4;
            const ptrdiff_t stride = static_cast<ptrdiff_t>(w) * 4 + pad;
            for (bool topDown : {false, true}) {
                std::vector<uint8_t> want(stride * h, 0xAB), got(stride * h, 0xAB);
                const BgrxPicture wantPicture{want.data(), w, h, stride, topDown};
                const BgrxPicture gotPicture{got.data(), w, h, stride, topDown};
                ASSERT_TRUE(preview::Yuy2ToBgrxWith(preview::Yuy2RowPlain, frame.data(),
                                                    frame.size(), wantPicture));
                ASSERT_TRUE(preview::Yuy2ToBgrxWith(kernel.convert, frame.data(), frame.size(),
                                                    gotPicture));
                ASSERT_EQ(got, want) << kernel.name << " " << w << " x " << h;
                EXPECT_EQ(got[w * 4], 0xAB) << "the stride's padding is left alone";
            }
        }
    }
}

}  // namespace
}  // namespace orvane
