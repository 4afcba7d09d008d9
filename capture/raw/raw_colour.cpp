// Luma/chroma back to blue, green, red in double precision, evaluated exactly as written:
// y = 1.164 (Y - 16), u = U - 128, v = V - 128; B = y + 2.017 u; G = y - 0.392 u - 0.813 v;
// R = y + 1.596 v. This file is built without floating-point contraction, so each product and
// sum is rounded on its own; the tables hold those very products, so a look-up is the same
// double the formula gives.
#include "capture/raw/raw_colour.h"

#include <emmintrin.h>

#include "capture/raw/raw_vec_kernels.h"

namespace orvane::rawk {

namespace {

ColourTables MakeTables() {
    ColourTables t{};
    for (int i = 0; i < 256; ++i) {
        int c = i - 128;
        t.y[i] = 1.164 * (i - 16);
        t.bu[i] = 2.017 * c;
        t.gu[i] = 0.392 * c;
        t.gv[i] = 0.813 * c;
        t.rv[i] = 1.596 * c;
    }
    return t;
}

inline uint8_t ToByte(double x) {
    if (!(x > 0.0)) return 0;
    if (x > 255.0) return 255;
    return static_cast<uint8_t>(static_cast<int>(x));
}

}  // namespace

const ColourTables& GetColourTables() {
    static const ColourTables tables = MakeTables();
    return tables;
}

void ColourPixel(int Y, int U, int V, uint8_t* bgr) {
    double y = 1.164 * (Y - 16);
    int u = U - 128;
    int v = V - 128;
    bgr[0] = ToByte(y + 2.017 * u);
    bgr[1] = ToByte(y - 0.392 * u - 0.813 * v);
    bgr[2] = ToByte(y + 1.596 * v);
}

void ColourRowPlain(const uint8_t* y, const uint8_t* u, const uint8_t* v, int w, int mode,
                    uint8_t* bgr) {
    const ColourTables& t = GetColourTables();
    for (int x = 0; x < w; ++x) {
        int U = (mode == 1 || mode == 3) ? 128 : u[x >> 1];
        int V = (mode == 1 || mode == 2) ? 128 : v[x >> 1];
        double yy = t.y[y[x]];
        bgr[3 * x] = ToByte(yy + t.bu[U]);
        bgr[3 * x + 1] = ToByte(yy - t.gu[U] - t.gv[V]);
        bgr[3 * x + 2] = ToByte(yy + t.rv[V]);
    }
}

const ByteTables& GetByteTables() {
    static const ByteTables* tables = [] {
        static ByteTables t;
        const ColourTables& c = GetColourTables();
        for (int k = 0; k < 256; ++k)
            for (int y = 0; y < 256; ++y) {
                t.b[k][y] = ToByte(c.y[y] + c.bu[k]);
                t.r[k][y] = ToByte(c.y[y] + c.rv[k]);
            }
        return &t;
    }();
    return *tables;
}

// Green stays in double, two pixels (one chroma pair) per SSE2 operation; the order of the
// subtractions is the formula's.
void ColourPairs(const uint8_t* ye, const uint8_t* yo, const uint8_t* u, const uint8_t* v, int w,
                 uint8_t* bgr) {
    const ColourTables& c = GetColourTables();
    const ByteTables& bt = GetByteTables();
    const __m128d lo = _mm_setzero_pd();
    const __m128d hi = _mm_set1_pd(255.0);
    int pairs = w / 2;
    for (int i = 0; i < pairs; ++i) {
        int ya = ye[i], yb = yo[i];
        int U = u[i], V = v[i];
        __m128d y = _mm_set_pd(c.y[yb], c.y[ya]);
        __m128d g = _mm_sub_pd(_mm_sub_pd(y, _mm_set1_pd(c.gu[U])), _mm_set1_pd(c.gv[V]));
        __m128i gi = _mm_cvttpd_epi32(_mm_min_pd(_mm_max_pd(g, lo), hi));
        uint8_t* o = bgr + 6 * i;
        o[0] = bt.b[U][ya];
        o[1] = static_cast<uint8_t>(_mm_cvtsi128_si32(gi));
        o[2] = bt.r[V][ya];
        o[3] = bt.b[U][yb];
        o[4] = static_cast<uint8_t>(_mm_cvtsi128_si32(_mm_srli_si128(gi, 4)));
        o[5] = bt.r[V][yb];
    }
    if (w & 1) {  // odd width: the last pixel alone
        int ya = ye[pairs];
        uint8_t* o = bgr + 6 * pairs;
        o[0] = bt.b[u[pairs]][ya];
        o[1] = ToByte(c.y[ya] - c.gu[u[pairs]] - c.gv[v[pairs]]);
        o[2] = bt.r[v[pairs]][ya];
    }
}

}  // namespace orvane::rawk
