#pragma once
// What a measuring figure draws for its current clicks and pointer: a list of strokes, outlines
// and label texts in picture pixels that the drawing side replays in order, and the value the
// figure hands on.
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "editor/geometry/measure_units.h"
#include "editor/geometry/plane.h"

namespace orvane::editor {

// Which pen a stroke uses: the figure's own, or the dotted guide pen in the complement colour.
enum class Ink { kPen, kGuide };

// A straight stroke from `from` to `to`.
struct StrokeLine {
    Point from;
    Point to;
    Ink ink = Ink::kPen;
    friend bool operator==(const StrokeLine&, const StrokeLine&) = default;
};

// A connected stroke through the points in order.
struct StrokePolyline {
    std::vector<Point> points;
    friend bool operator==(const StrokePolyline&, const StrokePolyline&) = default;
};

// An arc stroke in the manner of an angle arc: the pen starts at `from`, runs straight to the
// arc's start, then along the arc around centre from start sweeping sweep degrees
// (counter-clockwise on screen when positive); with backToCentre it then returns to centre.
struct StrokeArc {
    Point from;
    Point centre;
    int32_t radius = 0;
    double start = 0;
    double sweep = 0;
    bool backToCentre = false;
    friend bool operator==(const StrokeArc&, const StrokeArc&) = default;
};

// The hollow outline of the ellipse inside box: circles and the point markers.
struct Outline {
    Box box;
    friend bool operator==(const Outline&, const Outline&) = default;
};

// The hollow outline of a rectangle: the rectangle drawing tool.
struct Frame {
    Box box;
    friend bool operator==(const Frame&, const Frame&) = default;
};

// A label text whose top-left corner is at `at`.
struct Label {
    Point at;
    std::string text;
    friend bool operator==(const Label&, const Label&) = default;
};

using DrawOp = std::variant<StrokeLine, StrokePolyline, StrokeArc, Outline, Frame, Label>;

enum class MeasureKind : int32_t {
    kCalibration = 0,
    kLine = 1,
    kThreePointAngle = 6,
    kThreePointCircle = 7,
    kThreePointArc = 8,
    kFourPointAngle = 9,
    kContinuousLine = 10,
    kPolygon = 11,
    kRadiusCircle = 12,
    kDiameterCircle = 13,
};

// Half the side of the square a clicked point's marker circle is drawn in.
inline constexpr int32_t kMarkerRadius = 5;

// A measuring figure as it stands. Which of points[] hold what depends on the kind: the
// calibration, line and circles use points[0] (start) and points[1] (end); the three-point
// kinds points[1..3]; the four-point angle points[1..4]; the continuous line and polygon their
// vertices in points[1..pointCount] and dropped label places in labelPoints[1..labelCount].
// Entries the figure has not reached yet may be missing. A figure is finished (its pointer no
// longer moves its geometry) once pointCount reaches 2 (line, circles), 3 (three-point kinds)
// or 4 (four-point angle).
struct MeasureState {
    MeasureKind kind = MeasureKind::kLine;
    Conversion conversion;
    int32_t angleMode = 0;  // line only: 0, 90 or 45
    std::vector<Point> points;
    int32_t pointCount = 0;
    std::vector<Point> labelPoints;
    int32_t labelCount = 0;
    int32_t polyStage = 0;   // continuous line and polygon, 0..5
    Point cursor;            // the pointer
    int32_t fontHeight = 0;  // of the label font; negative for a character height
    int32_t penWidth = 1;
};

// What a value label shows. Lengths, radii and diameters are in the figure's unit, areas in
// its square, angles in degrees.
enum class Quantity : int32_t {
    kLength,         // calibration and straight line
    kEdge,           // one edge of a continuous line or polygon
    kTotal,          // "Total=" of a continuous line
    kPerimeter,      // "C=" of a polygon
    kCircumference,  // "C=" of a circle
    kArcLength,      // "C=" of an arc
    kArea,           // "A=" of a circle, sector or polygon
    kRadius,
    kDiameter,
    kAngle,
};

// The number behind one label, as the label formats it ("%.3f" of value).
struct ShownValue {
    Quantity quantity = Quantity::kLength;
    double value = 0;
    friend bool operator==(const ShownValue&, const ShownValue&) = default;
};

struct MeasureDrawing {
    std::vector<DrawOp> ops;
    // Calibration: the length at magnification 1 times the magnification; line: the length in
    // millimetres at magnification 1; 0 for the other kinds.
    double result = 0;
    // One entry per value label drawn, in drawing order (degree marks have none).
    std::vector<ShownValue> values;
    // The figure's own points as drawn (the line's end after its angle lock, a circle's
    // points, the vertices; the pointer where it still stands for one), without label places.
    std::vector<Point> figure;
};

MeasureDrawing SketchMeasure(const MeasureState& state);

}  // namespace orvane::editor
