// The stacker's results for wrong use and bad input, its memory figures and limit, progress
// and cancellation.
#include <gtest/gtest.h>

#include <vector>

#include "tests/stacking/focus_series.h"

namespace orvane::stacking {
namespace {

using testing::Series;
using testing::SeriesPlan;

const Series& SmallSeries(int frames = 3) {
    SeriesPlan plan;
    plan.width = 160;
    plan.height = 120;
    plan.frames = frames;
    const Series* s = testing::SharedSeries(plan);
    static const Series none;
    EXPECT_NE(s, nullptr);
    return s != nullptr ? *s : none;
}

TEST(FocusStackerUse, SizesOutOfRangeAreRefusedBeforeAnyAllocation) {
    FocusStacker stacker;
    for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{
             {0, 10}, {10, 0}, {-5, 10}, {kMaxSide + 1, 1}, {1, kMaxSide + 1}, {8192, 8192}}) {
        EXPECT_EQ(stacker.Begin(w, h), StackStatus::kBadSize) << w << " x " << h;
        EXPECT_EQ(FocusStacker::WorkingBytesFor(w, h), 0u);
        EXPECT_EQ(stacker.WorkingBytes(), 0u);
    }
    EXPECT_EQ(stacker.PeakWorkingBytes(), 0u);
    // The largest accepted size still has a finite working set.
    EXPECT_GT(FocusStacker::WorkingBytesFor(kMaxSide, static_cast<int32_t>(kMaxPixels / kMaxSide)),
              0u);
    EXPECT_GT(FocusStacker::WorkingBytesFor(1, 1), 0u);
}

TEST(FocusStackerUse, StepsWithoutABeginAnswerNotStarted) {
    const Series& s = SmallSeries();
    FocusStacker stacker;
    BgrImage out;
    EXPECT_EQ(stacker.Add(s.frames[0].View()), StackStatus::kNotStarted);
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kNotStarted);
    // A finished stack is over: the next Add needs a new Begin.
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    for (const BgrImage& f : s.frames) ASSERT_EQ(stacker.Add(f.View()), StackStatus::kOk);
    ASSERT_EQ(stacker.Finish(&out), StackStatus::kOk);
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
    EXPECT_EQ(stacker.Add(s.frames[0].View()), StackStatus::kNotStarted);
    BgrImage again;
    EXPECT_EQ(stacker.Finish(&again), StackStatus::kNotStarted);
    EXPECT_TRUE(again.Empty());
}

TEST(FocusStackerUse, AFrameOfAnotherSizeIsLeftOutAndTheStackGoesOn) {
    const Series& s = SmallSeries();
    BgrImage wide;
    ASSERT_TRUE(wide.Allocate(161, 120));
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    ASSERT_EQ(stacker.Add(s.frames[0].View()), StackStatus::kOk);
    EXPECT_EQ(stacker.Add(wide.View()), StackStatus::kSizeMismatch);
    BgrView none{nullptr, 160, 120, 480};
    EXPECT_EQ(stacker.Add(none), StackStatus::kSizeMismatch);
    BgrView overlapping = s.frames[1].View();
    overlapping.stride = 479;
    EXPECT_EQ(stacker.Add(overlapping), StackStatus::kBadSize);
    overlapping.stride = -479;
    EXPECT_EQ(stacker.Add(overlapping), StackStatus::kBadSize);
    ASSERT_EQ(stacker.Add(s.frames[1].View()), StackStatus::kOk);
    EXPECT_EQ(stacker.FramesUsed(), 2);
    EXPECT_EQ(stacker.FramesLeftOut(), 4);
    BgrImage out;
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kOk);
    EXPECT_EQ(out.Width(), 160);
    EXPECT_EQ(out.Height(), 120);
}

TEST(FocusStackerUse, FewerThanTwoFramesMakeNoPicture) {
    const Series& s = SmallSeries();
    FocusStacker stacker;
    BgrImage out;
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kTooFewFrames);
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    ASSERT_EQ(stacker.Add(s.frames[0].View()), StackStatus::kOk);
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kTooFewFrames);
    EXPECT_TRUE(out.Empty());
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
}

