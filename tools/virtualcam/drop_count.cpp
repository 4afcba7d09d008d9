#include "tools/virtualcam/drop_count.h"

#include <algorithm>
#include <climits>

namespace vcam {

namespace {
long Clamped(long long v) {
    return static_cast<long>(std::min<long long>(v, LONG_MAX));
}
}  // namespace

void DropCount::Restart() {
    std::lock_guard<std::mutex> lk(lock_);
    dropped_ = delivered_ = bytes_ = 0;
}

void DropCount::Delivered(long bytes) {
    std::lock_guard<std::mutex> lk(lock_);
    ++delivered_;
    bytes_ += bytes;
}

void DropCount::Dropped(long long first, long long count) {
    std::lock_guard<std::mutex> lk(lock_);
    // Only the latest frame numbers fit in the ring; older ones need not be written.
    const long long from = std::max(first, first + count - static_cast<long long>(kRecent));
    for (long long frame = from; frame < first + count; ++frame) {
        recent_[static_cast<size_t>((dropped_ + frame - first) % kRecent)] = Clamped(frame);
    }
    dropped_ += count;
}

long DropCount::NumDropped() const {
    std::lock_guard<std::mutex> lk(lock_);
    return Clamped(dropped_);
}

long DropCount::NumNotDropped() const {
    std::lock_guard<std::mutex> lk(lock_);
    return Clamped(delivered_);
}

long DropCount::AverageFrameSize() const {
    std::lock_guard<std::mutex> lk(lock_);
    return delivered_ == 0 ? 0 : Clamped(bytes_ / delivered_);
}

long DropCount::CopyRecent(long size, long* out) const {
    std::lock_guard<std::mutex> lk(lock_);
    const long long held = std::min<long long>(dropped_, kRecent);
    const long long n = std::min<long long>(held, std::max(size, 0L));
    // The oldest of the n latest entries sits n places behind the next write position.
    for (long long i = 0; i < n; ++i) {
        out[i] = recent_[static_cast<size_t>((dropped_ - n + i) % kRecent)];
    }
    return static_cast<long>(n);
}

}  // namespace vcam
