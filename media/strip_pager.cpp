#include "media/strip_pager.h"

#include <algorithm>

namespace orvane {

void StripPager::SetSizes(int64_t n, int cells, int pageSize) {
    n_ = n < 0 ? 0 : n;
    cells_ = cells < 0 ? 0 : cells;
    page_ = pageSize < 0 ? 0 : pageSize;
}

void StripPager::ShowLastPage() {
    first_ = n_ - cells_;
    if (first_ < 0) {
        first_ = 0;
    } else if (first_ % 2 != 0) {
        first_ += 1;
    }
}

bool StripPager::PageDown() {
    if (first_ < n_ - page_) first_ += page_;
    return true;
}

bool StripPager::PageUp() {
    first_ = std::max<int64_t>(first_ - page_, 0);
    return true;
}

bool StripPager::RowDown() {
    if (first_ < n_ - cells_) first_ += 2;
    return true;
}

bool StripPager::RowUp() {
    first_ = std::max<int64_t>(first_ - 2, 0);
    return true;
}

bool StripPager::ScrollTo(int64_t pos, int64_t range) {
    int64_t r;
    if (range > 0) {
        r = pos * (n_ - page_) / range;
    } else {
        first_ = std::max<int64_t>(std::min(first_, n_ - page_), 0);
        r = first_;
    }
    int64_t c = r + 1;
    c -= ((c % 2) + 2) % 2;  // down to even, also for negative values
    if (c < 0) c = 0;
    if (range != 0 && c == first_) return false;
    first_ = c;
    return true;
}

std::optional<int64_t> StripPager::ItemOfCell(int k) const {
    if (k < 1 || k > cells_) return std::nullopt;
    const int64_t item = first_ + k - 1;
    if (item >= n_) return std::nullopt;
    return item;
}

int StripPager::ScrollStep() const {
    if (page_ < n_) return static_cast<int>(kScrollRange / (n_ - page_) * 2);
    return kScrollRange;
}

std::optional<int> StripScrollHandler::Handle(int code, int pos, int off, StripPager& pager,
                                              ScrollMoves& moves) {
    if (busy_) return std::nullopt;
    busy_ = true;
    const int64_t step = pager.ScrollStep();
    const int64_t halfPage = pager.pageSize() / 2;
    int64_t next = off;
    bool (StripPager::*move)() = nullptr;
    switch (code) {
        case kScrollLineUp:
            move = &StripPager::RowUp;
            next = off - step;
            break;
        case kScrollLineDown:
            move = &StripPager::RowDown;
            next = off + step;
            break;
        case kScrollPageUp:
            move = &StripPager::PageUp;
            next = off - step * halfPage;
            break;
        case kScrollPageDown:
            move = &StripPager::PageDown;
            next = off + step * halfPage;
            break;
        case kScrollThumbTrack:
            moves.ClearSelection();
            if (pager.ScrollTo(pos, kScrollRange)) moves.FillCells();
            next = pos;
            break;
        default:
            break;
    }
    if (move != nullptr) {
        moves.ClearSelection();
        if ((pager.*move)()) moves.FillCells();
    }
    busy_ = false;
    return static_cast<int>(std::clamp<int64_t>(next, 0, kScrollRange));
}

}  // namespace orvane
