// Vector kernels for AVX2, chosen at run time. Only this file's own functions are built for
// AVX2 (all headers come before the target switch), so nothing here leaks into common code.
#include <immintrin.h>

#include "capture/raw/raw_vec_kernels.h"

#pragma GCC push_options
#pragma GCC target("avx2")
namespace orvane::rawk::avx2 {
#define RAWV_AVX2 1
#include "capture/raw/raw_vec_impl.inc"

}  // namespace orvane::rawk::avx2
#pragma GCC pop_options
