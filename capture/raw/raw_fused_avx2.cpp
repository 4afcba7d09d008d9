// The fused conversion's AVX2 kernels (see raw_fused.h), and the banded path's AVX2 colour step,
// which shares their colour arithmetic. Only this file's own functions are built for AVX2 (all
// headers come before the target switch). All lanes are 16-bit; where a value could leave
// 16 bits the plan takes another path (FusedCoeffsFor).
#include <immintrin.h>

#include <algorithm>

#include "capture/raw/raw_colour.h"
#include "capture/raw/raw_fused.h"
#include "capture/raw/raw_vec_kernels.h"

#pragma GCC push_options
#pragma GCC target("avx2")
namespace orvane::rawk::avx2 {

namespace {

using V = __m256i;

// A constant the compiler keeps as such: without the barrier it turns multiplications into
// shift-and-add chains and rebuilds constants inside loops.
inline V K(int c) {
    V k = _mm256_set1_epi16(static_cast<int16_t>(c));
    __asm__("" : "+x"(k));
    return k;
}
inline V Ld(const int16_t* p) {
    return _mm256_loadu_si256(reinterpret_cast<const V*>(p));
}
inline void St(int16_t* p, V v) {
    _mm256_storeu_si256(reinterpret_cast<V*>(p), v);
}
inline V Add(V a, V b) {
    return _mm256_add_epi16(a, b);
}
inline V Sub(V a, V b) {
    return _mm256_sub_epi16(a, b);
}
inline V Mul(V a, V b) {
    return _mm256_mullo_epi16(a, b);
}
// A compile-time constant read from memory through an opaque pointer: loads cost little, and
// the compiler can neither rebuild it in the loop nor split a multiplication by it.
template <int kValue>
inline V C() {
    struct Splat {
        alignas(32) int16_t v[16];
        constexpr Splat() : v{} {
            for (int16_t& x : v) x = static_cast<int16_t>(kValue);
        }
    };
    static constexpr Splat kSplat;
    const int16_t* p = kSplat.v;
    __asm__("" : "+r"(p));
    return _mm256_load_si256(reinterpret_cast<const V*>(p));
}
template <int kValue>
inline V MulC(V a) {
    return Mul(a, C<kValue>());
}
template <int kValue>
inline V AddC(V a) {
    return Add(a, C<kValue>());
}

// The 256-entry byte look-up of 32 bytes: the lower chain walks x - 16 k (signed, saturating),
// which keeps bit 7 clear, so that the table's 16 entries are taken, exactly for the blocks
// k <= x / 16; the XOR of their differences is block x / 16's entry. The upper chain does the
// same for x >= 128 on x - 128; each chain is zero outside its half.
inline V Table(const uint8_t* p) {
    return _mm256_load_si256(reinterpret_cast<const V*>(p));
}
inline V Lookup(const ByteLut& t, V x) {
    const V k16 = _mm256_set1_epi8(16);
    V z = _mm256_xor_si256(x, _mm256_set1_epi8(static_cast<char>(0x80)));
    V r = _mm256_shuffle_epi8(Table(t.lo[0]), x);
    V q = _mm256_shuffle_epi8(Table(t.hi[0]), z);
    for (int k = 1; k < 8; ++k) {
        x = _mm256_subs_epi8(x, k16);
        z = _mm256_subs_epi8(z, k16);
        r = _mm256_xor_si256(r, _mm256_shuffle_epi8(Table(t.lo[k]), x));
        q = _mm256_xor_si256(q, _mm256_shuffle_epi8(Table(t.hi[k]), z));
        // Keeps the chains in order: regrouped, their 16 terms would all be live at once.
        __asm__("" : "+x"(r), "+x"(q));
    }
    return _mm256_xor_si256(r, q);
}

// ---- Demosaicing: the six 5x5 kernels in terms of the rows' sums. ae = rows -2 + +2,
// bd = rows -1 + +1, c = row 0; "pm1" and "pm2" are the sums of the columns -1 and +1, -2 and +2.
struct Taps {
    V c, cPm1, cPm2, ae, aePm1, aePm2, bd, bdPm1, bdPm2;
};

// The demosaicing's weights, read once per row.
struct DemosaicK {
    V k6, k12, k14, k36, k128, k255;
    DemosaicK()
        : k6(C<6>()), k12(C<12>()), k14(C<14>()), k36(C<36>()), k128(C<128>()), k255(C<255>()) {}
};

// Blue or red site: own colour, green, the diagonal colour.
inline void OwnSite(const DemosaicK& k, const Taps& t, V* own, V* green, V* diagonal) {
    *own = _mm256_srli_epi16(Add(Add(Mul(t.c, k.k36), Mul(Add(t.cPm2, t.ae), k.k6)), t.aePm2), 6);
    *green = _mm256_srli_epi16(Add(Add(Mul(Add(t.bd, t.cPm1), k.k14), t.aePm1), t.bdPm2), 6);
    *diagonal = _mm256_srli_epi16(t.bdPm1, 2);
}

// Green site: green, the colour left and right, the colour above and below.
inline void GreenSite(const DemosaicK& k, const Taps& t, V* green, V* horizontal, V* vertical) {
    *green = _mm256_srli_epi16(
        Add(Add(Mul(t.c, k.k12), _mm256_slli_epi16(t.bdPm1, 2)), Add(t.ae, t.cPm2)), 5);
    *horizontal = _mm256_srli_epi16(Add(Mul(t.cPm1, k.k6), t.aePm1), 4);
    *vertical = _mm256_srli_epi16(Add(Mul(t.bd, k.k6), t.bdPm2), 4);
}

inline V Sat8(const DemosaicK& k, V v) {
    return _mm256_min_epi16(_mm256_max_epi16(v, _mm256_setzero_si256()), k.k255);
}

// (a x + b y + c z) >> 6 from byte pairs (x, y) and (z, 0) and byte coefficients
// (FusedCoeffsFor bounds every sum to 16 bits).
inline V ByteDot(V xy, V z0, V ab, V c0) {
    return _mm256_srai_epi16(Add(_mm256_maddubs_epi16(xy, ab), _mm256_maddubs_epi16(z0, c0)), 6);
}
inline V BytePair(int a, int b) {
    return _mm256_set1_epi16(static_cast<int16_t>((b << 8) | (a & 0xFF)));
}

// (a x + b y) >> 6 through 32 bits.
inline V Dot32(V x, V y, V ab) {
    const V lo = _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpacklo_epi16(x, y), ab), 6);
    const V hi = _mm256_srai_epi32(_mm256_madd_epi16(_mm256_unpackhi_epi16(x, y), ab), 6);
    return _mm256_packs_epi32(lo, hi);
}
inline V Pair(int a, int b) {
    return _mm256_set1_epi32(static_cast<int>(
        (static_cast<uint32_t>(static_cast<uint16_t>(b)) << 16) | static_cast<uint16_t>(a)));
}

