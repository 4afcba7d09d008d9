#include "editor/geometry/measure_sketch.h"

#include <cmath>

// GCC 12 at -O3 reports the inactive members of a moved std::variant as maybe uninitialized
// when the draw list grows; they are never read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "editor/geometry/angles.h"
#include "editor/geometry/circle.h"
#include "editor/geometry/line_rules.h"
#include "editor/geometry/sketch_builder.h"

namespace orvane::editor {

namespace {

// Shortest length that gets a label: anything less is a zero-length line.
constexpr double kMinLabelledLength = 1e-7;

struct Figure {
    const MeasureState& s;
    SketchBuilder draw;
    Point c;
    std::vector<Point>& figure;

    Point P(int i) const { return PointAt(s.points, i); }
    Point Below(int k) const { return LabelLine(c, s.fontHeight, k); }
    // A value label "<prefix><%.3f of v> <unit><suffix>" at `at`.
    void Value(Point at, Quantity q, const char* prefix, double v, const char* suffix = "") {
        draw.Value(at, UnitLabel(prefix, v, s.conversion.unit, suffix), q, v);
    }
    // Radius, circumference and area of a circle of radius r (shown units), from line `first`.
    void CircleLabels(double r, int first) {
        Value(Below(first), Quantity::kRadius, "R=", r);
        Value(Below(first + 1), Quantity::kCircumference, "C=", 2 * r * kPi);
        Value(Below(first + 2), Quantity::kArea, "A=", r * r * kPi, "^2");
    }
    void Points(std::initializer_list<Point> points) { figure.assign(points); }
};

double Calibration(Figure& f) {
    const Point p0 = f.P(0);
    f.draw.Line(p0, f.c);
    f.draw.Guides(p0, f.c);
    f.Points({p0, f.c});
    const double d = Distance(p0, f.c);
    const double length = ReferenceLength(d, f.s.conversion);
    if (length > kMinLabelledLength) {
        const Point at{SaturateToInt32(int64_t{Halve(int64_t{p0.x} + f.c.x)} - 20),
                       Halve(int64_t{p0.y} + f.c.y)};
        f.Value(at, Quantity::kLength, "", ShownLength(d, f.s.conversion));
    }
    return length * f.s.conversion.magnification;
}

double StraightLine(Figure& f) {
    const Point p0 = f.P(0);
    const Point e = LockedEndPoint(p0, f.s.pointCount >= 2 ? f.P(1) : f.c, f.s.angleMode);
    f.draw.Line(p0, e);
    if (f.s.pointCount < 2) {
        f.draw.Guides(p0, e);
    } else {
        f.draw.ShortMarks(p0, e, f.s.penWidth);
    }
    f.Points({p0, e});
    const double d = Distance(p0, e);
    const double length = ReferenceLength(d, f.s.conversion);
    if (length > kMinLabelledLength) {
        f.Value(f.c, Quantity::kLength, "", ShownLength(d, f.s.conversion));
    }
    return length;
}

void RadiusOrDiameterCircle(Figure& f, bool byDiameter) {
    const Point p0 = f.P(0);
    const Point e = f.s.pointCount >= 2 ? f.P(1) : f.c;
    f.draw.Line(p0, e);
    if (f.s.pointCount < 2) f.draw.Guides(p0, e);
    f.Points({p0, e});
    const double d = Distance(p0, e);
    const double shown = ShownLength(d, f.s.conversion);
    if (!byDiameter) {
        f.draw.Circle(p0, TruncToInt32(d));
        f.CircleLabels(shown, 0);
        return;
    }
    f.draw.Circle({Halve(int64_t{p0.x} + e.x), Halve(int64_t{p0.y} + e.y)}, TruncToInt32(d) / 2);
    f.Value(f.Below(0), Quantity::kDiameter, "D=", shown);
    f.Value(f.Below(1), Quantity::kCircumference, "C=", shown * kPi);
    f.Value(f.Below(2), Quantity::kArea, "A=", shown * shown * kPi * 0.25, "^2");
}

void ThreePointAngle(Figure& f) {
    const Point vertex = f.P(1);
    if (f.s.pointCount < 2) {
        f.draw.Line(vertex, f.c);
        f.draw.Guides(vertex, f.c);
        f.Points({vertex, f.c});
        return;
    }
    const bool placing = f.s.pointCount < 3;
    const Point first = f.P(2);
    const Point q = placing ? f.c : f.P(3);
    f.Points({vertex, first, q});
    f.draw.Line(vertex, first);
    const VertexAngle angle = AngleAtVertex(vertex, first, q);
    f.draw.Arc(first, vertex, kAngleArcRadius, angle.start, angle.sweep);
    if (placing) f.draw.Guides(vertex, first);
    f.draw.Angle(f.c, std::fabs(angle.sweep), f.s.fontHeight);
    f.draw.Line(vertex, q);
    if (placing) f.draw.Guides(vertex, q);
}

// Kinds 7 and 8. Points that are collinear or coincide have no circle: only their markers are
// drawn, with no labels.
void ThreePointCircleOrArc(Figure& f, bool arc) {
    const Point p1 = f.P(1);
    if (f.s.pointCount < 2) {
        f.draw.Line(p1, f.c);
        f.draw.Guides(p1, f.c);
        f.draw.Marker(p1);
        f.Points({p1, f.c});
        return;
    }
    const bool placing = f.s.pointCount < 3;
    const Point p2 = f.P(2);
    const Point q = placing ? f.c : f.P(3);
    f.Points({p1, p2, q});
    const auto circle = CircleThroughPoints(p1, p2, q);
    if (circle) {
        const Point centre = circle->centre;
        const int32_t rp = circle->drawRadius;
        double sweep = 360;
        if (arc) {
            const ArcSpan span = ArcThroughPoints(centre, p1, p2, q);
            sweep = span.sweep;
            f.draw.Arc(centre, centre, rp, span.start, span.sweep);
            f.draw.Arc(centre, centre, rp, span.start + span.sweep, -span.sweep);
        } else {
            f.draw.Arc(centre, centre, rp, CircleStartAngle(centre, q), 360);
        }
        if (placing) f.draw.Guides(centre, f.c);
        f.draw.Marker(p1);
        f.draw.Marker(p2);
        f.draw.Marker(q);
        const double r = ShownLength(circle->radius, f.s.conversion);
        if (!arc) {
            f.CircleLabels(r, 0);
            return;
        }
        const double part = std::fabs(sweep) / 360;
        f.draw.Angle(f.c, std::fabs(sweep), f.s.fontHeight);
        f.Value(f.Below(1), Quantity::kRadius, "R=", r);
        f.Value(f.Below(2), Quantity::kArcLength, "C=", 2 * r * kPi * part);
        f.Value(f.Below(3), Quantity::kArea, "A=", r * r * kPi * part, "^2");
        return;
    }
    f.draw.Marker(p1);
    f.draw.Marker(p2);
    f.draw.Marker(q);
}

void FourPointAngle(Figure& f) {
    const Point p1 = f.P(1);
    if (f.s.pointCount < 2) {
        f.draw.Line(p1, f.c);
        f.draw.Guides(p1, f.c);
        f.Points({p1, f.c});
        return;
    }
    const Point p2 = f.P(2);
    f.draw.Line(p1, p2);
    if (f.s.pointCount == 2) {
        f.draw.Guides(p1, p2);
        f.Points({p1, p2});
        return;
    }
    const bool placing = f.s.pointCount < 4;
    const Point p3 = f.P(3);
    const Point q = placing ? f.c : f.P(4);
    f.Points({p1, p2, p3, q});
    f.draw.Line(p3, q);
    if (placing) {
        f.draw.Guides(p1, p2);
        f.draw.Guides(p3, q);
    }
    const LinesAngle angle = AngleBetweenLines(p1, p2, p3, q);
    if (angle.intersection) {
        const Point i = *angle.intersection;
        if (angle.firstExtension) f.draw.Line(angle.firstExtension->from, i);
        if (angle.secondExtension) f.draw.Line(angle.secondExtension->from, i);
        f.draw.Arc(i, i, kAngleArcRadius, angle.arcStart, angle.arcSweep, true);
    }
    f.draw.Angle(f.c, angle.theta, f.s.fontHeight);
}

}  // namespace

MeasureDrawing SketchMeasure(const MeasureState& state) {
    MeasureDrawing out;
    Figure f{state, SketchBuilder(out), ClampToLimit(state.cursor), out.figure};
    switch (state.kind) {
        case MeasureKind::kCalibration:
            out.result = Calibration(f);
            break;
        case MeasureKind::kLine:
            out.result = StraightLine(f);
            break;
        case MeasureKind::kRadiusCircle:
            RadiusOrDiameterCircle(f, false);
            break;
        case MeasureKind::kDiameterCircle:
            RadiusOrDiameterCircle(f, true);
            break;
        case MeasureKind::kThreePointAngle:
            ThreePointAngle(f);
            break;
        case MeasureKind::kThreePointCircle:
            ThreePointCircleOrArc(f, false);
            break;
        case MeasureKind::kThreePointArc:
            ThreePointCircleOrArc(f, true);
            break;
        case MeasureKind::kFourPointAngle:
            FourPointAngle(f);
            break;
        case MeasureKind::kContinuousLine:
            SketchContinuousLine(state, out);
            break;
        case MeasureKind::kPolygon:
            SketchPolygon(state, out);
            break;
    }
    return out;
}

}  // namespace orvane::editor
