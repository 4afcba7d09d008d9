#pragma once
// Frames and parameter sets for the raw-conversion tests.
#include <cstdint>
#include <random>
#include <vector>

#include "capture/raw/raw_pars.h"

namespace orvane::rawtest {

inline std::vector<uint8_t> RandomFrame(int w, int h, uint32_t seed) {
    std::mt19937 rng(seed);
    std::vector<uint8_t> f(static_cast<size_t>(w) * h);
    for (auto& v : f) v = static_cast<uint8_t>(rng());
    return f;
}

// Gradients, hard edges and a checkerboard: exercises clamping and sharpening corners.
inline std::vector<uint8_t> StructuredFrame(int w, int h) {
    std::vector<uint8_t> f(static_cast<size_t>(w) * h);
    for (int r = 0; r < h; ++r)
        for (int c = 0; c < w; ++c) {
            int v;
            if (r < h / 3)
                v = (c * 255) / (w > 1 ? w - 1 : 1);
            else if (r < 2 * h / 3)
                v = ((r / 3 + c / 3) & 1) ? 255 : 0;
            else
                v = (c < w / 2) ? 250 : 5;
            f[static_cast<size_t>(r) * w + c] = static_cast<uint8_t>(v);
        }
    return f;
}

// Every parameter drawn at random, within and beyond the register ranges.
inline void RandomParams(CRawPars* p, uint32_t seed) {
    std::mt19937 rng(seed);
    auto in = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
    auto extreme = [&](int lo, int hi, int xlo, int xhi) {
        return in(0, 4) == 0 ? in(xlo, xhi) : in(lo, hi);
    };
    p->gR = extreme(0, 255, -1000, 5000);
    p->gG = extreme(0, 255, -1000, 5000);
    p->gB = extreme(0, 255, -1000, 5000);
    p->oR = extreme(0, 255, -1000, 5000);
    p->oG = extreme(0, 255, -1000, 5000);
    p->oB = extreme(0, 255, -1000, 5000);
    p->gammaEnable = in(0, 1);
    p->gammaExponent = 0.25 + in(0, 300) / 100.0;
    for (auto& g : p->gammaPoints) g = static_cast<uint8_t>(in(0, 255));
    p->colorEnable = in(0, 5) != 0;
    p->toneEnable = in(0, 1);
    p->toneExponent = 0.25 + in(0, 300) / 100.0;
    for (auto& t : p->tonePoints) t = static_cast<uint8_t>(in(0, 255));
    p->chromaRotEnable = in(0, 1);
    p->cH = in(0, 255);
    p->cI = in(0, 255);
    p->cG = in(0, 255);
    p->cF = in(0, 255);
    p->br = extreme(-64, 64, -300, 300);
    p->ct = in(0, 96);
    p->pv = in(0, 255);
    p->sharpEnable = in(0, 1);
    p->ss = in(0, 255);
    p->st = static_cast<uint8_t>(in(0, 3) == 0 ? in(0, 255) : in(0, 16));
    p->cm = in(0, 3);
    p->mYB = in(0, 255);
    p->mYG = in(0, 255);
    p->mYR = in(0, 255);
    int* chroma[6] = {&p->mUR, &p->mUG, &p->mUB, &p->mVR, &p->mVG, &p->mVB};
    bool zero = in(0, 7) == 0;
    for (int* c : chroma) *c = zero ? 0 : in(-512, 511);
}

}  // namespace orvane::rawtest
