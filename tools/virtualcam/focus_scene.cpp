#include "tools/virtualcam/focus_scene.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <new>

namespace vcam {

namespace {

constexpr double kOpticsSigma = 0.7;  // blur of the optics in focus, pixels
constexpr double kLevelStep = 0.5;    // defocus between two precomputed blur levels, pixels
constexpr double kPi = 3.14159265358979323846;

uint32_t Hash(uint32_t x, uint32_t y, uint32_t seed) {
    uint32_t h = x * 0x8DA6B343u ^ y * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    h *= 0x27D4EB2Fu;
    h ^= h >> 16;
    return h;
}

// The lattice index of a floored coordinate. Coordinates stay far inside 32 bits, and the 32-bit
// build converts a double to a 32-bit integer in one instruction where a 64-bit one takes a
// library call (which made rendering there several times slower).
int32_t LatticeIndex(double floored) {
    return static_cast<int32_t>(std::clamp(floored, -2147483646.0, 2147483646.0));
}

double Lattice(int32_t x, int32_t y, uint32_t seed) {
    return (Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), seed) & 0xFFFFFF) / 16777215.0;
}

// Value noise, 0..1, with a quintic fade: smooth to the second derivative, so its spectrum
// falls off quickly above 1 / cell.
double Noise(double x, double y, uint32_t seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const double tx = x - fx, ty = y - fy;
    const int32_t ix = LatticeIndex(fx), iy = LatticeIndex(fy);
    const double sx = tx * tx * tx * (tx * (tx * 6 - 15) + 10);
    const double sy = ty * ty * ty * (ty * (ty * 6 - 15) + 10);
    const double a = Lattice(ix, iy, seed), b = Lattice(ix + 1, iy, seed);
    const double c = Lattice(ix, iy + 1, seed), d = Lattice(ix + 1, iy + 1, seed);
    const double top = a + (b - a) * sx, bottom = c + (d - c) * sx;
    return top + (bottom - top) * sy;
}

double Smooth(double e0, double e1, double x) {
    const double t = std::clamp((x - e0) / (e1 - e0), 0.0, 1.0);
    return t * t * (3 - 2 * t);
}

// Standard normal deviate of pixel (x, y), channel c.
double Gauss(int x, int y, int c, uint32_t seed) {
    const uint32_t s = seed * 3u + static_cast<uint32_t>(c);
    const double u1 =
        (Hash(static_cast<uint32_t>(x), static_cast<uint32_t>(y), s) + 1.0) / 4294967297.0;
    const double u2 =
        Hash(static_cast<uint32_t>(y), static_cast<uint32_t>(x), s ^ 0x9E3779B9u) / 4294967296.0;
    return std::sqrt(-2.0 * std::log(u1)) * std::cos(2 * kPi * u2);
}

struct Planes {
    std::unique_ptr<float[]> data;
    size_t pixels = 0;
    bool Allocate(size_t count, size_t planes) {
        pixels = count;
        data.reset(new (std::nothrow) float[count * planes]);
        return data != nullptr;
    }
    float* Plane(size_t i) { return data.get() + i * pixels; }
};

constexpr int kMostTaps = 31;  // kernel half-width at most

// Gaussian blur of in into out (w x h floats), edges repeated; tmp holds w x h floats and
// row w + 2 * kMostTaps. Both passes run tap by tap over whole rows, which vectorises.
void Blur(const float* in, float* out, float* tmp, float* row, int w, int h, double sigma) {
    const int taps = std::min(std::max(1, static_cast<int>(std::ceil(3 * sigma))), kMostTaps);
    float k[2 * kMostTaps + 1];
    double sum = 0;
    for (int i = -taps; i <= taps; ++i) sum += std::exp(-0.5 * i * i / (sigma * sigma));
    for (int i = -taps; i <= taps; ++i)
        k[i + taps] = static_cast<float>(std::exp(-0.5 * i * i / (sigma * sigma)) / sum);
    for (int y = 0; y < h; ++y) {
        const float* src = in + static_cast<size_t>(y) * w;
        for (int x = -taps; x < w + taps; ++x) row[x + taps] = src[std::clamp(x, 0, w - 1)];
        float* dst = tmp + static_cast<size_t>(y) * w;
        std::fill(dst, dst + w, 0.0f);
        for (int i = 0; i <= 2 * taps; ++i) {
            const float kk = k[i];
            const float* r = row + i;
            for (int x = 0; x < w; ++x) dst[x] += kk * r[x];
        }
    }
    for (int y = 0; y < h; ++y) {
        float* dst = out + static_cast<size_t>(y) * w;
        std::fill(dst, dst + w, 0.0f);
        for (int i = -taps; i <= taps; ++i) {
            const float* src = tmp + static_cast<size_t>(std::clamp(y + i, 0, h - 1)) * w;
            const float kk = k[i + taps];
            for (int x = 0; x < w; ++x) dst[x] += kk * src[x];
        }
    }
}

