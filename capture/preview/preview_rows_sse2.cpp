// The YUY2 row kernel for SSE2, the baseline of every processor the program runs on.
//
// Both SIMD kernels give the plain kernel's bytes exactly, in 16-bit lanes. Each channel is
// floor(N / 256) clamped to 0..255, N = 298 Y - 4640 + a chroma term (516 u; -100 u - 208 v;
// 409 v; u = U - 128, v = V - 128). floor(N / 256) = floor(floor(N / 4) / 64), and with
// Q = 149 Y (unsigned 16 bits) floor(N / 4) is, in U and V as stored:
//   blue   (Q >> 1) + 129 U - 17672             (the chroma term is a multiple of 4)
//   green  (Q >> 1) - 25 U - 52 V + 8696        (likewise)
//   red    avg(Q, (V >> 1) + 1) + 102 V - 14249  (avg(a, b) = (a + b + 1) >> 1, 17 bits inside)
// Green and red lie within -10939..27693 and -14216..30823; blue reaches 34220, so its sum
// saturates at 32767, which is far above 255 * 64 and still clamps to 255.
#include <emmintrin.h>

#include "capture/preview/preview_rows.h"

namespace orvane::preview {

void Yuy2RowSse2(const uint8_t* in, int width, uint8_t* out) {
    const __m128i lowBytes = _mm_set1_epi16(0x00FF);
    const __m128i zero = _mm_setzero_si128();
    int x = 0;
    for (; x + 8 <= width; x += 8, in += 16, out += 32) {
        const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in));
        const __m128i y = _mm_and_si128(raw, lowBytes);
        // U0 V0 U1 V1 ...: each pixel's pair's U, V in both pixels' lanes.
        const __m128i c = _mm_srli_epi16(raw, 8);
        const __m128i u = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, _MM_SHUFFLE(2, 2, 0, 0)),
                                              _MM_SHUFFLE(2, 2, 0, 0));
        const __m128i v = _mm_shufflehi_epi16(_mm_shufflelo_epi16(c, _MM_SHUFFLE(3, 3, 1, 1)),
                                              _MM_SHUFFLE(3, 3, 1, 1));
        const __m128i q = _mm_mullo_epi16(y, _mm_set1_epi16(149));
        const __m128i half = _mm_srli_epi16(q, 1);

        const __m128i bu =
            _mm_add_epi16(_mm_mullo_epi16(u, _mm_set1_epi16(129)), _mm_set1_epi16(-17672));
        const __m128i b = _mm_srai_epi16(_mm_adds_epi16(half, bu), 6);
        const __m128i guv = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(u, _mm_set1_epi16(-25)),
                                                        _mm_mullo_epi16(v, _mm_set1_epi16(-52))),
                                          _mm_set1_epi16(8696));
        const __m128i g = _mm_srai_epi16(_mm_add_epi16(half, guv), 6);
        const __m128i rq = _mm_avg_epu16(q, _mm_add_epi16(_mm_srli_epi16(v, 1), _mm_set1_epi16(1)));
        const __m128i rv =
            _mm_add_epi16(_mm_mullo_epi16(v, _mm_set1_epi16(102)), _mm_set1_epi16(-14249));
        const __m128i r = _mm_srai_epi16(_mm_add_epi16(rq, rv), 6);

        // Clamp to bytes and interleave B G R 0.
        const __m128i br = _mm_packus_epi16(b, r);
        const __m128i g0 = _mm_packus_epi16(g, zero);
        const __m128i bg = _mm_unpacklo_epi8(br, g0);
        const __m128i r0 = _mm_unpackhi_epi8(br, g0);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out), _mm_unpacklo_epi16(bg, r0));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 16), _mm_unpackhi_epi16(bg, r0));
    }
    Yuy2RowPlain(in, width - x, out);
}

}  // namespace orvane::preview