// s / 2 + 128 for the sum s of a pair, the division truncating toward zero, clamped to 0..255.
inline V PairChroma(const DemosaicK& k, V s) {
    return Sat8(k, Add(_mm256_srai_epi16(Add(s, _mm256_srli_epi16(s, 15)), 1), k.k128));
}

// ---- The colour step in 16-bit integers. Each channel is the double formula's truncation of
// N / 1000, N = 1164 (Y - 16) + C with C = 2017 u (blue), -392 u - 813 v (green), 1596 v (red)
// (u = U - 128, v = V - 128). The double evaluation lies within 1e-12 of N / 1000, so it
// truncates to floor(N / 1000) unless N is a multiple of 1000, where rounding may fall on either
// side; those pixels are recomputed from the formula itself. With 1164 (Y - 16) = 1000 F + R and
// C = 1000 c1 + c0 (0 <= R, c0 < 1000), floor(N / 1000) = F + c1 + (R + c0 >= 1000), and N is a
// multiple of 1000 exactly when R = (1000 - c0) mod 1000. F and R come per pixel, c1 and c0 per
// chroma pair, from quotients of non-negative 16-bit values (tests/raw check every input).

// The colour step's constants, read once per row.
struct ColourK {
    V k1, k17, k49, k125, k149, k164, k187, k250, k999, k1000, k1001, k33555, k12522;
    V k824, k178, k64, k377, kMinus277, kMinus223, k36;
    ColourK()
        : k1(C<1>()),
          k17(C<17>()),
          k49(C<49>()),
          k125(C<125>()),
          k149(C<149>()),
          k164(C<164>()),
          k187(C<187>()),
          k250(C<250>()),
          k999(C<999>()),
          k1000(C<1000>()),
          k1001(C<1001>()),
          k33555(C<33555>()),
          k12522(C<12522>()),
          k824(C<824>()),
          k178(C<178>()),
          k64(C<64>()),
          k377(C<377>()),
          kMinus277(C<-277>()),
          kMinus223(C<-223>()),
          k36(C<36>()) {}
};