// Round nuclei: at most one per cell of 14 pixels, placed and sized by the cell's hash. A
// nucleus stays within 2.5 pixels of its cell, so the 2 x 2 cells nearest a point are all
// that can cover it.
double Nucleus(double x, double y, uint32_t seed) {
    constexpr double kCell = 14;
    const double gx = x / kCell, gy = y / kCell;
    const int32_t cx = LatticeIndex(std::floor(gx - 0.5));
    const int32_t cy = LatticeIndex(std::floor(gy - 0.5));
    double most = 0;
    for (int32_t j = cy; j <= cy + 1; ++j) {
        for (int32_t i = cx; i <= cx + 1; ++i) {
            const uint32_t h = Hash(static_cast<uint32_t>(i), static_cast<uint32_t>(j), seed);
            if ((h & 3) == 0) continue;  // a quarter of the cells hold none
            const double px = (i + 0.2 + 0.6 * ((h >> 2) & 255) / 255.0) * kCell;
            const double py = (j + 0.2 + 0.6 * ((h >> 10) & 255) / 255.0) * kCell;
            const double radius = 2.0 + 2.5 * ((h >> 18) & 255) / 255.0;
            const double dx = x - px, dy = y - py;
            const double outer = radius + 0.7;
            if (dx * dx + dy * dy >= outer * outer) continue;
            most = std::max(most, Smooth(outer, radius - 0.7, std::sqrt(dx * dx + dy * dy)));
        }
    }
    return most;
}

double RawDepth(double u, double v) {
    return 0.55 * u + 0.25 * v + 0.45 * (u * u + 0.6 * v * v) + 0.08 * std::sin(2.3 * u + 1.1 * v);
}

}  // namespace

FocusScene::FocusScene(int width, int height, uint32_t seed)
    : width_(width), height_(height), seed_(seed) {
    // Depth 0..1 over the view with some room for drift.
    double lo = 1e9, hi = -1e9;
    for (int j = 0; j <= 64; ++j) {
        for (int i = 0; i <= 64; ++i) {
            const double z = RawDepth(-1.1 + 2.2 * i / 64, -1.1 + 2.2 * j / 64);
            lo = std::min(lo, z);
            hi = std::max(hi, z);
        }
    }
    depthLow_ = lo;
    depthSpan_ = hi - lo;
}

double FocusScene::DepthAt(double x, double y) const {
    const double u = width_ > 0 ? x / (0.5 * width_) : 0;
    const double v = height_ > 0 ? y / (0.5 * height_) : 0;
    return std::clamp((RawDepth(u, v) - depthLow_) / depthSpan_, 0.0, 1.0);
}

double FocusScene::SlideEdge(double y) const {
    return 0.3 * width_ + 0.03 * width_ * std::sin(5.0 * y / std::max(1, height_));
}

bool FocusScene::BareSlideAt(double x, double y) const {
    return x > SlideEdge(y);
}

void FocusScene::Colour(double x, double y, double edge, float* bgr) const {
    const uint32_t s = seed_ * 16u;
    const double tissue = Smooth(0.75, -0.75, x - edge);
    double b = 232, g = 230, r = 226;  // bare slide
    if (tissue > 0) {
        const double base = 0.5 * Noise(x / 41, y / 41, s + 1) +
                            0.3 * Noise(x / 13, y / 13, s + 2) + 0.2 * Noise(x / 5, y / 5, s + 3);
        const double grain = Noise(x / 2.6, y / 2.6, s + 4) - 0.5;
        const double wall = Smooth(0.05, 0.0, std::fabs(Noise(x / 23, y / 23, s + 5) - 0.5));
        const double nucleus = Nucleus(x, y, s + 6);
        double tb = 205 - 70 * base + 40 * grain, tg = 170 - 110 * base + 40 * grain,
               tr = 225 - 60 * base + 36 * grain;
        const double dark = 1 - 0.55 * wall;
        tb = tb * dark + (150 - tb * dark) * 0.8 * nucleus;
        tg = tg * dark + (60 - tg * dark) * 0.8 * nucleus;
        tr = tr * dark + (110 - tr * dark) * 0.8 * nucleus;
        b += (tb - b) * tissue;
        g += (tg - g) * tissue;
        r += (tr - r) * tissue;
    }
    bgr[0] = static_cast<float>(b);
    bgr[1] = static_cast<float>(g);
    bgr[2] = static_cast<float>(r);
}

bool FocusScene::RenderFrame(const FocusShot& shot, uint8_t* bgr, ptrdiff_t stride) const {
    return Render(shot, false, bgr, stride);
}

bool FocusScene::RenderTruth(uint8_t* bgr, ptrdiff_t stride, const FocusShot& geometry) const {
    return Render(geometry, true, bgr, stride);
}

