// Rows hold exactly the numbers the labels show, and follow the picture history.
#include "results/measurement_table.h"

#include "editor/geometry/label_layout.h"

#include <random>

#include <cmath>
#include <cstring>
#include <limits>

#include <gtest/gtest.h>

namespace orvane::results {
namespace {

using editor::MeasureState;
using editor::Point;

// The label text the editor writes for a value of that quantity.
std::string LabelFor(editor::Quantity q, double v, editor::Unit u) {
    switch (q) {
        case Quantity::kAngle:
            return editor::FormatValue(v);
        case Quantity::kTotal:
            return editor::UnitLabel("Total=", v, u);
        case Quantity::kPerimeter:
        case Quantity::kCircumference:
        case Quantity::kArcLength:
            return editor::UnitLabel("C=", v, u);
        case Quantity::kArea:
            return editor::UnitLabel("A=", v, u, "^2");
        case Quantity::kRadius:
            return editor::UnitLabel("R=", v, u);
        case Quantity::kDiameter:
            return editor::UnitLabel("D=", v, u);
        default:
            return editor::UnitLabel("", v, u);
    }
}

std::vector<std::string> ValueLabels(const editor::MeasureDrawing& d) {
    std::vector<std::string> out;
    for (const editor::DrawOp& op : d.ops) {
        const auto* l = std::get_if<editor::Label>(&op);
        if (l != nullptr && l->text != editor::kDegreeMark) out.push_back(l->text);
    }
    return out;
}

MeasureState Figure(MeasureKind kind, std::vector<Point> points, int32_t count, Point cursor) {
    MeasureState s;
    s.kind = kind;
    s.conversion = {0.355, 1.0, 50.0, Unit::kMillimetre};
    s.points = std::move(points);
    s.pointCount = count;
    s.cursor = cursor;
    s.fontHeight = -16;
    return s;
}

TEST(MeasurementRows, EveryLabelHasItsValueInTheRow) {
    // Random figures of every kind, stage and unit: each value label the editor draws is the
    // label of the value kept beside it, in drawing order.
    std::mt19937 rng(7);
    std::uniform_int_distribution<int32_t> coord(-500, 1500), small(0, 7), unit(0, 3);
    const MeasureKind kinds[] = {MeasureKind::kCalibration,     MeasureKind::kLine,
                                 MeasureKind::kThreePointAngle, MeasureKind::kThreePointCircle,
                                 MeasureKind::kThreePointArc,   MeasureKind::kFourPointAngle,
                                 MeasureKind::kContinuousLine,  MeasureKind::kPolygon,
                                 MeasureKind::kRadiusCircle,    MeasureKind::kDiameterCircle};
    size_t labelled = 0;
    for (int i = 0; i < 4000; ++i) {
        MeasureState s = Figure(kinds[i % 10], {}, 0, {coord(rng), coord(rng)});
        s.conversion.unit = static_cast<Unit>(unit(rng));
        s.conversion.magnification = i % 97 == 0 ? 0.0 : 1 + i % 300;
        s.angleMode = (i / 10) % 3 == 1 ? 90 : 0;
        const int32_t n = small(rng) + 1;
        for (int32_t k = 0; k <= n; ++k) s.points.push_back({coord(rng), coord(rng)});
        s.pointCount = small(rng) % (n + 1);
        for (int32_t k = 0; k <= n; ++k) s.labelPoints.push_back({coord(rng), coord(rng)});
        s.labelCount = small(rng) % (n + 1);
        s.polyStage = small(rng) % 6;
        const editor::MeasureDrawing d = editor::SketchMeasure(s);
        const std::vector<std::string> labels = ValueLabels(d);
        ASSERT_EQ(labels.size(), d.values.size()) << i;
        for (size_t k = 0; k < labels.size(); ++k) {
            EXPECT_EQ(labels[k],
                      LabelFor(d.values[k].quantity, d.values[k].value, s.conversion.unit))
                << i;
        }
        labelled += labels.size();
        // The row takes them all: the edges in order, one value of each other quantity.
        const MeasurementRow row = RowOfDrawing(s, d);
        size_t inRow = row.edges.size();
        for (const auto& v : row.values) inRow += v.has_value();
        EXPECT_EQ(inRow, d.values.size()) << i;
    }
    EXPECT_GT(labelled, 5000u);
}

TEST(MeasurementRows, RowsOfFinishedFigures) {
    // A 45-degree line pointed at (30, 10) ends at (10, 10): its points are those drawn.
    MeasureState line = Figure(MeasureKind::kLine, {{0, 0}, {30, 10}}, 2, {60, 60});
    line.angleMode = 45;
    MeasurementRow row = RowOfFigure(line);
    EXPECT_EQ(row.Tool(), MeasureTool::kDiagonalLine);
    EXPECT_EQ(row.points, (std::vector<Point>{{0, 0}, {10, 10}}));
    EXPECT_EQ(row.Value(Quantity::kLength), std::hypot(10, 10) * 0.355 / 50);
    EXPECT_EQ(row.conversion.magnification, 50);

    // A diameter circle of 2 mm: D, C and A as labelled.
    MeasureState circle = Figure(MeasureKind::kDiameterCircle, {{0, 0}, {200, 0}}, 2, {9, 9});
    circle.conversion.magnification = 35.5;
    row = RowOfFigure(circle);
    EXPECT_EQ(row.Tool(), MeasureTool::kDiameterCircle);
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kDiameter)), "2.000");
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kCircumference)), "6.283");
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kArea)), "3.142");
    EXPECT_FALSE(row.Value(Quantity::kRadius));

    // The 12 x 10 polygon placed to the end: two edge labels dropped, perimeter and area.
    MeasureState poly =
        Figure(MeasureKind::kPolygon, {{}, {0, 0}, {12, 0}, {12, 10}, {0, 10}}, 4, {50, 50});
    poly.conversion.magnification = 1;
    poly.labelPoints = {{}, {6, -5}, {17, 5}, {6, 15}, {-5, 5}, {50, 50}};
    poly.labelCount = 5;
    poly.polyStage = 5;
    row = RowOfFigure(poly);
    ASSERT_EQ(row.edges.size(), 3u);  // the closing edge has no label
    EXPECT_EQ(editor::FormatValue(row.edges[0]), "4.260");
    EXPECT_EQ(editor::FormatValue(row.edges[1]), "3.550");
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kPerimeter)), "15.620");
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kArea)), "15.123");
    EXPECT_EQ(row.points.size(), 4u);

    // Without a magnification the values are there, shown as "---".
    line.conversion.magnification = 0;
    row = RowOfFigure(line);
    ASSERT_TRUE(row.Value(Quantity::kLength));
    EXPECT_TRUE(std::isnan(*row.Value(Quantity::kLength)));

    // Three-point angle of 90 degrees; its points are vertex and arms.
    row = RowOfFigure(
        Figure(MeasureKind::kThreePointAngle, {{}, {0, 0}, {10, 0}, {0, -10}}, 3, {30, 30}));
    ASSERT_TRUE(row.Value(Quantity::kAngle));
    EXPECT_EQ(editor::FormatValue(*row.Value(Quantity::kAngle)), "90.000");
    EXPECT_EQ(row.points, (std::vector<Point>{{0, 0}, {10, 0}, {0, -10}}));
}

