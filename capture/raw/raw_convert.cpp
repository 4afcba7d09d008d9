// The banded conversion: each worker thread turns a band of rows into finished output rows,
// keeping only a few padded rows of corrected raw data and of luma/chroma in flight, so the
// output buffer is the only frame-sized allocation.
#include <algorithm>
#include <new>
#include <thread>
#include <vector>

#include "capture/raw/raw_kernels.h"
#include "capture/raw/raw_pars.h"

namespace orvane {

namespace {

using rawk::Kernels;
using rawk::Plan;

int Clamp(int v, int lo, int hi) {
    return v < lo ? lo : (v > hi ? hi : v);
}

// Mirror with the edge repeated: -1 -> 0, -2 -> 1, n -> n-1, n+1 -> n-2 (repeated for tiny n).
int MirrorRepeat(int i, int n) {
    while (i < 0 || i >= n) i = i < 0 ? -i - 1 : 2 * n - 1 - i;
    return i;
}

// Mirror without repeating the edge: -1 -> 1, n -> n-2; a single row or column mirrors to itself.
int MirrorNoRepeat(int i, int n) {
    if (n == 1) return 0;
    while (i < 0 || i >= n) i = i < 0 ? -i : 2 * n - 2 - i;
    return i;
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

// A small cache of rows keyed by their frame row, filled on demand.
struct RowCache {
    int slots = 0;
    int stride = 0;
    std::vector<int> tag;
    std::vector<uint8_t> data;
    bool Init(int n, int bytes) {
        slots = n;
        stride = bytes;
        tag.assign(n, -1);
        data.resize(static_cast<size_t>(n) * bytes);
        return true;
    }
    uint8_t* Slot(int i) { return data.data() + static_cast<size_t>(i) * stride; }
    int Find(int row) const {
        for (int i = 0; i < slots; ++i)
            if (tag[i] == row) return i;
        return -1;
    }
    // A slot for a new row, not one of the rows in keep.
    int Victim(const int* keep, int nkeep) const {
        int best = -1;
        for (int i = 0; i < slots; ++i) {
            bool kept = false;
            for (int k = 0; k < nkeep; ++k)
                if (tag[i] == keep[k]) kept = true;
            if (!kept) {
                best = i;
                if (tag[i] == -1) break;
            }
        }
        return best;
    }
};

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

bool g_force_plain = false;

}  // namespace

namespace rawk {
void ForcePlainKernels(bool on) {
    g_force_plain = on;
}
}  // namespace rawk

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
    Kernels kernels = rawk::SelectKernels(g_force_plain);

    int nthreads = threads_;
    if (nthreads == 0) nthreads = static_cast<int>(std::thread::hardware_concurrency());
    nthreads = std::clamp(nthreads, 1, 16);
    // Bands of at least 64 rows; every band re-demosaics three rows at its edges.
    nthreads = std::min(nthreads, std::max(1, h / 64));

    std::vector<BandWorker> workers;
    try {
        workers.reserve(nthreads);
        for (int i = 0; i < nthreads; ++i) {
            workers.emplace_back(*plan, kernels, raw, out.get());
            workers.back().colour_ = colorEnable != 0;
            if (!workers.back().Init()) return nullptr;
        }
    } catch (...) {
        return nullptr;
    }
    auto band = [&](int i, int* r0, int* r1) {
        *r0 = static_cast<int>(static_cast<int64_t>(h) * i / nthreads);
        *r1 = static_cast<int>(static_cast<int64_t>(h) * (i + 1) / nthreads);
    };
    std::vector<std::thread> threads;
    int started = 0;
    for (int i = 1; i < nthreads; ++i) {
        int r0, r1;
        band(i, &r0, &r1);
        try {
            threads.emplace_back([&workers, i, r0, r1] { workers[i].Run(r0, r1); });
            started = i;
        } catch (...) {
            break;  // not enough threads: the calling thread does the rest
        }
    }
    int r0, r1;
    band(0, &r0, &r1);
    workers[0].Run(r0, r1);
    if (started + 1 < nthreads) {  // bands whose thread could not start
        int a, unused;
        band(started + 1, &a, &unused);
        workers[0].Run(a, h);
    }
    for (auto& t : threads) t.join();
    return out;
}

}  // namespace orvane
