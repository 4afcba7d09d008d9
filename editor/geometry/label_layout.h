#pragma once
// Where label lines and the degree mark go, by the label font's height h (negative for a
// character-height font, so that lines stack downwards).
#include <cstddef>
#include <cstdint>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// The k-th label line under anchor: (x, y - k h).
Point LabelLine(Point anchor, int32_t fontHeight, int k);

// The small raised "o" after an angle of textLength characters written at `at`:
// (trunc(x + |n * 1.05 * h * 0.5|), y - |h / 2|), the halving truncating towards zero.
Point DegreeMarkPosition(Point at, size_t textLength, int32_t fontHeight);

inline constexpr const char* kDegreeMark = "o";

}  // namespace orvane::editor
