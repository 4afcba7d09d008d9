#include <gtest/gtest.h>

#include "widgets/menu_draw_rules.h"

namespace orvane {
namespace {

TEST(MenuDrawRules, IconBoxCentresThePictureInTheColumn) {
    EXPECT_EQ(MenuIconBoxFor(18, 18), (MenuIconBox{11, 1, 29, 19}));
    EXPECT_EQ(MenuIconBoxFor(16, 16), (MenuIconBox{12, 2, 28, 18}));
    EXPECT_EQ(MenuIconBoxFor(17, 15), (MenuIconBox{11, 2, 28, 17}));
    // A dimension that does not fit spans the whole column or box height from 1.
    EXPECT_EQ(MenuIconBoxFor(40, 20), (MenuIconBox{1, 1, 40, 20}));
    EXPECT_EQ(MenuIconBoxFor(64, 12), (MenuIconBox{1, 4, 40, 16}));
}

TEST(MenuDrawRules, SeparatorsAreThreePixelsHigh) {
    EXPECT_EQ(MenuItemSizeFor(0), (MenuItemSize{280, 3}));
    EXPECT_EQ(MenuItemSizeFor(32779), (MenuItemSize{280, 22}));
    EXPECT_EQ(MenuItemSizeFor(0xFFFFFFFFu), (MenuItemSize{280, 22}));
}

TEST(MenuDrawRules, GradientStepsAreTruncatedPerChannel) {
    // 128 / 20 = 6.4: rows go 127, 133, ..., 241 and never reach white.
    for (int d = 0; d < 20; ++d) {
        const uint32_t v = 127 + 6 * d;
        EXPECT_EQ(GradientRowColour(0x7F7F7F, 0xFFFFFF, 20, d), v | v << 8 | v << 16) << d;
    }
    // Channels move on their own, a falling one truncated towards zero (-255 / 10 = -25).
    EXPECT_EQ(GradientRowColour(0xFF0000, 0x0000FF, 10, 4), 0x9B0064u);
    // Past the last row a channel keeps only its low 8 bits: 127 + 6 * 30 = 307.
    EXPECT_EQ(GradientRowColour(0x7F7F7F, 0xFFFFFF, 20, 30), 0x333333u);
    EXPECT_EQ(GradientRowColour(0x7F7F7F, 0xFFFFFF, 0, 0), 0x7F7F7Fu);
}

}  // namespace
}  // namespace orvane
