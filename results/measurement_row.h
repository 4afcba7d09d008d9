#pragma once
// One committed measurement as the table holds it: which tool made it, every value its labels
// show, the conversion it used and its points in picture pixels.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "editor/geometry/measure_sketch.h"

namespace orvane::results {

using editor::Conversion;
using editor::MeasureKind;
using editor::Quantity;
using editor::Unit;

// The items of the Measure menu; the line kind is three items by its angle lock. The window
// code maps each to its menu text.
enum class MeasureTool : int32_t {
    kCalibration,
    kAnyAngleLine,
    kStraightAngleLine,
    kDiagonalLine,  // the 45-degree line
    kThreePointAngle,
    kThreePointCircle,
    kThreePointArc,
    kFourPointAngle,
    kContinuousLine,
    kPolygon,
    kRadiusCircle,
    kDiameterCircle,
};
inline constexpr size_t kToolCount = 12;

MeasureTool ToolOf(MeasureKind kind, int32_t angleMode);
// A kind the figures know (a stored number may be anything).
bool IsMeasureKind(int32_t kind);

inline constexpr size_t kQuantityCount = static_cast<size_t>(Quantity::kAngle) + 1;

struct MeasurementRow {
    int32_t number = 0;  // 1, 2, ... in table order
    MeasureKind kind = MeasureKind::kLine;
    int32_t angleMode = 0;  // line: 0, 90 or 45
    editor::Conversion conversion;
    // The value each label shows, by quantity; edges (any number) are kept apart. A value the
    // figure shows as "---" (no usable magnification) is present and NaN.
    std::array<std::optional<double>, kQuantityCount> values{};
    std::vector<double> edges;
    std::vector<editor::Point> points;

    std::optional<double> Value(Quantity q) const { return values[static_cast<size_t>(q)]; }
    MeasureTool Tool() const { return ToolOf(kind, angleMode); }
};

// The row of a figure from the drawing its last Draw made of it, so that every number is the
// one its labels show.
MeasurementRow RowOfDrawing(const editor::MeasureState& state,
                            const editor::MeasureDrawing& drawing);
// The same, sketching the figure first.
MeasurementRow RowOfFigure(const editor::MeasureState& state);

}  // namespace orvane::results
