#pragma once
// The objects the picture editor draws while the user places them: the base every drawing and
// measuring object shares, and the GDI tools (pens, hollow brush, font) they own.
#include <windows.h>

#include <cstdint>
#include <span>

#include "editor/geometry/measure_sketch.h"
#include "editor/model/dirty_tiles.h"
#include "platform/handles.h"

namespace orvane {

// The pens of a line-drawing object: a geometric pen with round caps and joins and the dash
// pattern of its style, the cosmetic dotted guide pen in the complement colour, and the hollow
// brush that keeps outlines unfilled. A failed creation leaves a null handle; drawing then uses
// whatever the surface has selected.
struct LineTools {
    UniquePen pen;
    UniquePen guide;
    UniqueBrush hollow;
    void Create(COLORREF color, int32_t width, int32_t style, bool withBrush);
};

// Remembers the pen, brush and font a surface has selected and puts them back when it goes,
// whatever was selected in between.
class SelectionGuard {
  public:
    explicit SelectionGuard(HDC dc);
    SelectionGuard(const SelectionGuard&) = delete;
    SelectionGuard& operator=(const SelectionGuard&) = delete;
    ~SelectionGuard();
    // Selects object into the surface; a null object is not selected.
    void Select(HGDIOBJ object);

  private:
    HDC dc_;
    HGDIOBJ pen_;
    HGDIOBJ brush_;
    HGDIOBJ font_;
};

// While one exists on this thread, the drawing done on its surface is accounted as tiles of the
// picture: straight strokes by where their pixels can reach (a stroke crossing the picture is a
// thin staircase of tiles, not the box around it), everything else by the box the surface
// reports. Without an account from the surface, Failed() says so and nothing can be trusted.
class DrawnAreas {
  public:
    DrawnAreas(HDC dc, editor::DirtyTiles& tiles);
    DrawnAreas(const DrawnAreas&) = delete;
    DrawnAreas& operator=(const DrawnAreas&) = delete;
    ~DrawnAreas();
    // The recorder of dc on this thread, or null.
    static DrawnAreas* For(HDC dc);
    // Takes what was drawn since the last account as one box.
    void TakeBox();
    // Takes the straight stroke from a to b just drawn with the selected pen.
    void TakeStroke(POINT a, POINT b);
    bool Failed() const { return failed_; }

  private:
    HDC dc_;
    editor::DirtyTiles& tiles_;
    DrawnAreas* outer_;
    bool failed_ = false;
};

// Draws a draw list: kPen strokes with pen, kGuide strokes with guide, outlines and frames with
// the selected brush, labels with the selected font at their top-left corner. Null pens leave
// the surface's own.
void ReplayDrawList(HDC dc, std::span<const editor::DrawOp> ops, HPEN pen, HPEN guide);

class CDrawObject {
  public:
    CDrawObject() = default;
    CDrawObject(const CDrawObject&) = delete;
    CDrawObject& operator=(const CDrawObject&) = delete;
    virtual ~CDrawObject() = default;

    // Draws the object; what it selects into dc is put back before it returns.
    virtual void Draw(HDC dc) = 0;
    // Moves rect by (dx, dy).
    virtual void Offset(int32_t dx, int32_t dy);
    // rect = (p1.x, p1.y, p2.x, p2.y), normalised so that left <= right and top <= bottom.
    virtual void SetCorners(POINT p1, POINT p2);
    // A measurement's figure as the portable sketches see it (true), for its values to be
    // kept beside the picture; other objects have none.
    virtual bool MeasuredFigure(editor::MeasureState& /*state*/) const { return false; }

    double pixelFactor = 0.355;  // millimetres per reference pixel at magnification 1
    RECT rect{};
    int32_t penWidth = 1;  // picture pixels
    int32_t penStyle = 0;  // dash style 0..4
};

inline editor::Point ToPoint(POINT p) {
    return {static_cast<int32_t>(p.x), static_cast<int32_t>(p.y)};
}
inline editor::Box ToBox(const RECT& r) {
    return {static_cast<int32_t>(r.left), static_cast<int32_t>(r.top),
            static_cast<int32_t>(r.right), static_cast<int32_t>(r.bottom)};
}

}  // namespace orvane
