// The YUY2 row kernel for AVX2, chosen at run time; the arithmetic is the SSE2 kernel's
// (preview_rows_sse2.cpp), sixteen pixels at a time. Only this file's own function is built
// for AVX2 (all headers come before the target switch).
#include <immintrin.h>

#include "capture/preview/preview_rows.h"

#pragma GCC push_options
#pragma GCC target("avx2")
namespace orvane::preview {

void Yuy2RowAvx2(const uint8_t* in, int width, uint8_t* out) {
    // Per 128-bit lane of four pairs: U and V of each pixel's pair, and the pair's (U, V) bytes.
    const __m256i takeU =
        _mm256_setr_epi8(1, -1, 1, -1, 5, -1, 5, -1, 9, -1, 9, -1, 13, -1, 13, -1, 1, -1, 1, -1, 5,
                         -1, 5, -1, 9, -1, 9, -1, 13, -1, 13, -1);
    const __m256i takeV =
        _mm256_setr_epi8(3, -1, 3, -1, 7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1, 3, -1, 3, -1,
                         7, -1, 7, -1, 11, -1, 11, -1, 15, -1, 15, -1);
    const __m256i takeUv = _mm256_setr_epi8(1, 3, 1, 3, 5, 7, 5, 7, 9, 11, 9, 11, 13, 15, 13, 15, 1,
                                            3, 1, 3, 5, 7, 5, 7, 9, 11, 9, 11, 13, 15, 13, 15);
    const __m256i lowBytes = _mm256_set1_epi16(0x00FF);
    const __m256i greenUv = _mm256_set1_epi16(static_cast<int16_t>((-52 << 8) | (-25 & 0xFF)));
    const __m256i zero = _mm256_setzero_si256();
    int x = 0;
    for (; x + 16 <= width; x += 16, in += 32, out += 64) {
        // Pixels 0-3 and 8-11 in the low lane, 4-7 and 12-15 in the high one, so that the
        // interleaving below ends with pixels 0-7 and 8-15 in one register each.
        const __m256i raw = _mm256_permute4x64_epi64(
            _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in)), _MM_SHUFFLE(3, 1, 2, 0));
        const __m256i y = _mm256_and_si256(raw, lowBytes);
        const __m256i u = _mm256_shuffle_epi8(raw, takeU);
        const __m256i v = _mm256_shuffle_epi8(raw, takeV);
        const __m256i q = _mm256_mullo_epi16(y, _mm256_set1_epi16(149));
        const __m256i half = _mm256_srli_epi16(q, 1);

        const __m256i bu = _mm256_add_epi16(_mm256_mullo_epi16(u, _mm256_set1_epi16(129)),
                                            _mm256_set1_epi16(-17672));
        const __m256i b = _mm256_srai_epi16(_mm256_adds_epi16(half, bu), 6);
        const __m256i guv =
            _mm256_add_epi16(_mm256_maddubs_epi16(_mm256_shuffle_epi8(raw, takeUv), greenUv),
                             _mm256_set1_epi16(8696));
        const __m256i g = _mm256_srai_epi16(_mm256_add_epi16(half, guv), 6);
        const __m256i rq =
            _mm256_avg_epu16(q, _mm256_add_epi16(_mm256_srli_epi16(v, 1), _mm256_set1_epi16(1)));
        const __m256i rv = _mm256_add_epi16(_mm256_mullo_epi16(v, _mm256_set1_epi16(102)),
                                            _mm256_set1_epi16(-14249));
        const __m256i r = _mm256_srai_epi16(_mm256_add_epi16(rq, rv), 6);

        const __m256i br = _mm256_packus_epi16(b, r);
        const __m256i g0 = _mm256_packus_epi16(g, zero);
        const __m256i bg = _mm256_unpacklo_epi8(br, g0);
        const __m256i r0 = _mm256_unpackhi_epi8(br, g0);
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out), _mm256_unpacklo_epi16(bg, r0));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + 32), _mm256_unpackhi_epi16(bg, r0));
    }
    Yuy2RowSse2(in, width - x, out);
}

}  // namespace orvane::preview
#pragma GCC pop_options
