// The banded conversion: each worker thread turns a band of rows into finished output rows,
// keeping only a few padded rows of corrected raw data and of luma/chroma in flight, so the
// output buffer is the only frame-sized allocation.
#include <algorithm>
#include <new>
#include <thread>
#include <vector>

#include "capture/raw/raw_bands.h"
#include "capture/raw/raw_fused.h"
#include "capture/raw/raw_kernels.h"
#include "capture/raw/raw_pars.h"
#include "capture/raw/raw_vec_kernels.h"

namespace orvane {

namespace {

using rawk::Kernels;
using rawk::MirrorNoRepeat;
using rawk::MirrorRepeat;
using rawk::Plan;
using rawk::RowCache;
using rawk::RunBands;

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

void BuildPlan(CRawPars& pars, int w, int h, Plan* p) {
    p->w = w;
    p->h = h;
    const int gains[2][2] = {{pars.gB, pars.gG}, {pars.gG, pars.gR}};
    const int offsets[2][2] = {{pars.oB, pars.oG}, {pars.oG, pars.oR}};
    for (int rp = 0; rp < 2; ++rp) {
        for (int cp = 0; cp < 2; ++cp) {
            int d = Clamp(offsets[rp][cp] - 64, -128, 127);
            int k = Clamp(gains[rp][cp], 0, 255) + 128;
            for (int v = 0; v < 256; ++v) {
                int u = Clamp(v + d, 0, 255) * k;
                int out = Clamp(u >> 8, 0, 255);
                if (pars.gammaEnable) out = pars.gammaTable[out];
                p->lut[rp][cp][v] = static_cast<uint8_t>(out);
            }
        }
    }
    p->mYB = pars.mYB;
    p->mYG = pars.mYG;
    p->mYR = pars.mYR;
    p->mUR = pars.mUR;
    p->mUG = pars.mUG;
    p->mUB = pars.mUB;
    p->mVR = pars.mVR;
    p->mVG = pars.mVG;
    p->mVB = pars.mVB;
    p->rotate = pars.chromaRotEnable != 0;
    p->cH = pars.cH;
    p->cI = pars.cI;
    p->cG = pars.cG;
    p->cF = pars.cF;
    p->sharpen = pars.sharpEnable != 0;
    p->sharpGain = pars.ss / 32;
    p->threshold = pars.st;
    p->tone = pars.toneEnable != 0;
    std::copy(pars.toneTable, pars.toneTable + 256, p->toneTable);
    p->mode = EffectiveChromaMode(pars);
}

class BandWorker {
  public:
    BandWorker(const Plan& p, const Kernels& k, const uint8_t* raw, uint8_t* out)
        : p_(p), k_(k), raw_(raw), out_(out) {}

    bool Init() {
        int w = p_.w;
        int cw = (w + 1) / 2;
        try {
            raw_cache_.Init(5, w + 4);
            luma_cache_.Init(3, (w + 2) + 2 * cw);
            bgr_.resize(static_cast<size_t>(w) * 3);
            final_y_.resize(w);
        } catch (...) {
            return false;
        }
        return true;
    }

    void Run(int r0, int r1) {
        for (int r = r0; r < r1; ++r) {
            if (!colour_) {
                Demosaic(r, out_ + static_cast<size_t>(r) * p_.w * 3);
                continue;
            }
            int above = MirrorNoRepeat(r - 1, p_.h);
            int below = MirrorNoRepeat(r + 1, p_.h);
            int keep[3] = {above, r, below};
            const uint8_t* ya = Luma(above, keep);
            const uint8_t* yc = Luma(r, keep);
            const uint8_t* yb = Luma(below, keep);
            k_.sharpen(p_, ya + 1, yc + 1, yb + 1, p_.w, final_y_.data());
            const uint8_t* u = yc + p_.w + 2;
            const uint8_t* v = u + (p_.w + 1) / 2;
            uint8_t* dst = out_ + static_cast<size_t>(p_.h - 1 - r) * p_.w * 3;
            k_.colour(final_y_.data(), u, v, p_.w, p_.mode, dst);
        }
    }

    bool colour_ = true;

