#pragma once
// Shrinking a picture by averaging each target pixel's area of the source: the smooth result a
// halftone stretch gives, computed in one pass over the source.
#include <cstddef>
#include <cstdint>
#include <memory>

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

namespace orvane {

// Scales a 24-bit picture (B G R, both views 3 bytes a pixel, row y at bits + y * stride) into
// target with the look of a halftone stretch, in integer arithmetic only, so every build gives
// the same bytes. Each axis of S source and T target pixels gives every target pixel weights
// of consecutive source pixels, in 1/256, adding up to 256:
//  - T <= S (shrinking, or keeping the size): area averaging. Target pixel t covers the source
//    interval [t * S / T, (t + 1) * S / T). With C(s) the part of it that source pixels up to s
//    cover, in units of 1/T pixel (S in all), the weights up to s add up to
//    floor((512 * C(s) + S) / (2 * S)): the covers rounded cumulatively, half up.
//  - T > S (enlarging): linear interpolation between the two source pixels on either side of
//    the target pixel's centre, which lies at n / (2 * T) with n = (2 * t + 1) * S - T on the
//    source axis (pixel centres at whole numbers). With n = 2 * T * s + f, source s + 1 weighs
//    floor((256 * f + T) / (2 * T)) and s the rest; before the first centre (n <= 0) and from
//    the last one on, the edge pixel weighs 256.
// Each channel of target (x, y) is floor((sum of wx * wy * source + 32768) / 65536) over the
// source pixels both axes weigh. Weights are in 1/256: beyond a reduction of 16 times along an
// axis equal covers get unequal rounded weights, beyond 256 times some get none. False for
// views that are empty or not 3 bytes a pixel, or when the working memory cannot be had.
bool HalftoneScale(const PixelView& source, const PixelTarget& target);

// The kernels HalftoneScale can use: the plain one (the reference) and the best this
// processor runs (SSE2 on x86, else plain). For the tests and benchmarks.
enum class ScaleKernels { kPlain, kBest };
bool HalftoneScaleWith(ScaleKernels kernels, const PixelView& source, const PixelTarget& target);

// HalftoneScale prepared once for two sizes, so that rows of the target can be made in any
// order, by several threads at once (each with rows of its own): the same bytes as a whole.
class HalftoneScaler {
  public:
    HalftoneScaler();
    ~HalftoneScaler();
    HalftoneScaler(const HalftoneScaler&) = delete;
    HalftoneScaler& operator=(const HalftoneScaler&) = delete;
    // False for a size below 1 x 1 or when the working memory cannot be had.
    bool Prepare(int sourceWidth, int sourceHeight, int targetWidth, int targetHeight,
                 ScaleKernels kernels = ScaleKernels::kBest);
    // Target rows [first, first + count) into target's rows 0 .. count - 1 (target.height is
    // not read). False without a matching preparation or for rows outside the target.
    bool ScaleRows(const PixelView& source, const PixelTarget& target, int first, int count) const;

  private:
    struct Plan;
    std::unique_ptr<Plan> plan_;
};

}  // namespace orvane
