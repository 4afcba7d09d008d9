// The working picture, its snapshots into the undo history, and stepping through them.
#include "editor/view/canvas_bitmaps.h"
#include "editor/view/canvas_view.h"

namespace orvane {

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

// The working picture as it stands becomes the history top.
void CIvoraImgEdtView::Commit() {
    PushWorking();
    current_.reset();
    state_.Committed();
    state_.SetGesture(0);
}

void CIvoraImgEdtView::PushWorking() {
    if (HBITMAP snapshot = Snapshot()) {
        history_.Push(snapshot);
        drawn_.Clear();
        if (historyListener) historyListener->Pushed(current_.get());
    } else {
        restoreAll_ = true;  // the object stays in the working picture only
    }
}

void CIvoraImgEdtView::PlaceObject(std::unique_ptr<CDrawObject> object) {
    if (!object || !pictureLoaded_) return;
    // Whatever was in progress is committed first, as a tool change does.
    if (current_) {
        Repaint(true);
        PushWorking();
        current_.reset();
    }
    current_ = std::move(object);
    Repaint(true);
    Commit();
    ShowChanges(true);
}

void CIvoraImgEdtView::SetTool(int32_t tool) {
    const bool inProgress = current_ != nullptr;
    if (inProgress) {
        Repaint(true);
        ShowChanges(true);
        PushWorking();
        current_.reset();
    }
    state_.SetTool(tool, inProgress);
}

void CIvoraImgEdtView::Cancel() {
    const bool cleared = state_.Cancel();
    current_.reset();
    Repaint(false);
    ShowChanges(false);
    if (cleared && editor_ != nullptr) PostMessageW(editor_, kToolCleared, 0, 0);
}

void CIvoraImgEdtView::Undo() {
    if (!history_.CanUndo()) return;
    current_.reset();
    history_.Undo();
    if (historyListener) historyListener->Undone();
    restoreAll_ = true;
    state_.Undone();
    Repaint(false);
    ShowChanges(false);
}

void CIvoraImgEdtView::Redo() {
    if (!history_.CanRedo()) return;
    current_.reset();
    history_.Redo();
    if (historyListener) historyListener->Redone();
    restoreAll_ = true;
    state_.Redone();
    Repaint(false);
    ShowChanges(false);
}

}  // namespace orvane
