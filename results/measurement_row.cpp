#include "results/measurement_row.h"

namespace orvane::results {

MeasureTool ToolOf(MeasureKind kind, int32_t angleMode) {
    switch (kind) {
        case MeasureKind::kCalibration:
            return MeasureTool::kCalibration;
        case MeasureKind::kLine:
            if (angleMode == 90) return MeasureTool::kStraightAngleLine;
            if (angleMode == 45) return MeasureTool::kDiagonalLine;
            return MeasureTool::kAnyAngleLine;
        case MeasureKind::kThreePointAngle:
            return MeasureTool::kThreePointAngle;
        case MeasureKind::kThreePointCircle:
            return MeasureTool::kThreePointCircle;
        case MeasureKind::kThreePointArc:
            return MeasureTool::kThreePointArc;
        case MeasureKind::kFourPointAngle:
            return MeasureTool::kFourPointAngle;
        case MeasureKind::kContinuousLine:
            return MeasureTool::kContinuousLine;
        case MeasureKind::kPolygon:
            return MeasureTool::kPolygon;
        case MeasureKind::kRadiusCircle:
            return MeasureTool::kRadiusCircle;
        case MeasureKind::kDiameterCircle:
            return MeasureTool::kDiameterCircle;
    }
    return MeasureTool::kAnyAngleLine;
}

bool IsMeasureKind(int32_t kind) {
    switch (static_cast<MeasureKind>(kind)) {
        case MeasureKind::kCalibration:
        case MeasureKind::kLine:
        case MeasureKind::kThreePointAngle:
        case MeasureKind::kThreePointCircle:
        case MeasureKind::kThreePointArc:
        case MeasureKind::kFourPointAngle:
        case MeasureKind::kContinuousLine:
        case MeasureKind::kPolygon:
        case MeasureKind::kRadiusCircle:
        case MeasureKind::kDiameterCircle:
            return true;
    }
    return false;
}

MeasurementRow RowOfDrawing(const editor::MeasureState& state,
                            const editor::MeasureDrawing& drawing) {
    MeasurementRow row;
    row.kind = state.kind;
    row.angleMode = state.kind == MeasureKind::kLine ? state.angleMode : 0;
    row.conversion = state.conversion;
    for (const editor::ShownValue& v : drawing.values) {
        if (v.quantity == Quantity::kEdge) {
            row.edges.push_back(v.value);
            continue;
        }
        std::optional<double>& slot = row.values[static_cast<size_t>(v.quantity)];
        if (!slot) slot = v.value;
    }
    row.points = drawing.figure;
    return row;
}

MeasurementRow RowOfFigure(const editor::MeasureState& state) {
    return RowOfDrawing(state, editor::SketchMeasure(state));
}

}  // namespace orvane::results
