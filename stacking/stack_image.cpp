#include "stacking/stack_image.h"

#include <algorithm>
#include <limits>
#include <new>

namespace orvane::stacking {

bool BufferLedger::Take(size_t bytes) {
    if (bytes > limit_ || used_ > limit_ - bytes) return false;
    used_ += bytes;
    peak_ = std::max(peak_, used_);
    return true;
}

bool CheckedBytes(uint64_t count, size_t size, size_t* bytes) {
    // Kept below half the address space so that pointer differences stay representable.
    const uint64_t most = static_cast<uint64_t>(std::numeric_limits<ptrdiff_t>::max());
    if (size == 0 || count > most / size) return false;
    *bytes = static_cast<size_t>(count * size);
    return true;
}

bool BgrImage::Allocate(int32_t width, int32_t height) {
    Release();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    size_t bytes = 0;
    if (!CheckedBytes(static_cast<uint64_t>(width) * static_cast<uint64_t>(height), 3, &bytes))
        return false;
    pixels_.reset(new (std::nothrow) uint8_t[bytes]);
    if (!pixels_) return false;
    width_ = width;
    height_ = height;
    return true;
}

void BgrImage::Release() {
    pixels_.reset();
    width_ = 0;
    height_ = 0;
}

bool FloatPlane::Allocate(int32_t width, int32_t height, BufferLedger* ledger) {
    Release();
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
    size_t bytes = 0;
    const uint64_t count = static_cast<uint64_t>(width) * static_cast<uint64_t>(height);
    if (!CheckedBytes(count, sizeof(float), &bytes)) return false;
    if (ledger != nullptr && !ledger->Take(bytes)) return false;
    data_.reset(new (std::nothrow) float[static_cast<size_t>(count)]);
    if (!data_) {
        if (ledger != nullptr) ledger->Give(bytes);
        return false;
    }
    width_ = width;
    height_ = height;
    ledger_ = ledger;
    return true;
}

void FloatPlane::Release() {
    if (data_ && ledger_ != nullptr) {
        ledger_->Give(static_cast<size_t>(width_) * static_cast<size_t>(height_) * sizeof(float));
    }
    data_.reset();
    width_ = 0;
    height_ = 0;
    ledger_ = nullptr;
}

void FloatPlane::Fill(float value) {
    if (data_) std::fill_n(data_.get(), static_cast<size_t>(width_) * height_, value);
}

}  // namespace orvane::stacking
