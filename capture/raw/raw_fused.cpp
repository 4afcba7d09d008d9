// The fused conversion's plan checks, tables and banded worker (the kernels are in
// raw_fused_avx2.cpp). Rows are kept as 16-bit halves: even and odd columns, which are the two
// colours of a Bayer row and the two pixels of a chroma pair.
#include "capture/raw/raw_fused.h"

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include "capture/raw/raw_bands.h"
#include "capture/raw/raw_colour.h"
#include "capture/raw/raw_vec_kernels.h"

namespace orvane::rawk {

void BuildByteLut(const uint8_t table[256], ByteLut* lut) {
    for (int k = 0; k < 8; ++k)
        for (int j = 0; j < 32; ++j) {
            const int e = j & 15;
            const int lo = 16 * k + e, hi = 128 + 16 * k + e;
            lut->lo[k][j] = static_cast<uint8_t>(table[lo] ^ (k ? table[lo - 16] : 0));
            lut->hi[k][j] = static_cast<uint8_t>(table[hi] ^ (k ? table[hi - 16] : 0));
        }
}

namespace {

bool Fits16(int v) {
    return v >= -32767 && v <= 32767;
}

// A matrix row (a x + b y + c z) >> 6 over bytes: true when the coefficients are signed bytes and
// every product and partial sum fits 16 bits; bound receives the largest magnitude of the result.
bool RowFits(int a, int b, int c, int* bound) {
    int pos = 0, neg = 0;
    for (int m : {a, b, c}) {
        if (m < -128 || m > 127) return false;
        (m > 0 ? pos : neg) += m;
    }
    if (255 * pos > 32767 || 255 * neg < -32768) return false;
    *bound = std::max(255 * pos, -255 * neg) / 64 + 1;
    return true;
}

// The demosaiced blue, green and red of pixel x of the centre row, from the rows' halves.
void DemosaicPixel(const int16_t* const ep[5], const int16_t* const op[5], int rowParity, int x,
                   int bgr[3]) {
    auto P = [&](int r, int dx) {
        const int j = x + dx;
        return static_cast<int>((j & 1) ? op[r][(j + 1) / 2] : ep[r][(j + 2) / 2]);
    };
    const int own = 36 * P(2, 0) + 6 * (P(0, 0) + P(4, 0) + P(2, -2) + P(2, 2)) +
                    (P(0, -2) + P(0, 2) + P(4, -2) + P(4, 2));
    const int cross =
        14 * (P(1, 0) + P(3, 0) + P(2, -1) + P(2, 1)) +
        (P(0, -1) + P(0, 1) + P(4, -1) + P(4, 1) + P(1, -2) + P(1, 2) + P(3, -2) + P(3, 2));
    const int diag = 16 * (P(1, -1) + P(1, 1) + P(3, -1) + P(3, 1));
    const int green = 24 * P(2, 0) + 8 * (P(1, -1) + P(1, 1) + P(3, -1) + P(3, 1)) +
                      2 * (P(0, 0) + P(4, 0) + P(2, -2) + P(2, 2));
    const int horizontal =
        24 * (P(2, -1) + P(2, 1)) + 4 * (P(0, -1) + P(0, 1) + P(4, -1) + P(4, 1));
    const int vertical = 24 * (P(1, 0) + P(3, 0)) + 4 * (P(1, -2) + P(1, 2) + P(3, -2) + P(3, 2));
    const bool odd = (x & 1) != 0;
    int b, g, r;
    if (rowParity == 0)
        odd ? (g = green, b = horizontal, r = vertical) : (b = own, g = cross, r = diag);
    else
        odd ? (r = own, g = cross, b = diag) : (g = green, r = horizontal, b = vertical);
    bgr[0] = b >> 6;  // the weights sum to 64: no clamp needed
    bgr[1] = g >> 6;
    bgr[2] = r >> 6;
}

int Sat(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

class FusedWorker {
  public:
    FusedWorker(const Plan& p, const FusedCoeffs& c, const ByteLut* luts, const uint8_t* raw,
                uint8_t* out)
        : p_(p), c_(c), luts_(luts), raw_(raw), out_(out) {}

    bool Init() {
        n_ = (p_.w + 1) / 2;
        half_ = (n_ + 48 + 15) / 16 * 16;  // reads reach 2 + 15 pairs past n, writes 15
        const int bytes = static_cast<int>(half_ * sizeof(int16_t));
        raw_cache_.Init(5, 2 * bytes);
        luma_cache_.Init(3, 4 * bytes);
        tone_.assign(2 * static_cast<size_t>(half_), 0);
        scratch_.assign(3 * static_cast<size_t>(n_) + 64, 0);
        grey_.assign(half_, 128);
        std::fill(raw_cache_.data.begin(), raw_cache_.data.end(), 0);
        std::fill(luma_cache_.data.begin(), luma_cache_.data.end(), 0);
        return true;
    }

    void Run(int r0, int r1) {
        const int w = p_.w;
        const ByteLut* tone = &luts_[4];
        int16_t* te = tone_.data();
        int16_t* to = te + half_;
        for (int r = r0; r < r1; ++r) {
            int rows[3] = {MirrorNoRepeat(r - 1, p_.h), r, MirrorNoRepeat(r + 1, p_.h)};
            const int16_t* ye[3];
            const int16_t* yo[3];
            for (int i = 0; i < 3; ++i) {
                int16_t* slot = Luma(rows[i], rows);
                ye[i] = slot;
                yo[i] = slot + half_;
            }
            avx2::SharpenTone(c_, tone, ye, yo, n_, te, to);
            const int16_t* u = ye[1] + 2 * half_;
            const int16_t* v = ye[1] + 3 * half_;
            if (p_.mode == 1 || p_.mode == 3) u = grey_.data();
            if (p_.mode == 1 || p_.mode == 2) v = grey_.data();
            uint8_t* dst = out_ + static_cast<size_t>(p_.h - 1 - r) * w * 3;
            const int done = avx2::Colour16(te, to, u, v, w, dst);
            if (2 * done < w)
                ColourTail(te + done, to + done, u + done, v + done, w - 2 * done, dst + 6 * done);
        }
    }

  private:
    // Corrected raw row in halves with two mirrored pixels of border: e[k] = p[2k - 2],
    // o[k] = p[2k - 1].
    void Raw(int row, const int* keep, const int16_t** ep, const int16_t** op) {
        int s = raw_cache_.Find(row);
        if (s < 0) {
            s = raw_cache_.Victim(keep, 5);
            raw_cache_.tag[s] = row;
            int16_t* e = Slot(raw_cache_, s);
            int16_t* o = e + half_;
            const int w = p_.w;
            const uint8_t* src = raw_ + static_cast<size_t>(row) * w;
            const int pairs = w / 2;
            const int done =
                avx2::CorrectRow(src, pairs, luts_[2 * (row & 1)], luts_[2 * (row & 1) + 1], e + 1,
                                 o + 1, scratch_.data());
            const uint8_t* l0 = p_.lut[row & 1][0];
            const uint8_t* l1 = p_.lut[row & 1][1];
            for (int i = done; i < pairs; ++i) {
                e[i + 1] = l0[src[2 * i]];
                o[i + 1] = l1[src[2 * i + 1]];
            }
            if (w & 1) e[pairs + 1] = l0[src[w - 1]];
            auto at = [&](int j) -> int16_t& { return (j & 1) ? o[(j + 1) / 2] : e[(j + 2) / 2]; };
            for (int j : {-2, -1, w, w + 1}) at(j) = at(MirrorRepeat(j, w));
        }
        *ep = Slot(raw_cache_, s);
        *op = *ep + half_;
    }

    // Luma row in halves with one mirrored pixel of border, ye[k] = q[2k], yo[k] = q[2k - 1],
    // then the pair chroma U and V.
    int16_t* Luma(int row, const int* keep) {
        int s = luma_cache_.Find(row);
        if (s >= 0) return Slot(luma_cache_, s);
        s = luma_cache_.Victim(keep, 3);
        luma_cache_.tag[s] = row;
        int16_t* ye = Slot(luma_cache_, s);
        int16_t* yo = ye + half_;
        int16_t* u = ye + 2 * half_;
        int16_t* v = ye + 3 * half_;
        int idx[5];
        for (int i = 0; i < 5; ++i) idx[i] = MirrorRepeat(row - 2 + i, p_.h);
        const int16_t* ep[5];
        const int16_t* op[5];
        for (int i = 0; i < 5; ++i) Raw(idx[i], idx, &ep[i], &op[i]);
        avx2::DemosaicYuv(ep, op, row & 1, n_, c_, ye, yo + 1, u, v);
        const int w = p_.w;
        if (w & 1) LastPixelAlone(ep, op, row & 1, u + n_ - 1, v + n_ - 1);
        auto at = [&](int j) -> int16_t& { return (j & 1) ? yo[(j + 1) / 2] : ye[j / 2]; };
        for (int j : {-1, w}) at(j) = at(MirrorNoRepeat(j, w));
        return ye;
    }

    // Odd width: the last pixel is its own chroma pair.
    void LastPixelAlone(const int16_t* const ep[5], const int16_t* const op[5], int rowParity,
                        int16_t* u, int16_t* v) {
        int bgr[3];
        DemosaicPixel(ep, op, rowParity, p_.w - 1, bgr);
        const int b = bgr[0], g = bgr[1], r = bgr[2];
        int cu = (p_.mUR * r + p_.mUG * g + p_.mUB * b) >> 6;
        int cv = (p_.mVR * r + p_.mVG * g + p_.mVB * b) >> 6;
        if (p_.rotate) {
            const int ru = (p_.cH * cu + p_.cI * cv) >> 6;
            const int rv = (p_.cF * cv + p_.cG * cu) >> 6;
            cu = ru;
            cv = rv;
        }
        *u = static_cast<int16_t>(Sat((cu + cu) / 2 + 128));
        *v = static_cast<int16_t>(Sat((cv + cv) / 2 + 128));
    }

    // The last pairs of a row, fewer than a block, through the banded path's exact kernel.
    static void ColourTail(const int16_t* ye, const int16_t* yo, const int16_t* u, const int16_t* v,
                           int w, uint8_t* bgr) {
        uint8_t b[4][16];
        const int pairs = (w + 1) / 2;
        for (int i = 0; i < pairs; ++i) {
            b[0][i] = static_cast<uint8_t>(ye[i]);
            b[1][i] = static_cast<uint8_t>(yo[i]);
            b[2][i] = static_cast<uint8_t>(u[i]);
            b[3][i] = static_cast<uint8_t>(v[i]);
        }
        ColourPairs(b[0], b[1], b[2], b[3], w, bgr);
    }

    int16_t* Slot(RowCache& cache, int s) { return reinterpret_cast<int16_t*>(cache.Slot(s)); }

    const Plan& p_;
    const FusedCoeffs& c_;
    const ByteLut* luts_;  // raw row parity 0 even, odd; parity 1 even, odd; tone
    const uint8_t* raw_;
    uint8_t* out_;
    int n_ = 0;
    int half_ = 0;
    RowCache raw_cache_;
    RowCache luma_cache_;
    std::vector<int16_t> tone_;
    std::vector<int16_t> grey_;
    std::vector<uint8_t> scratch_;  // the raw correction's byte halves
};

}  // namespace

bool FusedCoeffsFor(const Plan& p, FusedCoeffs* c) {
    if (p.w < 32) return false;
    int by = 0, bu = 0, bv = 0;
    if (!RowFits(p.mYB, p.mYG, p.mYR, &by) || !RowFits(p.mUR, p.mUG, p.mUB, &bu) ||
        !RowFits(p.mVR, p.mVG, p.mVB, &bv)) {
        return false;
    }
    int rotation = 0;
    int cH = p.cH, cI = p.cI, cG = p.cG, cF = p.cF;
    if (p.rotate) {
        for (int k : {cH, cI, cG, cF})
            if (!Fits16(k)) return false;
        // The rotated values of a pair and their sum stay within 16 bits.
        const int64_t ru = (int64_t{std::abs(cH)} * bu + int64_t{std::abs(cI)} * bv) / 64 + 1;
        const int64_t rv = (int64_t{std::abs(cF)} * bv + int64_t{std::abs(cG)} * bu) / 64 + 1;
        if (ru > 16000 || rv > 16000) return false;
        rotation = 2;
        if (cH % 64 == 0 && cI % 64 == 0 && cG % 64 == 0 && cF % 64 == 0) {
            rotation = 1;
            cH /= 64, cI /= 64, cG /= 64, cF /= 64;
        }
    }
    const int gain = p.sharpen ? p.sharpGain : 0;
    if (gain < -15 || gain > 15) return false;
    // A tone curve that only shifts (the camera's identity curve with a brightness) is a
    // saturating add instead of a table.
    int tone = p.tone ? 2 : 0;
    const int shift = p.toneTable[128] - 128;
    if (tone) {
        bool shifts = true;
        for (int s = 0; s < 256; ++s)
            if (p.toneTable[s] != Sat(s + shift)) shifts = false;
        if (shifts) tone = 1;
    }
    *c = {static_cast<int16_t>(p.mYB),
          static_cast<int16_t>(p.mYG),
          static_cast<int16_t>(p.mYR),
          static_cast<int16_t>(p.mUR),
          static_cast<int16_t>(p.mUG),
          static_cast<int16_t>(p.mUB),
          static_cast<int16_t>(p.mVR),
          static_cast<int16_t>(p.mVG),
          static_cast<int16_t>(p.mVB),
          rotation,
          static_cast<int16_t>(cH),
          static_cast<int16_t>(cI),
          static_cast<int16_t>(cG),
          static_cast<int16_t>(cF),
          static_cast<int16_t>(gain),
          static_cast<int16_t>(p.threshold),
          tone,
          static_cast<int16_t>(shift)};
    return true;
}

bool RunFused(const Plan& p, const FusedCoeffs& c, int nthreads, const uint8_t* raw, uint8_t* out) {
    std::unique_ptr<ByteLut[]> luts(new (std::nothrow) ByteLut[5]);
    if (!luts) return false;
    for (int rp = 0; rp < 2; ++rp)
        for (int cp = 0; cp < 2; ++cp) BuildByteLut(p.lut[rp][cp], &luts[2 * rp + cp]);
    BuildByteLut(p.toneTable, &luts[4]);
    return RunBands<FusedWorker>(nthreads, p.h,
                                 [&] { return FusedWorker(p, c, luts.get(), raw, out); });
}

}  // namespace orvane::rawk
