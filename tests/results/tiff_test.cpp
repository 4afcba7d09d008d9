// The TIFF writer's fields and pixels, read back by the reader and checked byte by byte.
#include "results/tiff_writer.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

#include "media/byte_io.h"
#include "results/calibrated_tiff.h"
#include "results/tiff_layout.h"

namespace orvane::results {
namespace {

// Blue, green, red of pixel (x, y) of the test picture, counted from its top row.
std::array<uint8_t, 3> Bgr(int32_t x, int32_t y) {
    return {static_cast<uint8_t>(x * 7 + y), static_cast<uint8_t>(y * 5),
            static_cast<uint8_t>(200 - x)};
}

PixelRows Picture(int32_t width, int32_t height, bool topDown) {
    PixelRows p;
    p.width = width;
    p.height = height;
    p.topDown = topDown;
    p.bytes.resize(static_cast<size_t>(width) * height * 3);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            const auto bgr = Bgr(x, topDown ? y : height - 1 - y);
            std::memcpy(p.Row(y) + x * 3, bgr.data(), 3);
        }
    }
    return p;
}

const TiffField& Field(const TiffPicture& t, uint16_t tag) {
    static const TiffField kNone;
    const auto it = t.fields.find(tag);
    EXPECT_NE(it, t.fields.end()) << tag;
    return it == t.fields.end() ? kNone : it->second;
}

TEST(Tiff, CalibratedPictureFieldsAndPixels) {
    const Conversion c{0.355, 1.0, 50.0, Unit::kMicrometre};
    const std::vector<uint8_t> file =
        WriteTiff24(Picture(40, 30, false), CalibratedTiffFields(c, "Orvane"));
    // Header, 4800... 3600 pixel bytes, the directory right after them.
    ASSERT_GE(file.size(), 8u + 3600u);
    EXPECT_EQ(GetU16(file.data()), 0x4949);
    EXPECT_EQ(GetU16(file.data() + 2), 42);
    EXPECT_EQ(GetU32(file.data() + 4), 8u + 3600u);
    EXPECT_EQ(GetU16(file.data() + 3608), 15);  // entries
    // Tags ascending, as readers require.
    uint16_t previous = 0;
    for (size_t i = 0; i < 15; ++i) {
        const uint16_t tag = GetU16(file.data() + 3610 + i * TiffEntry::kSize);
        EXPECT_GT(tag, previous);
        previous = tag;
    }
    const std::optional<TiffPicture> t = ReadTiff24(file.data(), file.size());
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(t->width, 40);
    EXPECT_EQ(t->height, 30);
    EXPECT_EQ(Field(*t, kTagBitsPerSample).numbers, (std::vector<uint32_t>{8, 8, 8}));
    EXPECT_EQ(Field(*t, kTagCompression).numbers, std::vector<uint32_t>{1});
    EXPECT_EQ(Field(*t, kTagPhotometric).numbers, std::vector<uint32_t>{2});
    EXPECT_EQ(Field(*t, kTagSamplesPerPixel).numbers, std::vector<uint32_t>{3});
    EXPECT_EQ(Field(*t, kTagRowsPerStrip).numbers, std::vector<uint32_t>{30});
    EXPECT_EQ(Field(*t, kTagStripOffsets).numbers, std::vector<uint32_t>{8});
    EXPECT_EQ(Field(*t, kTagStripByteCounts).numbers, std::vector<uint32_t>{3600});
    EXPECT_EQ(Field(*t, kTagResolutionUnit).numbers, std::vector<uint32_t>{3});
    EXPECT_EQ(Field(*t, kTagPlanarConfiguration).numbers, std::vector<uint32_t>{1});
    EXPECT_EQ(Field(*t, kTagImageDescription).text, "ImageJ=1.53t\nunit=cm\n");
    EXPECT_EQ(Field(*t, kTagSoftware).text, "Orvane");
    // 0.0071 mm a pixel: 10 / 0.0071 = 1408.4507... pixels per cm, as a fraction that close.
    for (uint16_t tag : {kTagXResolution, kTagYResolution}) {
        const auto& r = Field(*t, tag).rationals;
        ASSERT_EQ(r.size(), 1u);
        EXPECT_NEAR(static_cast<double>(r[0].first) / r[0].second, 10 / 0.0071, 1e-9);
    }
    // Red, green, blue from the top row down, whatever the rows' order was.
    ASSERT_EQ(t->rgb.size(), 3600u);
    for (int32_t y : {0, 1, 29}) {
        for (int32_t x : {0, 13, 39}) {
            const auto bgr = Bgr(x, y);
            const uint8_t* p = t->rgb.data() + (static_cast<size_t>(y) * 40 + x) * 3;
            EXPECT_EQ(p[0], bgr[2]);
            EXPECT_EQ(p[1], bgr[1]);
            EXPECT_EQ(p[2], bgr[0]);
        }
    }
    EXPECT_EQ(WriteTiff24(Picture(40, 30, true), CalibratedTiffFields(c, "Orvane")), file);
}

