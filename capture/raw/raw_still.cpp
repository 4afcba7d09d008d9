#include "capture/raw/raw_still.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace orvane {

bool RawStillBuffer::Init() {
    if (!buffer_) buffer_.reset(new (std::nothrow) uint8_t[kRawFrameBytes]);
    return buffer_ != nullptr;
}

size_t RawStillBuffer::StoreSingle(const uint8_t* data, size_t len) {
    if (!buffer_ || data == nullptr || len < kRawMinSampleBytes) return 0;
    valid_ = std::min(len, kRawFrameBytes);
    std::memcpy(buffer_.get(), data, valid_);
    return valid_;
}

RawStillBuffer::Half RawStillBuffer::StoreHalf(const uint8_t* data, size_t len,
                                               int64_t nowSeconds) {
    if (!buffer_ || data == nullptr || len < kRawMinSampleBytes) return Half::kIgnored;
    if (nowSeconds - lastHalf_ > 30) halfFlag_ = 0;
    lastHalf_ = nowSeconds;
    size_t n = std::min(len, kRawHalfBytes);
    if (halfFlag_ == 0) {
        std::memcpy(buffer_.get(), data, n);
        firstLen_ = n;
        halfFlag_ = 1;
        return Half::kFirstStored;
    }
    uint8_t* second = buffer_.get() + kRawHalfBytes;
    std::memcpy(second, data, n);
    const size_t row = kRawLargeWidth;
    const int rows = kRawLargeHeight / 2;
    for (int top = 0, bottom = rows - 1; top < bottom; ++top, --bottom)
        std::swap_ranges(second + top * row, second + (top + 1) * row, second + bottom * row);
    // A short second half, once reversed, does not line up with the frame: only whole halves count.
    valid_ = firstLen_ < kRawHalfBytes ? firstLen_ : kRawHalfBytes + (n == kRawHalfBytes ? n : 0);
    halfFlag_ = 0;
    return Half::kComplete;
}

}  // namespace orvane
