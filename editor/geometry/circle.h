#pragma once
// The circle through three clicked points and the arc of it that passes through all three.
#include <cstdint>
#include <optional>

#include "editor/geometry/plane.h"

namespace orvane::editor {

// A drawn circle or arc never gets a larger radius than this, however far its centre lies.
inline constexpr int32_t kMaxDrawRadius = 100000;

struct ThreePointCircle {
    Point centre;        // truncated towards zero, saturated to the int32 range
    int32_t drawRadius;  // distance from the centre to the first point, truncated and capped
    double radius;       // the same distance uncapped, in picture pixels, for the labels
};

// The intersection of the perpendicular bisectors of p1-p2 and p2-q, each through the chord's
// middle with its x exact and its y halved as an integer (truncating towards zero). The
// intersection is solved from the chord directions themselves, so a horizontal chord (whose
// bisector is vertical) is as good as any other. None when the points are collinear or two of
// them coincide: the bisectors are then parallel or undefined.
std::optional<ThreePointCircle> CircleThroughPoints(Point p1, Point p2, Point q);

// Where a full circle's stroke starts: the angle of q seen from the centre, in degrees
// counter-clockwise on screen, written deg(atan2(Cx - xQ, Cy - yQ)) + 90.
double CircleStartAngle(Point centre, Point q);

// Start and sweep (degrees, counter-clockwise on screen) of the arc through p1, p2 and q
// around centre: the circle minus the largest of the three gaps between the points' angles.
struct ArcSpan {
    double start;
    double sweep;
};
ArcSpan ArcThroughPoints(Point centre, Point p1, Point p2, Point q);

}  // namespace orvane::editor
