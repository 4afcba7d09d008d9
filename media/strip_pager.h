#pragma once
// Which part of the display list the thumbnail strip shows: the first item, page and row moves,
// scroll-to, and the strip scroll bar's notifications.
#include <cstdint>
#include <optional>

namespace orvane {

constexpr int kScrollRange = 1000;

class StripPager {
  public:
    // n items, C cells, page size P. Keeps first.
    void SetSizes(int64_t n, int cells, int pageSize);
    // The last page: first := n - C, made even, or 0.
    void ShowLastPage();

    // Each returns true when the cells are to be refilled.
    bool PageDown();
    bool PageUp();
    bool RowDown();
    bool RowUp();
    bool ScrollTo(int64_t pos, int64_t range);

    // Display index shown in cell k (1..C), or none when the cell is hidden.
    std::optional<int64_t> ItemOfCell(int k) const;

    int64_t first() const { return first_; }
    int64_t count() const { return n_; }
    int cells() const { return cells_; }
    int pageSize() const { return page_; }
    void set_first(int64_t first) { first_ = first; }

    // Bar movement of one row: 1000 / (n - P) * 2 while the list is longer than a page.
    int ScrollStep() const;

  private:
    int64_t n_ = 0;
    int cells_ = 0;
    int page_ = 0;
    int64_t first_ = 0;
};

// Scroll bar notification codes, numbered as the platform numbers them.
enum ScrollCode : int {
    kScrollLineUp = 0,
    kScrollLineDown = 1,
    kScrollPageUp = 2,
    kScrollPageDown = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
};

// What a move does besides changing first: the selection is cleared before it, the cells are
// refilled after it.
class ScrollMoves {
  public:
    virtual ~ScrollMoves() = default;
    virtual void ClearSelection() = 0;
    virtual void FillCells() = 0;
};

class StripScrollHandler {
  public:
    // Runs the move of a notification and returns the new bar position, clamped to 0..1000,
    // given the current one. None when the notification arrived while another one was being handled
    // (it is dropped).
    std::optional<int> Handle(int code, int pos, int off, StripPager& pager, ScrollMoves& moves);

  private:
    bool busy_ = false;
};

}  // namespace orvane
