#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "capture/raw/raw_colour.h"
#include "capture/raw/raw_kernels.h"
#include "capture/raw/raw_pars.h"
#include "capture/raw/raw_vec_kernels.h"
#include "tests/raw/raw_oracle.h"
#include "tests/raw/raw_test_util.h"

namespace orvane {
namespace {

// Sanitizer builds run the exhaustive and full-frame cases on a sample (the plain build and
// the Windows build run them in full).
#ifdef __SANITIZE_ADDRESS__
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif

using rawtest::RandomFrame;
using rawtest::RandomParams;
using rawtest::StructuredFrame;

std::vector<uint8_t> Convert(CRawPars& p, int w, int h, const std::vector<uint8_t>& raw) {
    auto out = p.Process(w, h, raw.data(), raw.size());
    if (!out) return {};
    return std::vector<uint8_t>(out.get(), out.get() + static_cast<size_t>(w) * h * 3);
}

// First differing byte, for readable failures.
std::string FirstDiff(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b, int w) {
    if (a.size() != b.size()) return "sizes differ";
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i] != b[i]) {
            size_t px = i / 3;
            return "row " + std::to_string(px / w) + " col " + std::to_string(px % w) + " ch " +
                   std::to_string(i % 3) + ": " + std::to_string(a[i]) + " vs " +
                   std::to_string(b[i]);
        }
    return "";
}

TEST(RawTables, GammaAndToneFollowTheirPoints) {
    CRawPars p;
    p.BuildGammaTable();
    uint8_t ref[256];
    oracle::GammaTable(p, ref);
    EXPECT_EQ(0, std::memcmp(ref, p.gammaTable, 256));
    // Rising segment 0..4 from 0 to 5: 0 + (6 * k) >> 2.
    EXPECT_EQ(p.gammaTable[0], 0);
    EXPECT_EQ(p.gammaTable[2], 3);
    EXPECT_EQ(p.gammaTable[4], 5);
    EXPECT_EQ(p.gammaTable[255], 246 + ((10 * 15) >> 4));

    // Default tone table: identity-like points, contrast 1, brightness +64 (the camera's start).
    p.BuildToneTable();
    EXPECT_EQ(p.toneTable[0], 64);
    EXPECT_EQ(p.toneTable[191], 255);
    // Segment 96..128 is 32 wide: shift 5, (128 - 96 + 1) * 16 >> 5 = 16.
    p.br = 0;
    p.BuildToneTable();
    EXPECT_EQ(p.toneTable[112], 96 + 16);
}

TEST(RawTables, FallingToneSegmentsBelow32DropThePlusOne) {
    CRawPars p;
    p.br = 0;
    for (auto& t : p.tonePoints) t = 200;
    p.tonePoints[1] = 100;  // falling 8..16 (no +1), rising back
    p.tonePoints[5] = 100;  // falling 32..48 (with +1)
    p.BuildToneTable();
    uint8_t ref[256];
    oracle::ToneTable(p, ref);
    EXPECT_EQ(0, std::memcmp(ref, p.toneTable, 256));
    EXPECT_EQ(p.toneTable[8 + 4], 100 + ((101 * 4) >> 3));   // rising 100 -> 200
    EXPECT_EQ(p.toneTable[4], 200 - ((100 * 4) >> 3));       // 200 -> 100, no +1
    EXPECT_EQ(p.toneTable[32 + 8], 200 - ((101 * 8) >> 4));  // with +1
    // Contrast 2 around pivot 160, brightness -10.
    p.ct = 64;
    p.pv = 160;
    p.br = -10;
    p.BuildToneTable();
    oracle::ToneTable(p, ref);
    EXPECT_EQ(0, std::memcmp(ref, p.toneTable, 256));
    EXPECT_EQ(p.toneTable[255], 200 * 2 - 160 - 10);
}

TEST(RawTables, PowerRuleTruncates) {
    EXPECT_EQ(PowerPoint(128, 2.0), 64);  // 64.25
    EXPECT_EQ(PowerPoint(255, 0.3), 255);
    EXPECT_EQ(PowerPoint(0, 0.5), 0);
    EXPECT_EQ(PowerPoint(64, 0.5), static_cast<int>(255.0 * std::sqrt(64 / 255.0)));
    CRawPars p;
    EXPECT_EQ(0, std::memcmp(p.gammaPoints, kDefaultGammaPoints, kGammaPointCount));
    EXPECT_EQ(0, std::memcmp(p.tonePoints, kDefaultTonePoints, kTonePointCount));
}

TEST(RawConvert, FlatGreyStaysGreyWithNeutralSettings) {
    CRawPars p;
    p.gR = p.gG = p.gB = 128;
    p.oR = p.oG = p.oB = 64;
    p.gammaEnable = 0;
    p.colorEnable = 0;
    for (int w : {1, 2, 5, 16}) {
        std::vector<uint8_t> raw(static_cast<size_t>(w) * 7, 117);
        auto out = Convert(p, w, 7, raw);
        ASSERT_EQ(out.size(), raw.size() * 3);
        for (uint8_t v : out) ASSERT_EQ(v, 117);
    }
}

