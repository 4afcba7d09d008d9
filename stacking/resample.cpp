#include "stacking/resample.h"

#include <cmath>
#include <new>

namespace orvane::stacking {

namespace {

constexpr double kPi = 3.14159265358979323846;

// sinc(x) * sinc(x / lobes) for |x| < lobes, lobes = kTaps / 2.
double Lanczos(double x) {
    constexpr double lobes = kTaps / 2;
    if (std::fabs(x) < 1e-9) return 1.0;
    if (std::fabs(x) >= lobes) return 0.0;
    const double a = kPi * x;
    return lobes * std::sin(a) * std::sin(a / lobes) / (a * a);
}

}  // namespace

bool AxisTable::Allocate(int32_t count, BufferLedger* ledger) {
    Release();
    size_t bytes = 0;
    if (count <= 0 || !CheckedBytes(static_cast<uint64_t>(count), sizeof(AxisTap), &bytes))
        return false;
    if (ledger != nullptr && !ledger->Take(bytes)) return false;
    taps_.reset(new (std::nothrow) AxisTap[static_cast<size_t>(count)]);
    if (!taps_) {
        if (ledger != nullptr) ledger->Give(bytes);
        return false;
    }
    count_ = count;
    ledger_ = ledger;
    return true;
}

void AxisTable::Release() {
    if (taps_ && ledger_ != nullptr) ledger_->Give(static_cast<size_t>(count_) * sizeof(AxisTap));
    taps_.reset();
    count_ = 0;
    ledger_ = nullptr;
}

void AxisTable::Set(int32_t sourceCount, double scale, double centre, double shift) {
    // A source position this close to the first or last sample still counts as inside.
    constexpr double kSlack = 1e-3;
    first_ = count_;
    last_ = 0;
    for (int32_t i = 0; i < count_; ++i) {
        const double u = scale * (i - centre) + centre + shift;
        const double base = std::floor(u);
        AxisTap& tap = taps_[i];
        const double first = base - (kTaps / 2 - 1);
        double sum = 0;
        double weight[kTaps];
        for (int k = 0; k < kTaps; ++k) {
            double at = first + k;
            weight[k] = Lanczos(at - u);
            sum += weight[k];
            at = at < 0 ? 0 : (at > sourceCount - 1 ? sourceCount - 1 : at);
            tap.index[k] = static_cast<int32_t>(at);
        }
        // Normalised, so that a flat picture stays flat at every shift.
        for (int k = 0; k < kTaps; ++k) tap.weight[k] = static_cast<float>(weight[k] / sum);
        if (u >= -kSlack && u <= sourceCount - 1 + kSlack) {
            if (i < first_) first_ = i;
            last_ = i + 1;
        }
    }
    if (first_ >= last_) first_ = last_ = 0;
}

void GreyPlane(const BgrView& frame, FloatPlane* out) {
    for (int32_t y = 0; y < frame.height; ++y) {
        const uint8_t* in = frame.Row(y);
        float* o = out->Row(y);
        for (int32_t x = 0; x < frame.width; ++x, in += 3) o[x] = GreyOf(in);
    }
}

namespace {

void HorizontalPass(const float* t, const AxisTable& cols, float* o) {
    const int32_t n = cols.Count();
    for (int32_t x = 0; x < n; ++x) {
        const AxisTap& c = cols[x];
        float v = 0;
        for (int k = 0; k < kTaps; ++k) v += c.weight[k] * t[c.index[k]];
        o[x] = v;
    }
}

}  // namespace

void WarpPlane(const FloatPlane& source, const AxisTable& cols, const AxisTable& rows,
               FloatPlane* out, float* t) {
    const int32_t w = source.Width();
    for (int32_t y = 0; y < rows.Count(); ++y) {
        const AxisTap& r = rows[y];
        const float* a = source.Row(r.index[0]);
        const float wa = r.weight[0];
        for (int32_t x = 0; x < w; ++x) t[x] = wa * a[x];
        for (int k = 1; k < kTaps; ++k) {
            const float* b = source.Row(r.index[k]);
            const float wb = r.weight[k];
            for (int32_t x = 0; x < w; ++x) t[x] += wb * b[x];
        }
        HorizontalPass(t, cols, out->Row(y));
    }
}

void WarpChannel(const BgrView& source, int channel, const AxisTable& cols, const AxisTable& rows,
                 FloatPlane* out, float* t) {
    const int32_t w = source.width;
    for (int32_t y = 0; y < rows.Count(); ++y) {
        const AxisTap& r = rows[y];
        const uint8_t* a = source.Row(r.index[0]) + channel;
        const float wa = r.weight[0];
        for (int32_t x = 0; x < w; ++x) t[x] = wa * a[static_cast<size_t>(x) * 3];
        for (int k = 1; k < kTaps; ++k) {
            const uint8_t* b = source.Row(r.index[k]) + channel;
            const float wb = r.weight[k];
            for (int32_t x = 0; x < w; ++x) t[x] += wb * b[static_cast<size_t>(x) * 3];
        }
        HorizontalPass(t, cols, out->Row(y));
    }
}

}  // namespace orvane::stacking
