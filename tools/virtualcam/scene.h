// The synthetic microscope scene: a stage micrometer (10 um divisions) over a stained,
// textured specimen, both drifting slowly across a field 800 um wide.
#pragma once

#include <cstdint>

namespace vcam {

// One YUY2 frame (width even, rows top to bottom, stride width * 2) at scene time seconds.
// brightness (-64..64) shifts the luma.
void RenderYuy2(uint8_t* out, int width, int height, double seconds, int brightness);

// Rows [firstRow, firstRow + rows) of a width x height B G / G R mosaic (blue at even row and
// even column), one byte per pixel, written top to bottom from out.
void RenderMosaic(uint8_t* out, int width, int height, int firstRow, int rows, double seconds,
                  int brightness);

}  // namespace vcam
