// Run-time choice of the row kernels.
#include "capture/raw/raw_kernels.h"

namespace orvane::rawk {

Kernels SelectKernels(bool forcePlain) {
    Kernels k{DemosaicRowPlain, LumaChromaRowPlain, SharpenRowPlain, ColourRowPlain};
    if (forcePlain) return k;
    return k;
}

}  // namespace orvane::rawk
