#pragma once
// The measurements committed on the open picture, following its undo history step by step:
// each row belongs to the history step that committed it, so undoing the step takes its rows
// away, redoing brings them back, and a new step after undos drops the rows that redo could
// have brought back.
#include <cstdint>
#include <span>
#include <vector>

#include "results/measurement_row.h"

namespace orvane::results {

class MeasurementTable {
  public:
    // The same capacity as the picture history it follows (editor::BoundedHistory).
    explicit MeasurementTable(int32_t historyCapacity = 16);

    // A picture was opened and its history holds only the loaded picture: rows (read from its
    // rows file) belong to that first step, which no undo reaches.
    void Open(std::vector<MeasurementRow> rows);
    // The history was cleared (no picture).
    void Clear();
    // The history took a new picture (a committed drawing or measurement): rows are the
    // measurements that step committed, none for a drawing. Numbers are given in table order.
    void Commit(std::vector<MeasurementRow> rows = {});
    // The history stepped back or forward; false, and nothing changes, when it had no step to
    // take (the same rule as the history's, so the two stay in step).
    bool Undo();
    bool Redo();
    bool CanUndo() const { return top_ > 0; }
    bool CanRedo() const { return top_ + 1 < static_cast<int32_t>(steps_.size()); }

    // The rows of the steps up to the current one, numbered 1, 2, ...
    std::span<const MeasurementRow> Rows() const { return {rows_.data(), visible_}; }
    // Changes with every change of Rows(), for a window that redraws its list.
    uint64_t Revision() const { return revision_; }

  private:
    void Show();

    int32_t capacity_;
    std::vector<uint64_t> steps_;  // serials of the history's slots, oldest first
    int32_t top_ = -1;             // the current slot
    uint64_t nextSerial_ = 0;
    std::vector<MeasurementRow> rows_;  // every row still reachable, in commit order
    std::vector<uint64_t> rowSteps_;    // the serial of the step that committed each row
    size_t visible_ = 0;
    uint64_t revision_ = 0;
};

}  // namespace orvane::results
