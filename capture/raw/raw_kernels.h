#pragma once
// Row kernels of the banded conversion; every kernel has a plain version and, where it pays,
// SIMD versions chosen once at run time. Internal to capture/raw.
#include <cstdint>

namespace orvane::rawk {

// Constants of one conversion, shared read-only by all worker threads.
struct Plan {
    int w = 0;
    int h = 0;
    uint8_t lut[2][2][256];  // [row parity][column parity]: offset, gain and gamma in one step
    // Luma/chroma
    int mYB, mYG, mYR, mUR, mUG, mUB, mVR, mVG, mVB;
    int rotate;
    int cH, cI, cG, cF;
    int sharpen;
    int sharpGain;
    int threshold;
    int tone;
    uint8_t toneTable[256];
    int mode;  // effective chroma mode
};

// Demosaics one row from five padded corrected rows (each with two pixels of border on both
// sides, rows[2] is the centre row); writes w pixels of blue, green, red.
using DemosaicFn = void (*)(const uint8_t* const rows[5], int w, int rowParity, uint8_t* bgr);
// Luma per pixel (into y, no border) and the chroma of every horizontal pair.
using LumaChromaFn = void (*)(const Plan& p, const uint8_t* bgr, int w, uint8_t* y, uint8_t* u,
                              uint8_t* v);
// Sharpening of one row from three padded luma rows (one pixel of border), then tone curve.
using SharpenFn = void (*)(const Plan& p, const uint8_t* above, const uint8_t* centre,
                           const uint8_t* below, int w, uint8_t* out);
// Luma/chroma of one row back to blue, green, red.
using ColourFn = void (*)(const uint8_t* y, const uint8_t* u, const uint8_t* v, int w, int mode,
                          uint8_t* bgr);

void DemosaicRowPlain(const uint8_t* const rows[5], int w, int rowParity, uint8_t* bgr);
void LumaChromaRowPlain(const Plan& p, const uint8_t* bgr, int w, uint8_t* y, uint8_t* u,
                        uint8_t* v);
void SharpenRowPlain(const Plan& p, const uint8_t* above, const uint8_t* centre,
                     const uint8_t* below, int w, uint8_t* out);
void ColourRowPlain(const uint8_t* y, const uint8_t* u, const uint8_t* v, int w, int mode,
                    uint8_t* bgr);

struct Kernels {
    DemosaicFn demosaic;
    LumaChromaFn lumaChroma;
    SharpenFn sharpen;
    ColourFn colour;
};

// The plain kernels (the path for parameters outside the vector kernels' ranges).
Kernels SelectKernels();

}  // namespace orvane::rawk
