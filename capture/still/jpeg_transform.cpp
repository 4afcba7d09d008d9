// The block transform of the JPEG encoder and its quantisation, each as a plain kernel and an
// SSE2 one, chosen by the caller.
#include "capture/still/jpeg_transform.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvane {
namespace {

// ---- The block transform: the accurate integer DCT (13 fraction bits, 2 extra bits between
// the passes), rows first, then columns; outputs are 8 times the orthonormal coefficients.

constexpr int kConstBits = 13;
constexpr int kPass1Bits = 2;
constexpr int32_t F0298 = 2446, F0390 = 3196, F0541 = 4433, F0765 = 6270, F0899 = 7373,
                  F1175 = 9633, F1501 = 12299, F1847 = 15137, F1961 = 16069, F2053 = 16819,
                  F2562 = 20995, F3072 = 25172;

int32_t Descale(int32_t x, int n) {
    return (x + (int32_t{1} << (n - 1))) >> n;
}

// One pass over eight values d[0], d[step], ...: pass 1 (rows) or pass 2 (columns).
template <bool kFirst>
void DctPassPlain(const int32_t* d, int step, int32_t* out, int outStep) {
    const int32_t tmp0 = d[0] + d[7 * step], tmp7 = d[0] - d[7 * step];
    const int32_t tmp1 = d[step] + d[6 * step], tmp6 = d[step] - d[6 * step];
    const int32_t tmp2 = d[2 * step] + d[5 * step], tmp5 = d[2 * step] - d[5 * step];
    const int32_t tmp3 = d[3 * step] + d[4 * step], tmp4 = d[3 * step] - d[4 * step];
    const int32_t tmp10 = tmp0 + tmp3, tmp13 = tmp0 - tmp3;
    const int32_t tmp11 = tmp1 + tmp2, tmp12 = tmp1 - tmp2;
    constexpr int odd = kFirst ? kConstBits - kPass1Bits : kConstBits + kPass1Bits;
    if (kFirst) {
        out[0] = (tmp10 + tmp11) * (1 << kPass1Bits);
        out[4 * outStep] = (tmp10 - tmp11) * (1 << kPass1Bits);
    } else {
        out[0] = Descale(tmp10 + tmp11, kPass1Bits);
        out[4 * outStep] = Descale(tmp10 - tmp11, kPass1Bits);
    }
    const int32_t z1 = (tmp12 + tmp13) * F0541;
    out[2 * outStep] = Descale(z1 + tmp13 * F0765, odd);
    out[6 * outStep] = Descale(z1 - tmp12 * F1847, odd);

    const int32_t z5 = (tmp4 + tmp5 + tmp6 + tmp7) * F1175;
    const int32_t a1 = -(tmp4 + tmp7) * F0899, a2 = -(tmp5 + tmp6) * F2562;
    const int32_t a3 = -(tmp4 + tmp6) * F1961 + z5, a4 = -(tmp5 + tmp7) * F0390 + z5;
    out[7 * outStep] = Descale(tmp4 * F0298 + a1 + a3, odd);
    out[5 * outStep] = Descale(tmp5 * F2053 + a2 + a4, odd);
    out[3 * outStep] = Descale(tmp6 * F3072 + a2 + a3, odd);
    out[outStep] = Descale(tmp7 * F1501 + a1 + a4, odd);
}

void ForwardDctPlain(const uint8_t* samples, ptrdiff_t stride, int16_t out[64]) {
    int32_t in[64], work[64], result[64];
    for (int r = 0; r < 8; ++r)
        for (int c = 0; c < 8; ++c) in[r * 8 + c] = samples[r * stride + c] - 128;
    for (int r = 0; r < 8; ++r) DctPassPlain<true>(in + r * 8, 1, work + r * 8, 1);
    for (int c = 0; c < 8; ++c) DctPassPlain<false>(work + c, 8, result + c, 8);
    for (int i = 0; i < 64; ++i) out[i] = static_cast<int16_t>(result[i]);
}

void QuantisePlain(const int16_t c[64], const Divisors& d, int16_t out[64]) {
    for (int i = 0; i < 64; ++i) {
        const uint32_t magnitude = static_cast<uint32_t>(c[i] < 0 ? -c[i] : c[i]);
        const uint32_t q = ((magnitude + d.half[i]) * d.reciprocal[i]) >> 16;
        out[i] =
            static_cast<int16_t>(c[i] < 0 ? -static_cast<int32_t>(q) : static_cast<int32_t>(q));
    }
}

#if defined(__SSE2__)
void Transpose(__m128i r[8]) {
    const __m128i t0 = _mm_unpacklo_epi16(r[0], r[1]), t1 = _mm_unpackhi_epi16(r[0], r[1]);
    const __m128i t2 = _mm_unpacklo_epi16(r[2], r[3]), t3 = _mm_unpackhi_epi16(r[2], r[3]);
    const __m128i t4 = _mm_unpacklo_epi16(r[4], r[5]), t5 = _mm_unpackhi_epi16(r[4], r[5]);
    const __m128i t6 = _mm_unpacklo_epi16(r[6], r[7]), t7 = _mm_unpackhi_epi16(r[6], r[7]);
    const __m128i u0 = _mm_unpacklo_epi32(t0, t2), u1 = _mm_unpackhi_epi32(t0, t2);
    const __m128i u2 = _mm_unpacklo_epi32(t1, t3), u3 = _mm_unpackhi_epi32(t1, t3);
    const __m128i u4 = _mm_unpacklo_epi32(t4, t6), u5 = _mm_unpackhi_epi32(t4, t6);
    const __m128i u6 = _mm_unpacklo_epi32(t5, t7), u7 = _mm_unpackhi_epi32(t5, t7);
    r[0] = _mm_unpacklo_epi64(u0, u4);
    r[1] = _mm_unpackhi_epi64(u0, u4);
    r[2] = _mm_unpacklo_epi64(u1, u5);
    r[3] = _mm_unpackhi_epi64(u1, u5);
    r[4] = _mm_unpacklo_epi64(u2, u6);
    r[5] = _mm_unpackhi_epi64(u2, u6);
    r[6] = _mm_unpacklo_epi64(u3, u7);
    r[7] = _mm_unpackhi_epi64(u3, u7);
}

// a * ca + b * cb per lane in 32 bits, descaled by n and packed back to 16 bits.
template <int n>
__m128i MulAdd(__m128i a, __m128i b, int16_t ca, int16_t cb, __m128i extraLo = _mm_setzero_si128(),
               __m128i extraHi = _mm_setzero_si128()) {
    const __m128i k = _mm_setr_epi16(ca, cb, ca, cb, ca, cb, ca, cb);
    const __m128i round = _mm_set1_epi32(1 << (n - 1));
    __m128i lo = _mm_add_epi32(_mm_madd_epi16(_mm_unpacklo_epi16(a, b), k), extraLo);
    __m128i hi = _mm_add_epi32(_mm_madd_epi16(_mm_unpackhi_epi16(a, b), k), extraHi);
    lo = _mm_srai_epi32(_mm_add_epi32(lo, round), n);
    hi = _mm_srai_epi32(_mm_add_epi32(hi, round), n);
    return _mm_packs_epi32(lo, hi);
}

// The 32-bit products a * ca + b * cb of both halves, undescaled.
void Products(__m128i a, __m128i b, int16_t ca, int16_t cb, __m128i* lo, __m128i* hi) {
    const __m128i k = _mm_setr_epi16(ca, cb, ca, cb, ca, cb, ca, cb);
    *lo = _mm_madd_epi16(_mm_unpacklo_epi16(a, b), k);
    *hi = _mm_madd_epi16(_mm_unpackhi_epi16(a, b), k);
}

// The plain pass with the products regrouped in pairs: every sum is the same integer, and
// every value fits 16 bits for 8-bit samples.
template <bool kFirst>
void DctPassSse2(__m128i d[8]) {
    constexpr int odd = kFirst ? kConstBits - kPass1Bits : kConstBits + kPass1Bits;
    const __m128i tmp0 = _mm_add_epi16(d[0], d[7]), tmp7 = _mm_sub_epi16(d[0], d[7]);
    const __m128i tmp1 = _mm_add_epi16(d[1], d[6]), tmp6 = _mm_sub_epi16(d[1], d[6]);
    const __m128i tmp2 = _mm_add_epi16(d[2], d[5]), tmp5 = _mm_sub_epi16(d[2], d[5]);
    const __m128i tmp3 = _mm_add_epi16(d[3], d[4]), tmp4 = _mm_sub_epi16(d[3], d[4]);
    const __m128i tmp10 = _mm_add_epi16(tmp0, tmp3), tmp13 = _mm_sub_epi16(tmp0, tmp3);
    const __m128i tmp11 = _mm_add_epi16(tmp1, tmp2), tmp12 = _mm_sub_epi16(tmp1, tmp2);
    if (kFirst) {
        d[0] = _mm_slli_epi16(_mm_add_epi16(tmp10, tmp11), kPass1Bits);
        d[4] = _mm_slli_epi16(_mm_sub_epi16(tmp10, tmp11), kPass1Bits);
    } else {
        const __m128i round = _mm_set1_epi16(1 << (kPass1Bits - 1));
        d[0] = _mm_srai_epi16(_mm_add_epi16(_mm_add_epi16(tmp10, tmp11), round), kPass1Bits);
        d[4] = _mm_srai_epi16(_mm_add_epi16(_mm_sub_epi16(tmp10, tmp11), round), kPass1Bits);
    }
    // z1 = (tmp12 + tmp13) * F0541: out2 = tmp13 * (F0541 + F0765) + tmp12 * F0541, out6 =
    // tmp13 * F0541 + tmp12 * (F0541 - F1847).
    d[2] = MulAdd<odd>(tmp13, tmp12, F0541 + F0765, F0541);
    d[6] = MulAdd<odd>(tmp13, tmp12, F0541, F0541 - F1847);
    // a3 = z3 * (F1175 - F1961) + z4 * F1175, a4 = z3 * F1175 + z4 * (F1175 - F0390) with
    // z3 = tmp4 + tmp6, z4 = tmp5 + tmp7 (z5 shared out between them).
    const __m128i z3 = _mm_add_epi16(tmp4, tmp6), z4 = _mm_add_epi16(tmp5, tmp7);
    __m128i a3lo, a3hi, a4lo, a4hi;
    Products(z3, z4, F1175 - F1961, F1175, &a3lo, &a3hi);
    Products(z3, z4, F1175, F1175 - F0390, &a4lo, &a4hi);
    // out7 = tmp4 * F0298 - (tmp4 + tmp7) * F0899 + a3; out1 = tmp7 * F1501 - (tmp4 + tmp7) *
    // F0899 + a4; out5 = tmp5 * F2053 - (tmp5 + tmp6) * F2562 + a4; out3 = tmp6 * F3072 -
    // (tmp5 + tmp6) * F2562 + a3.
    d[7] = MulAdd<odd>(tmp4, tmp7, F0298 - F0899, -F0899, a3lo, a3hi);
    d[1] = MulAdd<odd>(tmp4, tmp7, -F0899, F1501 - F0899, a4lo, a4hi);
    d[5] = MulAdd<odd>(tmp5, tmp6, F2053 - F2562, -F2562, a4lo, a4hi);
    d[3] = MulAdd<odd>(tmp5, tmp6, -F2562, F3072 - F2562, a3lo, a3hi);
}

void ForwardDctSse2(const uint8_t* samples, ptrdiff_t stride, int16_t out[64]) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i centre = _mm_set1_epi16(128);
    __m128i r[8];
    for (int i = 0; i < 8; ++i) {
        const __m128i row = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(samples + i * stride));
        r[i] = _mm_sub_epi16(_mm_unpacklo_epi8(row, zero), centre);
    }
    Transpose(r);
    DctPassSse2<true>(r);
    Transpose(r);
    DctPassSse2<false>(r);
    for (int i = 0; i < 8; ++i) _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i * 8), r[i]);
}

