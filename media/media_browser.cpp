#include "media/media_browser.h"

namespace orvane {

void MediaBrowser::SetLayout(int cells, int pageSize) {
    cells_ = cells;
    pageSize_ = pageSize;
    pager_.SetSizes(static_cast<int64_t>(display_.size()), cells_, pageSize_);
}

void MediaBrowser::RebuildMediaLists() {
    orvane::RebuildMediaLists(files_, folders_.picture, folders_.video, lists_);
    // The display list indexes the old lists: it goes with them until it is merged anew.
    display_.clear();
    pager_.SetSizes(0, cells_, pageSize_);
}

void MediaBrowser::ShowDisplayList(MediaView view) {
    view_ = view;
    strip_.ClearSelection();
    BuildVideoThumbnails(lists_.videos, folders_.thumb, files_, avi_, lists_.thumbnails);
    display_ = MergeDisplayList(lists_.pictures, lists_.thumbnails);
    pager_.SetSizes(static_cast<int64_t>(display_.size()), cells_, pageSize_);
    pager_.ShowLastPage();
    if (view_ == MediaView::Picture) strip_.SetScrollPos(pager_.first() > 0 ? kScrollRange : 0);
    FillCells();
    strip_.RedrawStrip();
}

void MediaBrowser::ScrollTo(int64_t pos, int64_t range) {
    strip_.ClearSelection();
    if (pager_.ScrollTo(pos, range)) FillCells();
}

bool MediaBrowser::RunCommand(int command) {
    switch (command) {
        case kCmdPageDown:
            PageDown();
            return true;
        case kCmdPageUp:
            PageUp();
            return true;
        case kCmdRowDown:
            RowDown();
            return true;
        case kCmdRowUp:
            RowUp();
            return true;
        case kCmdShowPictures:
            ShowDisplayList(MediaView::Picture);
            return true;
        case kCmdShowVideos:
            ShowDisplayList(MediaView::Video);
            return true;
        default:
            return false;
    }
}

std::optional<int> MediaBrowser::OnScroll(int code, int pos, int off) {
    const std::optional<int> next = scroll_.Handle(code, pos, off, pager_, *this);
    if (next) strip_.SetScrollPos(*next);
    return next;
}

const std::u16string& MediaBrowser::PathOf(const DisplayItem& item) const {
    static const std::u16string kNone;
    const std::vector<std::u16string>& list = item.isVideo ? lists_.thumbnails : lists_.pictures;
    return item.index < list.size() ? list[item.index] : kNone;
}

void MediaBrowser::FillCells() {
    for (int k = 1; k <= pager_.cells(); ++k) {
        const std::optional<int64_t> item = pager_.ItemOfCell(k);
        strip_.SetCell(k, item ? &PathOf(display_[static_cast<size_t>(*item)]) : nullptr);
    }
}

void MediaBrowser::Move(bool (StripPager::*move)()) {
    strip_.ClearSelection();
    if ((pager_.*move)()) FillCells();
}

}  // namespace orvane
