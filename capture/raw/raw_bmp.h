#pragma once
// 24-bit BMP files from the conversion's output (first buffer row = the picture's bottom row).
#include <cstdint>

namespace orvane {

constexpr int kBmpHeaderBytes = 54;

// File and info header of a w x h 24-bit picture with positive height; false when the file
// would exceed 4 GiB.
bool BmpHeader(int w, int h, uint8_t out[kBmpHeaderBytes]);

// Writes the buffer's rows in order, each padded to 4 bytes. False on any failure.
bool WriteBmp24(const char* path, int w, int h, const uint8_t* bgr);

}  // namespace orvane
