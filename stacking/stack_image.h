#pragma once
// The stacker's pictures: 24-bit frames as the caller holds them (blue, green, red bytes per
// pixel, any row stride), the finished picture it hands back, and its own single-channel
// float planes. Every buffer is allocated without exceptions and counted against a limit, so
// an impossible size ends in an error result rather than a failed allocation.
#include <cstddef>
#include <cstdint>
#include <memory>

namespace orvane::stacking {

// Frames larger than this on a side, or in all, are refused before anything is allocated.
constexpr int32_t kMaxSide = 32768;
constexpr int64_t kMaxPixels = int64_t{40} << 20;

// A frame the caller owns: height rows of width pixels, row y at pixels + y * stride (a
// negative stride walks a bottom-up picture).
struct BgrView {
    const uint8_t* pixels = nullptr;
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;

    const uint8_t* Row(int32_t y) const { return pixels + static_cast<ptrdiff_t>(y) * stride; }
};

// Counts the bytes of the buffers one owner holds and refuses what would pass its limit.
class BufferLedger {
  public:
    explicit BufferLedger(size_t limit) : limit_(limit) {}
    bool Take(size_t bytes);
    void Give(size_t bytes) { used_ -= bytes < used_ ? bytes : used_; }
    size_t Used() const { return used_; }
    size_t Peak() const { return peak_; }
    size_t Limit() const { return limit_; }
    void SetLimit(size_t limit) { limit_ = limit; }

  private:
    size_t limit_;
    size_t used_ = 0;
    size_t peak_ = 0;
};

// count * size in bytes, or false when it does not fit in size_t.
bool CheckedBytes(uint64_t count, size_t size, size_t* bytes);

// A top-down 24-bit picture with rows packed at width * 3 bytes.
class BgrImage {
  public:
    BgrImage() = default;
    BgrImage(BgrImage&&) noexcept = default;
    BgrImage& operator=(BgrImage&&) noexcept = default;

    // False (and empty) when the size is out of range or the memory cannot be had.
    bool Allocate(int32_t width, int32_t height);
    void Release();

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    size_t Stride() const { return static_cast<size_t>(width_) * 3; }
    size_t Bytes() const { return Stride() * static_cast<size_t>(height_); }
    bool Empty() const { return !pixels_; }
    uint8_t* Row(int32_t y) { return pixels_.get() + Stride() * static_cast<size_t>(y); }
    const uint8_t* Row(int32_t y) const {
        return pixels_.get() + Stride() * static_cast<size_t>(y);
    }
    uint8_t* Data() { return pixels_.get(); }
    const uint8_t* Data() const { return pixels_.get(); }
    BgrView View() const {
        return BgrView{pixels_.get(), width_, height_, static_cast<ptrdiff_t>(Stride())};
    }

  private:
    std::unique_ptr<uint8_t[]> pixels_;
    int32_t width_ = 0;
    int32_t height_ = 0;
};

// One channel of floats, rows packed at width.
class FloatPlane {
  public:
    FloatPlane() = default;
    FloatPlane(const FloatPlane&) = delete;
    FloatPlane& operator=(const FloatPlane&) = delete;
    ~FloatPlane() { Release(); }

    // Allocates width x height floats counted in ledger; false when the ledger or the heap
    // refuses. The contents are undefined until written.
    bool Allocate(int32_t width, int32_t height, BufferLedger* ledger);
    void Release();
    void Fill(float value);

    int32_t Width() const { return width_; }
    int32_t Height() const { return height_; }
    float* Row(int32_t y) { return data_.get() + static_cast<size_t>(y) * width_; }
    const float* Row(int32_t y) const { return data_.get() + static_cast<size_t>(y) * width_; }
    float* Data() { return data_.get(); }
    const float* Data() const { return data_.get(); }

  private:
    std::unique_ptr<float[]> data_;
    int32_t width_ = 0;
    int32_t height_ = 0;
    BufferLedger* ledger_ = nullptr;
};

}  // namespace orvane::stacking
