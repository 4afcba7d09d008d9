#include "capture/stream_schedule.h"

namespace orvane {

void StreamSchedule::StartAt(std::optional<int64_t> start, uint32_t cookie) {
    // The largest time cancels the start: the stream waits for a new one.
    start_ = start ? *start : kAlways;
    startCookie_ = cookie;
    startPending_ = start_ != kNever && start_ != kAlways;
}

void StreamSchedule::StopAt(std::optional<int64_t> stop, uint32_t cookie) {
    stop_ = stop ? *stop : kAlways;
    stopCookie_ = cookie;
    stopPending_ = stop_ != kNever && stop_ != kAlways;
}

StreamSchedule::Transition StreamSchedule::Observe(int64_t t) {
    Transition change;
    if (startPending_ && start_ <= t) {
        startPending_ = false;
        change.started = true;
        change.startCookie = startCookie_;
    }
    if (stopPending_ && stop_ <= t) {
        stopPending_ = false;
        change.stopped = true;
        change.stopCookie = stopCookie_;
    }
    return change;
}

}  // namespace orvane
