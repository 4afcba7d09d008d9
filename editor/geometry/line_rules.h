#pragma once
// The end point of an axis-locked (90) or diagonal (45) measuring line.
#include <cstdint>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// 90: the line becomes horizontal when |dx| > |dy|, else vertical (a tie gives vertical).
// 45: the line keeps the smaller of its two extents in both directions, the sign of a zero
// extent counting as positive. Any other mode leaves the end point as it is.
Point LockedEndPoint(Point start, Point end, int32_t angleMode);

}  // namespace orvane::editor
