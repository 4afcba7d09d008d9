#include "tools/virtualcam/scene.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace vcam {

namespace {
constexpr double kFieldWidthUm = 800.0;
constexpr int kTexSize = 512;  // one texel is 2 um; the tile repeats every 1024 um
constexpr int kTexMask = kTexSize - 1;

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

// Smooth value noise with a period of kTexSize texels.
double Noise(int x, int y, int cell, uint32_t seed) {
    int cells = kTexSize / cell;
    int cx = x / cell, cy = y / cell;
    double fx = double(x % cell) / cell, fy = double(y % cell) / cell;
    auto v = [&](int i, int j) {
        return (Hash((i % cells), (j % cells), seed) & 0xFFFF) / 65535.0;
    };
    double sx = fx * fx * (3 - 2 * fx), sy = fy * fy * (3 - 2 * fy);
    double a = v(cx, cy) + (v(cx + 1, cy) - v(cx, cy)) * sx;
    double b = v(cx, cy + 1) + (v(cx + 1, cy + 1) - v(cx, cy + 1)) * sx;
    return a + (b - a) * sy;
}

struct Specimen {
    std::vector<uint8_t> luma;  // kTexSize x kTexSize
    Specimen() : luma(kTexSize * kTexSize) {
        for (int y = 0; y < kTexSize; ++y) {
            for (int x = 0; x < kTexSize; ++x) {
                double n =
                    0.55 * Noise(x, y, 64, 1) + 0.3 * Noise(x, y, 16, 2) + 0.15 * Noise(x, y, 4, 3);
                // Cell walls: dark ridges where a coarse noise crosses its mid level.
                double wall = std::fabs(Noise(x, y, 32, 4) - 0.5);
                double v = 215 - 110 * n * n;
                if (wall < 0.03) v -= 70 * (1 - wall / 0.03);
                luma[y * kTexSize + x] = static_cast<uint8_t>(std::clamp(v, 16.0, 235.0));
            }
        }
    }
};

const Specimen& TheSpecimen() {
    static const Specimen specimen;  // thread-safe initialisation
    return specimen;
}

// Scene coordinates are fixed point, 1/1024 um.
constexpr int kUnit = 1024;
constexpr int kTexShift = 11;  // 2 um per texel
constexpr int kDivision = 10 * kUnit;

struct View {
    int32_t step;  // scene units per pixel
    int32_t originX, originY;
    int32_t rulerY;  // scene y of the scale's base line
};

View MakeView(int width, int height, double seconds) {
    View v;
    double umPerPixel = kFieldWidthUm / width;
    v.step = static_cast<int32_t>(umPerPixel * kUnit);
    v.originX = static_cast<int32_t>((12.0 * seconds + 0.5 * umPerPixel) * kUnit) % (1 << 28);
    v.originY = static_cast<int32_t>((25.0 * std::sin(seconds * 0.25) + 0.5 * umPerPixel) * kUnit);
    v.rulerY = static_cast<int32_t>(kFieldWidthUm * height / width * 0.5 * kUnit);
    return v;
}

inline int32_t FloorDiv(int32_t a, int32_t b) {
    return a >= 0 ? a / b : -((-a + b - 1) / b);
}

inline const uint8_t* TexRow(const uint8_t* tex, int32_t sy) {
    return tex + ((sy >> kTexShift) & kTexMask) * kTexSize;
}
inline int Texel(const uint8_t* texRow, int32_t sx) {
    return texRow[(sx >> kTexShift) & kTexMask];
}

constexpr int32_t kLongestTick = 40 * kUnit;  // every 100 um

// The specimen's luma and chroma by texel value, and the ink's luma, at one brightness.
struct Stain {
    uint8_t y[256], u[256], v[256];
    int inkY;
    explicit Stain(int brightness) : inkY(std::clamp(28 + brightness, 0, 255)) {
        for (int t = 0; t < 256; ++t) {
            const int stain = std::max(0, 215 - t);
            y[t] = static_cast<uint8_t>(std::clamp(t + brightness, 0, 255));
            u[t] = static_cast<uint8_t>(128 + stain / 6);
            v[t] = static_cast<uint8_t>(128 + stain / 3);
        }
    }
};

// Luma and chroma of the scene point (sx, sy).
inline void Sample(const View& v, const uint8_t* tex, const Stain& stain, int32_t sx, int32_t sy,
                   int* y, int* u, int* vv) {
    // The micrometer: base line, a division every 10 um, longer every 50 and 100 um.
    int32_t dy = sy - v.rulerY;
    bool ink = false;
    if (dy > -kUnit && dy < kUnit) {
        ink = true;
    } else if (dy <= -kUnit) {
        int32_t division = FloorDiv(sx, kDivision);
        int32_t pos = sx - division * kDivision;
        if (pos < kUnit * 6 / 5) {
            int32_t len = (division % 10 == 0)  ? kLongestTick
                          : (division % 5 == 0) ? 26 * kUnit
                                                : 15 * kUnit;
            ink = -dy < len;
        }
    }
    if (ink) {
        *y = stain.inkY;
        *u = 128;
        *vv = 128;
        return;
    }
    const int t = Texel(TexRow(tex, sy), sx);
    *y = stain.y[t];
    *u = stain.u[t];
    *vv = stain.v[t];
}

// How the micrometer's ink meets one row of the scene: the base line covers it, no division
// reaches it (most rows), or the divisions' ticks may (pixel by pixel).
enum class RowInk { kAll, kNone, kTicks };

RowInk InkOfRow(const View& v, int32_t sy) {
    const int32_t dy = sy - v.rulerY;
    if (dy > -kUnit && dy < kUnit) return RowInk::kAll;
    if (dy >= kUnit || -dy >= kLongestTick) return RowInk::kNone;
    return RowInk::kTicks;
}

// The mosaic's value of a site from its scene point's luma and chroma.
inline uint8_t Site(int row, int col, int y, int u, int vv) {
    int c;
    if ((row & 1) == 0 && (col & 1) == 0) {
        c = y + (226 * (u - 128)) / 128;  // blue
    } else if ((row & 1) && (col & 1)) {
        c = y + (179 * (vv - 128)) / 128;  // red
    } else {
        c = y - (44 * (u - 128) + 91 * (vv - 128)) / 128;  // green
    }
    return static_cast<uint8_t>(std::clamp(c, 0, 255));
}

}  // namespace