bool FocusScene::Render(const FocusShot& shot, bool truth, uint8_t* bgr, ptrdiff_t stride) const {
    const int w = width_, h = height_;
    if (w <= 0 || h <= 0 || bgr == nullptr || !(shot.scale > 0)) return false;
    const size_t n = static_cast<size_t>(w) * h;
    if (n > (size_t{1} << 28)) return false;
    // Three sharp channels, the defocus of each pixel, two blur levels and a work plane.
    Planes planes;
    std::unique_ptr<float[]> row(new (std::nothrow) float[static_cast<size_t>(w) + 2 * kMostTaps]);
    if (!row || !planes.Allocate(n, 7)) return false;
    float* defocus = planes.Plane(3);
    float* cur = planes.Plane(4);
    float* next = planes.Plane(5);
    float* tmp = planes.Plane(6);
    const double cx = (w - 1) * 0.5, cy = (h - 1) * 0.5;
    float most = 0;
    for (int y = 0; y < h; ++y) {
        const double sy = (y - cy - shot.dy) / shot.scale;
        const double edge = SlideEdge(sy);
        for (int x = 0; x < w; ++x) {
            const double sx = (x - cx - shot.dx) / shot.scale;
            float c[3];
            Colour(sx, sy, edge, c);
            const size_t i = static_cast<size_t>(y) * w + x;
            for (int k = 0; k < 3; ++k) planes.Plane(k)[i] = c[k];
            const float d =
                truth ? 0.0f
                      : static_cast<float>(defocus_ * std::fabs(DepthAt(sx, sy) - shot.focus));
            defocus[i] = d;
            most = std::max(most, d);
        }
    }
    const int levels = static_cast<int>(std::ceil(most / kLevelStep));
    const double noise = truth ? 0.0 : shot.noise;
    auto put = [&](size_t i, int c, float v) {
        const int x = static_cast<int>(i % w), y = static_cast<int>(i / w);
        double value = v;
        if (noise > 0) value += noise * Gauss(x, y, c, shot.noiseSeed);
        bgr[static_cast<ptrdiff_t>(y) * stride + x * 3 + c] =
            static_cast<uint8_t>(std::clamp(std::lround(value), 0L, 255L));
    };
    for (int c = 0; c < 3; ++c) {
        Blur(planes.Plane(c), cur, tmp, row.get(), w, h, kOpticsSigma);
        // Level j is blurred by j * step beyond the optics; a pixel between two levels takes
        // the mix of both.
        for (int j = 0; j < levels; ++j) {
            Blur(cur, next, tmp, row.get(), w, h, kLevelStep * std::sqrt(2.0 * j + 1));
            const float lo = static_cast<float>(j * kLevelStep);
            const float hi = static_cast<float>((j + 1) * kLevelStep);
            for (size_t i = 0; i < n; ++i) {
                const float d = defocus[i];
                if (d < lo || (d >= hi && j + 1 < levels)) continue;
                const float t = std::min((d - lo) / static_cast<float>(kLevelStep), 1.0f);
                put(i, c, cur[i] + (next[i] - cur[i]) * t);
            }
            std::swap(cur, next);
        }
        if (levels == 0) {
            for (size_t i = 0; i < n; ++i) put(i, c, cur[i]);
        }
    }
    return true;
}

FocusShot SweepShot(const FocusSweep& sweep, double t) {
    FocusShot shot;
    const double seconds = sweep.seconds > 0 ? sweep.seconds : 1.0;
    shot.focus = std::clamp(t / seconds, 0.0, 1.0);
    const double p1 = (Hash(sweep.seed, 1, 7) & 0xFFFF) / 65536.0 * 2 * kPi;
    const double p2 = (Hash(sweep.seed, 2, 7) & 0xFFFF) / 65536.0 * 2 * kPi;
    const double p3 = (Hash(sweep.seed, 3, 7) & 0xFFFF) / 65536.0 * 2 * kPi;
    const double p4 = (Hash(sweep.seed, 4, 7) & 0xFFFF) / 65536.0 * 2 * kPi;
    // Two slow oscillations per axis, starting from the truth's view.
    auto path = [&](double s, double a, double b) {
        return 0.7 * std::sin(2 * kPi * 0.23 * s + a) + 0.3 * std::sin(2 * kPi * 0.71 * s + b);
    };
    const double tt = t * 5.0 / seconds;
    shot.dx = sweep.shift * (path(tt, p1, p2) - path(0, p1, p2)) / 2;
    shot.dy = sweep.shift * (path(tt, p3, p4) - path(0, p3, p4)) / 2;
    shot.scale = 1.0 + sweep.scaleSpan * shot.focus;
    shot.noise = sweep.noise;
    shot.noiseSeed = Hash(sweep.seed, static_cast<uint32_t>(std::lround(t * 1000)), 11);
    return shot;
}

}  // namespace vcam
