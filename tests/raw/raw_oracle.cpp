#include "tests/raw/raw_oracle.h"

#include <algorithm>

namespace orvane::oracle {

namespace {

int clamp(int v, int lo, int hi) {
    return std::min(std::max(v, lo), hi);
}

int shiftOf(int width) {
    if (width == 4) return 2;
    if (width == 8) return 3;
    if (width == 16) return 4;
    return 5;  // 32
}

}  // namespace

void GammaTable(const CRawPars& p, uint8_t table[256]) {
    const int xs[24] = {0,   4,   8,   16,  24,  32,  48,  64,  80,  96,  112, 128,
                        144, 160, 176, 184, 192, 200, 208, 216, 224, 232, 240, 256};
    for (int i = 0; i < 256; ++i) {
        int j = 0;
        while (!(xs[j] <= i && i < xs[j + 1])) ++j;
        int a = p.gammaPoints[j], b = p.gammaPoints[j + 1];
        int k = i - xs[j];
        int s = shiftOf(xs[j + 1] - xs[j]);
        int value;
        if (a < b)
            value = a + (((b - a + 1) * k) >> s);
        else
            value = a - (((a - b + 1) * k) >> s);
        table[i] = (uint8_t)clamp(value, 0, 255);
    }
}

void ToneTable(const CRawPars& p, uint8_t table[256]) {
    const int xs[18] = {0,   8,   16,  24,  32,  48,  64,  80,  96,
                        128, 160, 192, 208, 224, 232, 240, 248, 256};
    for (int i = 0; i < 256; ++i) {
        int j = 0;
        while (!(xs[j] <= i && i < xs[j + 1])) ++j;
        int a = p.tonePoints[j], b = p.tonePoints[j + 1];
        int k = i - xs[j];
        int s = shiftOf(xs[j + 1] - xs[j]);
        int value;
        if (a < b)
            value = a + (((b - a + 1) * k) >> s);
        else if (i < 32)
            value = a - (((a - b) * k) >> s);
        else
            value = a - (((a - b + 1) * k) >> s);
        int t = clamp(value, 0, 255);
        double v = (t - p.pv) * (p.ct / 32.0) + p.br + p.pv;
        if (v < 0) v = 0;
        if (v > 255) v = 255;
        table[i] = (uint8_t)(int)v;
    }
}

namespace {

// Mirrored with the edge repeated.
int m2(int i, int n) {
    while (i < 0 || i >= n) {
        if (i < 0) i = -1 - i;
        if (i >= n) i = 2 * n - 1 - i;
    }
    return i;
}

// Mirrored without repeating the edge.
int m1(int i, int n) {
    if (n == 1) return 0;
    while (i < 0 || i >= n) {
        if (i < 0) i = -i;
        if (i >= n) i = 2 * n - 2 - i;
    }
    return i;
}

}  // namespace

std::vector<uint8_t> Convert(const CRawPars& p, int W, int H, const std::vector<uint8_t>& rawIn) {
    uint8_t gamma[256], tone[256];
    GammaTable(p, gamma);
    ToneTable(p, tone);

    // Raw correction.
    std::vector<uint8_t> raw(rawIn.begin(), rawIn.begin() + (size_t)W * H);
    int dB = clamp(p.oB - 64, -128, 127), dG = clamp(p.oG - 64, -128, 127),
        dR = clamp(p.oR - 64, -128, 127);
    int kB = clamp(p.gB, 0, 255) + 128, kG = clamp(p.gG, 0, 255) + 128,
        kR = clamp(p.gR, 0, 255) + 128;
    for (int r = 0; r < H; ++r) {
        for (int c = 0; c < W; ++c) {
            int d, k;
            if (r % 2 == 0 && c % 2 == 0) {
                d = dB;
                k = kB;
            } else if (r % 2 == 1 && c % 2 == 1) {
                d = dR;
                k = kR;
            } else {
                d = dG;
                k = kG;
            }
            int v = raw[(size_t)r * W + c];
            int u = clamp(v + d, 0, 255) * k;
            int res = clamp(u >> 8, 0, 255);
            if (p.gammaEnable) res = gamma[res];
            raw[(size_t)r * W + c] = (uint8_t)res;
        }
    }

    // Demosaicing.
    std::vector<uint8_t> out((size_t)W * H * 3);
    auto P = [&](int r, int c) { return (int)raw[(size_t)m2(r, H) * W + m2(c, W)]; };
    for (int r = 0; r < H; ++r) {
        for (int c = 0; c < W; ++c) {
            int own = 36 * P(r, c) + 6 * (P(r - 2, c) + P(r + 2, c) + P(r, c - 2) + P(r, c + 2)) +
                      1 * (P(r - 2, c - 2) + P(r - 2, c + 2) + P(r + 2, c - 2) + P(r + 2, c + 2));
            int green14 =
                14 * (P(r - 1, c) + P(r + 1, c) + P(r, c - 1) + P(r, c + 1)) +
                1 * (P(r - 2, c - 1) + P(r - 2, c + 1) + P(r + 2, c - 1) + P(r + 2, c + 1) +
                     P(r - 1, c - 2) + P(r - 1, c + 2) + P(r + 1, c - 2) + P(r + 1, c + 2));
            int diag = 16 * (P(r - 1, c - 1) + P(r - 1, c + 1) + P(r + 1, c - 1) + P(r + 1, c + 1));
            int green24 =
                24 * P(r, c) +
                8 * (P(r - 1, c - 1) + P(r - 1, c + 1) + P(r + 1, c - 1) + P(r + 1, c + 1)) +
                2 * (P(r - 2, c) + P(r + 2, c) + P(r, c - 2) + P(r, c + 2));
            int sideways =
                24 * (P(r, c - 1) + P(r, c + 1)) +
                4 * (P(r - 2, c - 1) + P(r - 2, c + 1) + P(r + 2, c - 1) + P(r + 2, c + 1));
            int upDown = 24 * (P(r - 1, c) + P(r + 1, c)) + 4 * (P(r - 1, c - 2) + P(r - 1, c + 2) +
                                                                 P(r + 1, c - 2) + P(r + 1, c + 2));
            int B, G, R;
            if (r % 2 == 0 && c % 2 == 0) {
                B = own, G = green14, R = diag;
            } else if (r % 2 == 1 && c % 2 == 1) {
                R = own, G = green14, B = diag;
            } else if (r % 2 == 0) {
                G = green24, B = sideways, R = upDown;
            } else {
                G = green24, B = upDown, R = sideways;
            }
            uint8_t* o = &out[((size_t)r * W + c) * 3];
            o[0] = (uint8_t)clamp(B >> 6, 0, 255);
            o[1] = (uint8_t)clamp(G >> 6, 0, 255);
            o[2] = (uint8_t)clamp(R >> 6, 0, 255);
        }
    }
    if (!p.colorEnable) return out;

    // 1. Planar luma/chroma, pairs within a row; an odd last pixel pairs with itself.
    int CW = (W + 1) / 2;
    std::vector<uint8_t> Y((size_t)W * H), U((size_t)CW * H), V((size_t)CW * H);
    for (int r = 0; r < H; ++r) {
        for (int j = 0; j < CW; ++j) {
            int px[2] = {2 * j, std::min(2 * j + 1, W - 1)};
            int us[2], vs[2];
            for (int n = 0; n < 2; ++n) {
                const uint8_t* o = &out[((size_t)r * W + px[n]) * 3];
                int b = o[0], g = o[1], rr = o[2];
                int y = (p.mYB * b + p.mYG * g + p.mYR * rr) >> 6;
                Y[(size_t)r * W + px[n]] = (uint8_t)clamp(y, 0, 255);
                int u = (p.mUR * rr + p.mUG * g + p.mUB * b) >> 6;
                int v = (p.mVR * rr + p.mVG * g + p.mVB * b) >> 6;
                if (p.chromaRotEnable) {
                    int u2 = (p.cH * u + p.cI * v) >> 6;
                    int v2 = (p.cF * v + p.cG * u) >> 6;
                    u = u2;
                    v = v2;
                }
                us[n] = u;
                vs[n] = v;
            }
            U[(size_t)r * CW + j] = (uint8_t)clamp((us[0] + us[1]) / 2 + 128, 0, 255);
            V[(size_t)r * CW + j] = (uint8_t)clamp((vs[0] + vs[1]) / 2 + 128, 0, 255);
        }
    }

    // 2. Sharpening from the unsharpened plane.
    if (p.sharpEnable) {
        std::vector<uint8_t> ext = Y;
        auto E = [&](int r, int c) { return (int)ext[(size_t)m1(r, H) * W + m1(c, W)]; };
        int gain = p.ss / 32;
        int st = p.st;
        for (int r = 0; r < H; ++r) {
            for (int c = 0; c < W; ++c) {
                int sum = 0;
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc)
                        if (dr != 0 || dc != 0) sum += E(r + dr, c + dc);
                int d = 8 * E(r, c) - sum;
                if (d >= st)
                    d = d - st;
                else if (-st < d && d < st)
                    d = 0;
                else
                    d = d + st;
                Y[(size_t)r * W + c] = (uint8_t)clamp(E(r, c) + gain * d, 0, 255);
            }
        }
    }

