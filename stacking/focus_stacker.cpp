#include "stacking/focus_stacker.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <new>

#include "stacking/pyramid.h"
#include "stacking/resample.h"

namespace orvane::stacking {

namespace {

// The blend pyramid stops when the next level's shorter side would be under this.
constexpr int32_t kSmallestSide = 8;

// Parts of one Add, for the progress callback: grey pyramid, alignment, weights, the three
// colour channels.
constexpr float kPartAligned = 0.25f;
constexpr float kPartWeighed = 0.40f;
constexpr float kPartPerChannel = 0.20f;

bool SizeAccepted(int32_t width, int32_t height) {
    return width > 0 && height > 0 && width <= kMaxSide && height <= kMaxSide &&
           static_cast<int64_t>(width) * height <= kMaxPixels;
}

}  // namespace

struct FocusStacker::State {
    explicit State(size_t limit) : ledger(limit) {}

    BufferLedger ledger;
    PyramidShape shape;
    PlanePyramid sum[3];   // weighted Laplacian bands of blue, green, red
    PlanePyramid weight;   // sum of the weights' Gaussian pyramids
    PlanePyramid refGrey;  // the reference's grey pyramid
    PlanePyramid grey;     // the current frame's grey pyramid; level 0 doubles as work plane
    PlanePyramid frameW;   // the current frame's weight pyramid
    PlanePyramid colour;   // the current channel's Gaussian levels above 0
    FloatPlane aligned;    // the current frame's grey, then each channel, on the reference grid
    AxisTable cols, rows;  // the current frame's resampling taps
    Registrar registrar;
    std::unique_ptr<float[]> rows3;  // three rows of work
    size_t rowsBytes = 0;
    BgrImage picture;
    BgrImage reference;  // the first frame, which fills in where a later one does not reach
    size_t pictureBytes = 0;
    Alignment last;

    ~State() {
        ledger.Give(rowsBytes);
        ledger.Give(2 * pictureBytes);
    }

    bool Allocate(int32_t width, int32_t height) {
        shape = PyramidShape::For(width, height, kSmallestSide);
        for (PlanePyramid& p : sum)
            if (!p.Allocate(shape, 0, &ledger)) return false;
        if (!weight.Allocate(shape, 0, &ledger) || !refGrey.Allocate(shape, 0, &ledger) ||
            !grey.Allocate(shape, 0, &ledger) || !frameW.Allocate(shape, 0, &ledger) ||
            !colour.Allocate(shape, 1, &ledger) || !aligned.Allocate(width, height, &ledger) ||
            !cols.Allocate(width, &ledger) || !rows.Allocate(height, &ledger) ||
            !registrar.Allocate(shape, &ledger)) {
            return false;
        }
        const size_t count = static_cast<size_t>(width) * 3;
        if (!ledger.Take(count * sizeof(float))) return false;
        rowsBytes = count * sizeof(float);
        rows3.reset(new (std::nothrow) float[count]);
        if (!rows3) return false;
        size_t bytes = 0;
        if (!CheckedBytes(static_cast<uint64_t>(width) * height, 3, &bytes) ||
            !ledger.Take(bytes)) {
            return false;
        }
        if (!ledger.Take(bytes)) {
            ledger.Give(bytes);
            return false;
        }
        pictureBytes = bytes;
        if (!picture.Allocate(width, height) || !reference.Allocate(width, height)) return false;
        for (PlanePyramid& p : sum)
            for (int l = 0; l < shape.levels; ++l) p[l].Fill(0.0f);
        for (int l = 0; l < shape.levels; ++l) weight[l].Fill(0.0f);
        return true;
    }

    float* Row(int i) { return rows3.get() + static_cast<size_t>(i) * shape.width[0]; }

    // The grey pyramid of frame into g.
    void GreyPyramid(const BgrView& frame, PlanePyramid* g) {
        GreyPlane(frame, &(*g)[0]);
        for (int l = 1; l < shape.levels; ++l) Reduce((*g)[l - 1], &(*g)[l], Row(0));
    }

    // The frame's weight pyramid from its level 0, added to the running sum of weights.
    void AddWeights() {
        for (int l = 1; l < shape.levels; ++l) Reduce(frameW[l - 1], &frameW[l], Row(0));
        for (int l = 0; l < shape.levels; ++l) {
            const size_t n = static_cast<size_t>(shape.width[l]) * shape.height[l];
            float* s = weight[l].Data();
            const float* w = frameW[l].Data();
            for (size_t i = 0; i < n; ++i) s[i] += w[i];
        }
    }

