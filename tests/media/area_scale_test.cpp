#include <gtest/gtest.h>

#include <vector>

#include "media/area_scale.h"

namespace orvane {
namespace {

TEST(AreaScale, AveragesTheCoveredAreaInBothRowOrders) {
    // 4 x 2 source: left half 0 and 100, right half 200 and 40 (per 2 x 2 block).
    const uint8_t rows[2][12] = {{0, 0, 0, 100, 100, 100, 200, 200, 200, 40, 40, 40},
                                 {100, 100, 100, 0, 0, 0, 40, 40, 40, 200, 200, 200}};
    std::vector<uint8_t> out(2 * 4, 7);
    ASSERT_TRUE(AreaScale({&rows[0][0], 4, 2, 12, 3}, {out.data(), 2, 1, 8, 4}));
    EXPECT_EQ(out, (std::vector<uint8_t>{50, 50, 50, 0, 120, 120, 120, 0}));
    // Bottom-up source (negative stride) and a non-integer ratio: 3 x 1 to 2 x 1.
    const uint8_t line[9] = {0, 0, 0, 90, 90, 90, 180, 180, 180};
    uint8_t two[6] = {};
    ASSERT_TRUE(AreaScale({line, 3, 1, -9, 3}, {two, 2, 1, 6, 3}));
    EXPECT_EQ(two[0], 30);   // 1 x 0 + 0.5 x 90, over 1.5
    EXPECT_EQ(two[3], 150);  // 0.5 x 90 + 1 x 180, over 1.5
}

TEST(AreaScale, KeepsAUniformColourAtLargeRatiosAndRefusesEmptyViews) {
    std::vector<uint8_t> big(static_cast<size_t>(3000) * 3 * 2000, 0);
    for (size_t i = 0; i < big.size(); i += 3) {
        big[i] = 255;
        big[i + 1] = 17;
        big[i + 2] = 200;
    }
    uint8_t one[3] = {};
    ASSERT_TRUE(AreaScale({big.data(), 3000, 2000, 9000, 3}, {one, 1, 1, 3, 3}));
    EXPECT_EQ(one[0], 255);
    EXPECT_EQ(one[1], 17);
    EXPECT_EQ(one[2], 200);
    EXPECT_FALSE(AreaScale({big.data(), 0, 2000, 9000, 3}, {one, 1, 1, 3, 3}));
    EXPECT_FALSE(AreaScale({big.data(), 3000, 2000, 9000, 2}, {one, 1, 1, 3, 3}));
}

}  // namespace
}  // namespace orvane