// floor(x / d) for d = 1000, 250, 125 (shift 9, 7, 6) and 0 <= x < 59000: a multiply-high by
// 33555 ~ 2^25 / 1000 over-estimates x / d by less than any such quotient's fraction is below 1.
template <int kShift>
inline V Quot(const ColourK& k, V x) {
    return _mm256_srli_epi16(_mm256_mulhi_epu16(x, k.k33555), kShift);
}

// One chroma pair's part of a channel, in terms of R1 = R + 1 and F' = F + 19: c1' = c1 - 18
// and e1 = 1001 - c0. The channel is F' + c1' - (e1 > R1), and N is a multiple of 1000 when
// R1 = e1, or when c0 = 0 and R1 = 1, which only Y = 16 gives (checked apart).
struct PairPart {
    V c1, e1;
};

// Byte order of 16 pixels' blue, green and red per 128-bit lane, from three registers holding
// (after packing) even pixels in bytes 0-7 and odd ones in 8-15: output register k, channel ch.
struct BgrMasks {
    alignas(32) int8_t m[3][3][32];
    constexpr BgrMasks() : m{} {
        for (int k = 0; k < 3; ++k)
            for (int ch = 0; ch < 3; ++ch)
                for (int p = 0; p < 32; ++p) {
                    const int j = 16 * k + (p & 15), pixel = j / 3;
                    m[k][ch][p] = static_cast<int8_t>(
                        j % 3 == ch ? ((pixel & 1) ? 8 + pixel / 2 : pixel / 2) : -128);
                }
    }
};
constexpr BgrMasks kBgrMasks;

inline V Mask(int k, int ch) {
    return _mm256_load_si256(reinterpret_cast<const V*>(kBgrMasks.m[k][ch]));
}
inline V Pick(V b, V g, V r, int k) {
    return _mm256_or_si256(
        _mm256_or_si256(_mm256_shuffle_epi8(b, Mask(k, 0)), _mm256_shuffle_epi8(g, Mask(k, 1))),
        _mm256_shuffle_epi8(r, Mask(k, 2)));
}

