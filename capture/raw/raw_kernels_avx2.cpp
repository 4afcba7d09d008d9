// Vector kernels for AVX2, chosen at run time. Only this file's own functions are built for
// AVX2 (all headers come before the target switch), so nothing here leaks into common code.
#include <immintrin.h>

#include "capture/raw/raw_vec_kernels.h"

#pragma GCC push_options
#pragma GCC target("avx2")
namespace orvane::rawk::avx2 {
#define RAWV_AVX2 1
#include "capture/raw/raw_vec_impl.inc"

// The colour step in integers: each channel is the exact value N / 1000 of the formula,
// N = 1164 (Y - 16) + 2017 u (blue), 1164 (Y - 16) - 392 u - 813 v (green),
// 1164 (Y - 16) + 1596 v (red). The double evaluation lies within 1e-12 of N / 1000, so its
// truncation is floor(N / 1000) unless N / 1000 is a whole number, where rounding may fall on
// either side; groups with such a pixel take the double path. The quotient comes from a float
// estimate that is exact away from whole numbers and is checked by its remainder.
// 32-bit lanes times a constant, for lane values and constants within 16 bits.
static inline __m256i Mul16(__m256i x, int c) {
    return _mm256_madd_epi16(x, _mm256_set1_epi32(c & 0xFFFF));
}

static inline __m256i Quotient(__m256i n, __m256i* exact) {
    __m256i q = _mm256_cvttps_epi32(_mm256_mul_ps(_mm256_cvtepi32_ps(n), _mm256_set1_ps(0.001f)));
    __m256i r = _mm256_sub_epi32(n, Mul16(q, 1000));
    __m256i whole = _mm256_or_si256(_mm256_cmpeq_epi32(r, _mm256_setzero_si256()),
                                    _mm256_cmpeq_epi32(r, _mm256_set1_epi32(1000)));
    *exact = _mm256_or_si256(*exact, whole);
    return q;
}

// Eight even and eight odd values to sixteen 16-bit values in pixel order.
static inline __m256i Interleave(__m256i a, __m256i b) {
    return _mm256_packs_epi32(_mm256_unpacklo_epi32(a, b), _mm256_unpackhi_epi32(a, b));
}

static inline __m256i Load8(const uint8_t* p) {
    return _mm256_cvtepu8_epi32(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(p)));
}

static inline __m256i Tone8(const uint8_t* tone, const uint8_t* y) {
    return _mm256_setr_epi32(tone[y[0]], tone[y[1]], tone[y[2]], tone[y[3]], tone[y[4]], tone[y[5]],
                             tone[y[6]], tone[y[7]]);
}

// Eight pixels: bg holds blue 0-7 then green 0-7, r red 0-7; 24 bytes out.
static inline void StoreBgr8(__m128i bg, __m128i r, uint8_t* dst) {
    alignas(16) static const int8_t kBg0[16] = {0,  8, -1, 1,  9, -1, 2,  10,
                                                -1, 3, 11, -1, 4, 12, -1, 5};
    alignas(16) static const int8_t kR0[16] = {-1, -1, 0,  -1, -1, 1,  -1, -1,
                                               2,  -1, -1, 3,  -1, -1, 4,  -1};
    alignas(16) static const int8_t kBg1[16] = {13, -1, 6,  14, -1, 7,  15, -1,
                                                -1, -1, -1, -1, -1, -1, -1, -1};
    alignas(16) static const int8_t kR1[16] = {-1, 5,  -1, -1, 6,  -1, -1, 7,
                                               -1, -1, -1, -1, -1, -1, -1, -1};
    __m128i m0 = _mm_load_si128(reinterpret_cast<const __m128i*>(kBg0));
    __m128i m1 = _mm_load_si128(reinterpret_cast<const __m128i*>(kR0));
    __m128i m2 = _mm_load_si128(reinterpret_cast<const __m128i*>(kBg1));
    __m128i m3 = _mm_load_si128(reinterpret_cast<const __m128i*>(kR1));
    __m128i out0 = _mm_or_si128(_mm_shuffle_epi8(bg, m0), _mm_shuffle_epi8(r, m1));
    __m128i out1 = _mm_or_si128(_mm_shuffle_epi8(bg, m2), _mm_shuffle_epi8(r, m3));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst), out0);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(dst + 16), out1);
}

void ColourPairsInt(const uint8_t* tone, const uint8_t* ye, const uint8_t* yo, const uint8_t* u,
                    const uint8_t* v, int w, uint8_t* bgr) {
    const __m256i k16 = _mm256_set1_epi32(16), k128 = _mm256_set1_epi32(128);
    int i = 0;
    for (; 2 * (i + 8) <= w; i += 8) {
        __m256i ya = Mul16(_mm256_sub_epi32(Tone8(tone, ye + i), k16), 1164);
        __m256i yb = Mul16(_mm256_sub_epi32(Tone8(tone, yo + i), k16), 1164);
        __m256i uu = _mm256_sub_epi32(Load8(u + i), k128);
        __m256i vv = _mm256_sub_epi32(Load8(v + i), k128);
        __m256i bu = Mul16(uu, 2017);
        __m256i rv = Mul16(vv, 1596);
        // u * 392 + v * 813 in one multiply-add of the (u, v) 16-bit pairs.
        __m256i uv = _mm256_or_si256(_mm256_and_si256(uu, _mm256_set1_epi32(0xFFFF)),
                                     _mm256_slli_epi32(vv, 16));
        __m256i guv = _mm256_madd_epi16(uv, _mm256_set1_epi32(392 | (813 << 16)));
        __m256i exact = _mm256_setzero_si256();
        __m256i ba = Quotient(_mm256_add_epi32(ya, bu), &exact);
        __m256i bb = Quotient(_mm256_add_epi32(yb, bu), &exact);
        __m256i ga = Quotient(_mm256_sub_epi32(ya, guv), &exact);
        __m256i gb = Quotient(_mm256_sub_epi32(yb, guv), &exact);
        __m256i ra = Quotient(_mm256_add_epi32(ya, rv), &exact);
        __m256i rb = Quotient(_mm256_add_epi32(yb, rv), &exact);
        if (!_mm256_testz_si256(exact, exact)) {
            ColourPairs(tone, ye + i, yo + i, u + i, v + i, 16, bgr + 6 * i);
            continue;
        }
        __m256i b16 = Interleave(ba, bb), g16 = Interleave(ga, gb), r16 = Interleave(ra, rb);
        __m256i bg = _mm256_packus_epi16(b16, g16);
        __m256i rr = _mm256_packus_epi16(r16, r16);
        StoreBgr8(_mm256_castsi256_si128(bg), _mm256_castsi256_si128(rr), bgr + 6 * i);
        StoreBgr8(_mm256_extracti128_si256(bg, 1), _mm256_extracti128_si256(rr, 1),
                  bgr + 6 * i + 24);
    }
    if (2 * i < w) ColourPairs(tone, ye + i, yo + i, u + i, v + i, w - 2 * i, bgr + 6 * i);
}
}  // namespace orvane::rawk::avx2
#pragma GCC pop_options
