#include "editor/geometry/plane.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvane::editor {

namespace {
int32_t ClampCoordinate(int32_t v) {
    return std::clamp(v, -kCoordinateLimit, kCoordinateLimit);
}
}  // namespace

Point ClampToLimit(Point p) {
    return {ClampCoordinate(p.x), ClampCoordinate(p.y)};
}

int32_t TruncToInt32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(v);
}

int32_t SaturateToInt32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

double Distance(Point a, Point b) {
    const double dx = static_cast<double>(static_cast<int64_t>(b.x) - a.x);
    const double dy = static_cast<double>(static_cast<int64_t>(b.y) - a.y);
    return std::sqrt(dx * dx + dy * dy);
}

double Degrees(double radians) {
    return radians / kPi * 180;
}
double Radians(double degrees) {
    return degrees / 180 * kPi;
}

int32_t Halve(int64_t v) {
    return SaturateToInt32(v / 2);
}

}  // namespace orvane::editor
