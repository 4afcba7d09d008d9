#include "media/area_scale.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

// Source cells of one target index along an axis, with weights in 1/256 of a source pixel
// summing to 256 * (source / target) for every target index.
struct Span {
    int first = 0;
    std::vector<uint32_t> weights;
};

std::vector<Span> Spans(int source, int target) {
    std::vector<Span> spans(static_cast<size_t>(target));
    // Positions in units of 1 / (target * 256) of the source axis, exact in 64 bits.
    const int64_t scale = int64_t{target} * 256;
    for (int t = 0; t < target; ++t) {
        const int64_t from = int64_t{t} * source * 256;  // start, in source * scale units
        const int64_t to = int64_t{t + 1} * source * 256;
        const int first = static_cast<int>(from / scale);
        int last = static_cast<int>((to - 1) / scale);
        if (last >= source) last = source - 1;
        Span& span = spans[static_cast<size_t>(t)];
        span.first = first;
        for (int s = first; s <= last; ++s) {
            const int64_t lo = std::max<int64_t>(from, int64_t{s} * scale);
            const int64_t hi = std::min<int64_t>(to, int64_t{s + 1} * scale);
            span.weights.push_back(static_cast<uint32_t>((hi - lo) / target));
        }
    }
    return spans;
}

}  // namespace

bool AreaScale(const PixelView& source, const PixelTarget& target) {
    if (!source.bits || !target.bits || source.width < 1 || source.height < 1 || target.width < 1 ||
        target.height < 1) {
        return false;
    }
    if ((source.bytesPerPixel != 3 && source.bytesPerPixel != 4) ||
        (target.bytesPerPixel != 3 && target.bytesPerPixel != 4)) {
        return false;
    }
    const std::vector<Span> columns = Spans(source.width, target.width);
    const std::vector<Span> rows = Spans(source.height, target.height);
    std::vector<uint64_t> sums(static_cast<size_t>(target.width) * 3);
    for (int ty = 0; ty < target.height; ++ty) {
        const Span& rowSpan = rows[static_cast<size_t>(ty)];
        std::fill(sums.begin(), sums.end(), uint64_t{0});
        uint64_t rowWeight = 0;
        for (size_t r = 0; r < rowSpan.weights.size(); ++r) {
            const uint32_t wy = rowSpan.weights[r];
            rowWeight += wy;
            const uint8_t* line =
                source.bits + (rowSpan.first + static_cast<ptrdiff_t>(r)) * source.stride;
            for (int tx = 0; tx < target.width; ++tx) {
                const Span& colSpan = columns[static_cast<size_t>(tx)];
                uint64_t b = 0, g = 0, rr = 0;
                const uint8_t* p =
                    line + static_cast<ptrdiff_t>(colSpan.first) * source.bytesPerPixel;
                for (uint32_t wx : colSpan.weights) {
                    b += p[0] * wx;
                    g += p[1] * wx;
                    rr += p[2] * wx;
                    p += source.bytesPerPixel;
                }
                uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
                sum[0] += (b * wy) >> 8;
                sum[1] += (g * wy) >> 8;
                sum[2] += (rr * wy) >> 8;
            }
        }
        uint8_t* out = target.bits + static_cast<ptrdiff_t>(ty) * target.stride;
        for (int tx = 0; tx < target.width; ++tx) {
            uint64_t colWeight = 0;
            for (uint32_t wx : columns[static_cast<size_t>(tx)].weights) colWeight += wx;
            const uint64_t total = (colWeight * rowWeight) >> 8;
            const uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
            for (int c = 0; c < 3; ++c) {
                const uint64_t v = total ? (sum[c] + total / 2) / total : 0;
                out[c] = static_cast<uint8_t>(v > 255 ? 255 : v);
            }
            if (target.bytesPerPixel == 4) out[3] = 0;
            out += target.bytesPerPixel;
        }
    }
    return true;
}

}  // namespace orvane

// ---- HalftoneScale: weights per axis, then a vertical pass into 16-bit sums per row and a
// horizontal pass over them. The order of the sums does not change their value, so the
// separable passes give exactly the two-dimensional formula of the header.