TEST(Tiff, LargePicturesGoInStrips) {
    // 1000 pixels a row: 21 rows a strip of 64 KiB, 48 strips for 1000 rows.
    const std::vector<uint8_t> file = WriteTiff24(Picture(1000, 1000, true), {});
    const std::optional<TiffPicture> t = ReadTiff24(file.data(), file.size());
    ASSERT_TRUE(t.has_value());
    EXPECT_EQ(Field(*t, kTagRowsPerStrip).numbers, std::vector<uint32_t>{21});
    const auto& offsets = Field(*t, kTagStripOffsets).numbers;
    const auto& counts = Field(*t, kTagStripByteCounts).numbers;
    ASSERT_EQ(offsets.size(), 48u);
    ASSERT_EQ(counts.size(), 48u);
    EXPECT_EQ(counts[0], 63000u);
    EXPECT_EQ(counts[47], 13u * 3000u);  // 1000 - 47 * 21 rows
    EXPECT_EQ(offsets[1], 8u + 63000u);
    EXPECT_EQ(t->rgb.size(), 3000000u);
    EXPECT_EQ(t->rgb[(999u * 1000 + 999) * 3], Bgr(999, 999)[2]);
    // Uncalibrated: no resolution fields and no description.
    EXPECT_EQ(t->fields.count(kTagXResolution), 0u);
    EXPECT_EQ(t->fields.count(kTagResolutionUnit), 0u);
    EXPECT_EQ(t->fields.count(kTagImageDescription), 0u);
    EXPECT_EQ(t->fields.size(), 10u);
    // Odd pixel byte counts keep the directory on a word boundary.
    const std::vector<uint8_t> odd = WriteTiff24(Picture(1, 1, true), {});
    EXPECT_EQ(GetU32(odd.data() + 4), 12u);
    EXPECT_TRUE(ReadTiff24(odd.data(), odd.size()).has_value());
}

TEST(Tiff, RefusedPicturesAndDamagedFiles) {
    PixelRows p = Picture(4, 4, true);
    p.bytes.pop_back();
    EXPECT_TRUE(WriteTiff24(p, {}).empty());
    EXPECT_TRUE(WriteTiff24(PixelRows{}, {}).empty());
    PixelRows huge;
    huge.width = 40000;
    huge.height = 1;
    EXPECT_TRUE(WriteTiff24(huge, {}).empty());
    // Without a usable magnification nothing claims a scale.
    const TiffFields none = CalibratedTiffFields({0.355, 1.0, 0.0, Unit::kMillimetre}, "Orvane");
    EXPECT_FALSE(none.pixelsPerCentimetre.has_value());
    EXPECT_TRUE(none.description.empty());
    // Every truncation and every single damaged byte of a file reads without fault.
    TiffFields fields;
    fields.pixelsPerCentimetre = 100;
    fields.description = "d";
    const std::vector<uint8_t> file = WriteTiff24(Picture(5, 3, true), fields);
    for (size_t n = 0; n < file.size(); ++n) {
        const auto t = ReadTiff24(file.data(), n);
        if (t) {
            EXPECT_TRUE(t->rgb.empty() || t->rgb.size() == 45u);
        }
    }
    for (size_t i = 0; i < file.size(); ++i) {
        for (uint8_t v : {0x00, 0xFF, 0x7F}) {
            std::vector<uint8_t> damaged = file;
            damaged[i] = v;
            const auto t = ReadTiff24(damaged.data(), damaged.size());
            if (t && !t->rgb.empty()) {
                EXPECT_EQ(t->rgb.size(), static_cast<size_t>(t->width) * t->height * 3);
            }
        }
    }
}

TEST(Tiff, NearestRational) {
    auto value = [](TiffRational r) { return static_cast<double>(r.numerator) / r.denominator; };
    EXPECT_EQ(NearestRational(1408.0).denominator, 1u);
    EXPECT_EQ(NearestRational(0.5).numerator, 1u);
    EXPECT_EQ(NearestRational(0.5).denominator, 2u);
    for (double v : {10 / 0.0071, 3.14159265358979, 1e-6, 123456.789, 0.001, 4.2e9}) {
        EXPECT_NEAR(value(NearestRational(v)), v, v * 1e-12) << v;
    }
    EXPECT_EQ(NearestRational(0).numerator, 0u);
    EXPECT_EQ(NearestRational(-5).numerator, 0u);
    EXPECT_EQ(NearestRational(std::numeric_limits<double>::quiet_NaN()).numerator, 0u);
    EXPECT_EQ(NearestRational(1e20).numerator, UINT32_MAX);
}

}  // namespace
}  // namespace orvane::results
