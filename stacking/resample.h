#pragma once
// Resampling a frame onto the reference's pixel grid. The frame differs from the reference by
// a shift and a scale about the picture's centre, so the mapping is separable: output column
// x reads source column scale * (x - cx) + cx + dx, output row y source row
// scale * (y - cy) + cy + dy. Each axis gets a table of four Catmull-Rom taps per output
// sample (indices clamped into the source), and the warp runs a vertical pass into one row of
// the source's width, then a horizontal pass out of it.
#include <cstdint>
#include <memory>

#include "stacking/stack_image.h"

namespace orvane::stacking {

constexpr int kTaps = 6;

struct AxisTap {
    int32_t index[kTaps];
    float weight[kTaps];
};

class AxisTable {
  public:
    // Taps of outputs [0, count) over a source of sourceCount samples; false when the memory
    // cannot be had.
    bool Allocate(int32_t count, BufferLedger* ledger);
    void Release();
    // Fills the taps for source = scale * (i - centre) + centre + shift.
    void Set(int32_t sourceCount, double scale, double centre, double shift);

    const AxisTap& operator[](int32_t i) const { return taps_[i]; }
    int32_t Count() const { return count_; }
    // Outputs in [first, last) read a source position inside the source.
    int32_t ValidFirst() const { return first_; }
    int32_t ValidLast() const { return last_; }

  private:
    std::unique_ptr<AxisTap[]> taps_;
    int32_t count_ = 0;
    int32_t first_ = 0;
    int32_t last_ = 0;
    BufferLedger* ledger_ = nullptr;
};

// Grey value of a blue, green, red pixel, on the 0..255 scale.
inline float GreyOf(const uint8_t* bgr) {
    return 0.114f * bgr[0] + 0.587f * bgr[1] + 0.299f * bgr[2];
}

// The grey plane of a frame (out has the frame's size).
void GreyPlane(const BgrView& frame, FloatPlane* out);

// out (cols.Count() x rows.Count()) from a float plane or one channel (0 blue, 1 green,
// 2 red) of a frame. rowTemp holds the source's width in floats.
void WarpPlane(const FloatPlane& source, const AxisTable& cols, const AxisTable& rows,
               FloatPlane* out, float* rowTemp);
void WarpChannel(const BgrView& source, int channel, const AxisTable& cols, const AxisTable& rows,
                 FloatPlane* out, float* rowTemp);

}  // namespace orvane::stacking