void RenderYuy2(uint8_t* out, int width, int height, double seconds, int brightness) {
    const uint8_t* tex = TheSpecimen().luma.data();
    const Stain stain(brightness);
    View v = MakeView(width, height, seconds);
    for (int row = 0; row < height; ++row) {
        int32_t sy = v.originY + row * v.step;
        int32_t sx = v.originX;
        uint8_t* p = out + static_cast<size_t>(row) * width * 2;
        const RowInk ink = InkOfRow(v, sy);
        const uint8_t* texRow = TexRow(tex, sy);
        for (int col = 0; col + 1 < width; col += 2) {
            int y0, u0, v0, y1, u1, v1;
            if (ink == RowInk::kNone) {
                const int t0 = Texel(texRow, sx), t1 = Texel(texRow, sx + v.step);
                y0 = stain.y[t0], u0 = stain.u[t0], v0 = stain.v[t0];
                y1 = stain.y[t1], u1 = stain.u[t1], v1 = stain.v[t1];
            } else {
                Sample(v, tex, stain, sx, sy, &y0, &u0, &v0);
                Sample(v, tex, stain, sx + v.step, sy, &y1, &u1, &v1);
            }
            sx += 2 * v.step;
            p[0] = static_cast<uint8_t>(y0);
            p[1] = static_cast<uint8_t>((u0 + u1) / 2);
            p[2] = static_cast<uint8_t>(y1);
            p[3] = static_cast<uint8_t>((v0 + v1) / 2);
            p += 4;
        }
    }
}

void RenderMosaic(uint8_t* out, int width, int height, int firstRow, int rows, double seconds,
                  int brightness) {
    const uint8_t* tex = TheSpecimen().luma.data();
    View v = MakeView(width, height, seconds);
    // Rows without ink take each site's value from its texel through a table per site colour.
    const Stain stain(brightness);
    uint8_t site[2][2][256];
    for (int rp = 0; rp < 2; ++rp)
        for (int cp = 0; cp < 2; ++cp)
            for (int t = 0; t < 256; ++t)
                site[rp][cp][t] = Site(rp, cp, stain.y[t], stain.u[t], stain.v[t]);
    for (int r = 0; r < rows; ++r) {
        int row = firstRow + r;
        int32_t sy = v.originY + row * v.step;
        int32_t sx = v.originX;
        uint8_t* p = out + static_cast<size_t>(r) * width;
        if (InkOfRow(v, sy) == RowInk::kNone) {
            const uint8_t* texRow = TexRow(tex, sy);
            const uint8_t* even = site[row & 1][0];
            const uint8_t* odd = site[row & 1][1];
            int col = 0;
            for (; col + 1 < width; col += 2, sx += 2 * v.step) {
                p[col] = even[Texel(texRow, sx)];
                p[col + 1] = odd[Texel(texRow, sx + v.step)];
            }
            if (col < width) p[col] = even[Texel(texRow, sx)];
            continue;
        }
        for (int col = 0; col < width; ++col, sx += v.step) {
            int y, u, vv;
            Sample(v, tex, stain, sx, sy, &y, &u, &vv);
            p[col] = Site(row, col, y, u, vv);
        }
    }
}

}  // namespace vcam
