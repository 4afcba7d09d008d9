#pragma once
// Registration of a frame to the reference: a shift and a scale factor about the picture's
// centre, found coarse to fine on the grey pyramids. On the coarsest level of at least 32
// pixels a side an exhaustive search of whole-pixel shifts (normalised correlation) finds the
// neighbourhood; each finer level then refines shift, scale and a brightness offset by
// Gauss-Newton steps on the squared difference (gradients of both pictures averaged, which
// converges in a few steps), down to the finest level of at most kRegistrationPixels, whose
// sub-pixel estimate is the result. The match is judged by the normalised correlation of the
// aligned pictures two levels above that (defocus barely changes it there).
#include <cstdint>
#include <memory>

#include "stacking/pyramid.h"
#include "stacking/resample.h"

namespace orvane::stacking {

// The frame's pixel that shows the reference's pixel p is scale * (p - centre) + centre +
// (dx, dy), centre = ((width - 1) / 2, (height - 1) / 2), all in pixels of level 0.
struct Alignment {
    double scale = 1.0;
    double dx = 0.0;
    double dy = 0.0;
};

struct Registration {
    Alignment alignment;
    double match = 0.0;    // normalised correlation of the aligned pictures, -1..1
    double overlap = 0.0;  // share of the reference the aligned frame covers, 0..1
    bool found = false;    // match and overlap good enough, scale within range
};

constexpr int64_t kRegistrationPixels = int64_t{3} << 19;  // 1.5 Mi
constexpr double kMinMatch = 0.5;
constexpr double kMinOverlap = 0.5;
constexpr double kMinScale = 0.8;
constexpr double kMaxScale = 1.25;

class Registrar {
  public:
    bool Allocate(const PyramidShape& shape, BufferLedger* ledger);
    void Release();
    // Bytes Allocate takes for this shape.
    static uint64_t BytesFor(const PyramidShape& shape);

    // reference and frame hold the grey pyramids of the shape given to Allocate. The search
    // starts from guess (the previous frame's alignment, which follows a drifting hand).
    Registration Register(const PlanePyramid& reference, const PlanePyramid& frame,
                          const Alignment& guess);

    int FineLevel() const { return fine_; }
    int CoarseLevel() const { return coarse_; }

  private:
    // Levels used: refinement from coarse to fine, the match judged at check.
    static void ChooseLevels(const PyramidShape& shape, int* fine, int* coarse, int* check);
    void Search(const FloatPlane& ref, const FloatPlane& frame, double range, double* sx,
                double* sy) const;
    void Warp(const FloatPlane& frame, int level, double scale, double sx, double sy);
    bool Refine(const FloatPlane& ref, const FloatPlane& frame, int level, double* scale,
                double* sx, double* sy);
    double Match(const FloatPlane& ref, int level, double* overlap) const;

    PyramidShape shape_;
    int fine_ = 0;
    int coarse_ = 0;
    int check_ = 0;
    AxisTable cols_[kMaxLevels];
    AxisTable rows_[kMaxLevels];
    FloatPlane warped_[kMaxLevels];
    std::unique_ptr<float[]> rowTemp_;
    BufferLedger* ledger_ = nullptr;
    size_t rowTempBytes_ = 0;
};

}  // namespace orvane::stacking
