#pragma once
// Gaussian and Laplacian pyramids in the manner of Burt and Adelson: each level is the one
// below smoothed with the 5-tap binomial [1 4 6 4 1] / 16 in both directions and taken at
// every second sample (sizes rounded up); expanding interpolates with the same kernel. Edges
// repeat their last sample. Any expansion rebuilds a Laplacian pyramid exactly, since each
// band is the level minus the expansion of the level above.
#include <cstdint>

#include "stacking/stack_image.h"

namespace orvane::stacking {

constexpr int kMaxLevels = 14;

struct PyramidShape {
    int levels = 0;
    int32_t width[kMaxLevels] = {};
    int32_t height[kMaxLevels] = {};

    // Halves until the next level's shorter side would fall below smallestSide (level 0 is
    // always there).
    static PyramidShape For(int32_t width, int32_t height, int32_t smallestSide);
    // Floats of all levels from first up.
    uint64_t Samples(int first = 0) const;
};

// Levels [first, shape.levels) of one channel; the levels below first stay empty (level 0 of
// a frame's pyramid is often a plane held elsewhere).
class PlanePyramid {
  public:
    bool Allocate(const PyramidShape& shape, int first, BufferLedger* ledger);
    void Release();
    int Levels() const { return levels_; }
    FloatPlane& operator[](int level) { return level_[level]; }
    const FloatPlane& operator[](int level) const { return level_[level]; }

  private:
    FloatPlane level_[kMaxLevels];
    int levels_ = 0;
};

// out (the coarser level, already allocated at half size rounded up) from in. rowTemp holds
// in.Width() floats.
void Reduce(const FloatPlane& in, FloatPlane* out, float* rowTemp);

// Row y of coarse expanded to the finer level of fineWidth x (any height); rowTemp holds
// coarse.Width() floats.
void ExpandRow(const FloatPlane& coarse, int32_t y, int32_t fineWidth, float* out, float* rowTemp);

}  // namespace orvane::stacking
