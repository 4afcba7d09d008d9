#include "capture/preview/preview_convert.h"

#include <cstring>

namespace orvane {

namespace {

constexpr int kMaxSide = 16384;

bool FitsPicture(const BgrxPicture& to) {
    return to.bits && to.width > 0 && to.height > 0 && to.width <= kMaxSide &&
           to.height <= kMaxSide && to.stride >= static_cast<ptrdiff_t>(to.width) * 4;
}

// Destination row of the picture for source row r of a top-down frame.
uint8_t* RowFor(const BgrxPicture& to, int r) {
    const int row = to.topDown ? r : to.height - 1 - r;
    return to.bits + to.stride * row;
}

inline uint8_t Clamp8(int v) {
    return static_cast<uint8_t>(v < 0 ? 0 : v > 255 ? 255 : v);
}

// Fixed point, 8 fractional bits: 1.164 (Y - 16) + 1.596 V', - 0.391 U' - 0.813 V', + 2.018 U'.
inline void PutPixel(int y, int bu, int guv, int rv, uint8_t* out) {
    const int c = (y - 16) * 298 + 128;
    out[0] = Clamp8((c + bu) >> 8);
    out[1] = Clamp8((c - guv) >> 8);
    out[2] = Clamp8((c + rv) >> 8);
    out[3] = 0;
}

void ConvertRow(const uint8_t* in, int width, uint8_t* out) {
    for (int x = 0; x < width; x += 2, in += 4, out += 8) {
        const int u = in[1] - 128;
        const int v = in[3] - 128;
        const int bu = 516 * u;
        const int guv = 100 * u + 208 * v;
        const int rv = 409 * v;
        PutPixel(in[0], bu, guv, rv, out);
        PutPixel(in[2], bu, guv, rv, out + 4);
    }
}

}  // namespace

size_t Yuy2FrameBytes(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide || width % 2 != 0)
        return 0;
    return static_cast<size_t>(width) * 2 * static_cast<size_t>(height);
}

bool Yuy2ToBgrx(const uint8_t* yuy2, size_t length, const BgrxPicture& to) {
    const size_t needed = Yuy2FrameBytes(to.width, to.height);
    if (!yuy2 || needed == 0 || length < needed || !FitsPicture(to)) return false;
    const size_t inStride = static_cast<size_t>(to.width) * 2;
    for (int r = 0; r < to.height; ++r) ConvertRow(yuy2 + inStride * r, to.width, RowFor(to, r));
    return true;
}

bool CopyTopDownBgrx(const uint8_t* rows, size_t length, const BgrxPicture& to) {
    if (!rows || !FitsPicture(to)) return false;
    const size_t rowBytes = static_cast<size_t>(to.width) * 4;
    if (length / rowBytes < static_cast<size_t>(to.height)) return false;
    for (int r = 0; r < to.height; ++r) std::memcpy(RowFor(to, r), rows + rowBytes * r, rowBytes);
    return true;
}

}  // namespace orvane
