// Registration of focus series frames to the first: known shifts and scales of the rendered
// frames are recovered to a quarter pixel and 0.1 %, through defocus, noise and drift.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>

#include "tests/stacking/focus_series.h"

namespace orvane::stacking {
namespace {

struct Placement {
    double focus, dx, dy, scale;
};

// Adds the reference (in focus at depth 0) and then each placement's frame, checking that
// the stacker places it where it was rendered.
void ExpectRecovered(const std::vector<Placement>& placements, int width = 320, int height = 240) {
    vcam::FocusScene scene(width, height, 1);
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(width, height), StackStatus::kOk);
    BgrImage frame;
    ASSERT_TRUE(frame.Allocate(width, height));
    vcam::FocusShot shot;
    shot.focus = 0.0;
    shot.noise = 2.0;
    ASSERT_TRUE(scene.RenderFrame(shot, frame.Data(), static_cast<ptrdiff_t>(frame.Stride())));
    ASSERT_EQ(stacker.Add(frame.View()), StackStatus::kOk);
    uint32_t seed = 2;
    for (const Placement& p : placements) {
        shot.focus = p.focus;
        shot.dx = p.dx;
        shot.dy = p.dy;
        shot.scale = p.scale;
        shot.noiseSeed = seed++;
        ASSERT_TRUE(scene.RenderFrame(shot, frame.Data(), static_cast<ptrdiff_t>(frame.Stride())));
        Registration r;
        ASSERT_EQ(stacker.Add(frame.View(), &r), StackStatus::kOk)
            << "frame at " << p.dx << ", " << p.dy << " scale " << p.scale;
        EXPECT_NEAR(r.alignment.dx, p.dx, 0.25) << "focus " << p.focus;
        EXPECT_NEAR(r.alignment.dy, p.dy, 0.25) << "focus " << p.focus;
        EXPECT_NEAR(r.alignment.scale / p.scale, 1.0, 0.001) << "focus " << p.focus;
        EXPECT_GE(r.match, kMinMatch);
    }
}

TEST(StackAlignment, RecoversShiftsAndScalesThroughTheFocusSweep) {
    ExpectRecovered({{0.1, 0.0, 0.0, 1.0},
                     {0.2, 3.4, -1.7, 1.0},
                     {0.3, -8.0, 8.0, 1.0},
                     {0.45, 7.9, -7.6, 1.012},
                     {0.6, -0.3, 5.25, 0.988},
                     {0.75, 6.6, 2.1, 1.006},
                     {0.9, -5.5, -8.0, 0.994},
                     {1.0, 0.5, 0.5, 1.015}});
}

TEST(StackAlignment, RecoversLargeShiftsBeyondEightPixels) {
    ExpectRecovered({{0.3, 19.5, -11.2, 1.0}, {0.6, -21.7, 17.3, 1.008}, {0.9, 14.0, 23.0, 0.99}});
}

TEST(StackAlignment, FollowsADriftFarBeyondTheSearchRange) {
    // 13 pixels a frame: the last frame is 78 pixels away from the first (the search alone
    // reaches 24), found by starting each search where the previous frame was.
    std::vector<Placement> drift;
    for (int k = 1; k <= 6; ++k) drift.push_back({0.15 * k, 13.0 * k, -4.0 * k, 1.0 + 0.001 * k});
    ExpectRecovered(drift, 400, 300);
}

TEST(StackAlignment, AnotherSpecimenIsLeftOut) {
    const int w = 320, h = 240;
    vcam::FocusScene first(w, h, 1), other(w, h, 7);
    BgrImage a, b;
    ASSERT_TRUE(a.Allocate(w, h) && b.Allocate(w, h));
    vcam::FocusShot shot;
    ASSERT_TRUE(first.RenderFrame(shot, a.Data(), static_cast<ptrdiff_t>(a.Stride())));
    ASSERT_TRUE(other.RenderFrame(shot, b.Data(), static_cast<ptrdiff_t>(b.Stride())));
    // Mirrored, so that its strip of bare slide is on the other side too.
    for (int32_t y = 0; y < h; ++y) {
        uint8_t* row = b.Row(y);
        for (int32_t x = 0; x < w / 2; ++x)
            for (int c = 0; c < 3; ++c) std::swap(row[x * 3 + c], row[(w - 1 - x) * 3 + c]);
    }
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(w, h), StackStatus::kOk);
    ASSERT_EQ(stacker.Add(a.View()), StackStatus::kOk);
    Registration r;
    EXPECT_EQ(stacker.Add(b.View(), &r), StackStatus::kNotAligned);
    EXPECT_FALSE(r.found);
    EXPECT_LT(r.match, kMinMatch);
    EXPECT_EQ(stacker.FramesUsed(), 1);
    EXPECT_EQ(stacker.FramesLeftOut(), 1);
    // One frame in the picture is not a stack.
    BgrImage out;
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kTooFewFrames);
    EXPECT_TRUE(out.Empty());
}

}  // namespace
}  // namespace orvane::stacking
