#pragma once
// What the drawing tools draw: the line, arrow, rectangle and ellipse as draw lists in picture
// pixels, the bounding rectangle each object keeps of its two corners, and the bounded point
// lists of the measuring figures.
#include <cstdint>
#include <vector>

#include "editor/geometry/measure_sketch.h"

namespace orvane::editor {

enum class ShapeKind : int32_t { kLine = 1, kRectangle = 2, kEllipse = 3, kArrow = 5 };

// A line or arrow is in stage 1 while its end follows the pointer and in stage 2 once its
// second click fixed it; rectangles and ellipses stay in stage 1.
struct ShapeState {
    ShapeKind kind = ShapeKind::kLine;
    Box rect;  // as SetCorners left it: the anchor at left/top, the pointer at right/bottom
    Point start;
    Point end;
    int32_t stage = 1;
    int32_t penWidth = 1;
};

// Stage 1 lines and arrows run from the rectangle's first corner to its second with the guide
// lines through start and end (Ink::kGuide); stage 2 from start to end without guides. An arrow
// adds its two barbs at the tip, each a stroke from the tip. A rectangle is a Frame, an ellipse
// an Outline of rect. Any other kind draws nothing.
std::vector<DrawOp> SketchShape(const ShapeState& shape);

// The rectangle of two corners: left/top from p1, right/bottom from p2, and with normalise the
// edges swapped where right < left or bottom < top.
Box CornerBox(Point p1, Point p2, bool normalise);

// Lines and arrows keep their corners as given (the first is the tail); every other shape is
// normalised.
constexpr bool NormalisesCorners(int32_t shapeKind) {
    return shapeKind != static_cast<int32_t>(ShapeKind::kLine) &&
           shapeKind != static_cast<int32_t>(ShapeKind::kArrow);
}

// A measuring figure holds at most this many clicked points and label places (indexes 0..1023).
inline constexpr int32_t kMaxFigurePoints = 1024;

// Stores p at index, growing the list with (0, 0) entries as needed. An index outside
// 0..kMaxFigurePoints - 1 stores nothing and answers false.
bool StoreFigurePoint(std::vector<Point>& list, int32_t index, Point p);

}  // namespace orvane::editor