TEST(FocusStackerUse, BottomUpFramesAreReadThroughANegativeStride) {
    const Series& s = SmallSeries(2);
    // The same frames with their rows stored in the opposite order.
    std::vector<BgrImage> flipped(2);
    for (int k = 0; k < 2; ++k) {
        ASSERT_TRUE(flipped[k].Allocate(160, 120));
        for (int32_t y = 0; y < 120; ++y)
            std::copy(s.frames[k].Row(y), s.frames[k].Row(y) + 480, flipped[k].Row(119 - y));
    }
    BgrImage a, b;
    ASSERT_EQ(testing::StackAll(s.frames, &a), StackStatus::kOk);
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    for (const BgrImage& f : flipped)
        ASSERT_EQ(stacker.Add(BgrView{f.Row(119), 160, 120, -480}), StackStatus::kOk);
    ASSERT_EQ(stacker.Finish(&b), StackStatus::kOk);
    EXPECT_TRUE(std::equal(a.Data(), a.Data() + a.Bytes(), b.Data()));
}

TEST(FocusStackerUse, TinyAndFeaturelessPicturesEndInAResult) {
    // Too small or too flat to align: nothing may read or write outside its buffers (the
    // sanitizer build checks), and the answers are results, not crashes.
    for (auto [w, h] : std::vector<std::pair<int32_t, int32_t>>{
             {1, 1}, {2, 3}, {7, 5}, {16, 9}, {40, 1}, {1, 40}, {64, 48}}) {
        std::vector<BgrImage> frames(3);
        for (size_t k = 0; k < frames.size(); ++k) {
            ASSERT_TRUE(frames[k].Allocate(w, h));
            for (size_t i = 0; i < frames[k].Bytes(); ++i)
                frames[k].Data()[i] = static_cast<uint8_t>(w > 32 ? 128 : (i * 37 + k) % 251);
        }
        FocusStacker stacker;
        ASSERT_EQ(stacker.Begin(w, h), StackStatus::kOk);
        for (const BgrImage& f : frames) {
            const StackStatus added = stacker.Add(f.View());
            EXPECT_TRUE(added == StackStatus::kOk || added == StackStatus::kNotAligned)
                << w << " x " << h;
        }
        BgrImage out;
        const StackStatus done = stacker.Finish(&out);
        EXPECT_EQ(done == StackStatus::kOk, stacker.FramesUsed() >= 2) << w << " x " << h;
        if (done != StackStatus::kOk) {
            EXPECT_EQ(done, StackStatus::kTooFewFrames);
        }
    }
}

TEST(FocusStackerMemory, WorkingSetIsAFixedMultipleOfOneFrame) {
    struct Size {
        int32_t w, h;
    };
    for (Size size : {Size{160, 120}, Size{641, 479}, Size{2560, 1920}, Size{3488, 2616}}) {
        const double bytes = static_cast<double>(FocusStacker::WorkingBytesFor(size.w, size.h));
        const double frame = 3.0 * size.w * size.h;
        // Blend pyramids of three channels and their weights, two grey pyramids, the frame's
        // weight pyramid and work planes: 16 to 19 frames of 24 bits.
        std::printf("%d x %d: %.0f bytes, %.2f frames\n", size.w, size.h, bytes, bytes / frame);
        EXPECT_LT(bytes / frame, 19.0) << size.w << " x " << size.h;
        EXPECT_GT(bytes / frame, 16.0) << size.w << " x " << size.h;
    }
    // 2560 x 1920 fits a 32-bit process's address space with room to spare.
    EXPECT_LT(FocusStacker::WorkingBytesFor(2560, 1920), 260u << 20);

    const Series& s = SmallSeries(6);
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    const size_t begun = stacker.WorkingBytes();
    EXPECT_EQ(begun, FocusStacker::WorkingBytesFor(160, 120));
    for (int round = 0; round < 3; ++round) {
        for (const BgrImage& f : s.frames) {
            ASSERT_EQ(stacker.Add(f.View()), StackStatus::kOk);
            EXPECT_EQ(stacker.WorkingBytes(), begun);
        }
    }
    EXPECT_EQ(stacker.PeakWorkingBytes(), begun);
    BgrImage out;
    ASSERT_EQ(stacker.Finish(&out), StackStatus::kOk);
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
    EXPECT_EQ(stacker.PeakWorkingBytes(), begun);
}

