#pragma once
// Collects the draw list of a measuring figure; shared by the figure sketches.
#include <string>
#include <utility>
#include <vector>

#include "editor/geometry/end_marks.h"
#include "editor/geometry/label_layout.h"
#include "editor/geometry/measure_sketch.h"

namespace orvane::editor {

class SketchBuilder {
  public:
    explicit SketchBuilder(MeasureDrawing& out) : ops_(out.ops), values_(out.values) {}

    void Line(Point a, Point b, Ink ink = Ink::kPen) { ops_.push_back(StrokeLine{a, b, ink}); }
    void Guides(Point a, Point b) {
        for (const Segment& s : GuideLines(a, b)) Line(s.from, s.to, Ink::kGuide);
    }
    void ShortMarks(Point a, Point b, int32_t penWidth) {
        for (const Segment& s : editor::ShortMarks(a, b, penWidth)) Line(s.from, s.to);
    }
    void Circle(Point centre, int32_t radius) {
        ops_.push_back(Outline{{SaturateToInt32(int64_t{centre.x} - radius),
                                SaturateToInt32(int64_t{centre.y} - radius),
                                SaturateToInt32(int64_t{centre.x} + radius),
                                SaturateToInt32(int64_t{centre.y} + radius)}});
    }
    void Marker(Point p) { Circle(p, kMarkerRadius); }
    void Arc(Point from, Point centre, int32_t radius, double start, double sweep,
             bool backToCentre = false) {
        ops_.push_back(StrokeArc{from, centre, radius, start, sweep, backToCentre});
    }
    void Text(Point at, std::string text) {
        if (!text.empty()) ops_.push_back(Label{at, std::move(text)});
    }
    // A label showing a value; the value is kept beside the draw list.
    void Value(Point at, std::string text, Quantity quantity, double value) {
        if (text.empty()) return;
        ops_.push_back(Label{at, std::move(text)});
        values_.push_back({quantity, value});
    }
    // An angle value ("%.3f" of degrees) followed by the raised degree mark.
    void Angle(Point at, double degrees, int32_t fontHeight) {
        const std::string text = FormatValue(degrees);
        Value(at, text, Quantity::kAngle, degrees);
        Text(DegreeMarkPosition(at, text.size(), fontHeight), kDegreeMark);
    }

  private:
    std::vector<DrawOp>& ops_;
    std::vector<ShownValue>& values_;
};

// points[i], brought within the coordinate limit, or (0, 0) when the figure has none there.
inline Point PointAt(const std::vector<Point>& points, int64_t i) {
    if (i < 0 || i >= static_cast<int64_t>(points.size())) return {};
    return ClampToLimit(points[static_cast<size_t>(i)]);
}

void SketchContinuousLine(const MeasureState& s, MeasureDrawing& out);
void SketchPolygon(const MeasureState& s, MeasureDrawing& out);

}  // namespace orvane::editor