    // Where the aligned frame does not reach, its channel takes the reference's: the bands
    // of its pyramid then see no false edge or repeated border there, and the weights (none
    // outside, tapering on the coarse levels) blend in nothing foreign.
    void FillUncovered(const CoveredBox& box, int channel) {
        const int32_t w = shape.width[0];
        for (int32_t y = 0; y < shape.height[0]; ++y) {
            const uint8_t* ref = reference.Row(y) + channel;
            float* a = aligned.Row(y);
            const bool inside = y >= box.y0 && y < box.y1;
            const int32_t left = inside ? std::min(box.x0, w) : w;
            for (int32_t x = 0; x < left; ++x) a[x] = ref[static_cast<size_t>(x) * 3];
            if (!inside) continue;
            for (int32_t x = std::max(box.x1, 0); x < w; ++x)
                a[x] = ref[static_cast<size_t>(x) * 3];
        }
    }

    // The Laplacian bands of the channel in `aligned`, weighted, added to sum.
    void AddBands(PlanePyramid* out) {
        const int top = shape.levels - 1;
        for (int l = 0; l < top; ++l) {
            const FloatPlane& g = l == 0 ? aligned : colour[l];
            Reduce(g, &colour[l + 1], Row(0));
            for (int32_t y = 0; y < shape.height[l]; ++y) {
                float* up = Row(1);
                ExpandRow(colour[l + 1], y, shape.width[l], up, Row(2));
                const float* gr = g.Row(y);
                const float* w = frameW[l].Row(y);
                float* s = (*out)[l].Row(y);
                for (int32_t x = 0; x < shape.width[l]; ++x) s[x] += w[x] * (gr[x] - up[x]);
            }
        }
        const FloatPlane& g = top == 0 ? aligned : colour[top];
        const size_t n = static_cast<size_t>(shape.width[top]) * shape.height[top];
        const float* gr = g.Data();
        const float* w = frameW[top].Data();
        float* s = (*out)[top].Data();
        for (size_t i = 0; i < n; ++i) s[i] += w[i] * gr[i];
    }

