#include "stacking/pyramid.h"

#include <algorithm>

namespace orvane::stacking {

PyramidShape PyramidShape::For(int32_t width, int32_t height, int32_t smallestSide) {
    PyramidShape s;
    s.levels = 1;
    s.width[0] = width;
    s.height[0] = height;
    while (s.levels < kMaxLevels) {
        const int32_t w = (s.width[s.levels - 1] + 1) / 2;
        const int32_t h = (s.height[s.levels - 1] + 1) / 2;
        if (std::min(w, h) < smallestSide) break;
        s.width[s.levels] = w;
        s.height[s.levels] = h;
        ++s.levels;
    }
    return s;
}

uint64_t PyramidShape::Samples(int first) const {
    uint64_t n = 0;
    for (int l = first; l < levels; ++l) n += static_cast<uint64_t>(width[l]) * height[l];
    return n;
}

bool PlanePyramid::Allocate(const PyramidShape& shape, int first, BufferLedger* ledger) {
    Release();
    for (int l = first; l < shape.levels; ++l) {
        if (!level_[l].Allocate(shape.width[l], shape.height[l], ledger)) {
            Release();
            return false;
        }
    }
    levels_ = shape.levels;
    return true;
}

void PlanePyramid::Release() {
    for (FloatPlane& p : level_) p.Release();
    levels_ = 0;
}

namespace {

inline int32_t Clamp(int32_t i, int32_t n) {
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

}  // namespace

void Reduce(const FloatPlane& in, FloatPlane* out, float* t) {
    const int32_t wi = in.Width(), hi = in.Height();
    const int32_t wo = out->Width(), ho = out->Height();
    for (int32_t y = 0; y < ho; ++y) {
        const float* r0 = in.Row(Clamp(2 * y - 2, hi));
        const float* r1 = in.Row(Clamp(2 * y - 1, hi));
        const float* r2 = in.Row(Clamp(2 * y, hi));
        const float* r3 = in.Row(Clamp(2 * y + 1, hi));
        const float* r4 = in.Row(Clamp(2 * y + 2, hi));
        for (int32_t x = 0; x < wi; ++x) {
            t[x] =
                (r0[x] + r4[x]) * (1.0f / 16) + (r1[x] + r3[x]) * (4.0f / 16) + r2[x] * (6.0f / 16);
        }
        float* o = out->Row(y);
        // Interior samples read 2x-2 .. 2x+2 without clamping.
        const int32_t lo = std::min(wo, 1);
        const int32_t hiX = std::max(lo, std::min(wo, (wi - 3) / 2 + 1));
        for (int32_t x = 0; x < lo; ++x) {
            o[x] = (t[Clamp(2 * x - 2, wi)] + t[Clamp(2 * x + 2, wi)]) * (1.0f / 16) +
                   (t[Clamp(2 * x - 1, wi)] + t[Clamp(2 * x + 1, wi)]) * (4.0f / 16) +
                   t[Clamp(2 * x, wi)] * (6.0f / 16);
        }
        for (int32_t x = lo; x < hiX; ++x) {
            const float* c = t + 2 * x;
            o[x] = (c[-2] + c[2]) * (1.0f / 16) + (c[-1] + c[1]) * (4.0f / 16) + c[0] * (6.0f / 16);
        }
        for (int32_t x = hiX; x < wo; ++x) {
            o[x] = (t[Clamp(2 * x - 2, wi)] + t[Clamp(2 * x + 2, wi)]) * (1.0f / 16) +
                   (t[Clamp(2 * x - 1, wi)] + t[Clamp(2 * x + 1, wi)]) * (4.0f / 16) +
                   t[Clamp(2 * x, wi)] * (6.0f / 16);
        }
    }
}

void ExpandRow(const FloatPlane& coarse, int32_t y, int32_t fineWidth, float* out, float* t) {
    const int32_t wc = coarse.Width(), hc = coarse.Height();
    const int32_t i = y / 2;
    if ((y & 1) == 0) {
        const float* a = coarse.Row(Clamp(i - 1, hc));
        const float* b = coarse.Row(Clamp(i, hc));
        const float* c = coarse.Row(Clamp(i + 1, hc));
        for (int32_t x = 0; x < wc; ++x) t[x] = (a[x] + c[x]) * 0.125f + b[x] * 0.75f;
    } else {
        const float* a = coarse.Row(Clamp(i, hc));
        const float* b = coarse.Row(Clamp(i + 1, hc));
        for (int32_t x = 0; x < wc; ++x) t[x] = (a[x] + b[x]) * 0.5f;
    }
    // Pairs of fine samples 2j, 2j+1 from coarse j-1, j, j+1; the last coarse sample's
    // neighbours repeat it.
    const int32_t pairs = fineWidth / 2;
    const int32_t inner = std::min(pairs, wc - 1);
    int32_t j = 0;
    if (j < inner) {
        out[0] = (t[0] + t[1]) * 0.125f + t[0] * 0.75f;
        out[1] = (t[0] + t[1]) * 0.5f;
        j = 1;
    }
    for (; j < inner; ++j) {
        out[2 * j] = (t[j - 1] + t[j + 1]) * 0.125f + t[j] * 0.75f;
        out[2 * j + 1] = (t[j] + t[j + 1]) * 0.5f;
    }
    for (; 2 * j < fineWidth; ++j) {
        const float l = t[Clamp(j - 1, wc)], m = t[Clamp(j, wc)], r = t[Clamp(j + 1, wc)];
        out[2 * j] = (l + r) * 0.125f + m * 0.75f;
        if (2 * j + 1 < fineWidth) out[2 * j + 1] = (m + r) * 0.5f;
    }
}

}  // namespace orvane::stacking