TEST(FocusStackerMemory, ALimitBelowTheWorkingSetIsRefused) {
    const size_t need = FocusStacker::WorkingBytesFor(640, 480);
    FocusStacker stacker;
    stacker.SetMemoryLimit(need - 1);
    EXPECT_EQ(stacker.Begin(640, 480), StackStatus::kOutOfMemory);
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
    BgrImage out;
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kNotStarted);
    stacker.SetMemoryLimit(need);
    EXPECT_EQ(stacker.Begin(640, 480), StackStatus::kOk);
    EXPECT_EQ(stacker.WorkingBytes(), need);
}

TEST(FocusStackerProgress, ReportsEachFrameInOrderAndCancelsMidway) {
    const Series& s = SmallSeries(4);
    FocusStacker stacker;
    std::vector<StackProgress> seen;
    stacker.SetProgress([&](const StackProgress& p) {
        seen.push_back(p);
        if (p.frame == 2 && p.part > 0.5f) stacker.RequestCancel();
    });
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    ASSERT_EQ(stacker.Add(s.frames[0].View()), StackStatus::kOk);
    ASSERT_EQ(stacker.Add(s.frames[1].View()), StackStatus::kOk);
    ASSERT_FALSE(seen.empty());
    for (size_t i = 1; i < seen.size(); ++i) {
        const bool later = seen[i].frame > seen[i - 1].frame ||
                           (seen[i].frame == seen[i - 1].frame && seen[i].part > seen[i - 1].part);
        EXPECT_TRUE(later) << "report " << i;
    }
    EXPECT_EQ(seen.front().frame, 0);
    EXPECT_EQ(seen.front().part, 0.0f);
    EXPECT_EQ(seen.back().frame, 1);
    EXPECT_FLOAT_EQ(seen.back().part, 1.0f);
    // Cancelled inside the third frame: that Add, the next and Finish say so, nothing is kept.
    EXPECT_EQ(stacker.Add(s.frames[2].View()), StackStatus::kCancelled);
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
    EXPECT_EQ(stacker.Add(s.frames[3].View()), StackStatus::kCancelled);
    BgrImage out;
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kCancelled);
    EXPECT_TRUE(out.Empty());
    // A new Begin starts afresh.
    stacker.SetProgress(nullptr);
    ASSERT_EQ(testing::StackAll(s.frames, &out, &stacker), StackStatus::kOk);
}

TEST(FocusStackerProgress, ACancelBeforeFinishDropsThePicture) {
    const Series& s = SmallSeries(2);
    FocusStacker stacker;
    ASSERT_EQ(stacker.Begin(160, 120), StackStatus::kOk);
    for (const BgrImage& f : s.frames) ASSERT_EQ(stacker.Add(f.View()), StackStatus::kOk);
    stacker.RequestCancel();
    BgrImage out;
    EXPECT_EQ(stacker.Finish(&out), StackStatus::kCancelled);
    EXPECT_TRUE(out.Empty());
    EXPECT_EQ(stacker.WorkingBytes(), 0u);
}

TEST(FocusStackerUse, StatusTextsAreDistinct) {
    const StackStatus all[] = {StackStatus::kOk,           StackStatus::kNotAligned,
                               StackStatus::kBadSize,      StackStatus::kSizeMismatch,
                               StackStatus::kTooFewFrames, StackStatus::kOutOfMemory,
                               StackStatus::kCancelled,    StackStatus::kNotStarted};
    for (size_t i = 0; i < std::size(all); ++i)
        for (size_t j = i + 1; j < std::size(all); ++j)
            EXPECT_STRNE(StackStatusText(all[i]), StackStatusText(all[j]));
    EXPECT_STREQ(StackStatusText(StackStatus::kSizeMismatch), "the pictures differ in size");
}

}  // namespace
}  // namespace orvane::stacking
