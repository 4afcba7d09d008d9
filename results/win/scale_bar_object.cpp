#include "results/win/scale_bar_object.h"

#include "results/win/scale_bar_paint.h"

namespace orvane::results {

CDrawScaleBar::CDrawScaleBar(const ScaleBar& bar, POINT at, const LOGFONTW& font, COLORREF colour)
    : bar_(bar), at_(at), font_(font), colour_(colour) {}

void CDrawScaleBar::Draw(HDC dc) {
    if (!placed_) {
        // The label's width is known only on a surface with the font.
        const ScaleBarText text{font_.lfHeight, LabelWidth(dc, bar_.label, font_)};
        layout_ = PlaceScaleBar(bar_.pixels, ToPoint(at_), text);
        rect = {layout_.bounds.left, layout_.bounds.top, layout_.bounds.right,
                layout_.bounds.bottom};
        placed_ = true;
    }
    PaintScaleBar(dc, bar_, layout_, font_, colour_, false);
}

}  // namespace orvane::results
