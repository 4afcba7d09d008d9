// Vector kernels for SSE2, the baseline of every processor the program runs on.
#include <emmintrin.h>

#include "capture/raw/raw_vec_kernels.h"

namespace orvane::rawk::sse2 {
#define RAWV_AVX2 0
#include "capture/raw/raw_vec_impl.inc"
}  // namespace orvane::rawk::sse2