#include <cstring>
#include <memory>
#include <new>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

// The weights of one axis: for target index t, taps weights from source index first[t] on
// (taps the same for every t, trailing weights zero where a target needs fewer).
struct AxisWeights {
    int taps = 0;
    std::unique_ptr<int32_t[]> first;
    std::unique_ptr<uint16_t[]> weights;  // target-major, taps per target
};

bool MakeAxisWeights(int source, int target, AxisWeights* axis) {
    const int64_t s = source, t = target;
    // Shrinking: a target covers at most ceil(S / T) + 1 source pixels; enlarging: two.
    const int64_t taps = target <= source ? (s + t - 1) / t + 1 : 2;
    if (taps > source + 1 || t * taps > (int64_t{1} << 28)) return false;
    axis->taps = static_cast<int>(taps);
    axis->first.reset(new (std::nothrow) int32_t[static_cast<size_t>(t)]);
    axis->weights.reset(new (std::nothrow) uint16_t[static_cast<size_t>(t * taps)]());
    if (!axis->first || !axis->weights) return false;
    for (int64_t i = 0; i < t; ++i) {
        uint16_t* w = &axis->weights[static_cast<size_t>(i * taps)];
        int64_t first = 0;
        if (target <= source) {
            const int64_t from = i * s, to = (i + 1) * s;  // in units of 1/T source pixel
            first = from / t;
            int64_t before = 0;
            for (int64_t j = first; j * t < to; ++j) {
                const int64_t covered = std::min(to, (j + 1) * t) - from;
                const int64_t upTo = (512 * covered + s) / (2 * s);
                w[j - first] = static_cast<uint16_t>(upTo - before);
                before = upTo;
            }
        } else {
            const int64_t n = (2 * i + 1) * s - t;  // centre, in units of 1/(2T) source pixel
            if (n <= 0) {
                w[0] = 256;
            } else {
                first = n / (2 * t);
                const int64_t right = (256 * (n % (2 * t)) + t) / (2 * t);
                if (first >= s - 1) {
                    first = s - 1;
                    w[0] = 256;
                } else {
                    w[0] = static_cast<uint16_t>(256 - right);
                    w[1] = static_cast<uint16_t>(right);
                }
            }
        }
        // Trailing taps past the last source pixel keep weight zero; keep them inside.
        axis->first[static_cast<size_t>(i)] = static_cast<int32_t>(first);
    }
    return true;
}

// sums[i] = sum over k of weights[k] * rows[k][i], for count bytes (at most 255 * 256).
void VerticalPlain(const uint8_t* const* rows, const uint16_t* weights, int taps, size_t count,
                   uint16_t* sums) {
    const uint16_t w0 = weights[0];
    for (size_t i = 0; i < count; ++i) sums[i] = static_cast<uint16_t>(w0 * rows[0][i]);
    for (int k = 1; k < taps; ++k) {
        const uint16_t w = weights[k];
        if (w == 0) continue;
        const uint8_t* row = rows[k];
        for (size_t i = 0; i < count; ++i) sums[i] = static_cast<uint16_t>(sums[i] + w * row[i]);
    }
}

// One target row from the vertical sums (3 per source pixel, padded past the row's end).
void HorizontalPlain(const uint16_t* sums, const AxisWeights& x, int width, uint8_t* out) {
    for (int t = 0; t < width; ++t) {
        const uint16_t* w = &x.weights[static_cast<size_t>(t) * x.taps];
        const uint16_t* p = sums + static_cast<size_t>(x.first[t]) * 3;
        uint32_t b = 32768, g = 32768, r = 32768;
        for (int k = 0; k < x.taps; ++k, p += 3) {
            b += uint32_t{w[k]} * p[0];
            g += uint32_t{w[k]} * p[1];
            r += uint32_t{w[k]} * p[2];
        }
        out[0] = static_cast<uint8_t>(b >> 16);
        out[1] = static_cast<uint8_t>(g >> 16);
        out[2] = static_cast<uint8_t>(r >> 16);
        out += 3;
    }
}