void QuantiseSse2(const int16_t c[64], const Divisors& d, int16_t out[64]) {
    for (int i = 0; i < 64; i += 8) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(c + i));
        const __m128i sign = _mm_srai_epi16(v, 15);
        const __m128i magnitude = _mm_sub_epi16(_mm_xor_si128(v, sign), sign);  // as unsigned
        const __m128i rounded =
            _mm_add_epi16(magnitude, _mm_load_si128(reinterpret_cast<const __m128i*>(d.half + i)));
        const __m128i q = _mm_mulhi_epu16(
            rounded, _mm_load_si128(reinterpret_cast<const __m128i*>(d.reciprocal + i)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i),
                         _mm_sub_epi16(_mm_xor_si128(q, sign), sign));
    }
}
#endif

}  // namespace

void QuantiseWith(JpegKernels kernels, const int16_t c[64], const Divisors& d, int16_t out[64]) {
#if defined(__SSE2__)
    if (kernels == JpegKernels::kBest) return QuantiseSse2(c, d, out);
#else
    (void)kernels;
#endif
    QuantisePlain(c, d, out);
}

void ForwardDct(JpegKernels kernels, const uint8_t* samples, ptrdiff_t stride,
                int16_t coefficients[64]) {
#if defined(__SSE2__)
    if (kernels == JpegKernels::kBest) return ForwardDctSse2(samples, stride, coefficients);
#else
    (void)kernels;
#endif
    ForwardDctPlain(samples, stride, coefficients);
}

void Quantise(JpegKernels kernels, const int16_t coefficients[64], const uint16_t table[64],
              int16_t quantised[64]) {
    QuantiseWith(kernels, coefficients, Divisors(table), quantised);
}

}  // namespace orvane
