#pragma once
// Angles measured from three points (a vertex and two arms) and from four (two lines).
#include <optional>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// Radius of the small arc that marks a measured angle.
inline constexpr int32_t kAngleArcRadius = 10;

// The arc at vertex from the first arm to the second: start is the first arm's direction and
// sweep the turn to the second, both in degrees counter-clockwise on screen, sweep within
// -180..180. The angle shown is |sweep|. A coincident arm counts as direction 0.
struct VertexAngle {
    double start;
    double sweep;
};
VertexAngle AngleAtVertex(Point vertex, Point first, Point second);

// The acute angle between line p1-p2 and line p3-q, and where they meet.
struct LinesAngle {
    double theta = 0;  // 0..90 degrees
    // Set unless the lines are parallel (or one of them has coincident ends).
    std::optional<Point> intersection;
    // The stroke from the nearer end of each line out to the intersection, when the
    // intersection lies beyond the segment.
    std::optional<Segment> firstExtension;
    std::optional<Segment> secondExtension;
    // The arc at the intersection over the acute angle: from the second line's ray on the
    // side of p3 to the first line.
    double arcStart = 0;
    double arcSweep = 0;
};
LinesAngle AngleBetweenLines(Point p1, Point p2, Point p3, Point q);

}  // namespace orvane::editor
