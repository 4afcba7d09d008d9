#pragma once
// The picture history behind undo and redo: up to 16 pictures, a cursor on the one shown, and
// the pictures beyond the cursor that redo can reach. It owns what it holds and releases each
// picture through Traits::Close when it is overwritten, dropped, cleared or the history ends.
#include <algorithm>
#include <array>
#include <cstdint>
#include <utility>

namespace orvane::editor {

// Traits: static Handle Invalid(); static void Close(Handle).
template <typename Handle, typename Traits>
class BoundedHistory {
  public:
    static constexpr int32_t kMaxCapacity = 16;

    // min(n, 16) slots; at least one, so that a push always has somewhere to go.
    explicit BoundedHistory(int32_t n) : capacity_(std::clamp(n, int32_t{1}, kMaxCapacity)) {
        slots_.fill(Traits::Invalid());
    }
    BoundedHistory(const BoundedHistory&) = delete;
    BoundedHistory& operator=(const BoundedHistory&) = delete;
    ~BoundedHistory() { Clear(); }

    // Takes the picture as the new current one. After undos it replaces the first redo entry
    // and redo ends there; when the history is full the oldest picture is dropped and the rest
    // move down one slot.
    void Push(Handle picture) {
        const int32_t next = top_ + 1;
        if (next < capacity_) {
            top_ = next;
            Close(slots_[Index(top_)]);
            slots_[Index(top_)] = picture;
            count_ = top_ + 1;
            return;
        }
        Close(slots_[0]);
        std::move(slots_.begin() + 1, slots_.begin() + capacity_, slots_.begin());
        slots_[Index(capacity_ - 1)] = picture;
        top_ = capacity_ - 1;
        count_ = capacity_;
    }
    // One step back or forward; the picture then current. Without a step to take the cursor
    // stays and the current picture is answered.
    Handle Undo() {
        if (CanUndo()) --top_;
        return Current();
    }
    Handle Redo() {
        if (CanRedo()) ++top_;
        return Current();
    }
    // The first picture (the one loaded) can never be undone.
    bool CanUndo() const { return top_ > 0; }
    bool CanRedo() const { return top_ + 1 < count_; }
    Handle Current() const { return top_ < 0 ? Traits::Invalid() : slots_[Index(top_)]; }
    // Releases every picture held, redo entries included.
    void Clear() {
        for (Handle& slot : slots_) Close(slot);
        count_ = 0;
        top_ = -1;
    }

    int32_t Capacity() const { return capacity_; }
    int32_t Count() const { return count_; }
    int32_t Top() const { return top_; }
    Handle Slot(int32_t i) const {
        return i < 0 || i >= kMaxCapacity ? Traits::Invalid() : slots_[Index(i)];
    }

  private:
    static size_t Index(int32_t i) { return static_cast<size_t>(i); }
    static void Close(Handle& slot) {
        if (slot != Traits::Invalid()) Traits::Close(slot);
        slot = Traits::Invalid();
    }

    int32_t capacity_;
    int32_t count_ = 0;
    int32_t top_ = -1;
    std::array<Handle, kMaxCapacity> slots_{};
};

}  // namespace orvane::editor
