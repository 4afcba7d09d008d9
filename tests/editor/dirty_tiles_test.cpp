#include "editor/model/dirty_tiles.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

namespace orvane::editor {
namespace {

std::vector<Box> Runs(const DirtyTiles& tiles) {
    std::vector<Box> runs;
    tiles.ForEachRun([&](const Box& b) { runs.push_back(b); });
    return runs;
}

bool Covered(const std::vector<Box>& runs, int32_t x, int32_t y) {
    for (const Box& b : runs) {
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) return true;
    }
    return false;
}

TEST(DirtyTiles, BoxesAreClippedAndRunsOfARowMerged) {
    DirtyTiles tiles;
    tiles.Reset(200, 100);  // 4 x 2 tiles, the last column and row cut short
    EXPECT_TRUE(tiles.Empty());
    tiles.MarkBox({70, 10, 195, 20});
    tiles.MarkBox({-50, 90, 10, 500});
    tiles.MarkBox({300, 0, 400, 50});  // outside
    const std::vector<Box> runs = Runs(tiles);
    ASSERT_EQ(runs.size(), 2u);
    EXPECT_EQ(runs[0], (Box{64, 0, 200, 64}));
    EXPECT_EQ(runs[1], (Box{0, 64, 64, 100}));
    tiles.Clear();
    EXPECT_TRUE(tiles.Empty());
    EXPECT_TRUE(Runs(tiles).empty());
}

// A guide crossing the whole picture diagonally marks a thin staircase, not its box; every
// pixel within reach of any segment lies in a marked tile, also for ends far outside.
TEST(DirtyTiles, SegmentsMarkWhatTheyReachAndLittleMore) {
    DirtyTiles tiles;
    tiles.Reset(3488, 2616);
    tiles.MarkSegment({-(1 << 27), -(1 << 27) * 3 / 4}, {1 << 27, (1 << 27) * 3 / 4}, 1);
    int32_t marked = 0;
    for (const Box& b : Runs(tiles)) marked += (b.right - b.left) / DirtyTiles::kTile;
    EXPECT_GT(marked, 54);           // at least one tile per column crossed
    EXPECT_LT(marked, 55 * 41 / 8);  // far from the whole picture

    std::mt19937 random(7);
    std::uniform_int_distribution<int32_t> coordinate(-500, 4000), reach(0, 40);
    for (int n = 0; n < 200; ++n) {
        DirtyTiles one;
        one.Reset(3488, 2616);
        const Point a{coordinate(random), coordinate(random)},
            b{coordinate(random), coordinate(random)};
        const int32_t r = reach(random);
        one.MarkSegment(a, b, r);
        const std::vector<Box> runs = Runs(one);
        const double length = std::hypot(double(b.x) - a.x, double(b.y) - a.y);
        for (int i = 0; i <= 400; ++i) {
            const double t = i / 400.0, nx = length > 0 ? -(b.y - a.y) / length : 0,
                         ny = length > 0 ? (b.x - a.x) / length : 0;
            for (int side : {-1, 1}) {
                const int32_t x =
                    static_cast<int32_t>(std::lround(a.x + (b.x - a.x) * t + side * nx * r));
                const int32_t y =
                    static_cast<int32_t>(std::lround(a.y + (b.y - a.y) * t + side * ny * r));
                if (x < 0 || y < 0 || x >= 3488 || y >= 2616) continue;
                ASSERT_TRUE(Covered(runs, x, y)) << n << ": " << x << "," << y;
            }
        }
    }
    DirtyTiles outside;
    outside.Reset(640, 480);
    outside.MarkSegment({-300, -300}, {-100, 900}, 20);
    EXPECT_TRUE(outside.Empty());
}

}  // namespace
}  // namespace orvane::editor
