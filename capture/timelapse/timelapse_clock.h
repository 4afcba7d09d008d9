#pragma once
// The clock of time-lapse series: the local clock, or, when the environment names a speed
// (ORVANE_TIMELAPSE_SPEED, for tests), a clock that runs that many times faster from the
// moment it was made, with the series' timers shortened to match. Times are 100-ns counts.
#include <cstdint>
#include <string_view>

namespace orvane {

constexpr uint32_t kMaxTimeLapseSpeed = 100;

// The speed named by the environment value: 1..100; anything else (absent, 0, text) is 1.
uint32_t ParseTimeLapseSpeed(std::u16string_view text);

class TimeLapseClock {
  public:
    TimeLapseClock(int64_t realNow, uint32_t speed)
        : origin_(realNow), speed_(speed == 0 ? 1 : speed) {}

    int64_t Now(int64_t realNow) const { return origin_ + (realNow - origin_) * speed_; }
    // A timer period of the series in real milliseconds (at least 1).
    uint32_t PeriodMs(uint32_t periodMs) const {
        const uint32_t shortened = periodMs / speed_;
        return shortened == 0 ? 1 : shortened;
    }
    uint32_t Speed() const { return speed_; }

  private:
    int64_t origin_;
    uint32_t speed_;
};

}  // namespace orvane
