#pragma once
// A measuring figure while the user places it: its clicks, the pointer (rect's second corner),
// the conversion to real units, and the figure, guides and labels it draws.
#include <string>
#include <vector>

#include "editor/geometry/measure_sketch.h"
#include "editor/objects/draw_object.h"

namespace orvane {

class CDrawMeasure : public CDrawObject {
  public:
    CDrawMeasure(int32_t kind, const RECT& rect);

    // Stores the colour, width and style; makes the line pen, the guide pen and the hollow
    // brush.
    void SetPen(COLORREF color, int32_t width, int32_t style);
    // Makes the label font and stores the label colour.
    void SetFont(const LOGFONTW& font, COLORREF textColor);
    // rect = (p1, p2) as given, never normalised: (rect.right, rect.bottom) is the pointer.
    void SetCorners(POINT p1, POINT p2) override;

    // points[index] and labelPoints[index]; an index outside 0..1023 stores nothing (false).
    bool SetPoint(int32_t index, POINT p);
    bool SetLabelPoint(int32_t index, POINT p);
    POINT PointAt(int32_t index) const;

    // Draws the figure for its clicks and the pointer, with labels in the selected label font,
    // and updates result.
    void Draw(HDC dc) override;
    // The figure as the portable sketches see it, for a label font of the given height (the
    // height places labels; it changes no value).
    editor::MeasureState State(int32_t fontHeight) const;
    bool MeasuredFigure(editor::MeasureState& state) const override {
        state = State(labelFontHeight);
        return true;
    }
    int32_t labelFontHeight = 0;  // of the label font the figure was drawn with
    // The draw list Draw replays, for a label font of the given height.
    editor::MeasureDrawing Sketch(int32_t fontHeight) const;

    double magnification = 1.0;
    double scale = 1.0;
    int32_t pointCount = 0;
    double result = 0;
    int32_t angleMode = 0;  // line kind: 0, 90 or 45
    int32_t unit = 0;       // 0 mm, 1 um, 2 mil, 3 inch
    int32_t labelCount = 0;
    COLORREF color = 0;
    int32_t polyStage = 0;
    int32_t kind;
    COLORREF textColor = 0;

  private:
    std::vector<editor::Point> points_;
    std::vector<editor::Point> labelPoints_;
    LineTools tools_;
    UniqueFont font_;
};

}  // namespace orvane