// 16 pairs: toned luma of the even and odd pixels, pair chroma; 96 bytes of blue, green, red.
// Returns, per half, the lanes whose pixels must be recomputed (two mask bits per lane).
inline void ColourBlock(const ColourK& k, V Ye, V Yo, V U, V Vv, uint8_t* dst, uint32_t* exactE,
                        uint32_t* exactO) {
    const V tb = Add(Mul(U, k.k17), k.k824);  // 17 u + 3000
    const V qb = Quot<9>(k, tb);
    const PairPart blue = {Add(Add(Add(U, U), qb), k.kMinus277),
                           Add(Sub(Mul(qb, k.k1000), tb), k.k1001)};
    const V tr = Add(Mul(Vv, k.k149), k.k178);  // 149 v + 19250, 149 v = 596 v / 4
    const V qr = Quot<7>(k, tr);
    const PairPart red = {Add(Add(Vv, qr), k.kMinus223),
                          Sub(k.k1001, _mm256_slli_epi16(Sub(tr, Mul(qr, k.k250)), 2))};
    const V t1 = Sub(k.k12522, Mul(U, k.k49));  // -49 u + 6250, -49 u = -392 u / 8
    const V q1 = Quot<6>(k, t1);
    const V r1 = _mm256_slli_epi16(Sub(t1, Mul(q1, k.k125)), 3);
    const V t2 = Add(Mul(Vv, k.k187), k.k64);  // 187 v + 24000, -813 v = -1000 v + 187 v
    const V q2 = Quot<9>(k, t2);
    const V r = Add(r1, Sub(t2, Mul(q2, k.k1000)));
    const V carry = _mm256_cmpgt_epi16(r, k.k999);
    const PairPart green = {Sub(Add(Sub(Add(q1, q2), Vv), k.k36), carry),
                            Sub(Add(k.k1001, _mm256_and_si256(carry, k.k1000)), r)};
    const PairPart* parts[3] = {&blue, &green, &red};

    V out[2][3], exact[2];
    for (int h = 0; h < 2; ++h) {
        const V Y = h ? Yo : Ye;
        const V x1 = Add(Mul(Y, k.k164), k.k377);  // 164 (Y - 16) + 3001, never 999 mod 1000
        const V f = Quot<9>(k, x1);
        const V R1 = Sub(x1, Mul(f, k.k1000));
        const V F1 = Add(Y, f);
        exact[h] = _mm256_cmpeq_epi16(R1, k.k1);
        for (int ch = 0; ch < 3; ++ch) {
            const PairPart& c = *parts[ch];
            out[h][ch] = Add(Add(F1, c.c1), _mm256_cmpgt_epi16(c.e1, R1));
            exact[h] = _mm256_or_si256(exact[h], _mm256_cmpeq_epi16(R1, c.e1));
        }
    }
    const V b = _mm256_packus_epi16(out[0][0], out[1][0]);
    const V g = _mm256_packus_epi16(out[0][1], out[1][1]);
    const V rr = _mm256_packus_epi16(out[0][2], out[1][2]);
    const V o0 = Pick(b, g, rr, 0), o1 = Pick(b, g, rr, 1), o2 = Pick(b, g, rr, 2);
    _mm256_storeu_si256(reinterpret_cast<V*>(dst), _mm256_permute2x128_si256(o0, o1, 0x20));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 32), _mm256_castsi256_si128(o2));
    _mm256_storeu_si256(reinterpret_cast<V*>(dst + 48), _mm256_permute2x128_si256(o0, o1, 0x31));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + 80), _mm256_extracti128_si256(o2, 1));
    *exactE = static_cast<uint32_t>(_mm256_movemask_epi8(exact[0])) & 0x55555555u;
    *exactO = static_cast<uint32_t>(_mm256_movemask_epi8(exact[1])) & 0x55555555u;
}

inline V Bytes16(const uint8_t* p) {
    return _mm256_cvtepu8_epi16(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)));
}

struct Words {
    static V At(const int16_t* p) { return Ld(p); }
};
struct Bytes {
    static V At(const uint8_t* p) { return Bytes16(p); }
};

// Pixels whose N is a multiple of 1000, recomputed from the formula after a run of blocks
// (away from the vector loop, whose branches they would upset): per block the mask bits of the
// even and odd halves, and which blocks have any.
struct ExactPixels {
    uint32_t pixels[64];  // per block, bit p for its pixel p (even pixels at even bits)
    uint64_t blocks = 0;
    void Note(int b, uint32_t even, uint32_t odd) {
        pixels[b] = even | (odd << 1);
        blocks |= static_cast<uint64_t>(pixels[b] != 0) << b;
    }
    // Block b of the run covers pairs i0 + 16 b; dst is the output of pair i0.
    template <typename T>
    void Fix(int i0, const T* ye, const T* yo, const T* u, const T* v, uint8_t* dst) {
        if (!blocks) return;
        const ColourTables& c = GetColourTables();
        const ByteTables& bt = GetByteTables();
        const T* const luma[2] = {ye, yo};
        for (; blocks; blocks &= blocks - 1) {
            const int b = __builtin_ctzll(blocks);
            for (uint32_t m = pixels[b]; m; m &= m - 1) {
                const int p = 32 * b + __builtin_ctz(m);  // pixel of the run
                const int k = i0 + p / 2;
                const int Y = luma[p & 1][k], U = u[k], Vv = v[k];
                // Blue and red by their byte tables, green in double as the formula has it.
                const double g = c.y[Y] - c.gu[U] - c.gv[Vv];
                uint8_t* out = dst + 3 * p;
                out[0] = bt.b[U][Y];
                out[1] =
                    static_cast<uint8_t>(g > 0.0 ? (g > 255.0 ? 255 : static_cast<int>(g)) : 0);
                out[2] = bt.r[Vv][Y];
            }
        }
    }
};

