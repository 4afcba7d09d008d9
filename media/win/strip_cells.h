#pragma once
// The thumbnail strip as the media lists drive it: which file each cell shows, and the strip's
// scroll bar.
#include <windows.h>

#include <array>
#include <string>

#include "media/media_browser.h"

namespace orvane {

constexpr int kMaxStripCells = 16;

class StripCells : public StripView {
  public:
    void Attach(HWND scrollBar) { scrollBar_ = scrollBar; }

    void ClearSelection() override {}
    void SetCell(int k, const std::u16string* path) override;
    void RedrawStrip() override {}
    void SetScrollPos(int pos) override;

    // The file cell k (1..16) shows; empty for a hidden cell.
    const std::u16string& CellPath(int k) const;

  private:
    HWND scrollBar_ = nullptr;
    std::array<std::u16string, kMaxStripCells> paths_;
};

}  // namespace orvane
