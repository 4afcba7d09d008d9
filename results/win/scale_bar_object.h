#pragma once
// A scale bar placed in the editor's picture: a committed drawing like any other, undone and
// redone with the history.
#include <windows.h>

#include "editor/objects/draw_object.h"
#include "results/scale_bar.h"

namespace orvane::results {

class CDrawScaleBar : public CDrawObject {
  public:
    // The bar's bottom-left corner at `at` (picture pixels), drawn in the measurement colour
    // with the label font.
    CDrawScaleBar(const ScaleBar& bar, POINT at, const LOGFONTW& font, COLORREF colour);
    void Draw(HDC dc) override;
    const ScaleBarLayout& Layout() const { return layout_; }
    const ScaleBar& Bar() const { return bar_; }

  private:
    ScaleBar bar_;
    POINT at_{};
    LOGFONTW font_{};
    COLORREF colour_ = 0;
    ScaleBarLayout layout_{};
    bool placed_ = false;
};

}  // namespace orvane::results