  private:
    // Corrected raw row with two mirrored pixels of border on both sides.
    const uint8_t* Raw(int row, const int* keep, int nkeep) {
        int s = raw_cache_.Find(row);
        if (s >= 0) return raw_cache_.Slot(s) + 2;
        s = raw_cache_.Victim(keep, nkeep);
        raw_cache_.tag[s] = row;
        uint8_t* dst = raw_cache_.Slot(s) + 2;
        const uint8_t* src = raw_ + static_cast<size_t>(row) * p_.w;
        const uint8_t* l0 = p_.lut[row & 1][0];
        const uint8_t* l1 = p_.lut[row & 1][1];
        int w = p_.w;
        int x = 0;
        for (; x + 1 < w; x += 2) {
            dst[x] = l0[src[x]];
            dst[x + 1] = l1[src[x + 1]];
        }
        if (x < w) dst[x] = l0[src[x]];
        for (int b = 1; b <= 2; ++b) {
            dst[-b] = dst[MirrorRepeat(-b, w)];
            dst[w - 1 + b] = dst[MirrorRepeat(w - 1 + b, w)];
        }
        return dst;
    }

    void Demosaic(int r, uint8_t* bgr) {
        int idx[5];
        for (int i = 0; i < 5; ++i) idx[i] = MirrorRepeat(r - 2 + i, p_.h);
        const uint8_t* rows[5];
        for (int i = 0; i < 5; ++i) rows[i] = Raw(idx[i], idx, 5);
        k_.demosaic(rows, p_.w, r & 1, bgr);
    }

    // Luma row (one mirrored pixel of border) followed by the row's pair chroma U then V.
    const uint8_t* Luma(int row, const int* keep) {
        int s = luma_cache_.Find(row);
        if (s >= 0) return luma_cache_.Slot(s);
        s = luma_cache_.Victim(keep, 3);
        luma_cache_.tag[s] = row;
        uint8_t* slot = luma_cache_.Slot(s);
        Demosaic(row, bgr_.data());
        int w = p_.w;
        uint8_t* y = slot + 1;
        uint8_t* u = slot + w + 2;
        uint8_t* v = u + (w + 1) / 2;
        k_.lumaChroma(p_, bgr_.data(), w, y, u, v);
        y[-1] = y[MirrorNoRepeat(-1, w)];
        y[w] = y[MirrorNoRepeat(w, w)];
        return slot;
    }

    const Plan& p_;
    const Kernels& k_;
    const uint8_t* raw_;
    uint8_t* out_;
    RowCache raw_cache_;
    RowCache luma_cache_;
    std::vector<uint8_t> bgr_;
    std::vector<uint8_t> final_y_;
};

// The vector path: rows are kept split into even and odd columns from the raw correction on,
// which is also the pairing of the chroma step.
class VecBandWorker {
  public:
    VecBandWorker(const Plan& p, const rawk::VecKernels& k, const rawk::VecCoeffs& c,
                  const uint8_t* raw, uint8_t* out)
        : p_(p), k_(k), c_(c), raw_(raw), out_(out) {}

    bool Init() {
        n_ = (p_.w + 1) / 2;
        half_ = n_ + 4 + rawk::kVecSlack;
        try {
            raw_cache_.Init(5, 2 * half_);
            luma_cache_.Init(3, 4 * half_);
            demosaic_.assign(6 * static_cast<size_t>(half_), 0);
            final_.assign(2 * static_cast<size_t>(half_), 0);
            grey_.assign(half_, 128);
        } catch (...) {
            return false;
        }
        std::fill(raw_cache_.data.begin(), raw_cache_.data.end(), 0);
        std::fill(luma_cache_.data.begin(), luma_cache_.data.end(), 0);
        return true;
    }

    void Run(int r0, int r1) {
        const int w = p_.w;
        for (int r = r0; r < r1; ++r) {
            if (!colour_) {
                uint8_t* even[3];
                uint8_t* odd[3];
                Demosaic(r, even, odd);
                uint8_t* dst = out_ + static_cast<size_t>(r) * w * 3;
                for (int x = 0; x < w; ++x) {
                    uint8_t* const* h = (x & 1) ? odd : even;
                    for (int ch = 0; ch < 3; ++ch) dst[3 * x + ch] = h[ch][x >> 1];
                }
                continue;
            }
            int rows[3] = {MirrorNoRepeat(r - 1, p_.h), r, MirrorNoRepeat(r + 1, p_.h)};
            const uint8_t* ye[3];
            const uint8_t* yo[3];
            for (int i = 0; i < 3; ++i) {
                uint8_t* slot = Luma(rows[i], rows);
                ye[i] = slot;
                yo[i] = slot + half_;
            }
            uint8_t* outE = final_.data();
            uint8_t* outO = outE + half_;
            k_.sharpen(c_, ye, yo, n_, outE, outO);
            const uint8_t* u = ye[1] + 2 * half_;
            const uint8_t* v = ye[1] + 3 * half_;
            if (p_.mode == 1 || p_.mode == 3) u = grey_.data();
            if (p_.mode == 1 || p_.mode == 2) v = grey_.data();
            uint8_t* dst = out_ + static_cast<size_t>(p_.h - 1 - r) * w * 3;
            if (p_.tone) {  // the tone curve before the colour step, on both halves at once
                const uint8_t* tone = p_.toneTable;
                for (int i = 0, n = 2 * half_; i < n; ++i) outE[i] = tone[outE[i]];
            }
            k_.colour(outE, outO, u, v, w, dst);
        }
    }

