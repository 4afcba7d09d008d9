#pragma once
// The selection of the thumbnail strip: an ordered list of {cell, path}, the first entry the
// anchor of range clicks. What a click with its key flags does to it.
#include <cstdint>
#include <string>
#include <vector>

namespace orvane {

// Mouse key flags of a click, as the cells post them.
constexpr uint32_t kClickLeft = 0x0001;
constexpr uint32_t kClickRight = 0x0002;
constexpr uint32_t kClickShift = 0x0004;
constexpr uint32_t kClickControl = 0x0008;
constexpr uint32_t kClickOpen = 0xFFFF0000;  // any of these bits: open the cell's picture

// What the selection needs to know of the strip: the display list and the cells (1..C).
class SelectionSource {
  public:
    virtual ~SelectionSource() = default;
    virtual size_t DisplayCount() const = 0;
    virtual const std::u16string& DisplayPath(size_t item) const = 0;
    virtual int CellCount() const = 0;
    virtual const std::u16string& CellPath(int cell) const = 0;
};

struct SelectionEntry {
    int cell = 0;  // 1..C, 0 for an item not shown when it was selected
    std::u16string path;
    bool operator==(const SelectionEntry&) const = default;
};

class StripSelection {
  public:
    // A click on cell (0: none) with flags. True when the editor must open on the cell's path;
    // the selection is then unchanged.
    bool Update(int cell, uint32_t flags, const SelectionSource& source);
    void Clear() { entries_.clear(); }
    // Appends an entry for an item (for commands that act on every item).
    void Append(int cell, std::u16string path) { entries_.push_back({cell, std::move(path)}); }
    bool Marked(int cell) const;
    bool Empty() const { return entries_.empty(); }
    const std::vector<SelectionEntry>& entries() const { return entries_; }

  private:
    void SelectOnly(int cell, const SelectionSource& source);
    void ExtendRange(int cell, const SelectionSource& source);
    std::vector<SelectionEntry> entries_;
};

}  // namespace orvane
