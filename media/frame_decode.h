#pragma once
// The program's own decoding of a raw video sample into a packed 24-bit bitmap (info header
// followed by bottom-up rows), for clips the platform's decompressor refuses.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "media/bmp_layout.h"

namespace orvane {

// YUY2 group Y0 U Y1 V to two B, G, R pixels, by the capture's conversion rule.
void Yuy2ToBgr(const uint8_t* yuy2, size_t pixelPairs, uint8_t* bgr);

// Decodes a YUY2 or uncompressed 24-bit sample described by format. False when the format is
// neither, its sizes are out of range, or the sample is shorter than the frame it describes.
bool DecodeRawFrame(const BmpInfoHeader& format, const uint8_t* sample, size_t sampleSize,
                    std::vector<uint8_t>& packedDib);

}  // namespace orvane
