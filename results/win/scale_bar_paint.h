#pragma once
// Draws a scale bar and its label: over the live picture, into a saved copy (with the stamps'
// shadow) and as an object of the editor's picture.
#include <windows.h>

#include <string>

#include "results/scale_bar.h"

namespace orvane::results {

// The label's width in pixels as font writes it on dc.
int32_t LabelWidth(HDC dc, const std::string& label, const LOGFONTW& font);

// The bar filled and its label written in colour; with shadow, each first in the complement
// colour one pixel up-left, as the stamps are printed.
void PaintScaleBar(HDC dc, const ScaleBar& bar, const ScaleBarLayout& layout, const LOGFONTW& font,
                   COLORREF colour, bool shadow);

std::wstring WideLabel(const std::string& utf8);

}  // namespace orvane::results