// The colour step over the whole blocks of 16 pairs within w pixels; returns the pairs done.
template <typename Load, typename T>
inline int ColourBlocks(const T* ye, const T* yo, const T* u, const T* v, int w, uint8_t* bgr) {
    const int pairs = w / 2 / 16 * 16;
    const ColourK k;
    ExactPixels exact;
    for (int i0 = 0; i0 < pairs; i0 += 64 * 16) {
        const int end = std::min(pairs, i0 + 64 * 16);
        for (int i = i0; i < end; i += 16) {
            uint32_t e, o;
            ColourBlock(k, Load::At(ye + i), Load::At(yo + i), Load::At(u + i), Load::At(v + i),
                        bgr + 6 * i, &e, &o);
            exact.Note((i - i0) / 16, e, o);
        }
        exact.Fix(i0, ye, yo, u, v, bgr + 6 * i0);
    }
    return pairs;
}

// Sharpening of a centre by d = 8 centre - the eight neighbours, cored: d - clamp(d, -t, t).
inline V Sharp(V centre, V d, V gain, V thr, V minusThr) {
    const V cored = Sub(d, _mm256_max_epi16(_mm256_min_epi16(d, thr), minusThr));
    return Add(centre, Mul(cored, gain));
}

}  // namespace

// ---- Fused kernels.

namespace {

// One chain of the look-up (see Lookup) over blocks of 32 bytes, its eight tables held in
// registers: the lower chain (high = false) stores its part, the upper one adds its own and
// stores the entries as 16-bit values in lane order.
template <bool kHigh>
void Chain(const uint8_t (*tables)[32], const uint8_t* in, uint8_t* part, int16_t* out, int n) {
    V t[8];
    for (int k = 0; k < 8; ++k) t[k] = Table(tables[k]);
    const V k16 = _mm256_set1_epi8(16), zero = _mm256_setzero_si256();
    for (int i = 0; i < n; i += 32) {
        V x = _mm256_loadu_si256(reinterpret_cast<const V*>(in + i));
        if (kHigh) x = _mm256_xor_si256(x, _mm256_set1_epi8(static_cast<char>(0x80)));
        V r = _mm256_shuffle_epi8(t[0], x);
        for (int k = 1; k < 8; ++k) {
            x = _mm256_subs_epi8(x, k16);
            r = _mm256_xor_si256(r, _mm256_shuffle_epi8(t[k], x));
            __asm__("" : "+x"(r));
        }
        if (!kHigh) {
            _mm256_storeu_si256(reinterpret_cast<V*>(part + i), r);
        } else {
            r = _mm256_xor_si256(r, _mm256_loadu_si256(reinterpret_cast<const V*>(part + i)));
            St(out + i, _mm256_unpacklo_epi8(r, zero));
            St(out + i + 16, _mm256_unpackhi_epi8(r, zero));
        }
    }
}

}  // namespace

int CorrectRow(const uint8_t* src, int pairs, const ByteLut& even, const ByteLut& odd,
               int16_t* evenOut, int16_t* oddOut, uint8_t* scratch) {
    const int n = pairs / 32 * 32;
    if (n == 0) return 0;
    // The halves' bytes, each block of 32 with its 128-bit lanes interleaved as packing leaves
    // them (the upper chain's unpacking restores the order), then each half's two chains.
    uint8_t* e = scratch;
    uint8_t* o = scratch + n;
    uint8_t* part = scratch + 2 * n;
    const V lowBytes = _mm256_set1_epi16(0x00FF);
    for (int i = 0; i < n; i += 32) {
        const V a = _mm256_loadu_si256(reinterpret_cast<const V*>(src + 2 * i));
        const V b = _mm256_loadu_si256(reinterpret_cast<const V*>(src + 2 * i + 32));
        _mm256_storeu_si256(
            reinterpret_cast<V*>(e + i),
            _mm256_packus_epi16(_mm256_and_si256(a, lowBytes), _mm256_and_si256(b, lowBytes)));
        _mm256_storeu_si256(reinterpret_cast<V*>(o + i),
                            _mm256_packus_epi16(_mm256_srli_epi16(a, 8), _mm256_srli_epi16(b, 8)));
    }
    Chain<false>(even.lo, e, part, nullptr, n);
    Chain<true>(even.hi, e, part, evenOut, n);
    Chain<false>(odd.lo, o, part, nullptr, n);
    Chain<true>(odd.hi, o, part, oddOut, n);
    return n;
}

