#include <gtest/gtest.h>

#include <vector>

#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"

namespace orvane {
namespace {

TEST(StampLayout, PlacesTheFourTextsByTheFontHeight) {
    StampRequest r;
    r.bits = kStampPictureSize | kStampDateTime | kStampFileName | kStampMagnification;
    r.width = 1280;
    r.height = 960;
    r.fontHeight = -21;  // lh 21: base = 960 - 4 - 21
    r.captureTime = {2026, 3, 0, 7, 9, 5, 4, 0};
    r.path = u"C:\\PICTURES\\20260307090504.JPG";  // 18 characters, cut to 13
    r.magnification = 50.0;
    const std::vector<StampText> texts = LayoutStamps(r);
    ASSERT_EQ(texts.size(), 4u);
    EXPECT_EQ(texts[0], (StampText{u"1280X960", 0, 0}));
    EXPECT_EQ(texts[1], (StampText{u"2026-03-07 09:05:04", 0, 935}));
    EXPECT_EQ(texts[2], (StampText{u"2026030709050", (1280 - 13 * 10) / 2, 935}));
    EXPECT_EQ(texts[3], (StampText{u"Magnification: 50.00", 1280 - 10 * 20, 935}));

    r.magnification = 1.0;  // not printed at 1 or below
    r.magnificationDecimals = 1;
    EXPECT_EQ(LayoutStamps(r).size(), 3u);
    r.magnification = 1.25;
    EXPECT_EQ(LayoutStamps(r).back().text, u"Magnification: 1.2");
    r.bits = 0x28;  // size and date only
    EXPECT_EQ(LayoutStamps(r).size(), 2u);
}

// A 24-bit BMP of width 3 (rows padded from 9 to 12 bytes), bottom-up, pixel value = 10y + x.
std::vector<uint8_t> PaddedBmp(int height, size_t cutBytes = 0) {
    PixelRows p;
    p.width = 3;
    p.height = height;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < 3; ++x) {
            for (int c = 0; c < 3; ++c) p.bytes.push_back(static_cast<uint8_t>(10 * y + x));
        }
    }
    std::vector<uint8_t> file = WriteBmp24(p);
    file.resize(file.size() - cutBytes);
    return file;
}

TEST(StampLayout, FontHeightsNoPictureCanHoldAreBounded) {
    EXPECT_EQ(BoundedStampFontHeight(-21, 960), 21);
    EXPECT_EQ(BoundedStampFontHeight(21, 960), 21);
    EXPECT_EQ(BoundedStampFontHeight(INT32_MIN, 960), 21);
    EXPECT_EQ(BoundedStampFontHeight(0, 960), 21);
    EXPECT_EQ(BoundedStampFontHeight(-1000000, 960), 320);
    EXPECT_EQ(BoundedStampFontHeight(INT32_MAX, 240), 80);
    EXPECT_EQ(BoundedStampFontHeight(-1000000, 12), 8);
    // Every stamp of such a record stays inside the picture.
    StampRequest r;
    r.bits = 0xFF;
    r.width = 320;
    r.height = 240;
    r.magnification = 40.0;
    r.path = u"C:\\P\\TX0000001.BMP";
    for (int32_t height : {INT32_MIN, -1000000, 1000000}) {
        r.fontHeight = height;
        for (const StampText& t : LayoutStamps(r)) {
            EXPECT_GE(t.y, 0) << height;
            EXPECT_LT(t.y, 240) << height;  // across, the painter keeps a wide text inside
        }
    }
}

TEST(PixelRows, ReadsAndWritesPaddedRowsWithinTheFile) {
    const std::vector<uint8_t> file = PaddedBmp(2);
    ASSERT_EQ(file.size(), 54u + 2 * 12);
    EXPECT_EQ(file[2], 78);  // file size field: the real length
    const auto rows = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(rows);
    EXPECT_EQ(rows->width, 3);
    EXPECT_FALSE(rows->topDown);
    EXPECT_EQ(rows->Row(1)[6], 12);  // (x 2, row 1), read past the first row's padding
    EXPECT_EQ(WriteBmp24(*rows), file);

    // One byte short of the last row, a zero-sized file, a 16-bit file: refused, never read past.
    const std::vector<uint8_t> cut = PaddedBmp(2, 1);
    EXPECT_FALSE(ReadBmpPixels(cut.data(), cut.size()));
    EXPECT_FALSE(ReadBmpPixels(file.data(), 0));
    std::vector<uint8_t> sixteen = file;
    sixteen[28] = 16;
    EXPECT_FALSE(ReadBmpPixels(sixteen.data(), sixteen.size()));
}

TEST(PixelRows, SamplesByNearestPixelWithOneRatio) {
    // 1600 x 1200 to 320 x 240: ratio 5, the last output pixel takes source 1595.
    const std::vector<int32_t> columns = NearestIndices(320, 5.0, 1600);
    EXPECT_EQ(columns[1], 5);
    EXPECT_EQ(columns[319], 1595);
    EXPECT_EQ(NearestIndices(3, 2.0, 4), (std::vector<int32_t>{0, 2, 3}));  // kept inside

    const std::vector<uint8_t> file = PaddedBmp(4);
    const auto source = ReadBmpPixels(file.data(), file.size());
    ASSERT_TRUE(source);
    const PixelRows out = SampleNearest(*source, {2, 0}, {3, 1});
    EXPECT_EQ(out.width, 2);
    EXPECT_EQ(out.bytes, (std::vector<uint8_t>{32, 32, 32, 30, 30, 30, 12, 12, 12, 10, 10, 10}));
}

}  // namespace
}  // namespace orvane
