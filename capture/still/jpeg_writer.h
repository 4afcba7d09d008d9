#pragma once
// Baseline JPEG files of 24-bit pictures, encoded by the program itself: JFIF at 96 dots per
// inch, Y Cb Cr with the chroma halved both ways (4:2:0), the standard quantisation tables
// scaled to quality 75 and the standard Huffman tables, as the platform's encoder writes its
// photos by default. Each row of 16-pixel blocks ends with a restart marker, so the rows are
// coded independently and in parallel, and the file does not depend on the number of threads.
// Integer arithmetic only: the same bytes on every build. Portable: no platform header.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "media/area_scale.h"

namespace orvane {

struct JpegBytes {
    std::unique_ptr<uint8_t[]> data;
    size_t size = 0;
};

// The kernels of the block transform: the plain one (the reference) and the best this
// processor runs (SSE2 on x86, else plain). Both give the same bytes.
enum class JpegKernels { kPlain, kBest };

// Encodes picture (3 bytes a pixel, B G R; row y at bits + y * stride) into out with up to
// threads threads (0: one per processor). False for an empty view, another pixel size, a side
// beyond 65535 pixels, or when memory runs short.
bool EncodeJpeg(const PixelView& picture, int threads, JpegBytes* out,
                JpegKernels kernels = JpegKernels::kBest);

// Where the encoder takes a picture's rows from, up to 16 at a time, from several threads at
// once: rows in memory, or rows made on demand (scaled ones, say).
class JpegRowSource {
  public:
    virtual ~JpegRowSource() = default;
    virtual int Width() const = 0;
    virtual int Height() const = 0;
    // Rows [first, first + count) as a view (3 bytes a pixel): of the rows where they are, or
    // of scratch after making them there (room for 16 rows of Width() * 3 bytes, the calling
    // thread's own). False when they cannot be had.
    virtual bool Rows(int first, int count, uint8_t* scratch, PixelView* rows) const = 0;
};
bool EncodeJpeg(const JpegRowSource& source, int threads, JpegBytes* out,
                JpegKernels kernels = JpegKernels::kBest);

// The steps of one 8 x 8 block, for the tests: samples (8 rows of 8 bytes, stride apart) level
// shifted and transformed (the accurate integer DCT of the field's reference coder: 8 times
// the orthonormal coefficients, in natural order), then quantised: each coefficient c with the
// table's q becomes sign(c) * floor((|c| + 4q) * r / 65536) with the reciprocal r =
// floor((65536 + 4q) / 8q): within 0.57 of c / 8q for every c the transform gives.
void ForwardDct(JpegKernels kernels, const uint8_t* samples, ptrdiff_t stride,
                int16_t coefficients[64]);
void Quantise(JpegKernels kernels, const int16_t coefficients[64], const uint16_t table[64],
              int16_t quantised[64]);

// The quality-75 quantisation tables in natural order: luminance and chrominance.
const uint16_t* JpegLuminanceTable();
const uint16_t* JpegChrominanceTable();

}  // namespace orvane
