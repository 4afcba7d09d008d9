// The continuous line and the polygon: vertices placed and segment labels dropped in turn, the
// total written when the figure is finished.
#include <algorithm>
#include <cmath>

#include "editor/geometry/sketch_builder.h"

namespace orvane::editor {

namespace {

// Stages of placing: the next edge follows the pointer below kVertexPlaced; at kDoubleClicked
// the figure is closed for new vertices; from kLabelDropped the total follows the pointer;
// kFinishing is the final click.
constexpr int32_t kVertexPlaced = 2;
constexpr int32_t kDoubleClicked = 3;
constexpr int32_t kLabelDropped = 4;

struct Poly {
    const MeasureState& s;
    SketchBuilder draw;
    Point c;
    int64_t n;  // vertices P[1..n]
    int64_t m;  // dropped labels at labelPoints[1..m]
    // labels[k]: the text of edge k and edges[k] its value; [0] the edge that follows the
    // pointer (polygon).
    std::vector<std::string> labels;
    std::vector<double> edges;
    std::vector<Point>& figure;

    Poly(const MeasureState& state, MeasureDrawing& out)
        : s(state),
          draw(out),
          c(ClampToLimit(state.cursor)),
          n(std::clamp<int64_t>(state.pointCount, 0,
                                std::max<int64_t>(0, std::ssize(state.points) - 1))),
          m(std::clamp<int64_t>(state.labelCount, 0,
                                std::max<int64_t>(0, std::ssize(state.labelPoints) - 1))),
          labels(static_cast<size_t>(std::max(n, m + 1) + 1)),
          edges(labels.size(), 0.0),
          figure(out.figure) {}

    Point P(int64_t k) const { return PointAt(s.points, k); }
    void SetEdge(size_t k, double pixels) {
        edges[k] = ShownTotal(pixels * s.conversion.pixelFactor, s.conversion);
        labels[k] = UnitLabel("", edges[k], s.conversion.unit);
    }
    void EdgeLabel(Point at, size_t k) { draw.Value(at, labels[k], Quantity::kEdge, edges[k]); }
    std::vector<Point> Vertices() const {
        std::vector<Point> v;
        for (int64_t k = 1; k <= n; ++k) v.push_back(P(k));
        return v;
    }
    // The vertices, and the pointer while it places the next one.
    void Figure(bool live) {
        figure = Vertices();
        if (live) figure.push_back(c);
    }
    // The dropped labels; once finishing, the last drop is where the totals go instead.
    void DroppedLabels() {
        for (int64_t j = 1; j <= m; ++j) {
            if (s.polyStage > kLabelDropped && j == m) continue;
            EdgeLabel(PointAt(s.labelPoints, j), static_cast<size_t>(j));
        }
    }
};

}  // namespace

void SketchContinuousLine(const MeasureState& state, MeasureDrawing& out) {
    Poly f(state, out);
    if (f.n == 0) return;
    out.ops.push_back(StrokePolyline{f.Vertices()});
    const bool live = state.polyStage < kVertexPlaced;
    f.Figure(live);
    const Point last = f.P(f.n);
    if (live) {
        f.draw.Line(last, f.c);
        f.draw.Guides(last, f.c);
    }
    double total = 0;  // sum of d * pixelFactor
    for (int64_t k = 1; k <= f.n; ++k) {
        double d = 0;
        if (k < f.n) {
            d = Distance(f.P(k), f.P(k + 1));
        } else if (live) {
            d = Distance(last, f.c);
        }
        total += d * state.conversion.pixelFactor;
        f.SetEdge(static_cast<size_t>(k), d);
    }
    f.DroppedLabels();
    if (state.polyStage < kLabelDropped) f.EdgeLabel(f.c, static_cast<size_t>(f.m + 1));
    const double shownTotal = ShownTotal(total, state.conversion);
    f.draw.Value(LabelLine(f.c, state.fontHeight, 1),
                 UnitLabel("Total=", shownTotal, state.conversion.unit), Quantity::kTotal,
                 shownTotal);
}

void SketchPolygon(const MeasureState& state, MeasureDrawing& out) {
    Poly f(state, out);
    if (f.n == 0) return;
    out.ops.push_back(StrokePolyline{f.Vertices()});
    const Point first = f.P(1);
    const Point last = f.P(f.n);
    const bool live = state.polyStage < kVertexPlaced;
    const bool closed = state.polyStage >= kDoubleClicked;
    f.Figure(live);
    if (live) {
        f.draw.Line(last, f.c);
        f.draw.Line(f.c, first);
        f.draw.Guides(last, f.c);
    } else if (closed) {
        f.draw.Line(last, first);
    }

    const double pf = state.conversion.pixelFactor;
    double perimeter = 0;  // sum of d * pixelFactor
    for (int64_t k = 1; k < f.n; ++k) {
        const double d = Distance(f.P(k), f.P(k + 1));
        perimeter += d * pf;
        f.SetEdge(static_cast<size_t>(k), d);
    }
    if (live) {
        const double d = Distance(last, f.c);
        perimeter += d * pf + Distance(f.c, first) * pf;
        f.SetEdge(0, d);
    } else if (f.n >= 2) {
        // The text that follows the pointer stays that of the last edge placed.
        f.labels[0] = f.labels[static_cast<size_t>(f.n - 1)];
        f.edges[0] = f.edges[static_cast<size_t>(f.n - 1)];
    }
    if (closed) perimeter += Distance(last, first) * pf;

    f.DroppedLabels();
    if (state.polyStage < kLabelDropped) {
        f.EdgeLabel(f.c, 0);
    } else {
        // Trapezoids over the closed vertex list, P[0] standing for P[n].
        double sum = 0;
        Point previous = last;
        for (int64_t k = 1; k <= f.n; ++k) {
            const Point p = f.P(k);
            sum += 0.5 * (static_cast<double>(previous.y) + p.y) *
                   (static_cast<double>(p.x) - previous.x);
            previous = p;
        }
        const double factor = LengthFactor(state.conversion);
        const double area = std::fabs(sum) * factor * factor;
        f.draw.Value(LabelLine(f.c, state.fontHeight, 2),
                     UnitLabel("A=", area, state.conversion.unit, "^2"), Quantity::kArea, area);
    }
    const double shownPerimeter = ShownTotal(perimeter, state.conversion);
    f.draw.Value(LabelLine(f.c, state.fontHeight, 1),
                 UnitLabel("C=", shownPerimeter, state.conversion.unit), Quantity::kPerimeter,
                 shownPerimeter);
}

}  // namespace orvane::editor