void DemosaicYuv(const int16_t* const ep[5], const int16_t* const op[5], int rowParity, int n,
                 const FusedCoeffs& c, int16_t* ye, int16_t* yo, int16_t* u, int16_t* v) {
    // Byte pairs (blue, green) and (red, 0) of a lane times signed byte coefficients.
    const V yBG = BytePair(c.mYB, c.mYG), yR = BytePair(c.mYR, 0);
    const V uBG = BytePair(c.mUB, c.mUG), uR = BytePair(c.mUR, 0);
    const V vBG = BytePair(c.mVB, c.mVG), vR = BytePair(c.mVR, 0);
    const V rotU = Pair(c.cH, c.cI), rotV = Pair(c.cG, c.cF);
    const V hH = K(c.cH), hI = K(c.cI), hG = K(c.cG), hF = K(c.cF);
    const int rotation = c.rotation;
    const DemosaicK k;
    // Both halves of a row are addressed from its even half (the odd one lies a fixed distance
    // after it), which leaves registers for the vectors.
    const int16_t* const r0 = ep[0];
    const int16_t* const r1 = ep[1];
    const int16_t* const r2 = ep[2];
    const int16_t* const r3 = ep[3];
    const int16_t* const r4 = ep[4];
    const ptrdiff_t half = op[0] - ep[0];
    for (ptrdiff_t i = 0; i < n; i += 16) {
        // Row sums and the centre row at the pair offsets 0, 1, 2 of both halves.
        V ae[2][3], bd[2][3], cc[2][3];
        for (int h = 0; h < 2; ++h) {
            const ptrdiff_t j = h ? i + half : i;
            for (int k = 0; k < 3; ++k) {
                ae[h][k] = Add(Ld(r0 + j + k), Ld(r4 + j + k));
                bd[h][k] = Add(Ld(r1 + j + k), Ld(r3 + j + k));
                cc[h][k] = Ld(r2 + j + k);
            }
        }
        // Even x = 2i: x at E1, x -+ 2 at E0, E2, x -+ 1 at O0, O1.
        const Taps even = {cc[0][1], Add(cc[1][0], cc[1][1]), Add(cc[0][0], cc[0][2]),
                           ae[0][1], Add(ae[1][0], ae[1][1]), Add(ae[0][0], ae[0][2]),
                           bd[0][1], Add(bd[1][0], bd[1][1]), Add(bd[0][0], bd[0][2])};
        // Odd x = 2i + 1: x at O1, x -+ 1 at E1, E2, x -+ 2 at O0, O2.
        const Taps odd = {cc[1][1], Add(cc[0][1], cc[0][2]), Add(cc[1][0], cc[1][2]),
                          ae[1][1], Add(ae[0][1], ae[0][2]), Add(ae[1][0], ae[1][2]),
                          bd[1][1], Add(bd[0][1], bd[0][2]), Add(bd[1][0], bd[1][2])};
        V bgr[2][3];  // [half][blue, green, red], each 0..255
        if (rowParity == 0) {
            OwnSite(k, even, &bgr[0][0], &bgr[0][1], &bgr[0][2]);   // blue site
            GreenSite(k, odd, &bgr[1][1], &bgr[1][0], &bgr[1][2]);  // green on a blue row
        } else {
            GreenSite(k, even, &bgr[0][1], &bgr[0][2], &bgr[0][0]);  // green on a red row
            OwnSite(k, odd, &bgr[1][2], &bgr[1][1], &bgr[1][0]);     // red site
        }
        V cu[2], cv[2];
        for (int h = 0; h < 2; ++h) {
            const V bg = _mm256_or_si256(bgr[h][0], _mm256_slli_epi16(bgr[h][1], 8));
            const V r = bgr[h][2];
            St((h ? yo : ye) + i, Sat8(k, ByteDot(bg, r, yBG, yR)));
            cu[h] = ByteDot(bg, r, uBG, uR);
            cv[h] = ByteDot(bg, r, vBG, vR);
            if (rotation == 2) {
                const V u0 = cu[h];
                cu[h] = Dot32(u0, cv[h], rotU);
                cv[h] = Dot32(u0, cv[h], rotV);
            }
        }
        // The pair's sums; a rotation by multiples of 64 is exact on them.
        V su = Add(cu[0], cu[1]), sv = Add(cv[0], cv[1]);
        if (rotation == 1) {
            const V s0 = su;
            su = Add(Mul(s0, hH), Mul(sv, hI));
            sv = Add(Mul(sv, hF), Mul(s0, hG));
        }
        St(u + i, PairChroma(k, su));
        St(v + i, PairChroma(k, sv));
    }
}

