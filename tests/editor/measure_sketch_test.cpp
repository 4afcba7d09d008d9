#include "editor/geometry/measure_sketch.h"
#include <cmath>

#include <gtest/gtest.h>

namespace orvane::editor {
namespace {

constexpr int32_t kH = -16;  // a character-height label font

MeasureState State(MeasureKind kind, std::vector<Point> points, int32_t count, Point cursor) {
    MeasureState s;
    s.kind = kind;
    s.points = std::move(points);
    s.pointCount = count;
    s.cursor = cursor;
    s.fontHeight = kH;
    return s;
}

std::vector<Label> Labels(const MeasureDrawing& d) {
    std::vector<Label> out;
    for (const DrawOp& op : d.ops)
        if (const auto* l = std::get_if<Label>(&op)) out.push_back(*l);
    return out;
}

template <typename T>
int Count(const MeasureDrawing& d) {
    int n = 0;
    for (const DrawOp& op : d.ops) n += std::holds_alternative<T>(op);
    return n;
}

TEST(MeasureSketchTest, FixedLineInEveryUnit) {
    MeasureState s = State(MeasureKind::kLine, {{0, 0}, {100, 0}}, 2, {300, 200});
    s.conversion = {0.355, 1.0, 50.0, Unit::kMillimetre};
    MeasureDrawing d = SketchMeasure(s);
    // The line, then short marks of 3 pen widths, then its length at the pointer.
    ASSERT_EQ(d.ops.size(), 4u);
    EXPECT_EQ(std::get<StrokeLine>(d.ops[0]), (StrokeLine{{0, 0}, {100, 0}, Ink::kPen}));
    EXPECT_EQ(std::get<StrokeLine>(d.ops[2]), (StrokeLine{{100, 3}, {100, -3}, Ink::kPen}));
    EXPECT_EQ(std::get<Label>(d.ops[3]), (Label{{300, 200}, "0.710 mm"}));
    EXPECT_DOUBLE_EQ(d.result, 35.5);
    const std::pair<Unit, const char*> units[] = {
        {Unit::kMicrometre, "710.000 um"}, {Unit::kMil, "27.953 mil"}, {Unit::kInch, "0.028 inch"}};
    for (const auto& [unit, text] : units) {
        s.conversion.unit = unit;
        EXPECT_EQ(Labels(SketchMeasure(s)).at(0).text, text);
    }
}

TEST(MeasureSketchTest, LinesBeingPlacedAndDegenerateValues) {
    // A 45 degree line follows the pointer with guides; the label stays at the pointer.
    MeasureState s = State(MeasureKind::kLine, {{0, 0}}, 1, {30, 10});
    s.angleMode = 45;
    MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(std::get<StrokeLine>(d.ops[0]).to, (Point{10, 10}));
    EXPECT_EQ(std::get<StrokeLine>(d.ops[1]).ink, Ink::kGuide);
    EXPECT_EQ(Labels(d).at(0).at, (Point{30, 10}));
    // Zero length: no label.
    EXPECT_TRUE(
        Labels(SketchMeasure(State(MeasureKind::kLine, {{4, 4}, {4, 4}}, 2, {4, 4}))).empty());
    // No magnification: the value is shown as unknown rather than infinite.
    s.conversion.magnification = 0;
    EXPECT_EQ(Labels(SketchMeasure(s)).at(0).text, "--- mm");
}

TEST(MeasureSketchTest, CalibrationLabelsTheMiddle) {
    MeasureState s = State(MeasureKind::kCalibration, {{0, 0}}, 1, {101, 51});
    s.conversion.magnification = 50;
    const MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(Labels(d).at(0).at, (Point{30, 25}));
    EXPECT_DOUBLE_EQ(d.result, std::hypot(101, 51) * 0.355 * 50);
    s.cursor = {0, 0};
    EXPECT_TRUE(Labels(SketchMeasure(s)).empty());
}

TEST(MeasureSketchTest, CirclesByDiameterAndRadius) {
    MeasureState s = State(MeasureKind::kDiameterCircle, {{0, 0}, {20, 0}}, 2, {50, 50});
    s.conversion.pixelFactor = 0.1;
    MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(std::get<Outline>(d.ops[1]).box, (Box{0, -10, 20, 10}));
    EXPECT_EQ(Labels(d),
              (std::vector<Label>{
                  {{50, 50}, "D=2.000 mm"}, {{50, 66}, "C=6.283 mm"}, {{50, 82}, "A=3.142 mm^2"}}));
    s.kind = MeasureKind::kRadiusCircle;
    s.points = {{7, 7}, {7, 7}};
    d = SketchMeasure(s);
    EXPECT_EQ(std::get<Outline>(d.ops[1]).box, (Box{7, 7, 7, 7}));
    EXPECT_EQ(Labels(d).at(2).text, "A=0.000 mm^2");
}

TEST(MeasureSketchTest, AnglesWriteTheDegreeMarkAfterTheValue) {
    MeasureState s =
        State(MeasureKind::kThreePointAngle, {{}, {0, 0}, {10, 0}, {0, -10}}, 3, {40, 40});
    MeasureDrawing d = SketchMeasure(s);
    // The arc's stroke starts at the first arm's end.
    EXPECT_EQ(std::get<StrokeArc>(d.ops[1]).from, (Point{10, 0}));
    // 6 characters: x + trunc(6 * 1.05 * 16 / 2) = x + 50, raised by 16 / 2.
    EXPECT_EQ(Labels(d), (std::vector<Label>{{{40, 40}, "90.000"}, {{90, 32}, "o"}}));

    s = State(MeasureKind::kThreePointArc, {{}, {0, -10}, {10, 0}, {0, 10}}, 3, {40, 40});
    s.conversion.pixelFactor = 0.1;
    d = SketchMeasure(s);
    EXPECT_EQ(Count<StrokeArc>(d), 2);
    EXPECT_EQ(Count<Outline>(d), 3);
    EXPECT_EQ(Labels(d), (std::vector<Label>{{{40, 40}, "180.000"},
                                             {{98, 32}, "o"},
                                             {{40, 56}, "R=1.000 mm"},
                                             {{40, 72}, "C=3.142 mm"},
                                             {{40, 88}, "A=1.571 mm^2"}}));

    s = State(MeasureKind::kFourPointAngle, {{}, {0, 0}, {10, 0}, {0, 5}, {-10, 5}}, 4, {40, 40});
    d = SketchMeasure(s);
    EXPECT_EQ(Count<StrokeArc>(d), 0);
    EXPECT_EQ(Labels(d).at(0).text, "0.000");
}

TEST(MeasureSketchTest, CollinearThreePointCircleShowsOnlyItsMarkers) {
    const MeasureState s = State(MeasureKind::kThreePointCircle, {{}, {0, 0}, {5, 5}}, 2, {10, 10});
    const MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(Count<Outline>(d), 3);
    EXPECT_EQ(d.ops.size(), 3u);
}

TEST(MeasureSketchTest, PolygonPerimeterAndArea) {
    MeasureState s =
        State(MeasureKind::kPolygon, {{}, {0, 0}, {12, 0}, {12, 10}, {0, 10}}, 4, {100, 100});
    s.polyStage = 4;
    s.labelPoints = {{}, {1, 1}};
    s.labelCount = 1;
    MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(std::get<StrokeLine>(d.ops[1]), (StrokeLine{{0, 10}, {0, 0}, Ink::kPen}));
    EXPECT_EQ(Labels(d), (std::vector<Label>{{{1, 1}, "4.260 mm"},
                                             {{100, 132}, "A=15.123 mm^2"},
                                             {{100, 116}, "C=15.620 mm"}}));
    // Placing: the live edge to the pointer and the closing edge back count.
    s.polyStage = 1;
    s.cursor = {0, 20};
    d = SketchMeasure(s);
    EXPECT_EQ(Labels(d).at(1), (Label{{0, 20}, "3.550 mm"}));
    EXPECT_EQ(Labels(d).at(2).text, "C=22.720 mm");
    // Just after a vertex the last edge's text follows the pointer.
    s.polyStage = 2;
    d = SketchMeasure(s);
    EXPECT_EQ(Labels(d).at(1).text, "4.260 mm");
    EXPECT_EQ(Labels(d).at(2).text, "C=12.070 mm");
}

TEST(MeasureSketchTest, ContinuousLineSegmentsAndTotal) {
    MeasureState s =
        State(MeasureKind::kContinuousLine, {{}, {0, 0}, {30, 40}, {30, 100}}, 3, {40, 40});
    s.conversion.pixelFactor = 0.1;
    s.polyStage = 5;
    s.labelPoints = {{}, {10, 10}, {20, 20}, {40, 40}};
    s.labelCount = 3;
    MeasureDrawing d = SketchMeasure(s);
    EXPECT_EQ(std::get<StrokePolyline>(d.ops[0]).points,
              (std::vector<Point>{{0, 0}, {30, 40}, {30, 100}}));
    EXPECT_EQ(Labels(d),
              (std::vector<Label>{
                  {{10, 10}, "5.000 mm"}, {{20, 20}, "6.000 mm"}, {{40, 56}, "Total=11.000 mm"}}));
    // The live edge from the last vertex to the pointer is measured and labelled at the pointer.
    s.points.pop_back();
    s.pointCount = 2;
    s.polyStage = 1;
    s.labelCount = 1;
    s.cursor = {30, 100};
    d = SketchMeasure(s);
    EXPECT_EQ(Labels(d), (std::vector<Label>{{{10, 10}, "5.000 mm"},
                                             {{30, 100}, "6.000 mm"},
                                             {{30, 116}, "Total=11.000 mm"}}));
}

}  // namespace
}  // namespace orvane::editor