MeasurementRow Row(double length) {
    MeasurementRow r;
    r.values[static_cast<size_t>(Quantity::kLength)] = length;
    return r;
}

std::vector<double> Lengths(const MeasurementTable& t) {
    std::vector<double> out;
    int32_t number = 0;
    for (const MeasurementRow& r : t.Rows()) {
        EXPECT_EQ(r.number, ++number);
        out.push_back(r.Value(Quantity::kLength).value_or(-1));
    }
    return out;
}

TEST(MeasurementTable, UndoAndRedoFollowTheSteps) {
    MeasurementTable t;
    t.Open({Row(1), Row(2)});  // read with the picture: never undone
    EXPECT_FALSE(t.CanUndo());
    EXPECT_FALSE(t.Undo());
    t.Commit({Row(3)});
    t.Commit();  // a drawing: a step without rows
    t.Commit({Row(4)});
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3, 4}));
    EXPECT_TRUE(t.Undo());
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(t.Undo());  // the drawing
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3}));
    EXPECT_TRUE(t.Undo());
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2}));
    EXPECT_FALSE(t.Undo());
    EXPECT_TRUE(t.Redo());
    EXPECT_TRUE(t.Redo());
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3}));
    // A new commit after undos: the redo steps are gone.
    const uint64_t before = t.Revision();
    t.Commit({Row(5), Row(6)});
    EXPECT_NE(t.Revision(), before);
    EXPECT_FALSE(t.CanRedo());
    EXPECT_FALSE(t.Redo());
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3, 5, 6}));
    t.Undo();
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3}));
    t.Redo();
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3, 5, 6}));
    // Opening another picture starts over.
    t.Open({});
    EXPECT_TRUE(t.Rows().empty());
    EXPECT_FALSE(t.CanUndo());
}

TEST(MeasurementTable, ABoundedHistoryKeepsTheOldestRows) {
    // A history of 3 pictures: the loaded one and two steps. Later commits push the oldest out;
    // their rows stay in the picture, out of undo's reach, as in the history.
    MeasurementTable t(3);
    t.Open({});
    for (double v : {1.0, 2.0, 3.0, 4.0}) t.Commit({Row(v)});
    EXPECT_TRUE(t.Undo());
    EXPECT_TRUE(t.Undo());
    EXPECT_FALSE(t.Undo());
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2}));
    t.Redo();
    t.Redo();
    EXPECT_EQ(Lengths(t), (std::vector<double>{1, 2, 3, 4}));
    // Commit without Open (no picture loaded yet) and Clear.
    MeasurementTable fresh;
    fresh.Commit({Row(7)});
    EXPECT_EQ(Lengths(fresh), (std::vector<double>{7}));
    EXPECT_FALSE(fresh.CanUndo());
    fresh.Clear();
    EXPECT_TRUE(fresh.Rows().empty());
}

}  // namespace
}  // namespace orvane::results
