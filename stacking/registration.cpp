#include "stacking/registration.h"

#include <algorithm>
#include <cmath>
#include <new>

namespace orvane::stacking {

namespace {

constexpr int32_t kSearchSide = 32;    // the search level's shorter side at least
constexpr double kSearchPixels = 24;   // the whole-pixel search reaches this far at least,
constexpr double kSearchShare = 0.02;  // or this share of the longer side
constexpr int32_t kSearchReach = 32;   // whole-pixel offsets tried either way at most
constexpr double kSearchSums = 2e8;    // correlation sums of the search at most
constexpr int kSteps = 12;             // Gauss-Newton steps per level at most
constexpr double kDone = 0.004;        // a step moving no point further than this ends a level

struct Sums {
    double r = 0, f = 0, rr = 0, ff = 0, rf = 0, n = 0;
    double Correlation() const {
        if (n < 1) return -1;
        const double vr = rr - r * r / n, vf = ff - f * f / n;
        if (vr <= 0 || vf <= 0) return -1;
        return (rf - r * f / n) / std::sqrt(vr * vf);
    }
};

// Solves a * x = b for a symmetric positive 4 x 4 system by elimination with pivoting.
bool Solve4(double a[4][4], double b[4], double x[4]) {
    int order[4] = {0, 1, 2, 3};
    for (int c = 0; c < 4; ++c) {
        int pivot = c;
        for (int r = c + 1; r < 4; ++r)
            if (std::fabs(a[order[r]][c]) > std::fabs(a[order[pivot]][c])) pivot = r;
        std::swap(order[c], order[pivot]);
        const double p = a[order[c]][c];
        if (!(std::fabs(p) > 1e-12)) return false;
        for (int r = c + 1; r < 4; ++r) {
            const double k = a[order[r]][c] / p;
            for (int j = c; j < 4; ++j) a[order[r]][j] -= k * a[order[c]][j];
            b[order[r]] -= k * b[order[c]];
        }
    }
    for (int c = 3; c >= 0; --c) {
        double v = b[order[c]];
        for (int j = c + 1; j < 4; ++j) v -= a[order[c]][j] * x[j];
        x[c] = v / a[order[c]][c];
    }
    return std::isfinite(x[0]) && std::isfinite(x[1]) && std::isfinite(x[2]) && std::isfinite(x[3]);
}

}  // namespace

void Registrar::ChooseLevels(const PyramidShape& shape, int* fine, int* coarse, int* check) {
    *fine = shape.levels - 1;
    for (int l = 0; l < shape.levels; ++l) {
        if (static_cast<int64_t>(shape.width[l]) * shape.height[l] <= kRegistrationPixels) {
            *fine = l;
            break;
        }
    }
    *coarse = *fine;
    for (int l = *fine; l < shape.levels; ++l)
        if (std::min(shape.width[l], shape.height[l]) >= kSearchSide) *coarse = l;
    *check = std::min(*fine + 2, *coarse);
}

uint64_t Registrar::BytesFor(const PyramidShape& shape) {
    int fine = 0, coarse = 0, check = 0;
    ChooseLevels(shape, &fine, &coarse, &check);
    uint64_t bytes = static_cast<uint64_t>(shape.width[fine]) * sizeof(float);
    for (int l = fine; l <= coarse; ++l) {
        bytes += static_cast<uint64_t>(shape.width[l] + shape.height[l]) * sizeof(AxisTap);
        bytes += static_cast<uint64_t>(shape.width[l]) * shape.height[l] * sizeof(float);
    }
    return bytes;
}

bool Registrar::Allocate(const PyramidShape& shape, BufferLedger* ledger) {
    Release();
    shape_ = shape;
    ChooseLevels(shape, &fine_, &coarse_, &check_);
    for (int l = fine_; l <= coarse_; ++l) {
        if (!cols_[l].Allocate(shape.width[l], ledger) ||
            !rows_[l].Allocate(shape.height[l], ledger) ||
            !warped_[l].Allocate(shape.width[l], shape.height[l], ledger)) {
            Release();
            return false;
        }
    }
    const size_t count = static_cast<size_t>(shape.width[fine_]);
    rowTempBytes_ = count * sizeof(float);
    if (!ledger->Take(rowTempBytes_)) {
        Release();
        return false;
    }
    rowTemp_.reset(new (std::nothrow) float[count]);
    ledger_ = ledger;
    if (!rowTemp_) {
        Release();
        return false;
    }
    return true;
}

void Registrar::Release() {
    for (int l = 0; l < kMaxLevels; ++l) {
        cols_[l].Release();
        rows_[l].Release();
        warped_[l].Release();
    }
    if (ledger_ != nullptr) ledger_->Give(rowTempBytes_);
    rowTemp_.reset();
    rowTempBytes_ = 0;
    ledger_ = nullptr;
}

void Registrar::Search(const FloatPlane& ref, const FloatPlane& frame, double range, double* sx,
                       double* sy) const {
    const int32_t w = ref.Width(), h = ref.Height();
    // The search costs (2 reach + 1)^2 correlations over the level: a few hundred million
    // sums at most, and never more than 32 pixels of this level either way.
    const double fit = (std::sqrt(kSearchSums / (static_cast<double>(w) * h)) - 1) / 2;
    const int32_t reach = static_cast<int32_t>(
        std::max(1.0, std::min({std::ceil(range), static_cast<double>(kSearchReach), fit})));
    const int32_t gx = static_cast<int32_t>(std::lround(*sx));
    const int32_t gy = static_cast<int32_t>(std::lround(*sy));
    const int32_t side = 2 * reach + 1;
    // Correlation of every offset, kept for the sub-pixel fit around the best one.
    constexpr int32_t kMaxSide = 2 * kSearchReach + 1;
    double score[kMaxSide * kMaxSide];
    double best = -2;
    int32_t bx = 0, by = 0;
    for (int32_t oy = -reach; oy <= reach; ++oy) {
        for (int32_t ox = -reach; ox <= reach; ++ox) {
            const int32_t tx = gx + ox, ty = gy + oy;
            const int32_t x0 = std::max(0, -tx), x1 = std::min(w, w - tx);
            const int32_t y0 = std::max(0, -ty), y1 = std::min(h, h - ty);
            double c = -2;
            if (x1 - x0 >= w / 2 && y1 - y0 >= h / 2) {
                Sums s;
                for (int32_t y = y0; y < y1; ++y) {
                    const float* r = ref.Row(y);
                    const float* f = frame.Row(y + ty) + tx;
                    double a = 0, b = 0, aa = 0, bb = 0, ab = 0;
                    for (int32_t x = x0; x < x1; ++x) {
                        a += r[x];
                        b += f[x];
                        aa += r[x] * r[x];
                        bb += f[x] * f[x];
                        ab += r[x] * f[x];
                    }
                    s.r += a;
                    s.f += b;
                    s.rr += aa;
                    s.ff += bb;
                    s.rf += ab;
                }
                s.n = static_cast<double>(x1 - x0) * (y1 - y0);
                c = s.Correlation();
            }
            score[(oy + reach) * side + ox + reach] = c;
            if (c > best) {
                best = c;
                bx = ox;
                by = oy;
            }
        }
    }
    if (best <= -2) return;
    // A parabola through the best score and its neighbours places the peak between pixels.
    auto at = [&](int32_t ox, int32_t oy) { return score[(oy + reach) * side + ox + reach]; };
    auto vertex = [](double l, double m, double r) {
        const double d = l - 2 * m + r;
        if (l <= -2 || r <= -2 || d >= 0) return 0.0;
        return std::clamp(0.5 * (l - r) / d, -0.5, 0.5);
    };
    double fx = 0, fy = 0;
    if (bx > -reach && bx < reach) fx = vertex(at(bx - 1, by), best, at(bx + 1, by));
    if (by > -reach && by < reach) fy = vertex(at(bx, by - 1), best, at(bx, by + 1));
    *sx = gx + bx + fx;
    *sy = gy + by + fy;
}

void Registrar::Warp(const FloatPlane& frame, int level, double scale, double sx, double sy) {
    const double k = std::ldexp(1.0, -level);
    const double cx = (shape_.width[0] - 1) * 0.5 * k, cy = (shape_.height[0] - 1) * 0.5 * k;
    cols_[level].Set(shape_.width[level], scale, cx, sx);
    rows_[level].Set(shape_.height[level], scale, cy, sy);
    WarpPlane(frame, cols_[level], rows_[level], &warped_[level], rowTemp_.get());
}

bool Registrar::Refine(const FloatPlane& ref, const FloatPlane& frame, int level, double* scale,
                       double* sx, double* sy) {
    const double k = std::ldexp(1.0, -level);
    const double cx = (shape_.width[0] - 1) * 0.5 * k, cy = (shape_.height[0] - 1) * 0.5 * k;
    const int32_t w = shape_.width[level], h = shape_.height[level];
    const double reach = 0.5 * std::max(w, h);
    double bias = 0;
    for (int step = 0; step < kSteps; ++step) {
        Warp(frame, level, *scale, *sx, *sy);
        const AxisTable& cols = cols_[level];
        const AxisTable& rows = rows_[level];
        const int32_t x0 = std::max(1, cols.ValidFirst() + 1);
        const int32_t x1 = std::min(w - 1, cols.ValidLast() - 1);
        const int32_t y0 = std::max(1, rows.ValidFirst() + 1);
        const int32_t y1 = std::min(h - 1, rows.ValidLast() - 1);
        if (x1 - x0 < 4 || y1 - y0 < 4) return false;
        double a[4][4] = {};
        double b[4] = {};
        const FloatPlane& wp = warped_[level];
        const float inv = static_cast<float>(1.0 / *scale);
        const float fbias = static_cast<float>(bias);
        for (int32_t y = y0; y < y1; ++y) {
            const float* r = ref.Row(y);
            const float* ru = ref.Row(y - 1);
            const float* rd = ref.Row(y + 1);
            const float* f = wp.Row(y);
            const float* fu = wp.Row(y - 1);
            const float* fd = wp.Row(y + 1);
            const float yy = static_cast<float>(y - cy);
            // Row sums in float stay exact enough over one row; the image sums are double.
            float s[14] = {};
            for (int32_t x = x0; x < x1; ++x) {
                const float gx = 0.25f * ((f[x + 1] - f[x - 1]) * inv + (r[x + 1] - r[x - 1]));
                const float gy = 0.25f * ((fd[x] - fu[x]) * inv + (rd[x] - ru[x]));
                const float xx = static_cast<float>(x - cx);
                const float gs = gx * xx + gy * yy;
                const float e = f[x] + fbias - r[x];
                s[0] += gx * gx;
                s[1] += gx * gy;
                s[2] += gx * gs;
                s[3] += gx;
                s[4] += gy * gy;
                s[5] += gy * gs;
                s[6] += gy;
                s[7] += gs * gs;
                s[8] += gs;
                s[9] += gx * e;
                s[10] += gy * e;
                s[11] += gs * e;
                s[12] += e;
                s[13] += 1;
            }
            a[0][0] += s[0];
            a[0][1] += s[1];
            a[0][2] += s[2];
            a[0][3] += s[3];
            a[1][1] += s[4];
            a[1][2] += s[5];
            a[1][3] += s[6];
            a[2][2] += s[7];
            a[2][3] += s[8];
            a[3][3] += s[13];
            b[0] -= s[9];
            b[1] -= s[10];
            b[2] -= s[11];
            b[3] -= s[12];
        }
        for (int i = 0; i < 4; ++i)
            for (int j = 0; j < i; ++j) a[i][j] = a[j][i];
        double d[4];
        if (!Solve4(a, b, d)) return false;
        const double move = std::max(std::fabs(d[0]), std::fabs(d[1]));
        const double limit = 2.0;
        const double cut = move > limit ? limit / move : 1.0;
        *sx += d[0] * cut;
        *sy += d[1] * cut;
        *scale += d[2] * cut;
        bias += d[3] * cut;
        if (!(*scale > kMinScale * 0.9 && *scale < kMaxScale * 1.1)) return false;
        if (move < kDone && std::fabs(d[2]) * reach < kDone) break;
    }
    return true;
}

double Registrar::Match(const FloatPlane& ref, int level, double* overlap) const {
    const AxisTable& cols = cols_[level];
    const AxisTable& rows = rows_[level];
    const int32_t w = shape_.width[level], h = shape_.height[level];
    *overlap = static_cast<double>(cols.ValidLast() - cols.ValidFirst()) *
               (rows.ValidLast() - rows.ValidFirst()) / (static_cast<double>(w) * h);
    Sums s;
    for (int32_t y = rows.ValidFirst(); y < rows.ValidLast(); ++y) {
        const float* r = ref.Row(y);
        const float* f = warped_[level].Row(y);
        for (int32_t x = cols.ValidFirst(); x < cols.ValidLast(); ++x) {
            s.r += r[x];
            s.f += f[x];
            s.rr += static_cast<double>(r[x]) * r[x];
            s.ff += static_cast<double>(f[x]) * f[x];
            s.rf += static_cast<double>(r[x]) * f[x];
        }
    }
    s.n = static_cast<double>(cols.ValidLast() - cols.ValidFirst()) *
          (rows.ValidLast() - rows.ValidFirst());
    return s.Correlation();
}

Registration Registrar::Register(const PlanePyramid& reference, const PlanePyramid& frame,
                                 const Alignment& guess) {
    Registration out;
    double scale = std::clamp(guess.scale, kMinScale, kMaxScale);
    double tx = guess.dx, ty = guess.dy;
    {
        const double k = std::ldexp(1.0, coarse_);
        const double range =
            std::max(kSearchPixels, kSearchShare * std::max(shape_.width[0], shape_.height[0]));
        double sx = tx / k, sy = ty / k;
        Search(reference[coarse_], frame[coarse_], range / k, &sx, &sy);
        tx = sx * k;
        ty = sy * k;
    }
    for (int l = coarse_; l >= fine_; --l) {
        const double k = std::ldexp(1.0, l);
        double sx = tx / k, sy = ty / k;
        if (!Refine(reference[l], frame[l], l, &scale, &sx, &sy)) return out;
        tx = sx * k;
        ty = sy * k;
    }
    out.alignment = Alignment{scale, tx, ty};
    const double k = std::ldexp(1.0, -check_);
    Warp(frame[check_], check_, scale, tx * k, ty * k);
    out.match = Match(reference[check_], check_, &out.overlap);
    out.found = std::isfinite(scale) && std::isfinite(tx) && std::isfinite(ty) &&
                scale >= kMinScale && scale <= kMaxScale && out.match >= kMinMatch &&
                out.overlap >= kMinOverlap;
    return out;
}

}  // namespace orvane::stacking
