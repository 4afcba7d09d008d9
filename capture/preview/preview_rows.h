#pragma once
// Row kernels of the preview's YUY2 conversion: a plain kernel, the reference, beside each
// SIMD one; the best the processor runs is chosen once. Internal to capture/preview.
#include <cstddef>
#include <cstdint>

#include "capture/preview/preview_convert.h"

namespace orvane::preview {

// Converts one row of width pixels (width even) of YUY2 into B G R X.
using Yuy2RowFn = void (*)(const uint8_t* yuy2, int width, uint8_t* bgrx);

void Yuy2RowPlain(const uint8_t* yuy2, int width, uint8_t* bgrx);
void Yuy2RowSse2(const uint8_t* yuy2, int width, uint8_t* bgrx);
void Yuy2RowAvx2(const uint8_t* yuy2, int width, uint8_t* bgrx);

struct Yuy2Row {
    Yuy2RowFn convert;
    const char* name;
};

// The kernels this processor runs, plain first; count receives their number (2 or 3).
const Yuy2Row* Yuy2Rows(int* count);

// The fastest of them, chosen at the first call.
Yuy2RowFn BestYuy2Row();

// Yuy2ToBgrx with the given row kernel.
bool Yuy2ToBgrxWith(Yuy2RowFn row, const uint8_t* yuy2, size_t length, const BgrxPicture& to);

}  // namespace orvane::preview
