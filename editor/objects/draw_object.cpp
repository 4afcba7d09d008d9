#include "editor/objects/draw_object.h"

#include <cstddef>
#include <string>
#include <variant>

#include "editor/geometry/pen_scaling.h"
#include "editor/model/shape_sketch.h"

namespace orvane {

void LineTools::Create(COLORREF color, int32_t width, int32_t style, bool withBrush) {
    const editor::DashPattern dash = editor::DashPatternOf(style, width);
    DWORD lengths[6] = {};
    for (int i = 0; i < dash.count; ++i) lengths[i] = dash.lengths[static_cast<size_t>(i)];
    const LOGBRUSH solid{BS_SOLID, color, 0};
    const DWORD w = static_cast<DWORD>(width < 1 ? 1 : width);
    pen.Reset(ExtCreatePen(PS_GEOMETRIC | PS_USERSTYLE | PS_ENDCAP_ROUND | PS_JOIN_ROUND, w, &solid,
                           static_cast<DWORD>(dash.count), lengths));
    guide.Reset(CreatePen(PS_DOT, 0, editor::GuideColor(color)));
    if (withBrush) {
        const LOGBRUSH hollow{BS_HOLLOW, 0, 0};
        this->hollow.Reset(CreateBrushIndirect(&hollow));
    } else {
        this->hollow.Reset();
    }
}

SelectionGuard::SelectionGuard(HDC dc)
    : dc_(dc),
      pen_(GetCurrentObject(dc, OBJ_PEN)),
      brush_(GetCurrentObject(dc, OBJ_BRUSH)),
      font_(GetCurrentObject(dc, OBJ_FONT)) {}

SelectionGuard::~SelectionGuard() {
    if (pen_) SelectObject(dc_, pen_);
    if (brush_) SelectObject(dc_, brush_);
    if (font_) SelectObject(dc_, font_);
}

void SelectionGuard::Select(HGDIOBJ object) {
    if (object) SelectObject(dc_, object);
}

namespace {

thread_local DrawnAreas* activeAreas = nullptr;

// Half the width of the pen selected into dc, at least one pixel.
int32_t PenReach(HDC dc) {
    HGDIOBJ pen = GetCurrentObject(dc, OBJ_PEN);
    const int size = GetObjectW(pen, 0, nullptr);
    int32_t width = 1;
    if (size == static_cast<int>(sizeof(LOGPEN))) {
        LOGPEN logical{};
        if (GetObjectW(pen, sizeof logical, &logical)) width = logical.lopnWidth.x;
    } else if (size >= static_cast<int>(offsetof(EXTLOGPEN, elpNumEntries))) {
        alignas(EXTLOGPEN) BYTE buffer[sizeof(EXTLOGPEN) + 16 * sizeof(DWORD)] = {};
        if (size <= static_cast<int>(sizeof buffer) && GetObjectW(pen, size, buffer)) {
            width = static_cast<int32_t>(reinterpret_cast<const EXTLOGPEN*>(buffer)->elpWidth);
        } else {
            width = 1 << 16;  // unknown: as good as everywhere
        }
    }
    return (width < 1 ? 1 : width) / 2 + 2;
}

}  // namespace

DrawnAreas::DrawnAreas(HDC dc, editor::DirtyTiles& tiles)
    : dc_(dc), tiles_(tiles), outer_(activeAreas) {
    activeAreas = this;
    SetBoundsRect(dc_, nullptr, DCB_ENABLE | DCB_RESET);
}

DrawnAreas::~DrawnAreas() {
    TakeBox();
    SetBoundsRect(dc_, nullptr, DCB_DISABLE);
    activeAreas = outer_;
}

DrawnAreas* DrawnAreas::For(HDC dc) {
    return activeAreas != nullptr && activeAreas->dc_ == dc ? activeAreas : nullptr;
}

void DrawnAreas::TakeBox() {
    RECT bounds{};
    const UINT account = GetBoundsRect(dc_, &bounds, DCB_RESET);
    if (account == 0) {
        failed_ = true;
    } else if ((account & DCB_SET) != 0) {
        tiles_.MarkBox({bounds.left, bounds.top, bounds.right, bounds.bottom});
    }
}

void DrawnAreas::TakeStroke(POINT a, POINT b) {
    RECT bounds{};
    if (GetBoundsRect(dc_, &bounds, DCB_RESET) == 0) failed_ = true;
    tiles_.MarkSegment(ToPoint(a), ToPoint(b), PenReach(dc_));
}

namespace {

struct Replayer {
    HDC dc;
    HPEN pen;
    HPEN guide;
    HPEN selected = nullptr;

