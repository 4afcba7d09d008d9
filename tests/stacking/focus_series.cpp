#include "tests/stacking/focus_series.h"

#include <cmath>
#include <map>
#include <memory>
#include <tuple>

namespace orvane::stacking::testing {

vcam::FocusShot SeriesShot(const SeriesPlan& plan, int k) {
    vcam::FocusShot shot;
    shot.focus = plan.frames > 1 ? static_cast<double>(k) / (plan.frames - 1) : 0.5;
    shot.noise = plan.noise;
    shot.noiseSeed = plan.seed * 1000u + static_cast<uint32_t>(k) + 1u;
    if (k > 0) {
        shot.dx = plan.offsetX + plan.shift * std::sin(1.7 * k);
        shot.dy = plan.shift * std::cos(2.3 * k);
        shot.scale = 1.0 + plan.scaleSpan * std::sin(0.9 * k);
    }
    return shot;
}

bool MakeSeries(const SeriesPlan& plan, Series* out) {
    vcam::FocusScene scene(plan.width, plan.height, plan.seed);
    out->frames.clear();
    out->shots.clear();
    if (!out->truth.Allocate(plan.width, plan.height) ||
        !scene.RenderTruth(out->truth.Data(), static_cast<ptrdiff_t>(out->truth.Stride()))) {
        return false;
    }
    for (int k = 0; k < plan.frames; ++k) {
        out->shots.push_back(SeriesShot(plan, k));
        BgrImage frame;
        if (!frame.Allocate(plan.width, plan.height) ||
            !scene.RenderFrame(out->shots.back(), frame.Data(),
                               static_cast<ptrdiff_t>(frame.Stride()))) {
            return false;
        }
        out->frames.push_back(std::move(frame));
    }
    return true;
}

bool SeriesPlan::operator<(const SeriesPlan& o) const {
    return std::tie(width, height, frames, shift, scaleSpan, noise, offsetX, seed) <
           std::tie(o.width, o.height, o.frames, o.shift, o.scaleSpan, o.noise, o.offsetX, o.seed);
}

const Series* SharedSeries(const SeriesPlan& plan) {
    static std::map<SeriesPlan, std::unique_ptr<Series>> rendered;
    std::unique_ptr<Series>& slot = rendered[plan];
    if (!slot) {
        slot = std::make_unique<Series>();
        if (!MakeSeries(plan, slot.get())) slot->frames.clear();
    }
    return slot->frames.empty() ? nullptr : slot.get();
}

double Psnr(const BgrImage& a, const BgrImage& b, int margin) {
    double sum = 0;
    double count = 0;
    for (int32_t y = margin; y < a.Height() - margin; ++y) {
        const uint8_t* p = a.Row(y);
        const uint8_t* q = b.Row(y);
        for (int32_t x = margin * 3; x < (a.Width() - margin) * 3; ++x) {
            const double d = static_cast<double>(p[x]) - q[x];
            sum += d * d;
            count += 1;
        }
    }
    if (sum == 0) return 99.0;
    return 10.0 * std::log10(255.0 * 255.0 * count / sum);
}

StackStatus StackAll(const std::vector<BgrImage>& frames, BgrImage* out, FocusStacker* given) {
    FocusStacker own;
    FocusStacker& stacker = given != nullptr ? *given : own;
    if (frames.empty()) return StackStatus::kTooFewFrames;
    StackStatus s = stacker.Begin(frames[0].Width(), frames[0].Height());
    if (s != StackStatus::kOk) return s;
    for (const BgrImage& f : frames) {
        s = stacker.Add(f.View());
        if (s != StackStatus::kOk) return s;
    }
    return stacker.Finish(out);
}

}  // namespace orvane::stacking::testing
