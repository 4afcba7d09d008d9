// The fused AVX2 conversion against the oracle, and its kernels against plain arithmetic.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "capture/raw/raw_fused.h"
#include "capture/raw/raw_pars.h"
#include "capture/raw/raw_vec_kernels.h"
#include "tests/raw/raw_oracle.h"
#include "tests/raw/raw_test_util.h"

namespace orvane {
namespace {

bool HasAvx2() {
    return rawk::VecLevelAvailable(rawk::VecLevel::kAvx2);
}

std::vector<uint8_t> Convert(CRawPars& p, int w, int h, const std::vector<uint8_t>& raw) {
    auto out = p.Process(w, h, raw.data(), raw.size());
    if (!out) return {};
    return std::vector<uint8_t>(out.get(), out.get() + static_cast<size_t>(w) * h * 3);
}

// Parameters drawn at random within the fused path's ranges: small matrix coefficients of both
// signs, rotations by multiples of 64 and by any value, every chroma mode.
void FusedParams(CRawPars* p, uint32_t seed) {
    rawtest::RandomParams(p, seed);
    std::mt19937 rng(seed * 7919u);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    p->colorEnable = 1;
    for (int* m : {&p->mYB, &p->mYG, &p->mYR}) *m = in(0, 40);
    for (int* m : {&p->mUR, &p->mUG, &p->mUB, &p->mVR, &p->mVG, &p->mVB}) *m = in(-40, 40);
    if (in(0, 1)) {
        for (int* c : {&p->cH, &p->cI, &p->cG, &p->cF}) *c = 64 * in(-2, 3);
    }
    p->ss = in(-480, 480);
}

TEST(RawFused, CoversTheCameraDefaultsAndNotWhatLeaves16Bits) {
    if (!HasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    CRawPars p;
    EXPECT_TRUE(rawk::FusedPathCovers(p, 2560, 1920));
    EXPECT_FALSE(rawk::FusedPathCovers(p, 31, 1920)) << "narrow frames take the banded path";
    p.mYR = 128;  // not a signed byte
    EXPECT_FALSE(rawk::FusedPathCovers(p, 2560, 1920));
    p.SetDefaults();
    p.mUR = -127, p.mUG = -127, p.mUB = 0;  // 255 (-254) leaves 16 bits
    EXPECT_FALSE(rawk::FusedPathCovers(p, 2560, 1920));
    p.SetDefaults();
    p.ss = 16 * 32;  // gain 16
    EXPECT_FALSE(rawk::FusedPathCovers(p, 2560, 1920));
    p.SetDefaults();
    p.colorEnable = 0;
    EXPECT_FALSE(rawk::FusedPathCovers(p, 2560, 1920));
}

// Every width from the smallest the path takes to beyond four vector blocks, odd and even,
// each with parameters of its own, one to three threads.
TEST(RawFused, MatchesTheOracleOverWidthsAndParameters) {
    if (!HasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    rawk::SetVecLevel(rawk::VecLevel::kAvx2);
    for (int w = 32; w <= 200; ++w) {
        const uint32_t seed = static_cast<uint32_t>(w);
        const int h = 5 + w % 7;
        CRawPars p;
        if (w % 5 != 0) FusedParams(&p, seed);
        p.SetThreads(1 + w % 3);
        ASSERT_TRUE(rawk::FusedPathCovers(p, w, h)) << w;
        const auto raw =
            (w % 2) ? rawtest::RandomFrame(w, h, seed) : rawtest::StructuredFrame(w, h);
        ASSERT_EQ(Convert(p, w, h, raw), oracle::Convert(p, w, h, raw)) << w << " x " << h;
    }
    rawk::SetVecLevel(rawk::VecLevel::kBest);
}

TEST(RawFused, BandsOfSeveralThreadsMatchTheOracle) {
    if (!HasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    CRawPars p;
    FusedParams(&p, 4242);
    const int w = 517, h = 389;
    ASSERT_TRUE(rawk::FusedPathCovers(p, w, h));
    const auto raw = rawtest::RandomFrame(w, h, 9);
    const auto want = oracle::Convert(p, w, h, raw);
    for (int n : {1, 2, 3, 6}) {
        p.SetThreads(n);
        ASSERT_EQ(Convert(p, w, h, raw), want) << n << " threads";
    }
}

// The camera's identity tone curve with a brightness is a clamped shift, which the path applies
// as a saturating add or subtraction; shifts of both signs and beyond the byte range.
TEST(RawFused, ToneCurvesThatOnlyShiftMatchTheOracle) {
    if (!HasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    const int w = 97, h = 11;
    const auto raw = rawtest::RandomFrame(w, h, 77);
    for (int brightness : {-300, -40, -1, 0, 1, 64, 200, 300}) {
        CRawPars p;
        p.br = brightness;
        ASSERT_TRUE(rawk::FusedPathCovers(p, w, h));
        ASSERT_EQ(Convert(p, w, h, raw), oracle::Convert(p, w, h, raw)) << brightness;
    }
}

// The raw correction's vector look-up takes each byte's entry of its column's table.
TEST(RawFused, CorrectRowLooksUpEveryByteInItsColumnsTable) {
    if (!HasAvx2()) GTEST_SKIP() << "no AVX2 on this processor";
    std::mt19937 rng(5);
    for (int rep = 0; rep < 4; ++rep) {
        uint8_t tables[2][256];
        for (auto& t : tables)
            for (auto& v : t) v = static_cast<uint8_t>(rng());
        rawk::ByteLut even, odd;
        rawk::BuildByteLut(tables[0], &even);
        rawk::BuildByteLut(tables[1], &odd);
        const int pairs = 256 + 7;
        std::vector<uint8_t> src(2 * pairs);
        for (int i = 0; i < pairs; ++i) {
            src[2 * i] = static_cast<uint8_t>(i + rep);
            src[2 * i + 1] = static_cast<uint8_t>(255 - i);
        }
        std::vector<int16_t> e(pairs, -1), o(pairs, -1);
        std::vector<uint8_t> scratch(3 * pairs);
        const int done = rawk::avx2::CorrectRow(src.data(), pairs, even, odd, e.data(), o.data(),
                                                scratch.data());
        ASSERT_EQ(done, 256);
        for (int i = 0; i < done; ++i) {
            ASSERT_EQ(e[i], tables[0][src[2 * i]]) << i;
            ASSERT_EQ(o[i], tables[1][src[2 * i + 1]]) << i;
        }
        EXPECT_EQ(e[done], -1) << "pairs past the whole blocks are left to the caller";
    }
}

}  // namespace
}  // namespace orvane