    bool colour_ = true;

  private:
    // Corrected raw row split in halves with two pixels of border: ep[k] = p[2k-2], op[k] =
    // p[2k-1].
    void Raw(int row, const int* keep, const uint8_t** ep, const uint8_t** op) {
        int s = raw_cache_.Find(row);
        if (s < 0) {
            s = raw_cache_.Victim(keep, 5);
            raw_cache_.tag[s] = row;
            uint8_t* e = raw_cache_.Slot(s);
            uint8_t* o = e + half_;
            const int w = p_.w;
            const uint8_t* src = raw_ + static_cast<size_t>(row) * w;
            const uint8_t* l0 = p_.lut[row & 1][0];
            const uint8_t* l1 = p_.lut[row & 1][1];
            const int pairs = w / 2;
            uint8_t* ed = e + 1;
            uint8_t* od = o + 1;
            for (int i = 0; i < pairs; ++i) {
                uint8_t a = l0[src[2 * i]], b = l1[src[2 * i + 1]];
                ed[i] = a;
                od[i] = b;
            }
            if (w & 1) ed[pairs] = l0[src[w - 1]];
            auto at = [&](int j) -> uint8_t& { return (j & 1) ? o[(j + 1) / 2] : e[(j + 2) / 2]; };
            for (int j : {-2, -1, w, w + 1}) at(j) = at(MirrorRepeat(j, w));
        }
        *ep = raw_cache_.Slot(s);
        *op = *ep + half_;
    }

    void Demosaic(int r, uint8_t* even[3], uint8_t* odd[3]) {
        int idx[5];
        for (int i = 0; i < 5; ++i) idx[i] = MirrorRepeat(r - 2 + i, p_.h);
        const uint8_t* ep[5];
        const uint8_t* op[5];
        for (int i = 0; i < 5; ++i) Raw(idx[i], idx, &ep[i], &op[i]);
        for (int ch = 0; ch < 3; ++ch) {
            even[ch] = demosaic_.data() + ch * static_cast<size_t>(half_);
            odd[ch] = demosaic_.data() + (3 + ch) * static_cast<size_t>(half_);
        }
        k_.demosaic(ep, op, r & 1, n_, even, odd);
    }

    // Slot layout: luma even half ye[k] = q[2k], odd half yo[k] = q[2k-1] (q: row with one
    // mirrored pixel of border), then the pair chroma U and V.
    uint8_t* Luma(int row, const int* keep) {
        int s = luma_cache_.Find(row);
        if (s >= 0) return luma_cache_.Slot(s);
        s = luma_cache_.Victim(keep, 3);
        luma_cache_.tag[s] = row;
        uint8_t* ye = luma_cache_.Slot(s);
        uint8_t* yo = ye + half_;
        uint8_t* even[3];
        uint8_t* odd[3];
        Demosaic(row, even, odd);
        const int w = p_.w;
        if (w & 1)  // odd width: the last pixel is its own pair
            for (int ch = 0; ch < 3; ++ch) odd[ch][n_ - 1] = even[ch][n_ - 1];
        k_.lumaChroma(c_, even, odd, n_, ye, yo + 1, ye + 2 * half_, ye + 3 * half_);
        auto at = [&](int j) -> uint8_t& { return (j & 1) ? yo[(j + 1) / 2] : ye[j / 2]; };
        for (int j : {-1, w}) at(j) = at(MirrorNoRepeat(j, w));
        return ye;
    }

