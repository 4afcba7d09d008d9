#include "media/win/strip_cells.h"

namespace orvane {

void StripCells::SetCell(int k, const std::u16string* path) {
    if (k < 1 || k > kMaxStripCells) return;
    std::u16string& cell = paths_[static_cast<size_t>(k - 1)];
    if (path) {
        cell = *path;
    } else {
        cell.clear();
    }
}

void StripCells::SetScrollPos(int pos) {
    if (scrollBar_) ::SetScrollPos(scrollBar_, SB_CTL, pos, TRUE);
}

const std::u16string& StripCells::CellPath(int k) const {
    static const std::u16string kNone;
    return (k >= 1 && k <= kMaxStripCells) ? paths_[static_cast<size_t>(k - 1)] : kNone;
}

}  // namespace orvane
