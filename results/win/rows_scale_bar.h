#pragma once
// A scale bar printed into a saved copy's rows: in the stamp font and colour with the stamps'
// shadow, in the bottom-right corner above the stamps printed along the bottom.
#include <windows.h>

#include <vector>

#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"
#include "results/scale_bar.h"

namespace orvane::results {

// The bar of the copy (none without a usable magnification) and where it goes.
struct StampedBar {
    ScaleBar bar;
    ScaleBarLayout layout;
};
std::optional<StampedBar> StampedBarFor(const Conversion& copy, const PixelRows& picture,
                                        const LOGFONTW& font, const std::vector<StampText>& stamps);

// Prints it into the rows; only the band it covers is copied through the platform's drawing.
bool PrintScaleBar(PixelRows& picture, const StampedBar& bar, const LOGFONTW& font,
                   COLORREF colour);

}  // namespace orvane::results