    void Use(editor::Ink ink) {
        HPEN want = ink == editor::Ink::kGuide ? guide : pen;
        if (want && want != selected) SelectObject(dc, want);
        if (want) selected = want;
    }
    DrawnAreas* areas = nullptr;

    void operator()(const editor::StrokeLine& s) {
        Use(s.ink);
        MoveToEx(dc, s.from.x, s.from.y, nullptr);
        LineTo(dc, s.to.x, s.to.y);
        if (areas) areas->TakeStroke({s.from.x, s.from.y}, {s.to.x, s.to.y});
    }
    // Moves to the first point and draws to every point in turn, the first included, so that
    // a single point leaves a dot of the pen's width.
    void operator()(const editor::StrokePolyline& s) {
        if (s.points.empty()) return;
        Use(editor::Ink::kPen);
        MoveToEx(dc, s.points.front().x, s.points.front().y, nullptr);
        POINT last{s.points.front().x, s.points.front().y};
        for (const editor::Point& p : s.points) {
            LineTo(dc, p.x, p.y);
            if (areas) areas->TakeStroke(last, {p.x, p.y});
            last = {p.x, p.y};
        }
    }
    void operator()(const editor::StrokeArc& s) {
        if (s.radius < 0) return;
        Use(editor::Ink::kPen);
        MoveToEx(dc, s.from.x, s.from.y, nullptr);
        AngleArc(dc, s.centre.x, s.centre.y, static_cast<DWORD>(s.radius),
                 static_cast<FLOAT>(s.start), static_cast<FLOAT>(s.sweep));
        if (s.backToCentre) LineTo(dc, s.centre.x, s.centre.y);
    }
    void operator()(const editor::Outline& s) {
        Use(editor::Ink::kPen);
        Ellipse(dc, s.box.left, s.box.top, s.box.right, s.box.bottom);
    }
    void operator()(const editor::Frame& s) {
        Use(editor::Ink::kPen);
        Rectangle(dc, s.box.left, s.box.top, s.box.right, s.box.bottom);
    }
    void operator()(const editor::Label& s) {
        const std::wstring text(s.text.begin(), s.text.end());  // labels are ASCII
        TextOutW(dc, s.at.x, s.at.y, text.c_str(), static_cast<int>(text.size()));
    }
};

}  // namespace

void ReplayDrawList(HDC dc, std::span<const editor::DrawOp> ops, HPEN pen, HPEN guide) {
    Replayer replay{dc, pen, guide};
    replay.areas = DrawnAreas::For(dc);
    if (replay.areas) replay.areas->TakeBox();  // what the object drew before its list
    for (const editor::DrawOp& op : ops) {
        std::visit(replay, op);
        // Strokes took their own account; every other operation is taken as its box.
        if (replay.areas && !std::holds_alternative<editor::StrokeLine>(op) &&
            !std::holds_alternative<editor::StrokePolyline>(op)) {
            replay.areas->TakeBox();
        }
    }
}

void CDrawObject::Offset(int32_t dx, int32_t dy) {
    OffsetRect(&rect, dx, dy);
}

void CDrawObject::SetCorners(POINT p1, POINT p2) {
    const editor::Box box = editor::CornerBox(ToPoint(p1), ToPoint(p2), true);
    rect = {box.left, box.top, box.right, box.bottom};
}

}  // namespace orvane