TEST(RawConvert, OutputStartsWithTheBottomRow) {
    CRawPars p;
    const int w = 8, h = 12;
    std::vector<uint8_t> raw(w * h, 0);
    for (int i = w * h / 2; i < w * h; ++i) raw[i] = 255;  // bright bottom half
    auto out = Convert(p, w, h, raw);
    ASSERT_FALSE(out.empty());
    EXPECT_GT(out[1], 200);                    // first buffer row: the bright bottom
    EXPECT_LT(out[(h - 1) * w * 3 + 1], 100);  // last buffer row: the dark top
    // Without colour processing the demosaiced rows keep the frame's order.
    p.colorEnable = 0;
    out = Convert(p, w, h, raw);
    EXPECT_LT(out[1], 100);
}

TEST(RawConvert, SharpeningGainIsStrengthOver32) {
    CRawPars p;
    auto raw = RandomFrame(24, 20, 7);
    p.sharpEnable = 0;
    auto plain = Convert(p, 24, 20, raw);
    p.sharpEnable = 1;
    p.ss = 31;  // gain 0
    EXPECT_EQ(plain, Convert(p, 24, 20, raw));
    p.ss = 64;  // gain 2
    auto sharp = Convert(p, 24, 20, raw);
    EXPECT_NE(plain, sharp);
    EXPECT_EQ(oracle::Convert(p, 24, 20, raw), sharp);
}

TEST(RawConvert, ChromaModesDropTheirComponents) {
    CRawPars p;
    auto raw = RandomFrame(16, 10, 3);
    // With V = 128, red depends on luma only: R = trunc(1.164 (Y - 16)) as blue would with U = 128.
    p.cm = 2;
    auto noV = Convert(p, 16, 10, raw);
    p.cm = 1;
    auto grey = Convert(p, 16, 10, raw);
    for (size_t i = 0; i < grey.size(); i += 3) {
        ASSERT_EQ(grey[i], grey[i + 2]);     // grey: B = R
        ASSERT_EQ(noV[i + 2], grey[i + 2]);  // no V: red as in grey
    }
    // All six chroma coefficients 0 force grey whatever the mode.
    p.cm = 0;
    p.mUR = p.mUG = p.mUB = p.mVR = p.mVG = p.mVB = 0;
    EXPECT_EQ(grey, Convert(p, 16, 10, raw));
}

TEST(RawConvert, RejectsFramesItCannotRead) {
    CRawPars p;
    std::vector<uint8_t> raw(100, 50);
    EXPECT_EQ(p.Process(10, 10, nullptr, 100), nullptr);
    EXPECT_EQ(p.Process(10, 11, raw.data(), raw.size()), nullptr);  // one row short
    EXPECT_EQ(p.Process(0, 10, raw.data(), raw.size()), nullptr);
    EXPECT_EQ(p.Process(10, -1, raw.data(), raw.size()), nullptr);
    EXPECT_EQ(p.Process(1 << 20, 1 << 20, raw.data(), SIZE_MAX), nullptr);  // absurd size
    EXPECT_NE(p.Process(10, 10, raw.data(), raw.size()), nullptr);
    EXPECT_NE(p.Process(9, 11, raw.data(), raw.size()), nullptr);  // longer frame is fine
}

// Every kernel set this processor runs: plain, SSE2 and, where present, AVX2.
std::vector<rawk::VecLevel> Levels() {
    std::vector<rawk::VecLevel> v = {rawk::VecLevel::kOff, rawk::VecLevel::kSse2};
    if (rawk::VecLevelAvailable(rawk::VecLevel::kAvx2)) v.push_back(rawk::VecLevel::kAvx2);
    return v;
}

// Production path against the oracle over many sizes and random parameter sets, with every
// kernel set and several thread counts.
TEST(RawConvert, MatchesOracleOnManySizesAndParameters) {
    const int sizes[][2] = {{1, 1},    {2, 2},    {3, 3},     {5, 5},     {1, 9},   {9, 1},
                            {2, 7},    {7, 2},    {4, 3},     {33, 17},   {64, 65}, {65, 64},
                            {31, 130}, {130, 31}, {257, 129}, {100, 300}, {66, 3},  {127, 5}};
    uint32_t seed = 1;
    for (rawk::VecLevel level : Levels()) {
        rawk::SetVecLevel(level);
        int plain = static_cast<int>(level);
        for (const auto& s : sizes) {
            for (int rep = 0; rep < 4; ++rep, ++seed) {
                CRawPars p;
                if (rep > 0) RandomParams(&p, seed);
                p.SetThreads(1 + seed % 3);
                auto raw = (rep % 2) ? RandomFrame(s[0], s[1], seed) : StructuredFrame(s[0], s[1]);
                auto got = Convert(p, s[0], s[1], raw);
                auto want = oracle::Convert(p, s[0], s[1], raw);
                ASSERT_EQ(got, want) << s[0] << "x" << s[1] << " seed " << seed << " kernels "
                                     << plain << ": " << FirstDiff(got, want, s[0]);
            }
        }
    }
    rawk::SetVecLevel(rawk::VecLevel::kBest);
}

