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

// One pixel straight from the formula (used to prove the table path equal over all inputs).
void ColourPixel(int Y, int U, int V, uint8_t* bgr);
// The same through the tables (blue and red by byte tables, green in double).
void ColourPixelByTables(int Y, int U, int V, uint8_t* bgr);

}  // namespace orvane::rawk
