// The working picture, its snapshots into the undo history, and stepping through them.
#include "editor/view/canvas_bitmaps.h"
#include "editor/view/canvas_view.h"

namespace orvane {

using canvas::CopyPicture;
using canvas::NewDib;

HBITMAP CIvoraImgEdtView::Snapshot() const {
    HBITMAP copy = NewDib(imageWidth_, imageHeight_, nullptr);
    if (copy == nullptr) return nullptr;
    UniqueMemoryDc dc(CreateCompatibleDC(working_.Dc()));
    if (!dc) {
        DeleteObject(copy);
        return nullptr;
    }
    HGDIOBJ old = SelectObject(dc.Get(), copy);
    BitBlt(dc.Get(), 0, 0, imageWidth_, imageHeight_, working_.Dc(), 0, 0, SRCCOPY);
    SelectObject(dc.Get(), old);
    return copy;
}

void CIvoraImgEdtView::Repaint(bool withObject) {
    if (!working_.Dc()) return;
    if (HBITMAP top = history_.Current())
        CopyPicture(working_.Dc(), top, imageWidth_, imageHeight_);
    if (withObject && current_) current_->Draw(working_.Dc());
}

void CIvoraImgEdtView::Commit() {
    if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
    current_.reset();
    state_.Committed();
    state_.SetGesture(0);
}

void CIvoraImgEdtView::SetTool(int32_t tool) {
    const bool inProgress = current_ != nullptr;
    if (inProgress) {
        Repaint(true);
        Redraw();
        if (HBITMAP snapshot = Snapshot()) history_.Push(snapshot);
        current_.reset();
    }
    state_.SetTool(tool, inProgress);
}

void CIvoraImgEdtView::Cancel() {
    const bool cleared = state_.Cancel();
    current_.reset();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
    if (cleared && editor_ != nullptr) PostMessageW(editor_, kToolCleared, 0, 0);
}

void CIvoraImgEdtView::Undo() {
    if (!history_.CanUndo()) return;
    current_.reset();
    history_.Undo();
    state_.Undone();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

void CIvoraImgEdtView::Redo() {
    if (!history_.CanRedo()) return;
    current_.reset();
    history_.Redo();
    state_.Redone();
    Repaint(false);
    InvalidateRect(hwnd_.Get(), nullptr, FALSE);
}

}  // namespace orvane
