#include "editor/geometry/end_marks.h"

#include <gtest/gtest.h>

#include "editor/geometry/line_rules.h"

namespace orvane::editor {
namespace {

using Marks = std::array<Segment, 2>;

TEST(EndMarksTest, AxisParallelSegmentsGetAxisParallelGuides) {
    EXPECT_EQ(GuideLines({0, 0}, {10, 0}),
              (Marks{{{{0, 10000}, {0, -10000}}, {{10, 10000}, {10, -10000}}}}));
    EXPECT_EQ(GuideLines({3, 4}, {3, -6}),
              (Marks{{{{10003, 4}, {-9997, 4}}, {{10003, -6}, {-9997, -6}}}}));
    // Coincident ends count as vertical.
    EXPECT_EQ(GuideLines({1, 1}, {1, 1}),
              (Marks{{{{10001, 1}, {-9999, 1}}, {{10001, 1}, {-9999, 1}}}}));
}

TEST(EndMarksTest, SlopedSegmentGetsTruncatedPerpendiculars) {
    // k = -1, h = sqrt(10000^2 / 2) = 7071.07; through (10, 10): y' = -x' + 20.
    EXPECT_EQ(GuideLines({0, 0}, {10, 10}),
              (Marks{{{{7071, -7071}, {-7071, 7071}}, {{7081, -7061}, {-7061, 7081}}}}));
    // Short marks reach 3 pen widths: h = sqrt(36 / 2) = 4.24.
    EXPECT_EQ(ShortMarks({0, 0}, {10, 10}, 2), (Marks{{{{4, -4}, {-4, 4}}, {{14, 5}, {5, 14}}}}));
    EXPECT_EQ(ShortMarks({0, 0}, {0, 10}, 2), (Marks{{{{6, 0}, {-6, 0}}, {{6, 10}, {-6, 10}}}}));
}

TEST(EndMarksTest, ArrowBarbsPointBackAtQuarterEighthOffTheShaft) {
    EXPECT_EQ(ArrowBarbs({0, 0}, {10, 0}, 2), (std::array<Point, 2>{{{2, 3}, {2, -3}}}));
    EXPECT_EQ(ArrowBarbs({0, 10}, {0, 0}, 1), (std::array<Point, 2>{{{1, 3}, {-1, 3}}}));
    EXPECT_EQ(ArrowBarbs({0, 10}, {0, 0}, -5), (std::array<Point, 2>{{{0, 0}, {0, 0}}}));
}

TEST(LineRulesTest, LockedEndPoints) {
    EXPECT_EQ(LockedEndPoint({0, 0}, {30, 10}, 45), (Point{10, 10}));
    EXPECT_EQ(LockedEndPoint({0, 0}, {10, -30}, 45), (Point{10, -10}));
    EXPECT_EQ(LockedEndPoint({5, 5}, {-25, 15}, 45), (Point{-5, 15}));
    EXPECT_EQ(LockedEndPoint({0, 0}, {10, 10}, 90), (Point{0, 10}));  // a tie is vertical
    EXPECT_EQ(LockedEndPoint({0, 0}, {30, 10}, 90), (Point{30, 0}));
    EXPECT_EQ(LockedEndPoint({0, 0}, {30, 10}, 0), (Point{30, 10}));
}

}  // namespace
}  // namespace orvane::editor