#if defined(__SSE2__)
void VerticalSse2(const uint8_t* const* rows, const uint16_t* weights, int taps, size_t count,
                  uint16_t* sums) {
    const __m128i zero = _mm_setzero_si128();
    size_t i = 0;
    for (; i + 16 <= count; i += 16) {
        __m128i lo = zero, hi = zero;
        for (int k = 0; k < taps; ++k) {
            const __m128i w = _mm_set1_epi16(static_cast<short>(weights[k]));
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rows[k] + i));
            lo = _mm_add_epi16(lo, _mm_mullo_epi16(_mm_unpacklo_epi8(p, zero), w));
            hi = _mm_add_epi16(hi, _mm_mullo_epi16(_mm_unpackhi_epi8(p, zero), w));
        }
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i), lo);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(sums + i + 8), hi);
    }
    for (; i < count; ++i) {
        uint32_t sum = 0;
        for (int k = 0; k < taps; ++k) sum += uint32_t{weights[k]} * rows[k][i];
        sums[i] = static_cast<uint16_t>(sum);
    }
}

// Two taps at a time: the sums of pixels s and s + 1 interleaved by channel, offset by -32768
// to fit signed lanes, multiplied and added in pairs. The weights add up to 256, so the offset
// comes back as 256 * 32768; the 32768 of the rounding rides along.
void HorizontalSse2(const uint16_t* sums, const int16_t* pairs, const AxisWeights& x, int width,
                    uint8_t* out) {
    const int pairCount = (x.taps + 1) / 2;
    const __m128i offset = _mm_set1_epi16(static_cast<short>(0x8000));
    const __m128i back = _mm_set1_epi32(256 * 32768 + 32768);
    for (int t = 0; t < width; ++t) {
        const uint16_t* p = sums + static_cast<size_t>(x.first[t]) * 3;
        const int16_t* w = pairs + static_cast<size_t>(t) * pairCount * 8;
        __m128i acc = back;
        for (int k = 0; k < pairCount; ++k, p += 6, w += 8) {
            const __m128i a = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
            const __m128i b = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p + 3));
            const __m128i ab = _mm_xor_si128(_mm_unpacklo_epi16(a, b), offset);
            const __m128i weights = _mm_loadu_si128(reinterpret_cast<const __m128i*>(w));
            acc = _mm_add_epi32(acc, _mm_madd_epi16(ab, weights));
        }
        acc = _mm_srli_epi32(acc, 16);
        const __m128i bytes = _mm_packus_epi16(_mm_packs_epi32(acc, acc), acc);
        const uint32_t bgr = static_cast<uint32_t>(_mm_cvtsi128_si32(bytes));
        if (t + 1 < width) {
            std::memcpy(out, &bgr, 4);  // the fourth byte is the next pixel's, written next
        } else {
            std::memcpy(out, &bgr, 3);
        }
        out += 3;
    }
}

// Per target and pair of taps, eight lanes: the weights as B B G G R R take them, then nought.
std::unique_ptr<int16_t[]> PairWeights(const AxisWeights& x, int width) {
    const int pairCount = (x.taps + 1) / 2;
    std::unique_ptr<int16_t[]> pairs(new (std::nothrow)
                                         int16_t[static_cast<size_t>(width) * pairCount * 8]());
    if (!pairs) return pairs;
    for (int t = 0; t < width; ++t) {
        const uint16_t* w = &x.weights[static_cast<size_t>(t) * x.taps];
        int16_t* lanes = &pairs[static_cast<size_t>(t) * pairCount * 8];
        for (int k = 0; k < pairCount; ++k, lanes += 8) {
            const auto a = static_cast<int16_t>(w[2 * k]);
            const auto b = static_cast<int16_t>(2 * k + 1 < x.taps ? w[2 * k + 1] : 0);
            for (int c = 0; c < 3; ++c) {
                lanes[2 * c] = a;
                lanes[2 * c + 1] = b;
            }
        }
    }
    return pairs;
}
#endif

}  // namespace

struct HalftoneScaler::Plan {
    AxisWeights x, y;
    int sourceWidth = 0, sourceHeight = 0, targetWidth = 0, targetHeight = 0;
    size_t rowValues = 0, padded = 0;
    bool sse2 = false;
#if defined(__SSE2__)
    std::unique_ptr<int16_t[]> pairs;
#endif
};