TEST(RawConvert, ThreadCountDoesNotChangeTheResult) {
    CRawPars p;
    RandomParams(&p, 99);
    p.colorEnable = 1;
    p.sharpEnable = 1;
    p.ss = 100;
    auto raw = RandomFrame(203, 389, 5);
    p.SetThreads(1);
    auto one = Convert(p, 203, 389, raw);
    EXPECT_EQ(one, oracle::Convert(p, 203, 389, raw));
    for (rawk::VecLevel level : Levels()) {
        rawk::SetVecLevel(level);
        for (int n : {2, 3, 5, 16}) {
            p.SetThreads(n);
            ASSERT_EQ(one, Convert(p, 203, 389, raw)) << n << " threads";
        }
    }
    rawk::SetVecLevel(rawk::VecLevel::kBest);
}

TEST(RawConvert, FullSizeFramesMatchOracle) {
    struct Case {
        int w, h;
        uint32_t seed;
    };
    for (Case c : {Case{2560, 1920, 0}, Case{3488, 2616, 17}}) {
        if (kSanitized && c.w > 2560) continue;
        CRawPars p;
        if (c.seed) RandomParams(&p, c.seed), p.colorEnable = 1;
        auto raw = c.seed ? RandomFrame(c.w, c.h, c.seed) : StructuredFrame(c.w, c.h);
        p.SetThreads(2);
        auto got = Convert(p, c.w, c.h, raw);
        auto want = oracle::Convert(p, c.w, c.h, raw);
        ASSERT_EQ(got, want) << c.w << "x" << c.h << ": " << FirstDiff(got, want, c.w);
    }
}

// The colour step over every (Y, U, V): each colour kernel equals the formula evaluated
// directly. Kernels that work on groups of pairs get groups whose pairs are all alike, so a
// group's fallback is taken only for its own value and every value's fast path is checked.
TEST(RawColour, EveryKernelMatchesTheFormulaOverAllInputs) {
    std::vector<uint8_t> y(512), u(1024 + 64), v(1024 + 64), bgr(512 * 3);
    std::vector<uint8_t> ye(1024 + 64), yo(1024 + 64), out(2048 * 3);
    for (int i = 0; i < 512; ++i) y[i] = static_cast<uint8_t>(i >> 1);
    std::vector<rawk::VecColourFn> kernels = {rawk::ColourPairs};
    if (rawk::VecLevelAvailable(rawk::VecLevel::kAvx2)) {
        rawk::SetVecLevel(rawk::VecLevel::kAvx2);
        kernels.push_back(rawk::SelectVecKernels()->colour);
        rawk::SetVecLevel(rawk::VecLevel::kBest);
    }
    const int group = 8;  // pairs per group of the widest kernel
    const int step = kSanitized ? 37 : 1;
    for (int U = 0; U < 256; U += step) {
        std::fill(u.begin(), u.end(), static_cast<uint8_t>(U));
        for (int V = 0; V < 256; ++V) {
            std::fill(v.begin(), v.end(), static_cast<uint8_t>(V));
            uint8_t want[256][3];
            for (int Y = 0; Y < 256; ++Y) rawk::ColourPixel(Y, U, V, want[Y]);
            rawk::ColourRowPlain(y.data(), u.data(), v.data(), 512, 0, bgr.data());
            for (int Y = 0; Y < 256; ++Y)
                ASSERT_TRUE(std::memcmp(want[Y], &bgr[6 * Y], 3) == 0 &&
                            std::memcmp(want[Y], &bgr[6 * Y + 3], 3) == 0)
                    << "plain Y " << Y << " U " << U << " V " << V;
            for (size_t k = 0; k < kernels.size(); ++k) {
                for (int base = 0; base < 256; base += 128) {  // 128 values per call
                    for (int i = 0; i < 128 * group; ++i)
                        ye[i] = yo[i] = static_cast<uint8_t>(base + i / group);
                    int w = 2 * 128 * group - 1;  // odd: the last pixel alone
                    kernels[k](ye.data(), yo.data(), u.data(), v.data(), w, out.data());
                    for (int px = 0; px < w; ++px) {
                        int Y = base + px / (2 * group);
                        ASSERT_TRUE(std::memcmp(want[Y], &out[3 * px], 3) == 0)
                            << "kernel " << k << " Y " << Y << " U " << U << " V " << V;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace orvane
