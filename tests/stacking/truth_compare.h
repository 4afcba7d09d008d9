#pragma once
// Pictures of the camera's focus sweep against its all-in-focus truth: the truth as the camera
// delivers it (through its YUY2 conversion and the program's decoding), and the PSNR of a
// picture in any view of the scene after aligning it onto the truth's view.
#include <cstdint>

#include "stacking/stack_image.h"
#include "stacking/registration.h"

namespace orvane::stacking::testing {

// A YUY2 frame (width even, rows top-down) decoded by the program's own conversion.
bool DecodeYuy2(const uint8_t* yuy2, int32_t width, int32_t height, BgrImage* out);

// The camera's truth at this size: FocusScene's all-in-focus view through the camera's YUY2.
bool CameraTruth(int32_t width, int32_t height, BgrImage* out);

struct AlignedComparison {
    bool aligned = false;
    double psnr = 0.0;   // over the three channels of the compared area
    Alignment placed;    // where the truth's pixels lie in the picture
    int64_t pixels = 0;  // compared
};

// Registers picture to the truth (the stacker's own registration), resamples it onto the
// truth's pixel grid and compares the part that both cover, less margin pixels at each side.
AlignedComparison CompareAligned(const BgrImage& truth, const BgrView& picture, int margin = 8);

}  // namespace orvane::stacking::testing
