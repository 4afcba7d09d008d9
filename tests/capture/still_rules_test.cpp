#include <gtest/gtest.h>

#include <vector>

#include "capture/still/still_rules.h"
#include "media/bmp_layout.h"

namespace orvane {
namespace {

TEST(StillRules, PhotoCommandAndStillPathFollowThePhotoOption) {
    EXPECT_EQ(PhotoCommandAction(0x150003C0), PhotoAction::kPreviewFrame);
    EXPECT_EQ(PhotoCommandAction(0x43200258), PhotoAction::kGuardedStill);
    EXPECT_EQ(PhotoCommandAction(0x03200258), PhotoAction::kStill);
    EXPECT_EQ(PhotoCommandAction(0x12345678), PhotoAction::kStill);

    using K = StillPath::Kind;
    EXPECT_EQ(StillPathOf(0x128001E0).kind, K::kPreviewRequest);
    EXPECT_EQ(StillPathOf(0x13200258).kind, K::kPreviewEveryOther);
    const StillPath single = StillPathOf(0x350003C0);
    EXPECT_EQ(single.kind, K::kRawSingle);
    EXPECT_EQ(single.targetWidth, 2560);
    EXPECT_FALSE(single.jpeg) << "a 2560 x 1920 raw photo is stored as BMP";
    const StillPath halves = StillPathOf(0x43200258);
    EXPECT_EQ(halves.kind, K::kRawHalves);
    EXPECT_EQ(halves.targetWidth, 3488);
    EXPECT_EQ(halves.targetHeight, 2616);
    EXPECT_TRUE(halves.jpeg);
    EXPECT_EQ(StillPathOf(0x00A00078).kind, K::kPreviewSize);
    EXPECT_EQ(StillPathOf(0x064004B0).kind, K::kPreviewSize);
    EXPECT_EQ(StillPathOf(0x02800000).kind, K::kUnused);
    EXPECT_EQ(StillPathOf(0x53200258).kind, K::kUnused);
}

TEST(StillRules, TopDownHeadersMoveThePixelsPastAnyExtraHeaderBytes) {
    const BmpHeaders plain = TopDownBmpHeaders(800, 600, PackedImageSize(800, 600));
    ASSERT_EQ(plain.bytes.size(), 54u);
    const BmpFileHeader file = BmpFileHeader::FromBytes(plain.bytes.data());
    const BmpInfoHeader info = BmpInfoHeader::FromBytes(plain.bytes.data() + 14);
    EXPECT_EQ(file.pixelOffset, 54u);
    EXPECT_EQ(file.fileSize, 54u + 800 * 600 * 3);
    EXPECT_EQ(info.width, 800);
    EXPECT_EQ(info.height, -600) << "rows run top-down";
    EXPECT_EQ(info.bitCount, 24);
    EXPECT_EQ(info.imageSize, 800u * 600 * 3);

    const BmpHeaders longer = TopDownBmpHeaders(160, 120, PackedImageSize(160, 120), 52);
    ASSERT_EQ(longer.bytes.size(), 66u);
    EXPECT_EQ(BmpFileHeader::FromBytes(longer.bytes.data()).pixelOffset, 66u);
    EXPECT_EQ(PackedImageSize(0, 10), 0u);
}

// The headers the platform's BMP encoder writes for a 2048 x 1536 picture, byte for byte.
TEST(StillRules, BottomUpHeadersAreThePlatformEncodersOwn) {
    const uint8_t platform[54] = {0x42, 0x4d, 0x36, 0x00, 0x90, 0x00, 0x00, 0x00, 0x00, 0x00, 0x36,
                                  0x00, 0x00, 0x00, 0x28, 0x00, 0x00, 0x00, 0x00, 0x08, 0x00, 0x00,
                                  0x00, 0x06, 0x00, 0x00, 0x01, 0x00, 0x18, 0x00, 0x00, 0x00, 0x00,
                                  0x00, 0x00, 0x00, 0x90, 0x00, 0xc4, 0x0e, 0x00, 0x00, 0xc4, 0x0e,
                                  0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00};
    const BmpHeaders h = BottomUpBmpHeaders(2048, 1536);
    EXPECT_EQ(h.bytes, std::vector<uint8_t>(platform, platform + 54));
    EXPECT_EQ(h.imageSize, 2048u * 3 * 1536);
    // Rows padded to four bytes: 5 pixels take 16.
    const BmpHeaders odd = BottomUpBmpHeaders(5, 3);
    EXPECT_EQ(odd.imageSize, 48u);
    EXPECT_EQ(BmpFileHeader::FromBytes(odd.bytes.data()).fileSize, 54u + 48);
    EXPECT_EQ(BmpInfoHeader::FromBytes(odd.bytes.data() + 14).height, 3) << "bottom-up";
    EXPECT_TRUE(BottomUpBmpHeaders(65536, 30000).bytes.empty()) << "beyond 4 GiB";
    EXPECT_TRUE(BottomUpBmpHeaders(0, 3).bytes.empty());
}

TEST(StillRules, NearestResamplingTakesTruncatedSourcePositions) {
    // 4 x 2 source, pixel value = 1 + column + 10 * row in all three bytes: no source pixel
    // looks like an untouched target byte (0xEE) or a zeroed one.
    std::vector<uint8_t> source(4 * 2 * 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c) source[(y * 4 + x) * 3 + c] = uint8_t(1 + x + 10 * y);
    std::vector<uint8_t> target(3 * 1 * 3, 0xEE);
    // ratio = min(4/3, 2/1) = 1.333: columns 0, 1, 2 of row 0.
    ASSERT_TRUE(
        ResampleNearest(source.data(), source.size(), 4, 2, target.data(), target.size(), 3, 1));
    EXPECT_EQ(target, (std::vector<uint8_t>{1, 1, 1, 2, 2, 2, 3, 3, 3}));

    // Upscaling the 4 x 2 source to 8 x 6: ratio min(0.5, 0.333) = 0.333, so target (x, y)
    // reads source (trunc(x / 3), trunc(y / 3)).
    std::vector<uint8_t> big(8 * 6 * 3, 0xEE);
    ASSERT_TRUE(ResampleNearest(source.data(), source.size(), 4, 2, big.data(), big.size(), 8, 6));
    for (int y = 0; y < 6; ++y) {
        for (int x = 0; x < 8; ++x) {
            const double ratio = 2.0 / 6.0;
            const int sx = static_cast<int>(x * ratio), sy = static_cast<int>(y * ratio);
            EXPECT_EQ(big[(y * 8 + x) * 3], 1 + sx + 10 * sy) << x << ", " << y;
        }
    }
    EXPECT_FALSE(ResampleNearest(source.data(), source.size() - 1, 4, 2, target.data(),
                                 target.size(), 3, 1));
}

}  // namespace
}  // namespace orvane

