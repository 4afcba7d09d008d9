#include "stacking/resample.h"

#include <cmath>
#include <new>

namespace orvane::stacking {

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
        const float f = static_cast<float>(u - base);
        AxisTap& tap = taps_[i];
        const double first = base - 1;
        for (int k = 0; k < 4; ++k) {
            double at = first + k;
            at = at < 0 ? 0 : (at > sourceCount - 1 ? sourceCount - 1 : at);
            tap.index[k] = static_cast<int32_t>(at);
        }
        const float f2 = f * f, f3 = f2 * f;
        tap.weight[0] = -0.5f * f3 + f2 - 0.5f * f;
        tap.weight[1] = 1.5f * f3 - 2.5f * f2 + 1.0f;
        tap.weight[2] = -1.5f * f3 + 2.0f * f2 + 0.5f * f;
        tap.weight[3] = 0.5f * f3 - 0.5f * f2;
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
        o[x] = c.weight[0] * t[c.index[0]] + c.weight[1] * t[c.index[1]] +
               c.weight[2] * t[c.index[2]] + c.weight[3] * t[c.index[3]];
    }
}

}  // namespace

void WarpPlane(const FloatPlane& source, const AxisTable& cols, const AxisTable& rows,
               FloatPlane* out, float* t) {
    const int32_t w = source.Width();
    for (int32_t y = 0; y < rows.Count(); ++y) {
        const AxisTap& r = rows[y];
        const float* a = source.Row(r.index[0]);
        const float* b = source.Row(r.index[1]);
        const float* c = source.Row(r.index[2]);
        const float* d = source.Row(r.index[3]);
        const float wa = r.weight[0], wb = r.weight[1], wc = r.weight[2], wd = r.weight[3];
        for (int32_t x = 0; x < w; ++x) t[x] = wa * a[x] + wb * b[x] + wc * c[x] + wd * d[x];
        HorizontalPass(t, cols, out->Row(y));
    }
}

void WarpChannel(const BgrView& source, int channel, const AxisTable& cols, const AxisTable& rows,
                 FloatPlane* out, float* t) {
    const int32_t w = source.width;
    for (int32_t y = 0; y < rows.Count(); ++y) {
        const AxisTap& r = rows[y];
        const uint8_t* a = source.Row(r.index[0]) + channel;
        const uint8_t* b = source.Row(r.index[1]) + channel;
        const uint8_t* c = source.Row(r.index[2]) + channel;
        const uint8_t* d = source.Row(r.index[3]) + channel;
        const float wa = r.weight[0], wb = r.weight[1], wc = r.weight[2], wd = r.weight[3];
        for (int32_t x = 0; x < w; ++x) {
            const size_t i = static_cast<size_t>(x) * 3;
            t[x] = wa * a[i] + wb * b[i] + wc * c[i] + wd * d[i];
        }
        HorizontalPass(t, cols, out->Row(y));
    }
}

}  // namespace orvane::stacking
