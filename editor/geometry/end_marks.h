#pragma once
// Marks across both ends of a segment, perpendicular to it: the long dotted guides shown while
// an end still follows the pointer, and the short marks of a fixed measuring line.
#include <array>
#include <cstdint>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// How far a guide reaches to either side of its end point.
inline constexpr int32_t kGuideReach = 10000;

// One mark through a and one through b, each reaching `reach` to either side. A vertical
// segment (equal x, coincident ends included) gets horizontal marks, a horizontal one
// vertical marks; otherwise each mark lies on y' = k x' + (y - k x), k = -1 / slope, from
// x' = x + h to x' = x - h with h = sqrt(reach^2 / (k^2 + 1)), coordinates truncated.
std::array<Segment, 2> PerpendicularMarks(Point a, Point b, double reach);

// The guides of a segment being placed (reach 10000).
std::array<Segment, 2> GuideLines(Point a, Point b);
// The short marks of a fixed measuring line: 3 pen widths to either side.
std::array<Segment, 2> ShortMarks(Point a, Point b, int32_t penWidth);

// The ends of the two barbs of an arrow head at tip, each 4 pen widths long and 22.5 degrees
// off the shaft, pointing back towards tail. A negative width counts as 0 (no barbs).
std::array<Point, 2> ArrowBarbs(Point tail, Point tip, int32_t penWidth);

}  // namespace orvane::editor
