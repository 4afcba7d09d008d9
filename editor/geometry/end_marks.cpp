#include "editor/geometry/end_marks.h"

#include <algorithm>
#include <cmath>

#include "editor/geometry/pen_scaling.h"

namespace orvane::editor {

namespace {

Segment MarkThrough(Point p, double reach, bool vertical, bool horizontal, double k) {
    const int64_t r = TruncToInt32(reach);
    if (vertical) return {{SaturateToInt32(p.x + r), p.y}, {SaturateToInt32(p.x - r), p.y}};
    if (horizontal) return {{p.x, SaturateToInt32(p.y + r)}, {p.x, SaturateToInt32(p.y - r)}};
    const double h = std::sqrt(reach * reach / (k * k + 1));
    const double b = p.y - k * p.x;
    const double x1 = p.x + h;
    const double x2 = p.x - h;
    return {{TruncToInt32(x1), TruncToInt32(k * x1 + b)},
            {TruncToInt32(x2), TruncToInt32(k * x2 + b)}};
}

}  // namespace

std::array<Segment, 2> PerpendicularMarks(Point a, Point b, double reach) {
    a = ClampToLimit(a);
    b = ClampToLimit(b);
    const bool vertical = a.x == b.x;
    const bool horizontal = a.y == b.y;
    double k = 0;
    if (!vertical && !horizontal) {
        const double m = static_cast<double>(static_cast<int64_t>(b.y) - a.y) /
                         static_cast<double>(static_cast<int64_t>(b.x) - a.x);
        k = -1 / m;
    }
    return {MarkThrough(a, reach, vertical, horizontal, k),
            MarkThrough(b, reach, vertical, horizontal, k)};
}

std::array<Segment, 2> GuideLines(Point a, Point b) {
    return PerpendicularMarks(a, b, kGuideReach);
}

std::array<Segment, 2> ShortMarks(Point a, Point b, int32_t penWidth) {
    return PerpendicularMarks(a, b, 3.0 * std::clamp(penWidth, 0, kMaxPenWidth));
}

std::array<Point, 2> ArrowBarbs(Point tail, Point tip, int32_t penWidth) {
    tail = ClampToLimit(tail);
    tip = ClampToLimit(tip);
    const double g = std::atan2(static_cast<double>(static_cast<int64_t>(tip.y) - tail.y),
                                static_cast<double>(static_cast<int64_t>(tail.x) - tip.x));
    const double length = 4.0 * std::clamp(penWidth, 0, kMaxPenWidth);
    std::array<Point, 2> ends;
    const double offsets[2] = {kEighthPi, -kEighthPi};
    for (int i = 0; i < 2; ++i) {
        const double a = g + kHalfPi + offsets[i];
        ends[i] = {TruncToInt32(tip.x + length * std::sin(a)),
                   TruncToInt32(tip.y + length * std::cos(a))};
    }
    return ends;
}

}  // namespace orvane::editor
