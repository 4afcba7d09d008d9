#include "editor/geometry/pen_scaling.h"

#include <gtest/gtest.h>

namespace orvane::editor {
namespace {

TEST(PenScalingTest, WidthIsTwiceTheChoiceInPicturePixels) {
    EXPECT_EQ(ScaledPenWidth(1, CanvasScale(640, 480, 640, 480)), 2);
    EXPECT_EQ(ScaledPenWidth(3, CanvasScale(2048, 1536, 1024, 768)), 12);
    // s = (1000 / 800 + 750 / 600) / 2 = 1.25: 2.5 rounds up to 3.
    EXPECT_EQ(ScaledPenWidth(1, CanvasScale(1000, 750, 800, 600)), 3);
    // s = 0.2: 0.4 would truncate to a zero-width pen.
    EXPECT_EQ(ScaledPenWidth(1, CanvasScale(100, 100, 500, 500)), 1);
    EXPECT_EQ(ScaledPenWidth(9, CanvasScale(2000000000, 2000000000, 1, 1)), kMaxPenWidth);
}

TEST(PenScalingTest, CanvasWithoutAreaCountsAsNaturalSize) {
    EXPECT_EQ(CanvasScale(640, 480, 0, 480), 1.0f);
    EXPECT_EQ(CanvasScale(640, 480, 640, -3), 1.0f);
    EXPECT_EQ(CanvasScale(0, 0, 640, 480), 0.0f);
}

TEST(PenScalingTest, FontHeightRoundsHalfAwayFromZero) {
    EXPECT_EQ(ScaledFontHeight(-12, 1.0f), -12);
    EXPECT_EQ(ScaledFontHeight(-12, 1.25f), -15);
    EXPECT_EQ(ScaledFontHeight(-11, 0.5f), -6);
    EXPECT_EQ(ScaledFontHeight(11, 0.5f), 6);
    EXPECT_EQ(ScaledFontHeight(-10, 0.0f), 0);
}

TEST(PenScalingTest, DashPatternsInPenWidths) {
    auto lengths = [](const DashPattern& p) {
        return std::vector<uint32_t>(p.lengths.begin(), p.lengths.begin() + p.count);
    };
    EXPECT_EQ(lengths(DashPatternOf(0, 2)), (std::vector<uint32_t>{12, 0}));
    EXPECT_EQ(lengths(DashPatternOf(1, 2)), (std::vector<uint32_t>{12, 6}));
    EXPECT_EQ(lengths(DashPatternOf(2, 2)), (std::vector<uint32_t>{4, 6}));
    EXPECT_EQ(lengths(DashPatternOf(3, 2)), (std::vector<uint32_t>{12, 6, 4, 6}));
    EXPECT_EQ(lengths(DashPatternOf(4, 1)), (std::vector<uint32_t>{6, 3, 2, 3, 2, 3}));
    // A damaged style draws solid; a width below 1 counts as 1.
    EXPECT_EQ(lengths(DashPatternOf(7, 3)), (std::vector<uint32_t>{18, 0}));
    EXPECT_EQ(lengths(DashPatternOf(-1, 0)), (std::vector<uint32_t>{6, 0}));
    EXPECT_EQ(GuideColor(0x000000FFu), 0x00FFFF00u);
    EXPECT_EQ(GuideColor(0xFF123456u), 0x00EDCBA9u);
}

}  // namespace
}  // namespace orvane::editor
