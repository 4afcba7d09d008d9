#pragma once
// The fused AVX2 conversion: each row passes four kernels in 16-bit lanes (raw correction,
// demosaicing with luma and chroma, sharpening with the tone curve, colour) instead of the
// banded path's eight steps and byte rows. It covers the parameters for which every
// intermediate value provably fits 16 bits (the camera's own values among them); the others take
// the banded path. Internal to capture/raw.
#include <cstdint>

#include "capture/raw/raw_kernels.h"
#include "capture/raw/raw_pars.h"

namespace orvane::rawk {

// A 256-entry byte table as the AVX2 look-up takes it: for each half of the index range, eight
// 16-entry XOR differences of consecutive 16-entry blocks, repeated for both 128-bit lanes.
struct ByteLut {
    alignas(32) uint8_t lo[8][32];
    alignas(32) uint8_t hi[8][32];
};
void BuildByteLut(const uint8_t table[256], ByteLut* lut);

struct FusedCoeffs {
    int16_t mYB, mYG, mYR, mUR, mUG, mUB, mVR, mVG, mVB;
    int rotation;            // 0 off, 1 all four coefficients multiples of 64, 2 any
    int16_t cH, cI, cG, cF;  // rotation 1: the coefficients divided by 64
    int16_t gain;            // sharpening gain, 0 when sharpening is off
    int16_t threshold;
    int tone;  // 0 off, 1 the curve is a shift clamped to 0..255 (toneShift), 2 any
    int16_t toneShift;
};

// Whether the fused path covers this plan (with colour processing on); fills the coefficients.
bool FusedCoeffsFor(const Plan& p, FusedCoeffs* c);

// Whether Process takes the fused path for these parameters and this size, with the vector kernels
// chosen now (builds the parameters' tables).
bool FusedPathCovers(CRawPars& pars, int w, int h);

// Converts the whole frame on nthreads threads (bands of rows); false when memory runs out.
// Only where the processor has AVX2.
bool RunFused(const Plan& p, const FusedCoeffs& c, int nthreads, const uint8_t* raw, uint8_t* out);

namespace avx2 {

// Corrected halves of the first pairs of a raw row: even[i] = table of column parity 0 of
// src[2 i], odd[i] likewise; whole blocks of 32 pairs only, with 3 pairs bytes of scratch.
// Returns the pairs done.
int CorrectRow(const uint8_t* src, int pairs, const ByteLut& even, const ByteLut& odd,
               int16_t* evenOut, int16_t* oddOut, uint8_t* scratch);
// Demosaicing and luma/chroma of blocks of 16 pairs covering n pairs (reading and writing up to
// 15 pairs past them): ep[r][k] = p_r[2k - 2], op[r][k] = p_r[2k - 1] of rows -2..+2, each odd
// half the same distance after its even half; luma of the even and odd pixels and the pair
// chroma U, V (0..255).
void DemosaicYuv(const int16_t* const ep[5], const int16_t* const op[5], int rowParity, int n,
                 const FusedCoeffs& c, int16_t* ye, int16_t* yo, int16_t* u, int16_t* v);
// Sharpening (when the gain is not 0) and the tone curve (c.tone; the table for 2) of blocks of 16
// pairs
// covering n pairs: ye[r][k] = q_r[2k], yo[r][k] = q_r[2k - 1] of the luma rows above, at and
// below, each with one mirrored pixel of border; te[i], to[i] the even and odd pixel of pair i.
void SharpenTone(const FusedCoeffs& c, const ByteLut* tone, const int16_t* const ye[3],
                 const int16_t* const yo[3], int n, int16_t* te, int16_t* to);
// The colour step of the whole blocks of 16 pairs within w pixels; returns the pairs done.
int Colour16(const int16_t* ye, const int16_t* yo, const int16_t* u, const int16_t* v, int w,
             uint8_t* bgr);

}  // namespace avx2

}  // namespace orvane::rawk
