#include "media/win/strip_cells.h"

namespace orvane {
namespace {
const std::u16string kNoPath;
}

void StripCells::Attach(HWND owner, HWND scrollBar, const CellShared* shared,
                        const MediaBrowser* browser) {
    owner_ = owner;
    scrollBar_ = scrollBar;
    shared_ = shared;
    browser_ = browser;
}

bool StripCells::CreateCell(int k, const RECT& rect) {
    if (k < 1 || k > kMaxStripCells) return false;
    CPictureView& cell = Cell(k);
    if (cell.Hwnd()) {
        MoveWindow(cell.Hwnd(), rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                   FALSE);
        return true;
    }
    if (!cell.Create(owner_, CellId(k), rect, false, shared_)) return false;
    created_ = std::max(created_, k);
    return true;
}

bool StripCells::CreatePreview(const RECT& rect) {
    if (preview_.Hwnd()) {
        MoveWindow(preview_.Hwnd(), rect.left, rect.top, rect.right - rect.left,
                   rect.bottom - rect.top, FALSE);
        return true;
    }
    return preview_.Create(owner_, kLargePreviewId, rect, true, shared_);
}

void StripCells::ClearSelection() {
    selection_.Clear();
    ApplyMarks();
}

void StripCells::SetCell(int k, const std::u16string* path) {
    if (k < 1 || k > created_) return;
    CPictureView& cell = Cell(k);
    cell.SetItem(path);
    holdsItem_[static_cast<size_t>(k - 1)] = path != nullptr;
    ShowWindow(cell.Hwnd(), path && !hidden_ ? SW_SHOW : SW_HIDE);
}

void StripCells::SetHidden(bool hidden) {
    hidden_ = hidden;
    for (int k = 1; k <= created_; ++k) {
        const bool show = !hidden_ && holdsItem_[static_cast<size_t>(k - 1)];
        ShowWindow(Cell(k).Hwnd(), show ? SW_SHOW : SW_HIDE);
    }
    if (hidden_) ShowWindow(preview_.Hwnd(), SW_HIDE);
}

void StripCells::RedrawStrip() {
    for (int k = 1; k <= created_; ++k) InvalidateRect(Cell(k).Hwnd(), nullptr, FALSE);
}

void StripCells::SetScrollPos(int pos) {
    if (scrollBar_) ::SetScrollPos(scrollBar_, SB_CTL, pos, TRUE);
}

size_t StripCells::DisplayCount() const {
    return browser_ ? browser_->display().size() : 0;
}

const std::u16string& StripCells::DisplayPath(size_t item) const {
    if (!browser_ || item >= browser_->display().size()) return kNoPath;
    return browser_->PathOf(browser_->display()[item]);
}

const std::u16string& StripCells::CellPath(int k) const {
    return (k >= 1 && k <= created_) ? cells_[static_cast<size_t>(k - 1)].Path() : kNoPath;
}

int StripCells::CellOf(HWND window) const {
    for (int k = 1; k <= created_; ++k) {
        if (window && cells_[static_cast<size_t>(k - 1)].Hwnd() == window) return k;
    }
    return 0;
}

std::optional<std::u16string> StripCells::OnClick(HWND cell, uint32_t flags) {
    const int k = CellOf(cell);
    if (selection_.Update(k, flags, *this)) return CellPath(k);
    ApplyMarks();
    return std::nullopt;
}

void StripCells::ApplyMarks() {
    for (int k = 1; k <= created_; ++k) Cell(k).SetSelected(selection_.Marked(k));
}

}  // namespace orvane