HalftoneScaler::HalftoneScaler() = default;
HalftoneScaler::~HalftoneScaler() = default;

bool HalftoneScaler::Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight,
                             ScaleKernels kernels) {
    plan_.reset();
    if (sourceWidth < 1 || sourceHeight < 1 || targetWidth < 1 || targetHeight < 1) return false;
    std::unique_ptr<Plan> plan(new (std::nothrow) Plan);
    if (!plan || !MakeAxisWeights(sourceWidth, targetWidth, &plan->x) ||
        !MakeAxisWeights(sourceHeight, targetHeight, &plan->y)) {
        return false;
    }
    plan->sourceWidth = sourceWidth;
    plan->sourceHeight = sourceHeight;
    plan->targetWidth = targetWidth;
    plan->targetHeight = targetHeight;
    // The vertical sums of one target row, padded so that the last taps may read past the
    // row's end (their weights are nought there).
    plan->rowValues = static_cast<size_t>(sourceWidth) * 3;
    plan->padded = plan->rowValues + (static_cast<size_t>(plan->x.taps) + 2) * 3 + 8;
#if defined(__SSE2__)
    if (kernels == ScaleKernels::kBest) {
        plan->pairs = PairWeights(plan->x, targetWidth);
        if (!plan->pairs) return false;
        plan->sse2 = true;
    }
#else
    (void)kernels;
#endif
    plan_ = std::move(plan);
    return true;
}

bool HalftoneScaler::ScaleRows(const PixelView& source, const PixelTarget& target, int first,
                               int count) const {
    const Plan* p = plan_.get();
    if (!p || !source.bits || !target.bits || source.width != p->sourceWidth ||
        source.height != p->sourceHeight || source.bytesPerPixel != 3 ||
        target.width != p->targetWidth || target.bytesPerPixel != 3 || first < 0 || count < 0 ||
        count > p->targetHeight - first) {
        return false;
    }
    std::unique_ptr<uint16_t[]> sums(new (std::nothrow) uint16_t[p->padded]());
    std::unique_ptr<const uint8_t*[]> rows(new (std::nothrow) const uint8_t*[p->y.taps]);
    if (!sums || !rows) return false;
#if defined(__SSE2__)
    const auto vertical = p->sse2 ? VerticalSse2 : VerticalPlain;
#else
    const auto vertical = VerticalPlain;
#endif
    for (int i = 0; i < count; ++i) {
        const int ty = first + i;
        const int top = p->y.first[ty];
        const uint16_t* wy = &p->y.weights[static_cast<size_t>(ty) * p->y.taps];
        int taps = p->y.taps;
        while (taps > 1 && wy[taps - 1] == 0) --taps;  // no row past the last weighed one
        for (int k = 0; k < taps; ++k) {
            const int row = std::min(top + k, source.height - 1);
            rows[k] = source.bits + static_cast<ptrdiff_t>(row) * source.stride;
        }
        vertical(rows.get(), wy, taps, p->rowValues, sums.get());
        uint8_t* out = target.bits + static_cast<ptrdiff_t>(i) * target.stride;
#if defined(__SSE2__)
        if (p->sse2) {
            HorizontalSse2(sums.get(), p->pairs.get(), p->x, target.width, out);
            continue;
        }
#endif
        HorizontalPlain(sums.get(), p->x, target.width, out);
    }
    return true;
}

bool HalftoneScaleWith(ScaleKernels kernels, const PixelView& source, const PixelTarget& target) {
    if (!source.bits || !target.bits || source.bytesPerPixel != 3 || target.bytesPerPixel != 3)
        return false;
    HalftoneScaler scaler;
    return scaler.Prepare(source.width, source.height, target.width, target.height, kernels) &&
           scaler.ScaleRows(source, target, 0, target.height);
}

bool HalftoneScale(const PixelView& source, const PixelTarget& target) {
    return HalftoneScaleWith(ScaleKernels::kBest, source, target);
}

}  // namespace orvane
