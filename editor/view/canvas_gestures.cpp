// Moves, releases, double-clicks and keys on the canvas: the object in progress follows them.
#include "editor/objects/draw_figures.h"
#include "editor/objects/draw_measure.h"
#include "editor/view/canvas_view.h"

namespace orvane {

void CIvoraImgEdtView::OnMove(int32_t x, int32_t y) {
    if (!editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) {
        SetCursor(LoadCursorW(nullptr, IDC_ARROW));
        return;
    }
    const int32_t st = state_.toolState();
    if (st == 0 || !current_) return;
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    if (st == 5) {
        static_cast<CDrawPen*>(current_.get())->AddPoint(p);
    } else if (st == 6 || st == 20) {
        auto* shape = static_cast<CDrawShape*>(current_.get());
        shape->end = p;
        shape->SetCorners(anchor_, p);
    } else if ((st >= 10 && st <= 13) || (st >= 16 && st <= 19)) {
        current_->SetCorners(anchor_, p);
    } else {
        return;
    }
    Repaint(true);
    ShowChanges(true);
    lastPoint_ = p;
}

void CIvoraImgEdtView::OnRelease(int32_t x, int32_t y) {
    ReleaseCapture();
    const editor::PicturePoint pp =
        editor::MapToPicture(x, y, imageWidth_, imageHeight_, canvasWidth_, canvasHeight_);
    const POINT p{pp.x, pp.y};
    const int32_t st = state_.toolState();
    if (!current_) {
        if (st != 0 && st != 8) state_.SetGesture(0);
        return;
    }
    if (st == 5) {
        auto* pen = static_cast<CDrawPen*>(current_.get());
        if (editor::OnCanvas(x, y, canvasWidth_, canvasHeight_)) pen->AddPoint(p);
        if (!pen->points.empty()) {
            Repaint(true);
            Commit();
        } else {
            current_.reset();
        }
        state_.SetGesture(0);
    } else if (st == 8) {
        static_cast<CDrawText*>(current_.get())->PlaceCursorBlock(anchor_);
        Repaint(true);
    } else if (st == 19) {
        auto* m = static_cast<CDrawMeasure*>(current_.get());
        if (m->kind != 10 && m->kind != 11) m->SetPoint(m->pointCount, p);
        m->SetCorners(anchor_, p);
        Repaint(true);
        if (m->kind == 0 && editor_ != nullptr) {
            static const UINT adjust = RegisterWindowMessageW(L"OrvaneAdjustMagnificaton");
            const editor::DoubleHalves h = editor::SplitDouble(m->result);
            PostMessageW(editor_, adjust, h.low, static_cast<LPARAM>(h.high));
        }
        Commit();
    } else if (st == 20) {
        current_->SetCorners(anchor_, p);
        Repaint(true);
        Commit();
    }
    ShowChanges(false);
}

void CIvoraImgEdtView::OnDoubleClick() {
    auto* m = dynamic_cast<CDrawMeasure*>(current_.get());
    if (m == nullptr || (m->kind != 10 && m->kind != 11)) return;
    if (state_.toolState() == 16) {
        if (m->polyStage == 1 && m->labelCount > 0) m->labelCount -= 1;
        m->polyStage = 3;
        state_.SetGesture(17);
        Repaint(true);
        ShowChanges(false);
    } else if (state_.toolState() == 18) {
        m->polyStage = 3;
        state_.SetGesture(17);
        Repaint(true);
        ShowChanges(false);
    }
}

bool CIvoraImgEdtView::OnKey(UINT message, WPARAM key) {
    if (state_.toolState() != 8 || !current_) return false;
    auto* text = static_cast<CDrawText*>(current_.get());
    if (message == WM_KEYDOWN && CDrawText::EndsText(key)) {
        text->committed = 1;
        Repaint(true);
        Commit();
        ShowChanges(true);
        return true;
    }
    const bool changed = message == WM_CHAR ? text->OnChar(key) : text->OnKeyDown(key);
    if (changed) {
        Repaint(true);
        ShowChanges(true);
    }
    return message == WM_CHAR || changed;
}

}  // namespace orvane
