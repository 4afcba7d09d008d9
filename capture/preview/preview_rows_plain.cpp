// The plain YUY2 row kernel: the reference for the SIMD kernels and their tail.
#include "capture/preview/preview_rows.h"

namespace orvane::preview {

namespace {

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

}  // namespace

void Yuy2RowPlain(const uint8_t* in, int width, uint8_t* out) {
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

}  // namespace orvane::preview
