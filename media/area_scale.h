#pragma once
// Shrinking a picture by averaging each target pixel's area of the source: the smooth result a
// halftone stretch gives, computed in one pass over the source.
#include <cstddef>
#include <cstdint>

namespace orvane {

struct PixelView {
    const uint8_t* bits = nullptr;  // first stored row
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;   // bytes from one stored row to the next (negative: bottom-up)
    int bytesPerPixel = 3;  // 3 (B G R) or 4 (B G R x)
};

struct PixelTarget {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;
    int bytesPerPixel = 3;
};

// Scales source into target (any sizes of at least 1 x 1; both row orders as their strides
// say). Each target pixel is the mean of the source pixels its area covers, weighted by cover;
// the fourth byte of 4-byte targets is zero. False for empty or unsupported views.
bool AreaScale(const PixelView& source, const PixelTarget& target);

}  // namespace orvane