    const Plan& p_;
    const rawk::VecKernels& k_;
    const rawk::VecCoeffs& c_;
    const uint8_t* raw_;
    uint8_t* out_;
    int n_ = 0;
    int half_ = 0;
    RowCache raw_cache_;
    RowCache luma_cache_;
    std::vector<uint8_t> demosaic_;
    std::vector<uint8_t> final_;
    std::vector<uint8_t> grey_;
};

bool Fits16(int v) {
    return v >= -32767 && v <= 32767;
}

// The vector kernels' arithmetic is exact for these parameter ranges (all register values
// are far inside them); anything else takes the plain path.
bool VecCoeffsFor(const Plan& p, rawk::VecCoeffs* c) {
    auto abs = [](int v) { return v < 0 ? -v : v; };
    const int m[9] = {p.mYB, p.mYG, p.mYR, p.mUR, p.mUG, p.mUB, p.mVR, p.mVG, p.mVB};
    for (int v : m)
        if (!Fits16(v)) return false;
    if (int64_t{abs(p.mUR)} + abs(p.mUG) + abs(p.mUB) > 8224) return false;
    if (int64_t{abs(p.mVR)} + abs(p.mVG) + abs(p.mVB) > 8224) return false;
    int cH = p.rotate ? p.cH : 64, cI = p.rotate ? p.cI : 0;
    int cG = p.rotate ? p.cG : 0, cF = p.rotate ? p.cF : 64;
    if (!Fits16(cH) || !Fits16(cI) || !Fits16(cG) || !Fits16(cF)) return false;
    int gain = p.sharpen ? p.sharpGain : 0;
    if (gain < -15 || gain > 15) return false;
    *c = {static_cast<int16_t>(p.mYB),      static_cast<int16_t>(p.mYG),
          static_cast<int16_t>(p.mYR),      static_cast<int16_t>(p.mUR),
          static_cast<int16_t>(p.mUG),      static_cast<int16_t>(p.mUB),
          static_cast<int16_t>(p.mVR),      static_cast<int16_t>(p.mVG),
          static_cast<int16_t>(p.mVB),      static_cast<int16_t>(cH),
          static_cast<int16_t>(cI),         static_cast<int16_t>(cG),
          static_cast<int16_t>(cF),         static_cast<int16_t>(gain),
          static_cast<int16_t>(p.threshold)};
    return true;
}

}  // namespace

std::unique_ptr<uint8_t[]> CRawPars::Process(int w, int h, const uint8_t* raw, size_t rawLen) {
    if (raw == nullptr || w <= 0 || h <= 0) return nullptr;
    int64_t pixels = static_cast<int64_t>(w) * h;
    if (pixels > kMaxRawPixels || static_cast<uint64_t>(pixels) > rawLen) return nullptr;
    if (w > (1 << 20) || h > (1 << 20)) return nullptr;
    width = w;
    height = h;
    std::unique_ptr<uint8_t[]> out(new (std::nothrow) uint8_t[static_cast<size_t>(pixels) * 3]);
    if (!out) return nullptr;

    BuildGammaTable();
    BuildToneTable();
    std::unique_ptr<Plan> plan(new (std::nothrow) Plan);
    if (!plan) return nullptr;
    BuildPlan(*this, w, h, plan.get());
    Kernels kernels = rawk::SelectKernels();

    int nthreads = threads_;
    if (nthreads == 0) nthreads = static_cast<int>(std::thread::hardware_concurrency());
    nthreads = std::clamp(nthreads, 1, 16);
    // Bands of at least 64 rows; every band re-demosaics three rows at its edges.
    nthreads = std::min(nthreads, std::max(1, h / 64));

    const rawk::VecKernels* vk = rawk::SelectVecKernels();
    rawk::VecCoeffs coeffs{};
    bool ok;
    rawk::FusedCoeffs fused{};
    if (vk != nullptr && vk->avx2 && colorEnable != 0 && rawk::FusedCoeffsFor(*plan, &fused)) {
        ok = rawk::RunFused(*plan, fused, nthreads, raw, out.get());
    } else if (vk != nullptr && VecCoeffsFor(*plan, &coeffs)) {
        ok = RunBands<VecBandWorker>(nthreads, h, [&] {
            VecBandWorker wk(*plan, *vk, coeffs, raw, out.get());
            wk.colour_ = colorEnable != 0;
            return wk;
        });
    } else {
        ok = RunBands<BandWorker>(nthreads, h, [&] {
            BandWorker wk(*plan, kernels, raw, out.get());
            wk.colour_ = colorEnable != 0;
            return wk;
        });
    }
    if (!ok) return nullptr;
    return out;
}

bool rawk::FusedPathCovers(CRawPars& pars, int w, int h) {
    const VecKernels* vk = SelectVecKernels();
    if (vk == nullptr || !vk->avx2 || pars.colorEnable == 0 || w <= 0 || h <= 0) return false;
    pars.BuildGammaTable();
    pars.BuildToneTable();
    std::unique_ptr<Plan> plan(new (std::nothrow) Plan);
    if (!plan) return false;
    BuildPlan(pars, w, h, plan.get());
    FusedCoeffs c;
    return FusedCoeffsFor(*plan, &c);
}

}  // namespace orvane
