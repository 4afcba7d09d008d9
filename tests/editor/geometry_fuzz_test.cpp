// Random figures, including coincident, collinear, far and huge points: nothing may crash or
// overflow (the sanitizer build checks), every value must be finite or shown as unknown, and
// the invariants of each construction must hold.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "editor/geometry/angles.h"
#include "editor/geometry/circle.h"
#include "editor/geometry/end_marks.h"
#include "editor/geometry/line_rules.h"
#include "editor/geometry/measure_sketch.h"

namespace orvane::editor {
namespace {

class Points {
  public:
    // Small clusters give coincident and collinear points, the rest picture-sized or extreme.
    Point Next() {
        switch (std::uniform_int_distribution<int>(0, 3)(rng_)) {
            case 0:
                return {Coord(0, 2), Coord(0, 2)};
            case 1:
                return {Coord(-5000, 5000), Coord(-5000, 5000)};
            case 2:
                return {Coord(INT32_MIN, INT32_MAX), Coord(INT32_MIN, INT32_MAX)};
            default:
                return {Coord(-5000, 5000), 7};
        }
    }
    int32_t Coord(int32_t lo, int32_t hi) {
        return std::uniform_int_distribution<int32_t>(lo, hi)(rng_);
    }
    static bool Moderate(Point p) { return std::abs(p.x) <= 5000 && std::abs(p.y) <= 5000; }

  private:
    std::mt19937 rng_{20240613};
};

TEST(GeometryFuzzTest, RandomPointsKeepEveryInvariant) {
    Points r;
    const MeasureKind kinds[] = {MeasureKind::kCalibration,     MeasureKind::kLine,
                                 MeasureKind::kThreePointAngle, MeasureKind::kThreePointCircle,
                                 MeasureKind::kThreePointArc,   MeasureKind::kFourPointAngle,
                                 MeasureKind::kContinuousLine,  MeasureKind::kPolygon,
                                 MeasureKind::kRadiusCircle,    MeasureKind::kDiameterCircle};
    for (int i = 0; i < 3000; ++i) {
        const Point a = r.Next(), b = r.Next(), c = r.Next(), d = r.Next();
        const int32_t w = r.Coord(-2, 40);

        const Point e45 = LockedEndPoint(a, b, 45);
        const Point e90 = LockedEndPoint(a, b, 90);
        ASSERT_EQ(std::llabs(int64_t{e45.x} - ClampToLimit(a).x),
                  std::llabs(int64_t{e45.y} - ClampToLimit(a).y));
        ASSERT_TRUE(e90.x == ClampToLimit(a).x || e90.y == ClampToLimit(a).y);

        if (Points::Moderate(a) && Points::Moderate(b)) {
            for (const Segment& g : GuideLines(a, b)) ASSERT_NEAR(Distance(g.from, g.to), 20000, 3);
            const double barb = 4.0 * std::max(w, 0);
            for (const Point& e : ArrowBarbs(a, b, w)) ASSERT_NEAR(Distance(b, e), barb, 1.5);
        }

        if (const auto circle = CircleThroughPoints(a, b, c)) {
            ASSERT_GE(circle->drawRadius, 0);
            ASSERT_LE(circle->drawRadius, kMaxDrawRadius);
            ASSERT_TRUE(std::isfinite(circle->radius));
            const ArcSpan arc = ArcThroughPoints(circle->centre, a, b, c);
            ASSERT_GE(arc.sweep, 0);
            ASSERT_LE(arc.sweep, 360.001);
        }
        ASSERT_LE(std::fabs(AngleAtVertex(a, b, c).sweep), 180.0);
        const LinesAngle lines = AngleBetweenLines(a, b, c, d);
        ASSERT_GE(lines.theta, 0);
        ASSERT_LE(lines.theta, 90);

        MeasureState s;
        s.kind = kinds[i % std::size(kinds)];
        s.points = {r.Next(), a, b, c, d, r.Next()};
        s.pointCount = r.Coord(0, 6);
        s.labelPoints = {{}, r.Next(), r.Next()};
        s.labelCount = r.Coord(0, 3);
        s.polyStage = r.Coord(0, 5);
        s.angleMode = (i % 3) * 45;
        s.cursor = r.Next();
        s.fontHeight = r.Coord(-40, 40);
        s.penWidth = w;
        s.conversion.magnification = (i % 7 == 0) ? 0.0 : 50.0;
        s.conversion.unit = static_cast<Unit>(i % 5);
        for (const DrawOp& op : SketchMeasure(s).ops) {
            if (const auto* label = std::get_if<Label>(&op)) {
                ASSERT_EQ(label->text.find("nan"), std::string::npos) << label->text;
                ASSERT_EQ(label->text.find("inf"), std::string::npos) << label->text;
            }
        }
    }
}

}  // namespace
}  // namespace orvane::editor
