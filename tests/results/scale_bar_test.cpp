// The scale bar's length, its pixels and its place.
#include "results/scale_bar.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace orvane::results {
namespace {

ScaleBar Bar(const Conversion& c, int32_t width) {
    const std::optional<ScaleBar> bar = ChooseScaleBar(c, width);
    EXPECT_TRUE(bar.has_value());
    return bar.value_or(ScaleBar{});
}

TEST(ScaleBar, LargestOneTwoFiveLengthWithinAQuarter) {
    // 0.355 mm per reference pixel, magnification 1000: 0.355 um a pixel; a quarter of 1280 is
    // 113.6 um.
    ScaleBar bar = Bar({0.355, 1.0, 1000.0, Unit::kMicrometre}, 1280);
    EXPECT_EQ(bar.label, "100 um");
    EXPECT_EQ(bar.digit, 1);
    EXPECT_EQ(bar.exponent, 2);
    EXPECT_EQ(bar.pixels, 282);  // 281.69
    // Magnification 200 in mm: a quarter is 0.568 mm.
    bar = Bar({0.355, 1.0, 200.0, Unit::kMillimetre}, 1280);
    EXPECT_EQ(bar.label, "0.5 mm");
    EXPECT_EQ(bar.length, 0.5);
    EXPECT_EQ(bar.pixels, 282);
    // Magnification 50: a quarter is 2.272 mm, 2272 um, 89.45 mil, 0.0894 inch.
    EXPECT_EQ(Bar({0.355, 1.0, 50.0, Unit::kMillimetre}, 1280).label, "2 mm");
    EXPECT_EQ(Bar({0.355, 1.0, 50.0, Unit::kMicrometre}, 1280).label, "2000 um");
    EXPECT_EQ(Bar({0.355, 1.0, 50.0, Unit::kMil}, 1280).label, "50 mil");
    bar = Bar({0.355, 1.0, 50.0, Unit::kInch}, 1280);
    EXPECT_EQ(bar.label, "0.05 inch");
    EXPECT_EQ(bar.exponent, -2);
    EXPECT_EQ(bar.pixels, 179);  // 0.05 inch = 1.27 mm = 178.87 pixels
    // Tiny pixels: many decimals, written out exactly.
    EXPECT_EQ(Bar({0.355, 1.0, 5e6, Unit::kMillimetre}, 1280).label, "0.00002 mm");
}

TEST(ScaleBar, EdgesOfTheQuarter) {
    // 0.25 / 80 = 0.003125 mm a pixel exactly: a quarter of 1280 is exactly 1 mm.
    const Conversion exact{0.25, 1.0, 80.0, Unit::kMillimetre};
    ScaleBar bar = Bar(exact, 1280);
    EXPECT_EQ(bar.label, "1 mm");
    EXPECT_EQ(bar.pixels, 320);
    // One pixel narrower and 1 mm is too long.
    bar = Bar(exact, 1279);
    EXPECT_EQ(bar.label, "0.5 mm");
    EXPECT_EQ(bar.pixels, 160);
    // 38 pixels of 0.1 / 19 mm come to 0.19999999999999998: still the 0.2 mm bar.
    bar = Bar({0.1, 1.0, 19.0, Unit::kMillimetre}, 152);
    EXPECT_EQ(bar.label, "0.2 mm");
    EXPECT_EQ(bar.pixels, 38);
    // Every step of the series at a power of ten and below it.
    for (int32_t width : {400, 396, 800, 796, 2000, 1996}) {
        const ScaleBar b = Bar({0.1, 1.0, 1.0, Unit::kMillimetre}, width);  // 0.1 mm a pixel
        const double quarter = width / 4.0 * 0.1;
        EXPECT_LE(b.length, quarter * (1 + 1e-9)) << width;
        EXPECT_GT(b.length * 2.5, quarter) << width;  // the next step would be too long
    }
}

TEST(ScaleBar, NoBarWithoutAUsableMagnificationOrWidth) {
    for (double m : {0.0, -1.0, std::numeric_limits<double>::infinity(),
                     std::numeric_limits<double>::quiet_NaN()}) {
        EXPECT_FALSE(ChooseScaleBar({0.355, 1.0, m, Unit::kMillimetre}, 1280)) << m;
    }
    EXPECT_FALSE(ChooseScaleBar({0.355, 1.0, 50.0, Unit::kMillimetre}, 3));
    EXPECT_FALSE(ChooseScaleBar({0.355, 1.0, 50.0, Unit::kMillimetre}, -1280));
    EXPECT_FALSE(ChooseScaleBar({0.0, 1.0, 50.0, Unit::kMillimetre}, 1280));
    // Lengths beyond the series' range of exact powers of ten.
    EXPECT_FALSE(ChooseScaleBar({0.355, 1.0, 1e-30, Unit::kMillimetre}, 1280));
    EXPECT_FALSE(ChooseScaleBar({0.355, 1.0, 1e300, Unit::kMillimetre}, 1280));
}

TEST(ScaleBar, ThePixelsGiveTheLabelByTheConversion) {
    // Whatever the picture: the bar's pixels, measured as a line, come within half a pixel of
    // its length, and the bar is never longer than a quarter (plus the rounding).
    for (double m : {1.0, 7.3, 48.5, 200.0, 1234.5}) {
        for (Unit u : {Unit::kMillimetre, Unit::kMicrometre, Unit::kMil, Unit::kInch}) {
            for (int32_t width : {320, 640, 1280, 2048, 3488}) {
                const Conversion c{0.38093, 2.0, m, u};
                const ScaleBar b = Bar(c, width);
                const double perPixel = editor::ShownLength(1, c);
                EXPECT_NEAR(editor::ShownLength(b.pixels, c), b.length, perPixel / 2);
                EXPECT_LE(b.pixels, width / 4.0 + 0.5);
                EXPECT_EQ(b.label.substr(b.label.find(' ') + 1), editor::UnitText(u));
            }
        }
    }
}

TEST(ScaleBar, CornerLayoutAndPlacedBar) {
    const ScaleBarText text{-21, 60};
    // Margin 10, thickness 5, gap 2 for a 21-pixel font.
    ScaleBarLayout l = CornerScaleBar(282, 1280, 960, text);
    EXPECT_EQ(l.bar, (editor::Box{988, 945, 1270, 950}));
    EXPECT_EQ(l.label, (editor::Point{988 + 111, 945 - 2 - 21}));
    EXPECT_EQ(l.bounds, (editor::Box{988, 922, 1270, 950}));
    // Above a bottom line of stamps.
    l = CornerScaleBar(282, 1280, 960, text, 25);
    EXPECT_EQ(l.bar.bottom, 925);
    // A label wider than the bar stays inside the picture.
    l = CornerScaleBar(20, 200, 100, {-21, 150});
    EXPECT_EQ(l.bar, (editor::Box{170, 85, 190, 90}));
    EXPECT_EQ(l.label.x, 50);
    EXPECT_EQ(l.bounds, (editor::Box{50, 62, 200, 90}));
    // In the editor the bar starts where the user clicked.
    l = PlaceScaleBar(100, {40, 300}, {16, 30});
    EXPECT_EQ(l.bar, (editor::Box{40, 296, 140, 300}));
    EXPECT_EQ(l.label, (editor::Point{75, 296 - 2 - 16}));
    // Font heights of damaged settings do not overflow.
    l = PlaceScaleBar(100, {40, 300}, {INT32_MIN, 30});
    EXPECT_LT(l.label.y, l.bar.top);
}

TEST(ScaleBar, StampsAndShownSizes) {
    StampRequest r;
    r.bits = kStampDateTime | kStampPictureSize;
    r.width = 1280;
    r.height = 960;
    r.fontHeight = -21;
    // The date stands at 960 - 4 - 21: the bar goes above it; the size text at the top counts
    // for nothing.
    EXPECT_EQ(BottomStampInset(LayoutStamps(r), 960), 25);
    r.bits = kStampPictureSize;
    EXPECT_EQ(BottomStampInset(LayoutStamps(r), 960), 0);
    // A 282-pixel bar of a 1280-wide live picture shown 640 wide.
    EXPECT_EQ(ShownPixels(282, 1280, 640), 141);
    EXPECT_EQ(ShownPixels(281, 1280, 640), 141);  // 140.5 rounds away from zero
    EXPECT_EQ(ShownPixels(282, 0, 640), 0);
    EXPECT_EQ(EstimatedTextWidth(6, -21), 60);
}

}  // namespace
}  // namespace orvane::results
