#pragma once
// The thumbnail strip: its cells, the hover preview cell and the selection, as the media lists
// and the main window drive them.
#include <windows.h>

#include <algorithm>
#include <array>
#include <optional>
#include <string>

#include "media/media_browser.h"
#include "media/strip_selection.h"
#include "media/win/picture_view.h"

namespace orvane {

constexpr int kMaxStripCells = 16;
constexpr int kFirstCellId = 8192;
constexpr int kLargePreviewId = 8448;

// Cell k (1..16) stands in the left column for odd k and in the right one for even k.
constexpr int CellId(int k) {
    return kFirstCellId + ((k - 1) % 2) * 8 + (k - 1) / 2;
}

class StripCells : public StripView, public SelectionSource {
  public:
    void Attach(HWND owner, HWND scrollBar, const CellShared* shared, const MediaBrowser* browser);
    // Creates cell k once; later layouts only move it.
    bool CreateCell(int k, const RECT& rect);
    bool CreatePreview(const RECT& rect);

    // StripView.
    void ClearSelection() override;
    void SetCell(int k, const std::u16string* path) override;
    void RedrawStrip() override;
    void SetScrollPos(int pos) override;

    // SelectionSource.
    size_t DisplayCount() const override;
    const std::u16string& DisplayPath(size_t item) const override;
    int CellCount() const override { return created_; }
    const std::u16string& CellPath(int k) const override;

    // A click posted by cell window with flags: the path to open in the editor, if any.
    std::optional<std::u16string> OnClick(HWND cell, uint32_t flags);
    // 1..16 for a cell window of the strip, 0 otherwise.
    int CellOf(HWND window) const;
    CPictureView& Cell(int k) { return cells_[static_cast<size_t>(k - 1)]; }
    CPictureView& Preview() { return preview_; }
    const StripSelection& Selection() const { return selection_; }
    StripSelection& Selection() { return selection_; }
    // Sets every cell's mark from the selection.
    void ApplyMarks();
    // Hidden (under the picture editor), no cell shows, whatever the lists put into it; shown
    // again, each cell that holds an item shows and the others stay hidden.
    void SetHidden(bool hidden);

  private:
    HWND owner_ = nullptr;
    HWND scrollBar_ = nullptr;
    const CellShared* shared_ = nullptr;
    const MediaBrowser* browser_ = nullptr;
    std::array<CPictureView, kMaxStripCells> cells_;
    int created_ = 0;
    std::array<bool, kMaxStripCells> holdsItem_{};
    bool hidden_ = false;
    CPictureView preview_;
    StripSelection selection_;
};

}  // namespace orvane
