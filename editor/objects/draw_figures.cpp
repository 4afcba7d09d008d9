#include "editor/objects/draw_figures.h"

namespace orvane {

void CDrawPen::SetPen(COLORREF color, int32_t width, int32_t style) {
    this->color = color;
    penWidth = width;
    penStyle = style;
    tools_.Create(color, width, style, false);
}

void CDrawPen::Draw(HDC dc) {
    if (points.empty()) return;
    editor::StrokePolyline stroke;
    stroke.points.reserve(points.size());
    for (const POINT& p : points) stroke.points.push_back(editor::ClampToLimit(ToPoint(p)));
    const editor::DrawOp ops[] = {std::move(stroke)};
    SelectionGuard guard(dc);
    ReplayDrawList(dc, ops, tools_.pen.Get(), nullptr);
}

CDrawShape::CDrawShape(int32_t kind, const RECT& rect) : kind(kind) {
    this->rect = rect;
}

void CDrawShape::SetPen(COLORREF color, int32_t width, int32_t style) {
    this->color = color;
    penWidth = width;
    penStyle = style;
    tools_.Create(color, width, style, true);
}

void CDrawShape::SetCorners(POINT p1, POINT p2) {
    const editor::Box box =
        editor::CornerBox(ToPoint(p1), ToPoint(p2), editor::NormalisesCorners(kind));
    rect = {box.left, box.top, box.right, box.bottom};
}

void CDrawShape::Draw(HDC dc) {
    editor::ShapeState shape;
    shape.kind = static_cast<editor::ShapeKind>(kind);
    shape.rect = ToBox(rect);
    shape.start = ToPoint(start);
    shape.end = ToPoint(end);
    shape.stage = stage;
    shape.penWidth = penWidth;
    const std::vector<editor::DrawOp> ops = editor::SketchShape(shape);
    SelectionGuard guard(dc);
    guard.Select(tools_.pen.Get());
    guard.Select(tools_.hollow.Get());
    SetBkMode(dc, TRANSPARENT);
    ReplayDrawList(dc, ops, tools_.pen.Get(), tools_.guide.Get());
}

void CDrawText::SetFont(const LOGFONTW& font, COLORREF color) {
    this->color = color;
    font_.Reset(CreateFontIndirectW(&font));
    fontHeight_ = font.lfHeight;
}

void CDrawText::SetText(std::wstring_view text) {
    entry_.Clear();
    for (wchar_t c : text) entry_.Char(static_cast<uint16_t>(c));
    Sync();
}

bool CDrawText::OnChar(WPARAM code) {
    const bool changed = code <= 0xFFFF && entry_.Char(static_cast<uint32_t>(code));
    Sync();
    return changed;
}

bool CDrawText::OnKeyDown(WPARAM key) {
    const bool changed = key <= 0xFF && entry_.KeyDown(static_cast<uint32_t>(key));
    Sync();
    return changed;
}

void CDrawText::Sync() {
    const std::u16string& typed = entry_.Text();
    text_.assign(typed.begin(), typed.end());
}

void CDrawText::PlaceCursorBlock(POINT anchor) {
    const editor::Box block = editor::CursorBlock(ToPoint(anchor), fontHeight_);
    rect = {block.left, block.top, block.right, block.bottom};
}

editor::PressWhileTyping CDrawText::ClassifyPress(POINT press) const {
    return editor::ClassifyPress(ToBox(rect), ToPoint(press));
}

void CDrawText::Draw(HDC dc) {
    SelectionGuard guard(dc);
    guard.Select(font_.Get());
    SetTextColor(dc, color);
    SetBkMode(dc, TRANSPARENT);
    if (!committed) InvertRect(dc, &rect);
    const editor::Point origin = editor::TextOrigin(ToBox(rect));
    TextOutW(dc, origin.x, origin.y, text_.c_str(), static_cast<int>(text_.size()));
}

}  // namespace orvane