    // 3. Tone curve.
    if (p.toneEnable)
        for (auto& y : Y) y = tone[y];

    // 4. Packing into Y-U-Y-V.
    int mode = p.cm;
    if (p.mUR == 0 && p.mUG == 0 && p.mUB == 0 && p.mVR == 0 && p.mVG == 0 && p.mVB == 0) mode = 1;
    std::vector<uint8_t> packed((size_t)CW * 4 * H);
    for (int r = 0; r < H; ++r) {
        for (int j = 0; j < CW; ++j) {
            uint8_t* q = &packed[((size_t)r * CW + j) * 4];
            q[0] = Y[(size_t)r * W + 2 * j];
            q[2] = Y[(size_t)r * W + std::min(2 * j + 1, W - 1)];
            uint8_t u = U[(size_t)r * CW + j], v = V[(size_t)r * CW + j];
            if (mode == 1) u = 128, v = 128;
            if (mode == 2) v = 128;
            if (mode == 3) u = 128;
            q[1] = u;
            q[3] = v;
        }
    }

    // 5. Back to colour, rows in reverse order.
    std::vector<uint8_t> result((size_t)W * H * 3);
    for (int r = 0; r < H; ++r) {
        for (int c = 0; c < W; ++c) {
            const uint8_t* q = &packed[((size_t)r * CW + c / 2) * 4];
            int Yv = (c % 2 == 0) ? q[0] : q[2];
            double y = 1.164 * (Yv - 16);
            int u = q[1] - 128;
            int v = q[3] - 128;
            double bgr[3] = {y + 2.017 * u, y - 0.392 * u - 0.813 * v, y + 1.596 * v};
            uint8_t* o = &result[((size_t)(H - 1 - r) * W + c) * 3];
            for (int n = 0; n < 3; ++n) {
                double x = bgr[n];
                if (x < 0) x = 0;
                if (x > 255) x = 255;
                o[n] = (uint8_t)(int)x;
            }
        }
    }
    return result;
}

}  // namespace orvane::oracle
