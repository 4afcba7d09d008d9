#pragma once
// The raw-frame buffer of the still callback: takes the camera's raw still samples (a whole
// 2560x1920 frame, or a 3488x2616 frame in two halves) and keeps every copy inside the buffer.
// A sample longer than its place is cut to it; a frame that ends up short is reported short,
// so the conversion refuses it instead of reading stale or foreign memory.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvane {

constexpr int kRawLargeWidth = 3488;
constexpr int kRawLargeHeight = 2616;
constexpr int kRawSmallWidth = 2560;
constexpr int kRawSmallHeight = 1920;
constexpr size_t kRawFrameBytes = size_t{kRawLargeWidth} * kRawLargeHeight;  // 9,124,608
constexpr size_t kRawHalfBytes = kRawFrameBytes / 2;                         // 4,562,304
constexpr size_t kRawMinSampleBytes = 512;

class RawStillBuffer {
  public:
    // Allocates the buffer once; false when memory is short.
    bool Init();
    bool Ready() const { return buffer_ != nullptr; }
    const uint8_t* Data() const { return buffer_.get(); }

    // A whole frame in one sample. Returns the number of valid bytes now in the buffer
    // (at most its size), or 0 when the sample is ignored (missing or under 512 bytes).
    size_t StoreSingle(const uint8_t* data, size_t len);

    enum class Half { kIgnored, kFirstStored, kComplete };
    // One half of the large frame; the second half's rows are stored in reverse order. A first
    // half more than 30 s after the previous half starts over. After kComplete, ValidBytes()
    // tells how much of the frame the two halves filled: the full frame only when both halves
    // were whole (a short half leaves the frame short, and the conversion refuses it).
    Half StoreHalf(const uint8_t* data, size_t len, int64_t nowSeconds);
    size_t ValidBytes() const { return valid_; }
    bool ExpectingSecondHalf() const { return halfFlag_ != 0; }
    void SetLastHalfTime(int64_t seconds) { lastHalf_ = seconds; }

  private:
    std::unique_ptr<uint8_t[]> buffer_;
    size_t firstLen_ = 0;
    size_t valid_ = 0;
    int64_t lastHalf_ = 0;
    int halfFlag_ = 0;
};

}  // namespace orvane
