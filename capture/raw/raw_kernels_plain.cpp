// Plain row kernels: the reference for the SIMD ones and the path for small or odd frames.
#include "capture/raw/raw_kernels.h"

namespace orvane::rawk {

namespace {

inline uint8_t Sat(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : (v > 255 ? 255 : v));
}

// The 5x5 kernels; a = rows[0] (row -2) ... e = rows[4] (row +2), x is the centre column.
inline int Own(const uint8_t* a, const uint8_t* c, const uint8_t* e, int x) {
    return 36 * c[x] + 6 * (a[x] + e[x] + c[x - 2] + c[x + 2]) +
           (a[x - 2] + a[x + 2] + e[x - 2] + e[x + 2]);
}
inline int Cross(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                 const uint8_t* e, int x) {
    return 14 * (b[x] + d[x] + c[x - 1] + c[x + 1]) +
           (a[x - 1] + a[x + 1] + e[x - 1] + e[x + 1] + b[x - 2] + b[x + 2] + d[x - 2] + d[x + 2]);
}
inline int Diag(const uint8_t* b, const uint8_t* d, int x) {
    return 16 * (b[x - 1] + b[x + 1] + d[x - 1] + d[x + 1]);
}
inline int Green(const uint8_t* a, const uint8_t* b, const uint8_t* c, const uint8_t* d,
                 const uint8_t* e, int x) {
    return 24 * c[x] + 8 * (b[x - 1] + b[x + 1] + d[x - 1] + d[x + 1]) +
           2 * (a[x] + e[x] + c[x - 2] + c[x + 2]);
}
// Neighbours left and right in the centre row, plus (+-2, +-1).
inline int Horizontal(const uint8_t* a, const uint8_t* c, const uint8_t* e, int x) {
    return 24 * (c[x - 1] + c[x + 1]) + 4 * (a[x - 1] + a[x + 1] + e[x - 1] + e[x + 1]);
}
// Neighbours above and below, plus (+-1, +-2).
inline int Vertical(const uint8_t* b, const uint8_t* d, int x) {
    return 24 * (b[x] + d[x]) + 4 * (b[x - 2] + b[x + 2] + d[x - 2] + d[x + 2]);
}

}  // namespace

void DemosaicRowPlain(const uint8_t* const rows[5], int w, int rowParity, uint8_t* bgr) {
    const uint8_t* a = rows[0];
    const uint8_t* b = rows[1];
    const uint8_t* c = rows[2];
    const uint8_t* d = rows[3];
    const uint8_t* e = rows[4];
    for (int x = 0; x < w; ++x) {
        int blue, green, red;
        bool oddCol = (x & 1) != 0;
        if (rowParity == 0) {
            if (!oddCol) {  // blue site
                blue = Own(a, c, e, x);
                green = Cross(a, b, c, d, e, x);
                red = Diag(b, d, x);
            } else {  // green on a blue row
                green = Green(a, b, c, d, e, x);
                blue = Horizontal(a, c, e, x);
                red = Vertical(b, d, x);
            }
        } else {
            if (!oddCol) {  // green on a red row
                green = Green(a, b, c, d, e, x);
                blue = Vertical(b, d, x);
                red = Horizontal(a, c, e, x);
            } else {  // red site
                red = Own(a, c, e, x);
                green = Cross(a, b, c, d, e, x);
                blue = Diag(b, d, x);
            }
        }
        bgr[3 * x] = Sat(blue >> 6);
        bgr[3 * x + 1] = Sat(green >> 6);
        bgr[3 * x + 2] = Sat(red >> 6);
    }
}

namespace {

inline void Chroma(const Plan& p, int b, int g, int r, int* u, int* v) {
    int cu = (p.mUR * r + p.mUG * g + p.mUB * b) >> 6;
    int cv = (p.mVR * r + p.mVG * g + p.mVB * b) >> 6;
    if (p.rotate) {
        int ru = (p.cH * cu + p.cI * cv) >> 6;
        int rv = (p.cF * cv + p.cG * cu) >> 6;
        cu = ru;
        cv = rv;
    }
    *u = cu;
    *v = cv;
}

inline uint8_t Luma(const Plan& p, int b, int g, int r) {
    return Sat((p.mYB * b + p.mYG * g + p.mYR * r) >> 6);
}

}  // namespace

void LumaChromaRowPlain(const Plan& p, const uint8_t* bgr, int w, uint8_t* y, uint8_t* u,
                        uint8_t* v) {
    int x = 0;
    for (; x + 1 < w; x += 2) {
        const uint8_t* pa = bgr + 3 * x;
        const uint8_t* pb = pa + 3;
        y[x] = Luma(p, pa[0], pa[1], pa[2]);
        y[x + 1] = Luma(p, pb[0], pb[1], pb[2]);
        int ua, va, ub, vb;
        Chroma(p, pa[0], pa[1], pa[2], &ua, &va);
        Chroma(p, pb[0], pb[1], pb[2], &ub, &vb);
        u[x / 2] = Sat((ua + ub) / 2 + 128);
        v[x / 2] = Sat((va + vb) / 2 + 128);
    }
    if (x < w) {  // odd width: the last pixel is its own pair
        const uint8_t* pa = bgr + 3 * x;
        y[x] = Luma(p, pa[0], pa[1], pa[2]);
        int ua, va;
        Chroma(p, pa[0], pa[1], pa[2], &ua, &va);
        u[x / 2] = Sat((ua + ua) / 2 + 128);
        v[x / 2] = Sat((va + va) / 2 + 128);
    }
}

void SharpenRowPlain(const Plan& p, const uint8_t* above, const uint8_t* centre,
                     const uint8_t* below, int w, uint8_t* out) {
    for (int x = 0; x < w; ++x) {
        int c = centre[x];
        int val = c;
        if (p.sharpen) {
            int sum = above[x - 1] + above[x] + above[x + 1] + centre[x - 1] + centre[x + 1] +
                      below[x - 1] + below[x] + below[x + 1];
            int d = 8 * c - sum;
            int t = p.threshold;
            if (d >= t)
                d -= t;
            else if (d > -t)
                d = 0;
            else
                d += t;
            val = Sat(c + p.sharpGain * d);
        }
        out[x] = p.tone ? p.toneTable[val] : static_cast<uint8_t>(val);
    }
}

}  // namespace orvane::rawk
