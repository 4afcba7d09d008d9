#pragma once
// The capture pin's account of frames, as IAMDroppedFrames reports it: frames handed downstream,
// frames skipped or refused, and the numbers of the latest frames lost.
#include <array>
#include <cstdint>
#include <mutex>

namespace vcam {

class DropCount {
  public:
    // A new stream: counts start again from zero.
    void Restart();
    void Delivered(long bytes);
    // count frames from frame number first on were not delivered.
    void Dropped(long long first, long long count);

    long NumDropped() const;
    long NumNotDropped() const;
    long AverageFrameSize() const;
    // Copies up to size of the latest dropped frame numbers, oldest first; returns how many.
    long CopyRecent(long size, long* out) const;

  private:
    static constexpr size_t kRecent = 64;
    mutable std::mutex lock_;
    long long dropped_ = 0;
    long long delivered_ = 0;
    long long bytes_ = 0;
    std::array<long, kRecent> recent_{};  // a ring; dropped_ says how far it is filled
};

}  // namespace vcam
