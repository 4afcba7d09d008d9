#include "media/strip_selection.h"

#include <algorithm>
#include <optional>

namespace orvane {
namespace {

// The last display item whose path is exactly path.
std::optional<size_t> LastItemOf(const std::u16string& path, const SelectionSource& source) {
    for (size_t i = source.DisplayCount(); i-- > 0;) {
        if (source.DisplayPath(i) == path) return i;
    }
    return std::nullopt;
}

// The first cell that shows exactly path, or 0.
int CellShowing(const std::u16string& path, const SelectionSource& source) {
    for (int k = 1; k <= source.CellCount(); ++k) {
        if (source.CellPath(k) == path) return k;
    }
    return 0;
}

}  // namespace

bool StripSelection::Marked(int cell) const {
    return cell != 0 && std::any_of(entries_.begin(), entries_.end(),
                                    [cell](const SelectionEntry& e) { return e.cell == cell; });
}

bool StripSelection::Update(int cell, uint32_t flags, const SelectionSource& source) {
    if (flags & kClickOpen) return cell != 0;
    auto own = std::find_if(entries_.begin(), entries_.end(), [cell](const SelectionEntry& e) {
        return cell != 0 && e.cell == cell;
    });
    if (flags & kClickControl) {
        if (own != entries_.end()) {
            if (!(flags & kClickRight)) entries_.erase(own);
        } else if (cell != 0) {
            entries_.push_back({cell, source.CellPath(cell)});
        }
        return false;
    }
    if (flags & kClickShift) {
        if (entries_.empty()) {
            SelectOnly(cell, source);
        } else {
            ExtendRange(cell, source);
        }
        return false;
    }
    if ((flags & kClickRight) && own != entries_.end()) return false;
    SelectOnly(cell, source);
    return false;
}

void StripSelection::SelectOnly(int cell, const SelectionSource& source) {
    entries_.clear();
    if (cell != 0) entries_.push_back({cell, source.CellPath(cell)});
}

void StripSelection::ExtendRange(int cell, const SelectionSource& source) {
    entries_.resize(1);
    if (cell == 0) return;
    const std::optional<size_t> a = LastItemOf(entries_[0].path, source);
    const std::optional<size_t> c = LastItemOf(source.CellPath(cell), source);
    // An anchor the lists no longer hold cannot bound a range: the click selects its cell only.
    if (!a) {
        SelectOnly(cell, source);
        return;
    }
    if (!c || *a == *c) return;
    const size_t from = *a < *c ? *a + 1 : *c;
    const size_t to = *a < *c ? *c : *a - 1;
    for (size_t i = from; i <= to; ++i) {
        const std::u16string& path = source.DisplayPath(i);
        entries_.push_back({CellShowing(path, source), path});
    }
}

}  // namespace orvane
