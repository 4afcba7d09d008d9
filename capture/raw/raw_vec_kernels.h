#pragma once
// Vector row kernels of the conversion. They work on rows split into even and odd columns
// (the two colours of a Bayer row, and the two pixels of a chroma pair), so every load is a
// plain unit-stride load and no lane computes a kernel it does not use.
#include <cstdint>

namespace orvane::rawk {

// Largest number of columns a kernel reads or writes past the end of a half row.
constexpr int kVecSlack = 64;

struct VecCoeffs {
    int16_t mYB, mYG, mYR, mUR, mUG, mUB, mVR, mVG, mVB;
    int16_t cH, cI, cG, cF;  // identity (64, 0, 0, 64) when rotation is off
    int16_t gain;            // sharpening gain, 0 when sharpening is off
    int16_t threshold;
};

// Half-row layout of a corrected raw row with two pixels of border: ep[k] = p[2k - 2],
// op[k] = p[2k - 1]. Output: n pairs of (even, odd) columns of blue, green and red.
using VecDemosaicFn = void (*)(const uint8_t* const ep[5], const uint8_t* const op[5],
                               int rowParity, int n, uint8_t* const even[3], uint8_t* const odd[3]);
// Luma of both halves and the chroma of each (even, odd) pair.
using VecLumaChromaFn = void (*)(const VecCoeffs& c, const uint8_t* const even[3],
                                 const uint8_t* const odd[3], int n, uint8_t* ye, uint8_t* yo,
                                 uint8_t* u, uint8_t* v);
// Sharpening on half rows of luma with one pixel of border: ye[k] = q[2k], yo[k] = q[2k - 1]
// for the rows above, at and below; n pairs out.
using VecSharpenFn = void (*)(const VecCoeffs& c, const uint8_t* const ye[3],
                              const uint8_t* const yo[3], int n, uint8_t* outE, uint8_t* outO);
// Colour of the pairs of a row of w pixels from its (toned) luma halves and pair chroma (the
// last pair only half written when w is odd).
using VecColourFn = void (*)(const uint8_t* ye, const uint8_t* yo, const uint8_t* u,
                             const uint8_t* v, int w, uint8_t* bgr);

struct VecKernels {
    VecDemosaicFn demosaic;
    VecLumaChromaFn lumaChroma;
    VecSharpenFn sharpen;
    VecColourFn colour;
    const char* name;
    bool avx2;  // the fused conversion (raw_fused.h) may run instead
};

namespace sse2 {
void Demosaic(const uint8_t* const ep[5], const uint8_t* const op[5], int rowParity, int n,
              uint8_t* const even[3], uint8_t* const odd[3]);
void LumaChroma(const VecCoeffs& c, const uint8_t* const even[3], const uint8_t* const odd[3],
                int n, uint8_t* ye, uint8_t* yo, uint8_t* u, uint8_t* v);
void Sharpen(const VecCoeffs& c, const uint8_t* const ye[3], const uint8_t* const yo[3], int n,
             uint8_t* outE, uint8_t* outO);
}  // namespace sse2
namespace avx2 {
void Demosaic(const uint8_t* const ep[5], const uint8_t* const op[5], int rowParity, int n,
              uint8_t* const even[3], uint8_t* const odd[3]);
void LumaChroma(const VecCoeffs& c, const uint8_t* const even[3], const uint8_t* const odd[3],
                int n, uint8_t* ye, uint8_t* yo, uint8_t* u, uint8_t* v);
void Sharpen(const VecCoeffs& c, const uint8_t* const ye[3], const uint8_t* const yo[3], int n,
             uint8_t* outE, uint8_t* outO);
void Colour(const uint8_t* ye, const uint8_t* yo, const uint8_t* u, const uint8_t* v, int w,
            uint8_t* bgr);
}  // namespace avx2

void ColourPairs(const uint8_t* ye, const uint8_t* yo, const uint8_t* u, const uint8_t* v, int w,
                 uint8_t* bgr);

enum class VecLevel { kBest, kOff, kSse2, kAvx2 };
// Limits the vector kernels (tests and benchmarks); kAvx2 falls back to SSE2 when absent.
void SetVecLevel(VecLevel level);
bool VecLevelAvailable(VecLevel level);

// AVX2 where the processor has it, else SSE2; null when vectors are switched off.
const VecKernels* SelectVecKernels();

}  // namespace orvane::rawk