    // Divides each band by its weight and collapses the pyramid of one channel into the
    // picture's bytes.
    void Collapse(PlanePyramid* bands, int channel) {
        const int top = shape.levels - 1;
        for (int l = top; l >= 0; --l) {
            for (int32_t y = 0; y < shape.height[l]; ++y) {
                float* s = (*bands)[l].Row(y);
                const float* w = weight[l].Row(y);
                float* up = Row(1);
                if (l < top) ExpandRow((*bands)[l + 1], y, shape.width[l], up, Row(2));
                for (int32_t x = 0; x < shape.width[l]; ++x) {
                    const float v = w[x] > 0 ? s[x] / w[x] : 0.0f;
                    s[x] = l < top ? v + up[x] : v;
                }
            }
        }
        for (int32_t y = 0; y < shape.height[0]; ++y) {
            const float* s = (*bands)[0].Row(y);
            uint8_t* o = picture.Row(y) + channel;
            for (int32_t x = 0; x < shape.width[0]; ++x, o += 3) {
                const float v = std::clamp(s[x] + 0.5f, 0.0f, 255.0f);
                *o = static_cast<uint8_t>(v);
            }
        }
    }
};

FocusStacker::FocusStacker() : limit_(std::numeric_limits<size_t>::max()) {}

FocusStacker::~FocusStacker() = default;

uint64_t FocusStacker::WorkingBytesFor(int32_t width, int32_t height) {
    if (!SizeAccepted(width, height)) return 0;
    const PyramidShape shape = PyramidShape::For(width, height, kSmallestSide);
    const uint64_t pixels = static_cast<uint64_t>(width) * height;
    // sum x 3, weight, refGrey, grey, frameW: whole pyramids; colour above level 0; aligned;
    // the picture and the reference's copy.
    const uint64_t floats = 7 * shape.Samples(0) + shape.Samples(1) + pixels + 3 * width;
    return floats * sizeof(float) + static_cast<uint64_t>(width + height) * sizeof(AxisTap) +
           Registrar::BytesFor(shape) + pixels * 3 * 2;
}

void FocusStacker::SetMemoryLimit(size_t bytes) {
    limit_ = bytes;
}

void FocusStacker::SetProgress(ProgressCallback callback) {
    progress_ = std::move(callback);
}

void FocusStacker::SetFocusParams(const FocusParams& params) {
    params_ = params;
}

void FocusStacker::RequestCancel() {
    cancel_.store(true, std::memory_order_relaxed);
}

size_t FocusStacker::WorkingBytes() const {
    return state_ ? state_->ledger.Used() : 0;
}

size_t FocusStacker::PeakWorkingBytes() const {
    return std::max(peak_, state_ ? state_->ledger.Peak() : size_t{0});
}

void FocusStacker::Drop() {
    if (state_) peak_ = std::max(peak_, state_->ledger.Peak());
    state_.reset();
}

StackStatus FocusStacker::DropCancelled() {
    Drop();
    dropped_ = true;
    return StackStatus::kCancelled;
}

void FocusStacker::Report(int frame, float part) const {
    if (progress_) progress_(StackProgress{frame, part});
}

StackStatus FocusStacker::Begin(int32_t width, int32_t height) {
    Drop();
    dropped_ = false;
    cancel_.store(false, std::memory_order_relaxed);
    added_ = used_ = leftOut_ = 0;
    if (!SizeAccepted(width, height)) return StackStatus::kBadSize;
    if (WorkingBytesFor(width, height) > limit_) return StackStatus::kOutOfMemory;
    state_.reset(new (std::nothrow) State(limit_));
    if (!state_) return StackStatus::kOutOfMemory;
    if (!state_->Allocate(width, height)) {
        Drop();
        return StackStatus::kOutOfMemory;
    }
    return StackStatus::kOk;
}

StackStatus FocusStacker::Add(const BgrView& frame, Registration* registration) {
    if (!state_) return dropped_ ? StackStatus::kCancelled : StackStatus::kNotStarted;
    if (Cancelled()) {
        return DropCancelled();
    }
    State& s = *state_;
    const int index = added_++;
    if (frame.pixels == nullptr || frame.width != s.shape.width[0] ||
        frame.height != s.shape.height[0]) {
        ++leftOut_;
        return StackStatus::kSizeMismatch;
    }
    const ptrdiff_t rowBytes = static_cast<ptrdiff_t>(frame.width) * 3;
    if (frame.stride < rowBytes && frame.stride > -rowBytes) {
        ++leftOut_;
        return StackStatus::kBadSize;  // rows would overlap
    }
    Report(index, 0.0f);
    const bool first = used_ == 0;
    Registration placed;
    if (first) {
        s.GreyPyramid(frame, &s.refGrey);
        for (int32_t y = 0; y < frame.height; ++y)
            std::copy(frame.Row(y), frame.Row(y) + s.reference.Stride(), s.reference.Row(y));
        placed.match = 1.0;
        placed.overlap = 1.0;
        placed.found = true;
    } else {
        s.GreyPyramid(frame, &s.grey);
        if (Cancelled()) {
            return DropCancelled();
        }
        placed = s.registrar.Register(s.refGrey, s.grey, s.last);
    }
    if (registration != nullptr) *registration = placed;
    if (!placed.found) {
        ++leftOut_;
        return StackStatus::kNotAligned;
    }
    Report(index, kPartAligned);
    if (Cancelled()) {
        return DropCancelled();
    }
    const Alignment& a = placed.alignment;
    const double cx = (s.shape.width[0] - 1) * 0.5, cy = (s.shape.height[0] - 1) * 0.5;
    s.cols.Set(s.shape.width[0], a.scale, cx, a.dx);
    s.rows.Set(s.shape.height[0], a.scale, cy, a.dy);
    const CoveredBox covered{s.cols.ValidFirst(), s.cols.ValidLast(), s.rows.ValidFirst(),
                             s.rows.ValidLast()};
    WarpPlane(first ? s.refGrey[0] : s.grey[0], s.cols, s.rows, &s.aligned, s.Row(0));
    FocusWeights(s.aligned, covered, params_, &s.grey[0], &s.frameW[0], s.Row(0));
    s.AddWeights();
    Report(index, kPartWeighed);
    for (int c = 0; c < 3; ++c) {
        if (Cancelled()) {
            return DropCancelled();
        }
        WarpChannel(frame, c, s.cols, s.rows, &s.aligned, s.Row(0));
        if (!first) s.FillUncovered(covered, c);
        s.AddBands(&s.sum[c]);
        Report(index, kPartWeighed + kPartPerChannel * static_cast<float>(c + 1));
    }
    s.last = a;
    ++used_;
    return StackStatus::kOk;
}

StackStatus FocusStacker::Finish(BgrImage* picture) {
    if (!state_) {
        const bool cancelled = dropped_;
        dropped_ = false;
        return cancelled ? StackStatus::kCancelled : StackStatus::kNotStarted;
    }
    if (Cancelled()) {
        return DropCancelled();
    }
    if (used_ < 2) {
        Drop();
        return StackStatus::kTooFewFrames;
    }
    State& s = *state_;
    for (int c = 0; c < 3; ++c) {
        if (Cancelled()) {
            return DropCancelled();
        }
        s.Collapse(&s.sum[c], c);
    }
    *picture = std::move(s.picture);
    Drop();
    return StackStatus::kOk;
}

}  // namespace orvane::stacking
