#include "results/measurement_table.h"

#include <algorithm>

#include "editor/model/history.h"

namespace orvane::results {

namespace {
struct NoHandle {
    static int Invalid() { return 0; }
    static void Close(int) {}
};
constexpr int32_t kMaxCapacity = editor::BoundedHistory<int, NoHandle>::kMaxCapacity;
}  // namespace

MeasurementTable::MeasurementTable(int32_t historyCapacity)
    : capacity_(std::clamp(historyCapacity, int32_t{1}, kMaxCapacity)) {}

void MeasurementTable::Open(std::vector<MeasurementRow> rows) {
    Clear();
    Commit(std::move(rows));
}

void MeasurementTable::Clear() {
    steps_.clear();
    top_ = -1;
    rows_.clear();
    rowSteps_.clear();
    Show();
}

void MeasurementTable::Commit(std::vector<MeasurementRow> rows) {
    // Steps beyond the current one are gone, and their rows with them.
    rows_.resize(visible_);
    rowSteps_.resize(visible_);
    steps_.resize(static_cast<size_t>(top_ + 1));
    // A full history drops its oldest picture; that step's rows stay, beyond undo's reach.
    if (static_cast<int32_t>(steps_.size()) == capacity_) steps_.erase(steps_.begin());
    const uint64_t serial = nextSerial_++;
    steps_.push_back(serial);
    top_ = static_cast<int32_t>(steps_.size()) - 1;
    int32_t number = static_cast<int32_t>(visible_);
    for (MeasurementRow& row : rows) {
        row.number = ++number;
        rows_.push_back(std::move(row));
        rowSteps_.push_back(serial);
    }
    Show();
}

bool MeasurementTable::Undo() {
    if (!CanUndo()) return false;
    --top_;
    Show();
    return true;
}

bool MeasurementTable::Redo() {
    if (!CanRedo()) return false;
    ++top_;
    Show();
    return true;
}

void MeasurementTable::Show() {
    if (top_ < 0) {
        visible_ = 0;
    } else {
        const uint64_t current = steps_[static_cast<size_t>(top_)];
        visible_ = static_cast<size_t>(
            std::upper_bound(rowSteps_.begin(), rowSteps_.end(), current) - rowSteps_.begin());
    }
    ++revision_;
}

}  // namespace orvane::results
