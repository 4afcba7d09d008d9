// The focus scene the stacking tests are measured against: a shot's shift and scale move the
// view as the stacker's alignment model says, the sweep runs through the depth from a still
// start, and sizes it cannot render are refused.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "tools/virtualcam/focus_scene.h"

namespace vcam {
namespace {

std::vector<uint8_t> Truth(const FocusScene& scene, const FocusShot& view) {
    std::vector<uint8_t> out(static_cast<size_t>(scene.Width()) * scene.Height() * 3);
    EXPECT_TRUE(scene.RenderTruth(out.data(), scene.Width() * 3, view));
    return out;
}

TEST(FocusScene, AShiftMovesTheViewByWholePixels) {
    const int w = 120, h = 90;
    FocusScene scene(w, h, 3);
    FocusShot moved;
    moved.dx = 3.0;
    moved.dy = -2.0;
    const std::vector<uint8_t> a = Truth(scene, FocusShot{});
    const std::vector<uint8_t> b = Truth(scene, moved);
    // Pixel (x, y) of the still view is pixel (x + 3, y - 2) of the moved one, away from the
    // edges, where the blur repeats the border.
    int differing = 0;
    for (int y = 10; y < h - 10; ++y)
        for (int x = 10; x < w - 10; ++x)
            for (int c = 0; c < 3; ++c)
                differing += a[(y * w + x) * 3 + c] != b[((y - 2) * w + x + 3) * 3 + c];
    EXPECT_EQ(differing, 0);
    EXPECT_NE(a, b);
}

TEST(FocusScene, AScaleMagnifiesAboutTheCentre) {
    const int w = 121, h = 91;  // odd, so the centre is a pixel
    FocusScene scene(w, h, 3);
    FocusShot larger;
    larger.scale = 1.25;
    const std::vector<uint8_t> a = Truth(scene, FocusShot{});
    const std::vector<uint8_t> b = Truth(scene, larger);
    // In the centre row the bare slide begins 0.3 width right of the centre in the scene:
    // after column 96.3 in the still view and after 105.4 in the larger one.
    const int cy = 45;
    auto slide = [&](const std::vector<uint8_t>& v, int x) {
        const uint8_t* p = &v[(cy * w + x) * 3];
        return std::abs(p[0] - 232) <= 2 && std::abs(p[1] - 230) <= 2 && std::abs(p[2] - 226) <= 2;
    };
    EXPECT_TRUE(scene.BareSlideAt(36.5, 0.0));
    EXPECT_FALSE(scene.BareSlideAt(36.0, 0.0));
    EXPECT_TRUE(slide(a, 101));
    EXPECT_FALSE(slide(b, 101));
    EXPECT_FALSE(slide(a, 92));
    EXPECT_TRUE(slide(b, 110));
}

TEST(FocusScene, DefocusGrowsWithTheDistanceFromTheFocalPlane) {
    const int w = 160, h = 120;
    FocusScene scene(w, h, 1);
    const std::vector<uint8_t> truth = Truth(scene, FocusShot{});
    // A patch of tissue left of the centre, near the specimen's nearest point, where the
    // depth barely changes across it.
    const int x0 = 30, y0 = 45;
    const double depth = scene.DepthAt(x0 + 10 - 79.5, y0 + 10 - 59.5);
    ASSERT_LT(depth, 0.1);
    double last = -1;
    std::vector<double> rms;
    for (double away : {0.0, 0.1, 0.2, 0.4}) {
        FocusShot shot;
        shot.focus = depth + away;
        std::vector<uint8_t> frame(truth.size());
        ASSERT_TRUE(scene.RenderFrame(shot, frame.data(), w * 3));
        double error = 0;
        for (int y = y0; y < y0 + 20; ++y)
            for (int x = x0; x < x0 + 20; ++x)
                for (int c = 0; c < 3; ++c) {
                    const double d =
                        double(frame[(y * w + x) * 3 + c]) - truth[(y * w + x) * 3 + c];
                    error += d * d;
                }
        rms.push_back(std::sqrt(error / 1200));
        EXPECT_GT(error, last) << "focus " << away << " from the patch";
        last = error;
    }
    // In focus only rounding and the patch's own small depth range differ from the truth;
    // 0.4 of the depth away (2 pixels of defocus) the texture is gone.
    EXPECT_LT(rms.front(), 1.0);
    EXPECT_GT(rms.back(), 8.0);
}

TEST(FocusScene, TheSweepStartsStillAndRunsThroughTheDepth) {
    FocusSweep sweep;
    sweep.seconds = 4.0;
    sweep.shift = 6.0;
    sweep.scaleSpan = 0.02;
    const FocusShot start = SweepShot(sweep, 0.0);
    EXPECT_EQ(start.focus, 0.0);
    EXPECT_EQ(start.dx, 0.0);
    EXPECT_EQ(start.dy, 0.0);
    EXPECT_EQ(start.scale, 1.0);
    EXPECT_EQ(SweepShot(sweep, 4.0).focus, 1.0);
    EXPECT_EQ(SweepShot(sweep, 9.0).focus, 1.0);
    EXPECT_DOUBLE_EQ(SweepShot(sweep, 4.0).scale, 1.02);
    double most = 0, lastFocus = -1;
    for (int i = 0; i <= 100; ++i) {
        const FocusShot s = SweepShot(sweep, 0.04 * i);
        most = std::max({most, std::fabs(s.dx), std::fabs(s.dy)});
        EXPECT_GT(s.focus, lastFocus);
        lastFocus = s.focus;
    }
    EXPECT_LE(most, 6.0);
    EXPECT_GT(most, 1.0);  // the hand does move
    EXPECT_NE(SweepShot(sweep, 1.0).noiseSeed, SweepShot(sweep, 1.04).noiseSeed);
}

TEST(FocusScene, SizesItCannotRenderAreRefused) {
    std::vector<uint8_t> buffer(16 * 3);
    EXPECT_FALSE(FocusScene(0, 16).RenderFrame(FocusShot{}, buffer.data(), 0));
    EXPECT_FALSE(FocusScene(16, -1).RenderTruth(buffer.data(), 48));
    EXPECT_FALSE(FocusScene(16, 1).RenderFrame(FocusShot{}, nullptr, 48));
    FocusShot flat;
    flat.scale = 0.0;
    EXPECT_FALSE(FocusScene(16, 1).RenderFrame(flat, buffer.data(), 48));
    EXPECT_TRUE(FocusScene(16, 1).RenderFrame(FocusShot{}, buffer.data(), 48));
}

}  // namespace
}  // namespace vcam
