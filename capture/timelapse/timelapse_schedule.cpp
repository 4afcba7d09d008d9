#include "capture/timelapse/timelapse_schedule.h"

namespace orvane {

namespace {

constexpr int64_t kFileTicksPerMs = 10'000;

// Seconds as milliseconds without 32-bit wrap: an interval of 50 days stays 50 days.
uint64_t SecondsMs(uint32_t seconds) {
    return static_cast<uint64_t>(seconds) * 1000u;
}

}  // namespace

int64_t ElapsedMs(int64_t last, int64_t now) {
    return (now - last) / kFileTicksPerMs;
}

TickAction TimeLapseTick(TimeLapseValues& values, int64_t& last, int64_t now,
                         RecorderState recorder) {
    const int64_t elapsedSigned = ElapsedMs(last, now);
    if (elapsedSigned < 0) return TickAction::kWait;  // the start time has not come
    const uint64_t elapsed = static_cast<uint64_t>(elapsedSigned);

    if (values.captured >= values.total) return TickAction::kFinish;
    if (values.mode == TimeLapseMode::kPhoto) {
        if (values.captured != 0 && elapsed < SecondsMs(values.interval)) return TickAction::kWait;
        ++values.captured;
        last = now;
        return TickAction::kPhoto;
    }
    switch (recorder) {
        case RecorderState::kIdle:
            if (values.captured != 0 && elapsed < SecondsMs(values.interval)) {
                return TickAction::kWait;
            }
            last = now;
            return TickAction::kStartClip;
        case RecorderState::kRecording:
            if (elapsed < SecondsMs(values.videoTime)) return TickAction::kWait;
            last = now;
            ++values.captured;
            return TickAction::kEndClip;
        case RecorderState::kChanging:
            break;
    }
    return TickAction::kWait;
}

}  // namespace orvane
