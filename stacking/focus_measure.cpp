#include "stacking/focus_measure.h"

#include <algorithm>

namespace orvane::stacking {

namespace {

constexpr float kMostRatio = 4096.0f;  // keeps ratio ^ 8 of fifty frames inside float range

inline int32_t Clamp(int32_t i, int32_t n) {
    return i < 0 ? 0 : (i >= n ? n - 1 : i);
}

// Mean over the (2r+1)^2 box around each pixel, edges repeated: horizontal pass in place
// through rowTemp, vertical pass into out. Direct sums rather than running ones, whose
// rounding would carry a bright region's energy into the flat one after it.
void BoxMean(FloatPlane* in, int32_t r, FloatPlane* out, float* t) {
    const int32_t w = in->Width(), h = in->Height();
    const float norm = 1.0f / static_cast<float>(2 * r + 1);
    for (int32_t y = 0; y < h; ++y) {
        float* row = in->Row(y);
        std::copy(row, row + w, t);
        for (int32_t x = 0; x < w; ++x) {
            float sum = 0;
            if (x >= r && x + r < w) {
                for (int32_t k = -r; k <= r; ++k) sum += t[x + k];
            } else {
                for (int32_t k = -r; k <= r; ++k) sum += t[Clamp(x + k, w)];
            }
            row[x] = sum * norm;
        }
    }
    for (int32_t y = 0; y < h; ++y) {
        float* o = out->Row(y);
        const float* first = in->Row(Clamp(y - r, h));
        std::copy(first, first + w, o);
        for (int32_t k = -r + 1; k <= r; ++k) {
            const float* src = in->Row(Clamp(y + k, h));
            for (int32_t x = 0; x < w; ++x) o[x] += src[x];
        }
        for (int32_t x = 0; x < w; ++x) o[x] *= norm;
    }
}

}  // namespace

void FocusWeights(const FloatPlane& grey, const CoveredBox& covered, const FocusParams& params,
                  FloatPlane* energy, FloatPlane* weights, float* t) {
    const int32_t w = grey.Width(), h = grey.Height();
    for (int32_t y = 0; y < h; ++y) {
        const float* up = grey.Row(Clamp(y - 1, h));
        const float* mid = grey.Row(y);
        const float* down = grey.Row(Clamp(y + 1, h));
        float* e = energy->Row(y);
        const float first = up[0] + down[0] + mid[std::min(1, w - 1)] + mid[0] - 4 * mid[0];
        e[0] = first * first;
        for (int32_t x = 1; x + 1 < w; ++x) {
            const float lap = up[x] + down[x] + mid[x - 1] + mid[x + 1] - 4 * mid[x];
            e[x] = lap * lap;
        }
        if (w > 1) {
            const float lap = up[w - 1] + down[w - 1] + mid[w - 2] + mid[w - 1] - 4 * mid[w - 1];
            e[w - 1] = lap * lap;
        }
    }
    const int32_t r = std::clamp(params.radius, 1, 8);
    BoxMean(energy, r, weights, t);
    BoxMean(weights, r, energy, t);
    const int power = std::clamp(params.power, 1, 8);
    const float floor = std::max(params.noiseFloor, 1e-3f);
    const float inv = 1.0f / floor;
    for (int32_t y = 0; y < h; ++y) {
        float* o = weights->Row(y);
        if (y < covered.y0 || y >= covered.y1) {
            std::fill(o, o + w, 0.0f);
            continue;
        }
        const float* e = energy->Row(y);
        for (int32_t x = 0; x < w; ++x) {
            const float ratio = std::min((e[x] + floor) * inv, kMostRatio);
            float v = ratio;
            for (int p = 1; p < power; ++p) v *= ratio;
            o[x] = v;
        }
        std::fill(o, o + std::min(covered.x0, w), 0.0f);
        if (covered.x1 < w) std::fill(o + std::max(covered.x1, 0), o + w, 0.0f);
    }
}

}  // namespace orvane::stacking
