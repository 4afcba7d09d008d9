#include "editor/model/shape_sketch.h"

#include <utility>

// GCC 12 at -O3 reports the inactive members of a moved std::variant as maybe uninitialized
// when the draw list grows; they are never read.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

#include "editor/geometry/end_marks.h"

namespace orvane::editor {

namespace {

void Barbs(std::vector<DrawOp>& ops, Point tail, Point tip, int32_t penWidth) {
    for (const Point& end : ArrowBarbs(tail, tip, penWidth))
        ops.push_back(StrokeLine{ClampToLimit(tip), end, Ink::kPen});
}

}  // namespace

std::vector<DrawOp> SketchShape(const ShapeState& shape) {
    std::vector<DrawOp> ops;
    const Point first = ClampToLimit({shape.rect.left, shape.rect.top});
    const Point second = ClampToLimit({shape.rect.right, shape.rect.bottom});
    switch (shape.kind) {
        case ShapeKind::kLine:
        case ShapeKind::kArrow: {
            const bool placing = shape.stage != 2;
            const Point tail = placing ? first : ClampToLimit(shape.start);
            const Point tip = placing ? second : ClampToLimit(shape.end);
            ops.push_back(StrokeLine{tail, tip, Ink::kPen});
            if (placing) {
                for (const Segment& s : GuideLines(shape.start, shape.end))
                    ops.push_back(StrokeLine{s.from, s.to, Ink::kGuide});
            }
            if (shape.kind == ShapeKind::kArrow) Barbs(ops, tail, tip, shape.penWidth);
            break;
        }
        case ShapeKind::kRectangle:
            ops.push_back(Frame{{first.x, first.y, second.x, second.y}});
            break;
        case ShapeKind::kEllipse:
            ops.push_back(Outline{{first.x, first.y, second.x, second.y}});
            break;
    }
    return ops;
}

Box CornerBox(Point p1, Point p2, bool normalise) {
    Box box{p1.x, p1.y, p2.x, p2.y};
    if (normalise) {
        if (box.right < box.left) std::swap(box.left, box.right);
        if (box.bottom < box.top) std::swap(box.top, box.bottom);
    }
    return box;
}

bool StoreFigurePoint(std::vector<Point>& list, int32_t index, Point p) {
    if (index < 0 || index >= kMaxFigurePoints) return false;
    const auto i = static_cast<size_t>(index);
    if (list.size() <= i) list.resize(i + 1);
    list[i] = p;
    return true;
}

}  // namespace orvane::editor
