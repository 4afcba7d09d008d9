// Fusion of rendered focus series against their all-in-focus truth: sharper than every frame,
// as good with a hand's shifts and scale changes as without, no change to a picture fused with
// itself, and noise averaged down where nothing is in focus.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "tests/stacking/focus_series.h"

namespace orvane::stacking {
namespace {

using testing::Psnr;
using testing::Series;
using testing::SeriesPlan;
using testing::SharedSeries;
using testing::StackAll;

double BestFramePsnr(const Series& s) {
    double best = 0;
    for (const BgrImage& f : s.frames) best = std::max(best, Psnr(f, s.truth));
    return best;
}

// Root mean square of picture - truth over the columns [x0, x1), every row.
double RmsDifference(const BgrImage& picture, const BgrImage& truth, int32_t x0, int32_t x1) {
    double sum = 0, count = 0;
    for (int32_t y = 0; y < truth.Height(); ++y) {
        for (int32_t x = x0 * 3; x < x1 * 3; ++x) {
            const double d = static_cast<double>(picture.Row(y)[x]) - truth.Row(y)[x];
            sum += d * d;
            count += 1;
        }
    }
    return std::sqrt(sum / count);
}

TEST(StackFusion, FusedPictureIsCloserToTheTruthThanEveryFrame) {
    const Series* shared = SharedSeries(SeriesPlan{});
    ASSERT_NE(shared, nullptr);
    const Series& series = *shared;
    BgrImage fused;
    ASSERT_EQ(StackAll(series.frames, &fused), StackStatus::kOk);
    const double best = BestFramePsnr(series);
    const double psnr = Psnr(fused, series.truth);
    std::printf("best frame %.2f dB, fused %.2f dB\n", best, psnr);
    EXPECT_GT(psnr, best + 5.0);
}

TEST(StackFusion, HandShiftsOfEightPixelsCostLessThanOneDecibel) {
    SeriesPlan plan;
    const Series* stillSeries = SharedSeries(plan);
    plan.shift = 8.0;
    plan.scaleSpan = 0.01;
    const Series* movedSeries = SharedSeries(plan);
    ASSERT_NE(stillSeries, nullptr);
    ASSERT_NE(movedSeries, nullptr);
    const Series& still = *stillSeries;
    const Series& moved = *movedSeries;
    BgrImage a, b;
    ASSERT_EQ(StackAll(still.frames, &a), StackStatus::kOk);
    ASSERT_EQ(StackAll(moved.frames, &b), StackStatus::kOk);
    const double psnrStill = Psnr(a, still.truth), psnrMoved = Psnr(b, moved.truth);
    std::printf("still %.2f dB, moved by up to 8 pixels %.2f dB\n", psnrStill, psnrMoved);
    EXPECT_GT(psnrMoved, psnrStill - 1.0);
    EXPECT_GT(psnrMoved, BestFramePsnr(moved) + 5.0);
}

TEST(StackFusion, APictureStackedWithItselfComesBackUnchanged) {
    const Series* series = SharedSeries(SeriesPlan{});
    ASSERT_NE(series, nullptr);
    // Also a picture with hard edges: a checkerboard of black and white squares.
    BgrImage board;
    ASSERT_TRUE(board.Allocate(203, 117));
    for (int32_t y = 0; y < board.Height(); ++y)
        for (int32_t x = 0; x < board.Width() * 3; ++x)
            board.Row(y)[x] = ((x / 3 / 9 + y / 9) & 1) ? 255 : 0;
    const BgrImage* pictures[] = {&series->frames[1], &board};
    for (const BgrImage* picture : pictures) {
        std::vector<BgrImage> copies(3);
        for (BgrImage& c : copies) {
            ASSERT_TRUE(c.Allocate(picture->Width(), picture->Height()));
            std::copy(picture->Data(), picture->Data() + picture->Bytes(), c.Data());
        }
        BgrImage fused;
        ASSERT_EQ(StackAll(copies, &fused), StackStatus::kOk);
        ASSERT_EQ(fused.Width(), picture->Width());
        ASSERT_EQ(fused.Height(), picture->Height());
        EXPECT_TRUE(std::equal(fused.Data(), fused.Data() + fused.Bytes(), picture->Data()));
    }
}

TEST(StackFusion, NoiseOnTheBareSlideIsAveragedDown) {
    SeriesPlan plan;  // noise of 2 grey levels
    const Series* shared = SharedSeries(plan);
    ASSERT_NE(shared, nullptr);
    const Series& series = *shared;
    BgrImage fused;
    ASSERT_EQ(StackAll(series.frames, &fused), StackStatus::kOk);
    // Columns beyond the tissue's edge (at most 0.33 width right of the centre) and its blur.
    const int32_t x0 = plan.width / 2 + plan.width * 33 / 100 + 14, x1 = plan.width - 2;
    ASSERT_GT(x1 - x0, 10);
    const double frameNoise = RmsDifference(series.frames[3], series.truth, x0, x1);
    const double fusedNoise = RmsDifference(fused, series.truth, x0, x1);
    std::printf("bare slide: frame %.2f, fused %.2f grey levels rms\n", frameNoise, fusedNoise);
    EXPECT_GT(frameNoise, 1.9);
    EXPECT_LT(fusedNoise, 0.6 * frameNoise);
}

TEST(StackFusion, BordersOnlyTheFirstFrameReachesComeFromIt) {
    // Every later frame shows the scene 6 pixels further left, so after alignment the first
    // frame alone covers the picture's first 6 columns: they come from it (as sharp as it is
    // there, near its focal plane at depth 0), with no seam to the columns the others share.
    SeriesPlan plan;
    plan.frames = 5;
    plan.offsetX = -6.0;
    const Series* shared = SharedSeries(plan);
    ASSERT_NE(shared, nullptr);
    const Series& series = *shared;
    BgrImage fused;
    ASSERT_EQ(StackAll(series.frames, &fused), StackStatus::kOk);
    const double edge = RmsDifference(fused, series.truth, 0, 6);
    const double reference = RmsDifference(series.frames[0], series.truth, 0, 6);
    const double next = RmsDifference(fused, series.truth, 6, 12);
    const double inside = RmsDifference(fused, series.truth, 12, 60);
    std::printf("first columns: fused %.2f, first frame %.2f; next %.2f, inside %.2f\n", edge,
                reference, next, inside);
    EXPECT_LT(edge, reference * 1.15);
    EXPECT_LT(next, reference * 1.15);
    EXPECT_LT(inside, 2.5);
}

}  // namespace
}  // namespace orvane::stacking
