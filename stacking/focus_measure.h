#pragma once
// The local focus measure and the blend weights it gives. Sharpness is the energy of the
// grey picture's Laplacian averaged over a small neighbourhood (two passes of a box, a
// tent of 2 * 2 * radius + 1 pixels): it answers to the finest detail, where defocus acts
// first. The weight of a pixel is ((energy + floor) / floor) ^ power: the floor stands for
// the energy of sensor noise, so where no frame shows detail every frame weighs about the
// same and the blend averages the noise down instead of picking its largest swings; the
// power makes the sharpest frame dominate where there is detail. Pixels the aligned frame
// does not cover weigh nothing.
#include <cstdint>

#include "stacking/stack_image.h"

namespace orvane::stacking {

struct FocusParams {
    float noiseFloor = 48.0f;  // squared Laplacian of the noise, 0..255 grey scale
    int power = 6;             // 1..8
    int radius = 3;            // 1..8 pixels
};

// Box of the picture a frame covers: columns [x0, x1), rows [y0, y1).
struct CoveredBox {
    int32_t x0 = 0, x1 = 0, y0 = 0, y1 = 0;
};

// weights (level 0 of the weight pyramid, the size of grey) of the aligned grey plane. energy
// is a plane of the same size used for the work, rowTemp holds one row.
void FocusWeights(const FloatPlane& grey, const CoveredBox& covered, const FocusParams& params,
                  FloatPlane* energy, FloatPlane* weights, float* rowTemp);

}  // namespace orvane::stacking
