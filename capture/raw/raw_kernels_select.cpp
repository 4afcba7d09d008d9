// Run-time choice of the row kernels.
#include "capture/raw/raw_kernels.h"
#include "capture/raw/raw_vec_kernels.h"

namespace orvane::rawk {

namespace {

const VecKernels kSse2 = {sse2::Demosaic, sse2::LumaChroma, sse2::Sharpen,
                          ColourPairs,    "sse2",           false};
const VecKernels kAvx2 = {avx2::Demosaic, avx2::LumaChroma, avx2::Sharpen,
                          avx2::Colour,   "avx2",           true};

VecLevel g_level = VecLevel::kBest;

bool HasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

}  // namespace

Kernels SelectKernels() {
    return Kernels{DemosaicRowPlain, LumaChromaRowPlain, SharpenRowPlain, ColourRowPlain};
}

void SetVecLevel(VecLevel level) {
    g_level = level;
}

bool VecLevelAvailable(VecLevel level) {
    return level != VecLevel::kAvx2 || HasAvx2();
}

const VecKernels* SelectVecKernels() {
    static const bool avx2 = HasAvx2();
    switch (g_level) {
        case VecLevel::kOff:
            return nullptr;
        case VecLevel::kSse2:
            return &kSse2;
        case VecLevel::kAvx2:
        case VecLevel::kBest:
            return avx2 ? &kAvx2 : &kSse2;
    }
    return &kSse2;
}

}  // namespace orvane::rawk
