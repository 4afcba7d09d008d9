// The scaled save's scaling (HalftoneScale) against a reference written straight from its
// definition: each target index's covered source pixels per axis, and the two-dimensional
// weighted sum per pixel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <thread>
#include <vector>

#include "media/area_scale.h"

namespace orvane {
namespace {

// Weights of one axis: for each target index, the source pixels it weighs with their weights.
using Taps = std::vector<std::pair<int, uint32_t>>;
using AxisTaps = std::vector<Taps>;

// Half-up rounding of num / den for non-negative values.
int64_t RoundHalfUp(int64_t num, int64_t den) {
    return (2 * num + den) / (2 * den);
}

AxisTaps Axis(int S, int T) {
    AxisTaps a(static_cast<size_t>(T));
    for (int t = 0; t < T; ++t) {
        Taps& taps = a[static_cast<size_t>(t)];
        if (T <= S) {
            // The source pixels whose interval meets [t S / T, (t + 1) S / T): their covers in
            // units of 1/T source pixel, added up from the left, rounded cumulatively.
            int64_t covered = 0, before = 0;
            for (int s = static_cast<int>(int64_t{t} * S / T); s < S; ++s) {
                const int64_t lo = std::max<int64_t>(int64_t{t} * S, int64_t{s} * T);
                const int64_t hi = std::min<int64_t>(int64_t{t + 1} * S, int64_t{s + 1} * T);
                if (hi <= lo) break;
                covered += hi - lo;
                const int64_t upTo = RoundHalfUp(256 * covered, S);
                taps.push_back({s, static_cast<uint32_t>(upTo - before)});
                before = upTo;
            }
        } else {
            // The centre's position times 2T; the two pixels around it share 256 by distance.
            const int64_t n = int64_t{2 * t + 1} * S - T;
            const int64_t left = n <= 0 ? 0 : n / (2 * T);
            if (n <= 0 || left >= S - 1) {
                taps.push_back({n <= 0 ? 0 : S - 1, 256});
            } else {
                const int64_t right = RoundHalfUp(256 * (n - left * 2 * T), 2 * T);
                taps.push_back({static_cast<int>(left), static_cast<uint32_t>(256 - right)});
                taps.push_back({static_cast<int>(left + 1), static_cast<uint32_t>(right)});
            }
        }
    }
    return a;
}

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> bgr;  // top-down, packed
    uint8_t* At(int x, int y) { return &bgr[(static_cast<size_t>(y) * width + x) * 3]; }
};

Picture Random(int width, int height, uint32_t seed) {
    Picture p{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    uint64_t state = seed * 0x9E3779B97F4A7C15ull + 1;
    // Mostly extremes, so that sums near their limits (255 * 256) are met.
    for (uint8_t& v : p.bgr) {
        state = state * 6364136223846793005ull + 1442695040888963407ull;
        const uint32_t r = static_cast<uint32_t>(state >> 33);
        v = (r & 3) == 0 ? 255 : (r & 3) == 1 ? 0 : static_cast<uint8_t>(r >> 8);
    }
    return p;
}

// Rows 0, step, 2 * step, ... and the last one.
std::vector<int> SampledRows(int height, int step) {
    std::vector<int> rows;
    for (int y = 0; y < height; y += step) rows.push_back(y);
    if (rows.back() != height - 1) rows.push_back(height - 1);
    return rows;
}

// The reference's rows SampledRows(height, step); the others are left zero.
Picture Reference(const Picture& in, int width, int height, int step = 1) {
    const AxisTaps x = Axis(in.width, width), y = Axis(in.height, height);
    Picture out{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    for (int ty : SampledRows(height, step))
        for (int tx = 0; tx < width; ++tx)
            for (int c = 0; c < 3; ++c) {
                uint64_t sum = 0;
                for (auto [sy, wy] : y[static_cast<size_t>(ty)])
                    for (auto [sx, wx] : x[static_cast<size_t>(tx)])
                        sum += uint64_t{wx} * wy *
                               in.bgr[(static_cast<size_t>(sy) * in.width + sx) * 3 + c];
                out.At(tx, ty)[c] = static_cast<uint8_t>((sum + 32768) / 65536);
            }
    return out;
}

// Scales with the kernels given, into a padded target whose rows are stored bottom-up (the
// way the scaled save stores them) from a padded, top-down source; the padding and a guard
// after the last row must stay untouched.
Picture Scale(ScaleKernels kernels, const Picture& in, int width, int height) {
    const size_t inStride = static_cast<size_t>(in.width) * 3 + 5;
    std::vector<uint8_t> source(inStride * in.height, 0x5A);
    for (int y = 0; y < in.height; ++y)
        std::copy_n(&in.bgr[static_cast<size_t>(y) * in.width * 3], in.width * 3,
                    &source[y * inStride]);
    const size_t outRow = static_cast<size_t>(width) * 3;
    const size_t outStride = (outRow + 3) & ~size_t{3};
    std::vector<uint8_t> target(outStride * height + 16, 0xA5);
    const PixelView view{source.data(), in.width, in.height, static_cast<ptrdiff_t>(inStride), 3};
    const PixelTarget to{target.data() + outStride * (height - 1), width, height,
                         -static_cast<ptrdiff_t>(outStride), 3};
    EXPECT_TRUE(HalftoneScaleWith(kernels, view, to));
    Picture out{width, height, std::vector<uint8_t>(outRow * height)};
    bool guardsKept = true;
    for (int y = 0; y < height; ++y) {
        const uint8_t* row = &target[(height - 1 - y) * outStride];
        std::copy_n(row, outRow, out.At(0, y));
        for (size_t i = outRow; i < outStride; ++i) guardsKept &= row[i] == 0xA5;
    }
    for (size_t i = outStride * height; i < target.size(); ++i) guardsKept &= target[i] == 0xA5;
    EXPECT_TRUE(guardsKept) << "bytes outside the target's pixels were written";
    return out;
}

TEST(HalftoneScale, ShrinksByAreaAndEnlargesByInterpolationAsDefined) {
    // 3 x 1 to 2 x 1: weights 171 + 85 and 85 + 171; 0, 90, 180 give 30 and 150, the areas'
    // means. Enlarging 2 x 1 to 4 x 1: 256 | 192 + 64 | 64 + 192 | 256 of 0 and 200.
    Picture line{3, 1, {0, 10, 255, 90, 100, 255, 180, 190, 255}};
    Picture shrunk = Scale(ScaleKernels::kBest, line, 2, 1);
    EXPECT_EQ(shrunk.bgr, (std::vector<uint8_t>{30, 40, 255, 150, 160, 255}));
    Picture two{2, 1, {0, 0, 0, 200, 100, 40}};
    Picture enlarged = Scale(ScaleKernels::kBest, two, 4, 1);
    EXPECT_EQ(enlarged.bgr, (std::vector<uint8_t>{0, 0, 0, 50, 25, 10, 150, 75, 30, 200, 100, 40}));
    // The same along the other axis, the rows stored bottom-up.
    Picture column{1, 3, {0, 10, 255, 90, 100, 255, 180, 190, 255}};
    EXPECT_EQ(Scale(ScaleKernels::kBest, column, 1, 2).bgr, shrunk.bgr);
    // A uniform colour stays exactly itself at any ratio, including beyond 256 to 1.
    Picture flat{600, 7, std::vector<uint8_t>(600 * 7 * 3)};
    for (size_t i = 0; i < flat.bgr.size(); i += 3) {
        flat.bgr[i] = 255;
        flat.bgr[i + 1] = 1;
        flat.bgr[i + 2] = 128;
    }
    for (auto [w, h] : {std::pair{1, 1}, std::pair{7, 3}, std::pair{599, 7}, std::pair{1200, 19}})
        for (ScaleKernels k : {ScaleKernels::kPlain, ScaleKernels::kBest}) {
            const Picture out = Scale(k, flat, w, h);
            for (size_t i = 0; i < out.bgr.size(); i += 3)
                ASSERT_TRUE(out.bgr[i] == 255 && out.bgr[i + 1] == 1 && out.bgr[i + 2] == 128)
                    << w << " x " << h << " at " << i / 3;
        }
}

TEST(HalftoneScale, BothKernelsMatchTheReferenceAtManySizes) {
    const std::pair<int, int> sizes[][2] = {
        {{1, 1}, {1, 1}},       {{1, 1}, {5, 3}},     {{5, 3}, {1, 1}},     {{3, 2}, {2, 3}},
        {{17, 9}, {16, 8}},     {{16, 8}, {17, 9}},   {{101, 7}, {13, 29}}, {{64, 48}, {33, 25}},
        {{2561, 3}, {2560, 2}}, {{40, 40}, {2, 39}},  {{300, 5}, {1, 5}},   {{9, 300}, {9, 1}},
        {{77, 51}, {200, 10}},  {{35, 26}, {20, 15}}, {{35, 26}, {26, 19}}};
    uint32_t seed = 1;
    for (const auto& size : sizes) {
        const Picture in = Random(size[0].first, size[0].second, seed++);
        const Picture expected = Reference(in, size[1].first, size[1].second);
        for (ScaleKernels k : {ScaleKernels::kPlain, ScaleKernels::kBest}) {
            const Picture out = Scale(k, in, size[1].first, size[1].second);
            EXPECT_EQ(out.bgr, expected.bgr)
                << (k == ScaleKernels::kPlain ? "plain" : "best") << " kernels, " << size[0].first
                << " x " << size[0].second << " to " << size[1].first << " x " << size[1].second;
        }
    }
}

// The photo options' own sizes: every 29th row (the weights' phases repeat every 4, 64 and 80
// rows, so the rows met take many of them) and the last one, against the reference.
TEST(HalftoneScale, ThePhotoSizesMatchTheReference) {
    const std::pair<int, int> sizes[][2] = {
        {{2560, 1920}, {2048, 1536}}, {{3488, 2616}, {2048, 1536}}, {{3488, 2616}, {2560, 1920}}};
    constexpr int kStep = 29;
    for (const auto& size : sizes) {
        const int width = size[1].first, height = size[1].second;
        const Picture in = Random(size[0].first, size[0].second, 77);
        const Picture expected = Reference(in, width, height, kStep);
        const Picture out = Scale(ScaleKernels::kBest, in, width, height);
        int wrongRows = 0;
        for (int y : SampledRows(height, kStep)) {
            const size_t row = static_cast<size_t>(y) * width * 3;
            wrongRows += !std::equal(&out.bgr[row], &out.bgr[row] + width * 3, &expected.bgr[row]);
        }
        EXPECT_EQ(wrongRows, 0) << size[0].first << " x " << size[0].second << " to " << width;
    }
}

// Rows made in pieces, by two threads at once, are the rows of the whole.
TEST(HalftoneScale, RowsMadeInPiecesByTwoThreadsAreTheWholes) {
    const Picture in = Random(349, 263, 11);
    const int width = 205, height = 154;
    Picture whole = Scale(ScaleKernels::kBest, in, width, height);
    HalftoneScaler scaler;
    ASSERT_TRUE(scaler.Prepare(in.width, in.height, width, height));
    const PixelView view{in.bgr.data(), in.width, in.height, ptrdiff_t{in.width} * 3, 3};
    std::vector<uint8_t> pieces(whole.bgr.size(), 0xEE);
    auto make = [&](int from, int to, int step) {
        for (int y = from; y < to; y += step) {
            const int count = std::min(step, to - y);
            ASSERT_TRUE(scaler.ScaleRows(
                view, {&pieces[static_cast<size_t>(y) * width * 3], width, count, width * 3, 3}, y,
                count));
        }
    };
    std::thread other(make, 77, height, 16);
    make(0, 77, 5);
    other.join();
    EXPECT_TRUE(pieces == whole.bgr);
    // Rows outside the target, or another source size, are refused.
    EXPECT_FALSE(scaler.ScaleRows(view, {pieces.data(), width, 2, width * 3, 3}, height - 1, 2));
    EXPECT_FALSE(scaler.ScaleRows({in.bgr.data(), in.width - 1, in.height, in.width * 3, 3},
                                  {pieces.data(), width, 1, width * 3, 3}, 0, 1));
    EXPECT_FALSE(HalftoneScaler().ScaleRows(view, {pieces.data(), width, 1, width * 3, 3}, 0, 1))
        << "not prepared";
}

TEST(HalftoneScale, RefusesEmptyAndOtherThan24BitViews) {
    uint8_t pixel[4] = {};
    const PixelView one{pixel, 1, 1, 3, 3};
    EXPECT_TRUE(HalftoneScale(one, {pixel, 1, 1, 3, 3}));
    EXPECT_FALSE(HalftoneScale({nullptr, 1, 1, 3, 3}, {pixel, 1, 1, 3, 3}));
    EXPECT_FALSE(HalftoneScale(one, {pixel, 0, 1, 3, 3}));
    EXPECT_FALSE(HalftoneScale({pixel, 1, 0, 3, 3}, {pixel, 1, 1, 3, 3}));
    EXPECT_FALSE(HalftoneScale({pixel, 1, 1, 4, 4}, {pixel, 1, 1, 3, 3}));
    EXPECT_FALSE(HalftoneScale(one, {pixel, 1, 1, 4, 4}));
}

}  // namespace
}  // namespace orvane