void SharpenTone(const FusedCoeffs& c, const ByteLut* tone, const int16_t* const ye[3],
                 const int16_t* const yo[3], int n, int16_t* te, int16_t* to) {
    const V gain = K(c.gain), thr = K(c.threshold), minusThr = K(-c.threshold), k9 = C<9>();
    const V zero = _mm256_setzero_si256();
    const V shiftUp = _mm256_set1_epi8(static_cast<char>(c.toneShift > 0 ? c.toneShift : 0));
    const V shiftDown = _mm256_set1_epi8(static_cast<char>(c.toneShift < 0 ? -c.toneShift : 0));
    for (int i = 0; i < n; i += 16) {
        // Even x = 2i: centre ye[i], left yo[i], right yo[i + 1]; odd x = 2i + 1: centre
        // yo[i + 1], left ye[i], right ye[i + 1].
        V centreE = Ld(ye[1] + i), centreO = Ld(yo[1] + i + 1);
        if (c.gain != 0) {
            V colE0 = Ld(ye[0] + i), colE1 = Ld(ye[0] + i + 1);
            V colO0 = Ld(yo[0] + i), colO1 = Ld(yo[0] + i + 1);
            for (int r = 1; r < 3; ++r) {
                colE0 = Add(colE0, Ld(ye[r] + i));
                colE1 = Add(colE1, Ld(ye[r] + i + 1));
                colO0 = Add(colO0, Ld(yo[r] + i));
                colO1 = Add(colO1, Ld(yo[r] + i + 1));
            }
            // d = 8 centre - the eight neighbours = 9 centre - the 3 x 3 box.
            const V dE = Sub(Mul(centreE, k9), Add(Add(colO0, colE0), colO1));
            const V dO = Sub(Mul(centreO, k9), Add(Add(colE0, colO1), colE1));
            centreE = Sharp(centreE, dE, gain, thr, minusThr);
            centreO = Sharp(centreO, dO, gain, thr, minusThr);
        }
        V bytes = _mm256_packus_epi16(centreE, centreO);  // clamps; lanes [E0-7 O0-7 | E8-15 O8-15]
        if (c.tone == 1)
            bytes = c.toneShift >= 0 ? _mm256_adds_epu8(bytes, shiftUp)
                                     : _mm256_subs_epu8(bytes, shiftDown);
        else if (c.tone == 2)
            bytes = Lookup(*tone, bytes);
        St(te + i, _mm256_unpacklo_epi8(bytes, zero));
        St(to + i, _mm256_unpackhi_epi8(bytes, zero));
    }
}

int Colour16(const int16_t* ye, const int16_t* yo, const int16_t* u, const int16_t* v, int w,
             uint8_t* bgr) {
    return ColourBlocks<Words>(ye, yo, u, v, w, bgr);
}

// ---- The banded path's colour step: byte rows, the tail by the SSE2 kernel.

void Colour(const uint8_t* ye, const uint8_t* yo, const uint8_t* u, const uint8_t* v, int w,
            uint8_t* bgr) {
    const int i = ColourBlocks<Bytes>(ye, yo, u, v, w, bgr);
    if (2 * i < w) ColourPairs(ye + i, yo + i, u + i, v + i, w - 2 * i, bgr + 6 * i);
}

}  // namespace orvane::rawk::avx2
#pragma GCC pop_options
