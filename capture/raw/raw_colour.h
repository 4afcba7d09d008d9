#pragma once
// Final luma/chroma to colour step (see raw_colour.cpp for the exact arithmetic).
#include <cstdint>

namespace orvane::rawk {

struct ColourTables {
    double y[256];   // 1.164 * (Y - 16)
    double bu[256];  // 2.017 * (U - 128)
    double gu[256];  // 0.392 * (U - 128)
    double gv[256];  // 0.813 * (V - 128)
    double rv[256];  // 1.596 * (V - 128)
};

const ColourTables& GetColourTables();

// Blue and red depend on two bytes only: [chroma][luma] tables of the exact formula.
struct ByteTables {
    uint8_t b[256][256];  // [U][Y]
    uint8_t r[256][256];  // [V][Y]
};

const ByteTables& GetByteTables();

// One pixel straight from the formula (used to prove the table path equal over all inputs).
void ColourPixel(int Y, int U, int V, uint8_t* bgr);

}  // namespace orvane::rawk
