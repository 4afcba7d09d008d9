#pragma once
// Focus series rendered from the virtual camera's focus scene, for the stacking tests and
// benchmarks: frames swept through the specimen's depth, optionally moved and scaled as by a
// hand, and the all-in-focus truth in the first frame's view.
#include <cstdint>
#include <vector>

#include "stacking/focus_stacker.h"
#include "tools/virtualcam/focus_scene.h"

namespace orvane::stacking::testing {

struct SeriesPlan {
    int width = 320;
    int height = 240;
    int frames = 8;
    double shift = 0.0;      // frames after the first move by up to this many pixels
    double scaleSpan = 0.0;  // and change scale by up to this share
    double noise = 2.0;      // sensor noise, grey levels
    double offsetX = 0.0;    // frames after the first also move this far right
    uint32_t seed = 1;

    bool operator<(const SeriesPlan& o) const;
};

struct Series {
    std::vector<BgrImage> frames;
    std::vector<vcam::FocusShot> shots;
    BgrImage truth;
};

// Focus runs from depth 0 (first frame) to 1 (last); frame k > 0 lands at
// (offsetX + shift * sin(1.7 k), shift * cos(2.3 k)) with scale 1 + scaleSpan * sin(0.9 k).
vcam::FocusShot SeriesShot(const SeriesPlan& plan, int k);
// False when a picture could not be rendered.
bool MakeSeries(const SeriesPlan& plan, Series* out);
// The series of plan, rendered once per program (tests share them); nullptr when it could not
// be rendered.
const Series* SharedSeries(const SeriesPlan& plan);

double Psnr(const BgrImage& a, const BgrImage& b, int margin = 0);

// Begin, Add every frame, Finish; the first status that is not kOk, or kOk.
StackStatus StackAll(const std::vector<BgrImage>& frames, BgrImage* out,
                     FocusStacker* stacker = nullptr);

}  // namespace orvane::stacking::testing