namespace orvane {
namespace {

TEST(StillRules, OnlyFramesAPhotoCanBeMadeOfAreTaken) {
    constexpr uint32_t kRgb = 0, kYuy2 = 0x32595559, kMjpg = 0x47504A4D;
    constexpr size_t kBuffer = 1600 * 1200 * 3;
    EXPECT_EQ(PreviewFrameKind(kRgb, 24, 640, 480, kBuffer), FrameKind::kRgb24);
    EXPECT_EQ(PreviewFrameKind(kYuy2, 16, 1600, 1200, kBuffer), FrameKind::kYuy2);
    // 32- and 16-bit rows would be written as if they were 24-bit: a skewed picture.
    EXPECT_EQ(PreviewFrameKind(kRgb, 32, 640, 480, kBuffer), FrameKind::kUnsupported);
    EXPECT_EQ(PreviewFrameKind(kRgb, 16, 640, 480, kBuffer), FrameKind::kUnsupported);
    // Larger than the buffers, an odd YUY2 width, no size, another compression.
    EXPECT_EQ(PreviewFrameKind(kYuy2, 16, 2048, 1536, kBuffer), FrameKind::kUnsupported);
    EXPECT_EQ(PreviewFrameKind(kYuy2, 16, 641, 480, kBuffer), FrameKind::kUnsupported);
    EXPECT_EQ(PreviewFrameKind(kYuy2, 16, 0, 480, kBuffer), FrameKind::kUnsupported);
    EXPECT_EQ(PreviewFrameKind(kMjpg, 24, 640, 480, kBuffer), FrameKind::kUnsupported);
}

TEST(StillRules, APendingStillIsGivenUpAfterItsBound) {
    EXPECT_FALSE(StillRequestExpired(1000, 1000));
    EXPECT_FALSE(StillRequestExpired(1000, 1000 + kStillAnswerMs - 1));
    EXPECT_TRUE(StillRequestExpired(1000, 1000 + kStillAnswerMs));
    EXPECT_TRUE(StillRequestExpired(5000, 10)) << "a clock that went back frees it too";
}

}  // namespace
}  // namespace orvane
