#include <gtest/gtest.h>
#include <cmath>

#include "editor/geometry/angles.h"
#include "editor/geometry/circle.h"

namespace orvane::editor {
namespace {

// Degrees as the editor computes them, with its shortened pi.
constexpr double kRight = 90.0000015352345;
constexpr double kStraight = 180.000003070469;

TEST(CircleTest, CentreOfThreePoints) {
    auto c = CircleThroughPoints({0, -10}, {10, 0}, {0, 10});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->centre, (Point{0, 0}));
    EXPECT_EQ(c->drawRadius, 10);
    // Horizontal chords have vertical bisectors: centre (15, -5) and (5, 15), not a point
    // millions of pixels away.
    c = CircleThroughPoints({0, 0}, {10, 10}, {20, 10});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->centre, (Point{15, -5}));
    EXPECT_DOUBLE_EQ(c->radius, std::sqrt(250.0));
    EXPECT_EQ(c->drawRadius, 15);
    c = CircleThroughPoints({0, 0}, {10, 0}, {20, 10});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->centre, (Point{5, 15}));
    // The chord middles' y are halved as integers: (2, -2) rather than the true (2, -1.5).
    c = CircleThroughPoints({0, 0}, {2, 1}, {4, 0});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->centre, (Point{2, -2}));
    EXPECT_EQ(c->drawRadius, 2);
}

TEST(CircleTest, DegenerateAndFarCentres) {
    EXPECT_FALSE(CircleThroughPoints({0, 0}, {5, 5}, {10, 10}));
    EXPECT_FALSE(CircleThroughPoints({3, 3}, {3, 3}, {10, 1}));
    EXPECT_FALSE(CircleThroughPoints({3, 3}, {10, 1}, {10, 1}));
    EXPECT_FALSE(CircleThroughPoints({7, 7}, {7, 7}, {7, 7}));
    const auto c = CircleThroughPoints({0, 0}, {100000000, 1}, {-100000000, 0});
    ASSERT_TRUE(c);
    EXPECT_EQ(c->drawRadius, kMaxDrawRadius);
    EXPECT_GT(c->radius, 1e12);
}

TEST(CircleTest, StartAngleAndArcLeaveOutTheLargestGap) {
    EXPECT_EQ(CircleStartAngle({0, 0}, {0, -10}), 90);
    EXPECT_NEAR(CircleStartAngle({0, 0}, {-10, 0}), 90 + kRight, 1e-9);
    ArcSpan a = ArcThroughPoints({0, 0}, {0, -10}, {10, 0}, {0, 10});
    EXPECT_NEAR(a.start, -kRight, 1e-9);
    EXPECT_NEAR(a.sweep, 2 * kRight, 1e-9);
    // Angles -90, -36.87, 180: the gap between the last two is the largest.
    a = ArcThroughPoints({0, 0}, {0, 5}, {4, 3}, {-5, 0});
    EXPECT_NEAR(a.start, kStraight, 1e-9);
    EXPECT_NEAR(a.sweep, 143.1300986547543, 1e-9);
}

TEST(AngleTest, VertexAngleSweepsTheShortWay) {
    VertexAngle a = AngleAtVertex({0, 0}, {10, 0}, {0, -10});
    EXPECT_EQ(a.start, 0);
    EXPECT_NEAR(a.sweep, kRight, 1e-9);
    a = AngleAtVertex({0, 0}, {-10, -1}, {-10, 1});  // 174.29 to -174.29
    EXPECT_NEAR(a.start, 174.28940983555717, 1e-9);
    EXPECT_NEAR(a.sweep, 11.421180328885669, 1e-9);
    EXPECT_EQ(AngleAtVertex({4, 4}, {4, 4}, {4, 4}).sweep, 0);
}

TEST(AngleTest, LinesMeetingBeyondBothSegments) {
    const LinesAngle a = AngleBetweenLines({0, 0}, {10, 0}, {20, 10}, {20, 5});
    EXPECT_NEAR(a.theta, 180 - kRight, 1e-9);
    ASSERT_TRUE(a.intersection);
    EXPECT_EQ(*a.intersection, (Point{20, 0}));
    EXPECT_EQ(a.firstExtension, (Segment{{0, 0}, {20, 0}}));
    EXPECT_EQ(a.secondExtension, (Segment{{20, 10}, {20, 0}}));
    // From the second line's downward ray (the side of (20, 10)) round to the first line.
    EXPECT_NEAR(a.arcStart, kRight + 180, 1e-9);
    EXPECT_NEAR(a.arcSweep, 180 - kRight, 1e-9);
}

TEST(AngleTest, AcuteAngleAndIntersectionOfCrossingLines) {
    // tan 30 = 0.57735: 30 degrees and 150 degrees both read as the acute angle.
    LinesAngle a = AngleBetweenLines({0, 0}, {100000, 0}, {0, 0}, {100000, -57735});
    EXPECT_NEAR(a.theta, 30, 1e-4);
    a = AngleBetweenLines({0, 0}, {100000, 0}, {100000, -57735}, {0, 0});
    EXPECT_NEAR(a.theta, 30, 1e-4);
    a = AngleBetweenLines({0, 0}, {10, 10}, {0, 10}, {10, 0});
    EXPECT_EQ(a.intersection, (Point{5, 5}));
    EXPECT_FALSE(a.firstExtension);
    EXPECT_FALSE(a.secondExtension);
    EXPECT_NEAR(a.arcSweep, 180 - kRight, 1e-9);  // from 225 round to -45
    // A vertical first line takes the intersection's y from the second.
    a = AngleBetweenLines({5, 0}, {5, 10}, {0, 3}, {10, 8});
    EXPECT_EQ(a.intersection, (Point{5, 5}));
}

TEST(AngleTest, ParallelLinesHaveNoIntersection) {
    LinesAngle a = AngleBetweenLines({0, 0}, {10, 0}, {0, 5}, {10, 5});
    EXPECT_FALSE(a.intersection);
    EXPECT_EQ(a.theta, 0);
    a = AngleBetweenLines({0, 0}, {10, 0}, {0, 5}, {-10, 5});  // opposite directions
    EXPECT_FALSE(a.intersection);
    EXPECT_NEAR(a.theta, 0, 1e-5);
    a = AngleBetweenLines({3, 3}, {3, 3}, {0, 5}, {10, 9});  // a line of one point
    EXPECT_FALSE(a.intersection);
}

}  // namespace
}  // namespace orvane::editor
