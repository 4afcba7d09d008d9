#include "editor/objects/draw_measure.h"

#include "editor/model/shape_sketch.h"

namespace orvane {

CDrawMeasure::CDrawMeasure(int32_t kind, const RECT& rect) : kind(kind) {
    this->rect = rect;
}

void CDrawMeasure::SetPen(COLORREF color, int32_t width, int32_t style) {
    this->color = color;
    penWidth = width;
    penStyle = style;
    tools_.Create(color, width, style, true);
}

void CDrawMeasure::SetFont(const LOGFONTW& font, COLORREF textColor) {
    this->textColor = textColor;
    font_.Reset(CreateFontIndirectW(&font));
}

void CDrawMeasure::SetCorners(POINT p1, POINT p2) {
    const editor::Box box = editor::CornerBox(ToPoint(p1), ToPoint(p2), false);
    rect = {box.left, box.top, box.right, box.bottom};
}

bool CDrawMeasure::SetPoint(int32_t index, POINT p) {
    return editor::StoreFigurePoint(points_, index, ToPoint(p));
}

bool CDrawMeasure::SetLabelPoint(int32_t index, POINT p) {
    return editor::StoreFigurePoint(labelPoints_, index, ToPoint(p));
}

POINT CDrawMeasure::PointAt(int32_t index) const {
    if (index < 0 || static_cast<size_t>(index) >= points_.size()) return {};
    const editor::Point p = points_[static_cast<size_t>(index)];
    return {p.x, p.y};
}

editor::MeasureState CDrawMeasure::State(int32_t fontHeight) const {
    editor::MeasureState state;
    state.kind = static_cast<editor::MeasureKind>(kind);
    state.conversion = {pixelFactor, scale, magnification, static_cast<editor::Unit>(unit)};
    state.angleMode = angleMode;
    state.points = points_;
    state.pointCount = pointCount;
    state.labelPoints = labelPoints_;
    state.labelCount = labelCount;
    state.polyStage = polyStage;
    state.cursor = {static_cast<int32_t>(rect.right), static_cast<int32_t>(rect.bottom)};
    state.fontHeight = fontHeight;
    state.penWidth = penWidth;
    return state;
}

editor::MeasureDrawing CDrawMeasure::Sketch(int32_t fontHeight) const {
    return editor::SketchMeasure(State(fontHeight));
}

void CDrawMeasure::Draw(HDC dc) {
    SelectionGuard guard(dc);
    guard.Select(tools_.pen.Get());
    guard.Select(tools_.hollow.Get());
    guard.Select(font_.Get());
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, textColor);
    // Labels stack by the height of the font the surface draws them in.
    LOGFONTW selected{};
    if (HGDIOBJ font = GetCurrentObject(dc, OBJ_FONT)) GetObjectW(font, sizeof selected, &selected);
    const editor::MeasureDrawing drawing = Sketch(selected.lfHeight);
    ReplayDrawList(dc, drawing.ops, tools_.pen.Get(), tools_.guide.Get());
    result = drawing.result;
}

}  // namespace orvane
