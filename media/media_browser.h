#pragma once
// The media lists of the main window with their display list and paging, driving the strip
// through StripView.
#include <optional>
#include <string>
#include <vector>

#include "media/media_files.h"
#include "media/media_lists.h"
#include "media/strip_pager.h"
#include "media/video_thumbnails.h"

namespace orvane {

enum class MediaView { Picture, Video };

// Command identifiers of the strip's operations, and its scroll bar control.
constexpr int kCmdPageDown = 1011;
constexpr int kCmdPageUp = 1012;
constexpr int kCmdRowDown = 1013;
constexpr int kCmdRowUp = 1014;
constexpr int kCmdShowPictures = 1016;
constexpr int kCmdShowVideos = 1026;
constexpr int kStripScrollBarId = 1090;

class StripView {
  public:
    virtual ~StripView() = default;
    virtual void ClearSelection() = 0;
    // Gives cell k (1..C) a file and shows it, or hides it when path is null.
    virtual void SetCell(int k, const std::u16string* path) = 0;
    virtual void RedrawStrip() = 0;
    virtual void SetScrollPos(int pos) = 0;
};

struct MediaFolders {
    std::u16string picture;
    std::u16string video;
    std::u16string thumb;
};

class MediaBrowser : private ScrollMoves {
  public:
    MediaBrowser(MediaFiles& files, AviLibrary& avi, StripView& strip)
        : files_(files), avi_(avi), strip_(strip) {}

    void SetFolders(MediaFolders folders) { folders_ = std::move(folders); }
    // C cells and page size P from the window layout.
    void SetLayout(int cells, int pageSize);

    void RebuildMediaLists();
    // A new capture's path: always the greatest, so it is appended without a rescan.
    void AppendPicture(std::u16string path) { lists_.pictures.push_back(std::move(path)); }
    void AppendVideo(std::u16string path) { lists_.videos.push_back(std::move(path)); }

    // Makes missing video thumbnails, merges the display list and shows its last page.
    void ShowDisplayList(MediaView view);

    void PageDown() { Move(&StripPager::PageDown); }
    void PageUp() { Move(&StripPager::PageUp); }
    void RowDown() { Move(&StripPager::RowDown); }
    void RowUp() { Move(&StripPager::RowUp); }
    void ScrollTo(int64_t pos, int64_t range);
    // Runs one of the command identifiers above; false for any other.
    bool RunCommand(int command);
    // A notification of the strip's scroll bar at bar position off; sets and returns the new
    // position, or none when it was dropped as re-entrant.
    std::optional<int> OnScroll(int code, int pos, int off);

    // Path of a display entry; empty for an entry the lists no longer hold.
    const std::u16string& PathOf(const DisplayItem& item) const;

    const MediaLists& lists() const { return lists_; }
    const std::vector<DisplayItem>& display() const { return display_; }
    const StripPager& pager() const { return pager_; }
    MediaView view() const { return view_; }

  private:
    void ClearSelection() override { strip_.ClearSelection(); }
    void FillCells() override;
    void Move(bool (StripPager::*move)());

    MediaFiles& files_;
    AviLibrary& avi_;
    StripView& strip_;
    MediaFolders folders_;
    MediaLists lists_;
    std::vector<DisplayItem> display_;
    StripPager pager_;
    StripScrollHandler scroll_;
    MediaView view_ = MediaView::Picture;
    int cells_ = 0;
    int pageSize_ = 0;
};

}  // namespace orvane
