// The virtual camera's focus sweep: its YUY2 is what the program decodes back, the sweep
// repeats, the feed hands out the frames it rendered, and a clip of the sweep stacked by the
// program's decoding and stacker comes out well above its sharpest frame.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "stacking/focus_stacker.h"
#include "tests/stacking/truth_compare.h"
#include "tools/virtualcam/focus_feed.h"

namespace orvane::stacking {
namespace {

using testing::CameraTruth;
using testing::CompareAligned;
using testing::DecodeYuy2;

TEST(FocusFeed, TheProgramDecodesTheCamerasYuy2BackToItsColours) {
    // Pairs of equal pixels: only rounding stands between them and their decoded colour.
    const uint8_t colours[][3] = {{232, 230, 226}, {150, 60, 110},  {205, 170, 225},
                                  {40, 160, 220},  {128, 128, 128}, {20, 30, 25}};
    constexpr int kWidth = 12;
    std::vector<uint8_t> bgr(kWidth * 3), yuy2(kWidth * 2);
    for (int i = 0; i < kWidth; ++i)
        std::copy(colours[i / 2], colours[i / 2] + 3, bgr.begin() + 3 * i);
    vcam::BgrToYuy2(bgr.data(), kWidth * 3, kWidth, 1, 0, yuy2.data());
    BgrImage back;
    ASSERT_TRUE(DecodeYuy2(yuy2.data(), kWidth, 1, &back));
    for (int i = 0; i < kWidth * 3; ++i) {
        EXPECT_LE(std::abs(back.Row(0)[i] - bgr[i]), 2)
            << "pixel " << i / 3 << " channel " << i % 3;
    }
    // Brightness shifts the luma alone.
    std::vector<uint8_t> brighter(kWidth * 2);
    vcam::BgrToYuy2(bgr.data(), kWidth * 3, kWidth, 1, 10, brighter.data());
    for (int i = 0; i < kWidth * 2; ++i)
        EXPECT_EQ(brighter[i], i % 2 == 0 ? std::min(255, yuy2[i] + 10) : yuy2[i]) << i;
}

TEST(FocusFeed, TheSweepRunsThroughTheDepthAndStartsAgain) {
    const vcam::FocusSweep sweep = vcam::CameraSweep(3.0);
    EXPECT_EQ(sweep.seconds, 3.0);
    EXPECT_EQ(vcam::CameraSweepShot(sweep, 0.0).focus, 0.0);
    EXPECT_DOUBLE_EQ(vcam::CameraSweepShot(sweep, 1.5).focus, 0.5);
    EXPECT_DOUBLE_EQ(vcam::CameraSweepShot(sweep, 4.5).focus, 0.5);
    EXPECT_NEAR(vcam::CameraSweepShot(sweep, 2.999).focus, 1.0, 1e-3);
    const vcam::FocusShot a = vcam::CameraSweepShot(sweep, 1.2),
                          b = vcam::CameraSweepShot(sweep, 4.2);
    EXPECT_DOUBLE_EQ(a.dx, b.dx) << "the hand's path repeats with the sweep";
    EXPECT_DOUBLE_EQ(a.scale, b.scale);
    EXPECT_NE(a.noiseSeed, b.noiseSeed) << "but not the sensor noise";
    // The drift stays within the sweep's shift, the scale within its span.
    for (double t = 0; t < 3.0; t += 0.05) {
        const vcam::FocusShot s = vcam::CameraSweepShot(sweep, t);
        EXPECT_LE(std::hypot(s.dx, s.dy), sweep.shift * std::sqrt(2.0)) << t;
        EXPECT_GE(s.scale, 1.0);
        EXPECT_LE(s.scale, 1.0 + sweep.scaleSpan);
    }
}

TEST(FocusFeed, TheFirstFrameIsTheSweepAtItsTimeAndLaterOnesComeFromTheRenderThread) {
    constexpr int kW = 160, kH = 120;
    std::vector<uint8_t> got(kW * kH * 2), want(kW * kH * 2);
    vcam::FocusFeed feed(kW, kH, 2.0);
    ASSERT_TRUE(feed.Frame(0.7, 0, got.data()));
    ASSERT_TRUE(vcam::RenderSweepYuy2(kW, kH, vcam::CameraSweep(2.0), 0.7, 0, want.data()));
    EXPECT_EQ(got, want);
    // Asked again and again, the feed renders the latest time asked for.
    for (int i = 0; i < 200 && feed.Rendered() < 3; ++i) {
        ASSERT_TRUE(feed.Frame(1.3, 5, got.data()));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_GE(feed.Rendered(), 2);
    ASSERT_TRUE(feed.Frame(1.3, 5, got.data()));
    ASSERT_TRUE(vcam::RenderSweepYuy2(kW, kH, vcam::CameraSweep(2.0), 1.3, 5, want.data()));
    EXPECT_EQ(got, want);
    EXPECT_FALSE(vcam::RenderSweepYuy2(kW + 1, kH, vcam::CameraSweep(2.0), 1.3, 0, want.data()));
}

// The whole way of a clip of the sweep: camera YUY2, the program's decoding, the stacker.
TEST(FocusFeed, AClipOfTheSweepStacksWellAboveItsSharpestFrame) {
    constexpr int kW = 320, kH = 240, kFrames = 16;
    const vcam::FocusSweep sweep = vcam::CameraSweep(2.0);
    BgrImage truth;
    ASSERT_TRUE(CameraTruth(kW, kH, &truth));
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(kW, kH), StackStatus::kOk);
    std::vector<uint8_t> yuy2(kW * kH * 2);
    double sharpest = 0;
    for (int k = 0; k < kFrames; ++k) {
        // Half a sweep late, as a recording starts anywhere in it.
        ASSERT_TRUE(vcam::RenderSweepYuy2(kW, kH, sweep, 1.0 + 2.0 * k / kFrames, 0, yuy2.data()));
        BgrImage frame;
        ASSERT_TRUE(DecodeYuy2(yuy2.data(), kW, kH, &frame));
        const auto single = CompareAligned(truth, frame.View());
        ASSERT_TRUE(single.aligned) << k;
        sharpest = std::max(sharpest, single.psnr);
        ASSERT_EQ(stacker.Add(frame.View()), StackStatus::kOk) << k;
    }
    BgrImage stacked;
    ASSERT_EQ(stacker.Finish(&stacked), StackStatus::kOk);
    const auto result = CompareAligned(truth, stacked.View());
    ASSERT_TRUE(result.aligned);
    std::printf("sharpest frame %.2f dB, stacked %.2f dB\n", sharpest, result.psnr);
    EXPECT_GT(result.psnr, sharpest + 6.0);
}

}  // namespace
}  // namespace orvane::stacking
