#pragma once
// When a gated stream lets samples through: a start time and a stop time in stream time
// (100 ns units from the moment the graph runs), with the conventions of stream control:
// a missing start time starts now, the largest time cancels a pending start or stop, a missing
// stop time stops now. Samples flow while start <= t < stop.
#include <cstdint>
#include <optional>

namespace orvane {

class StreamSchedule {
  public:
    static constexpr int64_t kNever = INT64_MAX;
    static constexpr int64_t kAlways = INT64_MIN;

    // A new stream flows until told otherwise.
    StreamSchedule() = default;

    void StartAt(std::optional<int64_t> start, uint32_t cookie);
    void StopAt(std::optional<int64_t> stop, uint32_t cookie);

    // Whether a sample at stream time t passes.
    bool Flows(int64_t t) const { return start_ <= t && t < stop_; }

    // What changed for a sample at t since the last call: the cookie of a start or stop that has
    // now taken effect, once each, so the owner can announce it.
    struct Transition {
        bool started = false;
        bool stopped = false;
        uint32_t startCookie = 0;
        uint32_t stopCookie = 0;
    };
    Transition Observe(int64_t t);

    int64_t Start() const { return start_; }
    int64_t Stop() const { return stop_; }

  private:
    int64_t start_ = kAlways;
    int64_t stop_ = kNever;
    uint32_t startCookie_ = 0;
    uint32_t stopCookie_ = 0;
    bool startPending_ = false;
    bool stopPending_ = false;
};

}  // namespace orvane
