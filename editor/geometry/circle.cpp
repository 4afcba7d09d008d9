#include "editor/geometry/circle.h"

#include <algorithm>
#include <cmath>

namespace orvane::editor {

namespace {

// The bisector of chord a-b as dx X + dy Y = c, here doubled: 2c = dx (xa + xb) + dy 2 ym.
struct Bisector {
    int64_t dx;
    int64_t dy;
    int64_t twiceC;
};

Bisector BisectorOf(Point a, Point b) {
    const int64_t dx = static_cast<int64_t>(b.x) - a.x;
    const int64_t dy = static_cast<int64_t>(b.y) - a.y;
    const int64_t ym = Halve(static_cast<int64_t>(a.y) + b.y);
    return {dx, dy, dx * (static_cast<int64_t>(a.x) + b.x) + dy * 2 * ym};
}

double AngleSeenFrom(Point centre, Point p) {
    return Degrees(std::atan2(static_cast<double>(static_cast<int64_t>(centre.y) - p.y),
                              static_cast<double>(static_cast<int64_t>(p.x) - centre.x)));
}

}  // namespace

std::optional<ThreePointCircle> CircleThroughPoints(Point p1, Point p2, Point q) {
    p1 = ClampToLimit(p1);
    p2 = ClampToLimit(p2);
    q = ClampToLimit(q);
    const Bisector first = BisectorOf(p1, p2);
    const Bisector second = BisectorOf(p2, q);
    // Exact: each factor is below 2^29 in magnitude.
    const int64_t det = first.dx * second.dy - first.dy * second.dx;
    if (det == 0) return std::nullopt;
    const double twiceDet = 2.0 * static_cast<double>(det);
    const double x = (static_cast<double>(first.twiceC) * static_cast<double>(second.dy) -
                      static_cast<double>(first.dy) * static_cast<double>(second.twiceC)) /
                     twiceDet;
    const double y = (static_cast<double>(first.dx) * static_cast<double>(second.twiceC) -
                      static_cast<double>(first.twiceC) * static_cast<double>(second.dx)) /
                     twiceDet;
    const double cx = std::trunc(x);
    const double cy = std::trunc(y);
    const double radius = std::hypot(cx - p1.x, cy - p1.y);
    const int32_t drawRadius = TruncToInt32(std::min(radius, static_cast<double>(kMaxDrawRadius)));
    return ThreePointCircle{{TruncToInt32(cx), TruncToInt32(cy)}, drawRadius, radius};
}

double CircleStartAngle(Point centre, Point q) {
    return Degrees(std::atan2(static_cast<double>(static_cast<int64_t>(centre.x) - q.x),
                              static_cast<double>(static_cast<int64_t>(centre.y) - q.y))) +
           90;
}

ArcSpan ArcThroughPoints(Point centre, Point p1, Point p2, Point q) {
    double t[3] = {AngleSeenFrom(centre, p1), AngleSeenFrom(centre, p2), AngleSeenFrom(centre, q)};
    std::sort(t, t + 3);
    const double lo = t[0], mid = t[1], hi = t[2];
    const double g1 = mid - lo;
    const double g2 = hi - mid;
    const double g3 = 360 - (hi - lo);
    // Leave out the largest gap; on a tie the later test wins.
    ArcSpan span{0, 0};
    if (g2 >= g1 && g2 >= g3) span = {hi, g1 + g3};
    if (g1 >= g2 && g1 >= g3) span = {mid, g2 + g3};
    if (g3 >= g2 && g3 >= g1) span = {lo, g1 + g2};
    return span;
}

}  // namespace orvane::editor
