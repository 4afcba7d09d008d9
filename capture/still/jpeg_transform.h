#pragma once
// The JPEG encoder's quantisation step as its row coder uses it (the block transform itself is
// declared with the encoder, for the tests).
#include <cstdint>

#include "capture/still/jpeg_writer.h"

namespace orvane {

// Quantisation: a coefficient c over the divisor 8q, rounded by the reciprocal r = round(65536 /
// 8q): sign(c) * floor((|c| + 4q) * r / 65536); |c| + 4q fits 16 bits for every c and q.
struct Divisors {
    alignas(16) uint16_t half[64];
    alignas(16) uint16_t reciprocal[64];
    explicit Divisors(const uint16_t table[64]) {
        for (int i = 0; i < 64; ++i) {
            half[i] = static_cast<uint16_t>(4 * table[i]);
            reciprocal[i] = static_cast<uint16_t>((65536u + 4u * table[i]) / (8u * table[i]));
        }
    }
};

// Quantises one block of coefficients with the kernels asked for.
void QuantiseWith(JpegKernels kernels, const int16_t c[64], const Divisors& d, int16_t out[64]);

}  // namespace orvane
