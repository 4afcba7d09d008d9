#include "editor/geometry/angles.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace orvane::editor {

namespace {

// Direction of a -> b in degrees, counter-clockwise on screen.
double Direction(Point a, Point b) {
    return Degrees(std::atan2(static_cast<double>(static_cast<int64_t>(a.y) - b.y),
                              static_cast<double>(static_cast<int64_t>(b.x) - a.x)));
}

int SignOf(double v) {
    return (v > 0) - (v < 0);
}

int64_t Manhattan(Point a, Point b) {
    return std::llabs(static_cast<int64_t>(a.x) - b.x) +
           std::llabs(static_cast<int64_t>(a.y) - b.y);
}

// The stroke that carries a segment a-b out to the point i, if i lies beyond it.
std::optional<Segment> Extension(Point a, Point b, Point i) {
    const int64_t da = Manhattan(a, i);
    const int64_t db = Manhattan(b, i);
    const int64_t length = Manhattan(a, b);
    if (db < da && length < da) return Segment{a, i};
    if (db >= da && db > length) return Segment{b, i};
    return std::nullopt;
}

// Folds |d| into the acute angle between two lines.
double Fold(double d) {
    const double u = std::fabs(d);
    double theta = u;
    if (u >= 270) {
        theta = 360 - u;
    } else if (u >= 180) {
        theta = u - 180;
    } else if (u >= 90) {
        theta = 180 - u;
    }
    // The shortened pi can carry a right or straight angle a hair past its bound.
    return std::clamp(theta, 0.0, 90.0);
}

}  // namespace

VertexAngle AngleAtVertex(Point vertex, Point first, Point second) {
    vertex = ClampToLimit(vertex);
    const double a1 = Direction(vertex, ClampToLimit(first));
    const double a2 = Direction(vertex, ClampToLimit(second));
    double s = a2 - a1;
    if (s > 180) s -= 360;
    if (s < -180) s += 360;
    return {a1, s};
}

LinesAngle AngleBetweenLines(Point p1, Point p2, Point p3, Point q) {
    p1 = ClampToLimit(p1);
    p2 = ClampToLimit(p2);
    p3 = ClampToLimit(p3);
    q = ClampToLimit(q);
    LinesAngle r;
    const double a1 = Direction(p1, p2);
    const double a2 = Direction(p3, q);
    const Point middle{Halve(static_cast<int64_t>(p1.x) + p2.x),
                       Halve(static_cast<int64_t>(p1.y) + p2.y)};
    const double a3 = Direction(middle, p3);
    r.theta = Fold(a2 - a1);

    // Differences stay below 2^28, so the denominator is exact.
    const int64_t dx1 = static_cast<int64_t>(p2.x) - p1.x, dy1 = static_cast<int64_t>(p2.y) - p1.y;
    const int64_t dx2 = static_cast<int64_t>(q.x) - p3.x, dy2 = static_cast<int64_t>(q.y) - p3.y;
    const int64_t den = dy1 * dx2 - dy2 * dx1;
    if (den == 0) return r;

    const double fdx1 = static_cast<double>(dx1), fdy1 = static_cast<double>(dy1);
    const double fdx2 = static_cast<double>(dx2), fdy2 = static_cast<double>(dy2);
    double x = (static_cast<double>(static_cast<int64_t>(q.y) - p2.y) * fdx2 * fdx1 -
                fdy2 * fdx1 * q.x + fdy1 * fdx2 * p2.x) /
               static_cast<double>(den);
    double y;
    if (dx1 != 0) {
        y = (x - p2.x) * fdy1 / fdx1 + p2.y;
    } else {
        x = p1.x;
        y = (x - q.x) * fdy2 / fdx2 + q.y;  // dx2 != 0: the lines are not parallel
    }
    const Point i{TruncToInt32(x), TruncToInt32(y)};
    r.intersection = i;
    r.firstExtension = Extension(p1, p2, i);
    r.secondExtension = Extension(p3, q, i);

    const int side = SignOf(std::sin(Radians(a3 - a1)));
    const double r2 = SignOf(std::sin(Radians(a2 - a1))) == side ? a2 : a2 + 180;
    double phi = std::fmod(r2 - a1, 360.0);
    if (phi <= -180) phi += 360;
    if (phi > 180) phi -= 360;
    const bool clockwise = (phi > 0 && phi < 90) || (phi > -180 && phi < -90);
    r.arcStart = r2;
    r.arcSweep = clockwise ? -r.theta : r.theta;
    return r;
}

}  // namespace orvane::editor
