#include "capture/still/jpeg_writer.h"

#include "capture/still/jpeg_transform.h"

#include <algorithm>
#include <atomic>
#include <bit>
#include <cstring>
#include <new>
#include <thread>
#include <vector>

namespace orvane {
namespace {

// ---- Tables

// Natural index of each coefficient in zigzag order.
constexpr uint8_t kZigzag[64] = {0,  1,  8,  16, 9,  2,  3,  10, 17, 24, 32, 25, 18, 11, 4,  5,
                                 12, 19, 26, 33, 40, 48, 41, 34, 27, 20, 13, 6,  7,  14, 21, 28,
                                 35, 42, 49, 56, 57, 50, 43, 36, 29, 22, 15, 23, 30, 37, 44, 51,
                                 58, 59, 52, 45, 38, 31, 39, 46, 53, 60, 61, 54, 47, 55, 62, 63};

// The standard tables (natural order), scaled to quality 75: q = (50 * t + 50) / 100.
constexpr uint8_t kLuminanceBase[64] = {
    16, 11, 10, 16, 24,  40,  51,  61,  12, 12, 14, 19, 26,  58,  60,  55,
    14, 13, 16, 24, 40,  57,  69,  56,  14, 17, 22, 29, 51,  87,  80,  62,
    18, 22, 37, 56, 68,  109, 103, 77,  24, 35, 55, 64, 81,  104, 113, 92,
    49, 64, 78, 87, 103, 121, 120, 101, 72, 92, 95, 98, 112, 100, 103, 99};
constexpr uint8_t kChrominanceBase[64] = {
    17, 18, 24, 47, 99, 99, 99, 99, 18, 21, 26, 66, 99, 99, 99, 99, 24, 26, 56, 99, 99, 99,
    99, 99, 47, 66, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99,
    99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99, 99};

struct QuantTables {
    uint16_t luminance[64];
    uint16_t chrominance[64];
    QuantTables() {
        for (int i = 0; i < 64; ++i) {
            luminance[i] =
                static_cast<uint16_t>(std::clamp((50 * kLuminanceBase[i] + 50) / 100, 1, 255));
            chrominance[i] =
                static_cast<uint16_t>(std::clamp((50 * kChrominanceBase[i] + 50) / 100, 1, 255));
        }
    }
};
const QuantTables& Quant() {
    static const QuantTables tables;
    return tables;
}

// The standard Huffman tables: code counts per length 1..16, then the symbols.
constexpr uint8_t kDcLuminanceBits[16] = {0, 1, 5, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0, 0, 0};
constexpr uint8_t kDcChrominanceBits[16] = {0, 3, 1, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0, 0, 0, 0};
constexpr uint8_t kDcSymbols[12] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11};
constexpr uint8_t kAcLuminanceBits[16] = {0, 2, 1, 3, 3, 2, 4, 3, 5, 5, 4, 4, 0, 0, 1, 0x7d};
constexpr uint8_t kAcLuminanceSymbols[162] = {
    0x01, 0x02, 0x03, 0x00, 0x04, 0x11, 0x05, 0x12, 0x21, 0x31, 0x41, 0x06, 0x13, 0x51, 0x61,
    0x07, 0x22, 0x71, 0x14, 0x32, 0x81, 0x91, 0xa1, 0x08, 0x23, 0x42, 0xb1, 0xc1, 0x15, 0x52,
    0xd1, 0xf0, 0x24, 0x33, 0x62, 0x72, 0x82, 0x09, 0x0a, 0x16, 0x17, 0x18, 0x19, 0x1a, 0x25,
    0x26, 0x27, 0x28, 0x29, 0x2a, 0x34, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44, 0x45,
    0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63, 0x64,
    0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a, 0x83,
    0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97, 0x98, 0x99,
    0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4, 0xb5, 0xb6,
    0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca, 0xd2, 0xd3,
    0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe1, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7, 0xe8,
    0xe9, 0xea, 0xf1, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};
constexpr uint8_t kAcChrominanceBits[16] = {0, 2, 1, 2, 4, 4, 3, 4, 7, 5, 4, 4, 0, 1, 2, 0x77};
constexpr uint8_t kAcChrominanceSymbols[162] = {
    0x00, 0x01, 0x02, 0x03, 0x11, 0x04, 0x05, 0x21, 0x31, 0x06, 0x12, 0x41, 0x51, 0x07, 0x61,
    0x71, 0x13, 0x22, 0x32, 0x81, 0x08, 0x14, 0x42, 0x91, 0xa1, 0xb1, 0xc1, 0x09, 0x23, 0x33,
    0x52, 0xf0, 0x15, 0x62, 0x72, 0xd1, 0x0a, 0x16, 0x24, 0x34, 0xe1, 0x25, 0xf1, 0x17, 0x18,
    0x19, 0x1a, 0x26, 0x27, 0x28, 0x29, 0x2a, 0x35, 0x36, 0x37, 0x38, 0x39, 0x3a, 0x43, 0x44,
    0x45, 0x46, 0x47, 0x48, 0x49, 0x4a, 0x53, 0x54, 0x55, 0x56, 0x57, 0x58, 0x59, 0x5a, 0x63,
    0x64, 0x65, 0x66, 0x67, 0x68, 0x69, 0x6a, 0x73, 0x74, 0x75, 0x76, 0x77, 0x78, 0x79, 0x7a,
    0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8a, 0x92, 0x93, 0x94, 0x95, 0x96, 0x97,
    0x98, 0x99, 0x9a, 0xa2, 0xa3, 0xa4, 0xa5, 0xa6, 0xa7, 0xa8, 0xa9, 0xaa, 0xb2, 0xb3, 0xb4,
    0xb5, 0xb6, 0xb7, 0xb8, 0xb9, 0xba, 0xc2, 0xc3, 0xc4, 0xc5, 0xc6, 0xc7, 0xc8, 0xc9, 0xca,
    0xd2, 0xd3, 0xd4, 0xd5, 0xd6, 0xd7, 0xd8, 0xd9, 0xda, 0xe2, 0xe3, 0xe4, 0xe5, 0xe6, 0xe7,
    0xe8, 0xe9, 0xea, 0xf2, 0xf3, 0xf4, 0xf5, 0xf6, 0xf7, 0xf8, 0xf9, 0xfa};

// Code and length of each symbol of one table.
struct HuffmanCodes {
    uint16_t code[256] = {};
    uint8_t length[256] = {};
    HuffmanCodes(const uint8_t bits[16], const uint8_t* symbols) {
        uint32_t next = 0;
        int k = 0;
        for (int len = 1; len <= 16; ++len, next <<= 1) {
            for (int i = 0; i < bits[len - 1]; ++i, ++k, ++next) {
                code[symbols[k]] = static_cast<uint16_t>(next);
                length[symbols[k]] = static_cast<uint8_t>(len);
            }
        }
    }
};

struct Coders {
    HuffmanCodes dcLuminance{kDcLuminanceBits, kDcSymbols};
    HuffmanCodes acLuminance{kAcLuminanceBits, kAcLuminanceSymbols};
    HuffmanCodes dcChrominance{kDcChrominanceBits, kDcSymbols};
    HuffmanCodes acChrominance{kAcChrominanceBits, kAcChrominanceSymbols};
};
const Coders& Huffman() {
    static const Coders coders;
    return coders;
}

// ---- The entropy coder of one row of blocks

// Bytes of one coded row, growing as needed (no exception: a refused growth fails the row).
class RowBytes {
  public:
    bool Reserve(size_t more) {
        if (size_ + more <= capacity_) return true;
        size_t capacity = std::max<size_t>(capacity_ * 2, size_ + more + 4096);
        std::unique_ptr<uint8_t[]> grown(new (std::nothrow) uint8_t[capacity]);
        if (!grown) return false;
        if (size_) std::memcpy(grown.get(), data_.get(), size_);
        data_ = std::move(grown);
        capacity_ = capacity;
        return true;
    }
    uint8_t* End() { return data_.get() + size_; }
    void Grow(size_t n) { size_ += n; }
    const uint8_t* Data() const { return data_.get(); }
    size_t Size() const { return size_; }

  private:
    std::unique_ptr<uint8_t[]> data_;
    size_t size_ = 0, capacity_ = 0;
};

// Huffman codes into bytes, 0xFF followed by a stuffed 0x00. Before each block the caller
// makes room for the most a block can take.
class BitWriter {
  public:
    explicit BitWriter(RowBytes* bytes) : bytes_(bytes) {}
    void Put(uint32_t code, int length) {
        acc_ = (acc_ << length) | code;
        bits_ += length;
        if (bits_ >= 32) {
            bits_ -= 32;
            Emit32(static_cast<uint32_t>(acc_ >> bits_));
        }
    }
    // Pads the last byte with 1 bits.
    void Flush() {
        while (bits_ >= 8) {
            bits_ -= 8;
            EmitByte(static_cast<uint8_t>(acc_ >> bits_));
        }
        if (bits_ > 0) {
            EmitByte(static_cast<uint8_t>((acc_ << (8 - bits_)) | ((1u << (8 - bits_)) - 1)));
            bits_ = 0;
        }
        acc_ = 0;
    }

  private:
    void EmitByte(uint8_t b) {
        uint8_t* out = bytes_->End();
        out[0] = b;
        if (b == 0xFF) {
            out[1] = 0;
            bytes_->Grow(2);
        } else {
            bytes_->Grow(1);
        }
    }
    void Emit32(uint32_t w) {
        // No 0xFF byte in the word (no zero byte in its complement): all four at once.
        if (((~w - 0x01010101u) & w & 0x80808080u) == 0) {
            uint8_t* out = bytes_->End();
            out[0] = static_cast<uint8_t>(w >> 24);
            out[1] = static_cast<uint8_t>(w >> 16);
            out[2] = static_cast<uint8_t>(w >> 8);
            out[3] = static_cast<uint8_t>(w);
            bytes_->Grow(4);
            return;
        }
        EmitByte(static_cast<uint8_t>(w >> 24));
        EmitByte(static_cast<uint8_t>(w >> 16));
        EmitByte(static_cast<uint8_t>(w >> 8));
        EmitByte(static_cast<uint8_t>(w));
    }
    RowBytes* bytes_;
    uint64_t acc_ = 0;
    int bits_ = 0;
};

// A value's magnitude category and its own bits in it (negative values one less).
int Category(int v) {
    return std::bit_width(static_cast<unsigned>(v < 0 ? -v : v));
}
uint32_t ValueBits(int v, int n) {
    return static_cast<uint32_t>(v < 0 ? v - 1 : v) & ((1u << n) - 1);
}

void CodeBlock(const int16_t q[64], int* lastDc, const HuffmanCodes& dc, const HuffmanCodes& ac,
               BitWriter* out) {
    const int diff = q[0] - *lastDc;
    *lastDc = q[0];
    int n = Category(diff);
    out->Put((uint32_t{dc.code[n]} << n) | ValueBits(diff, n), dc.length[n] + n);
    // The coefficients in zigzag order and which of them are not nought.
    int16_t zigzag[64];
    uint64_t nonzero = 0;
    for (int k = 1; k < 64; ++k) {
        zigzag[k] = q[kZigzag[k]];
        nonzero |= static_cast<uint64_t>(zigzag[k] != 0) << k;
    }
    int previous = 0;
    while (nonzero) {
        const int k = std::countr_zero(nonzero);
        nonzero &= nonzero - 1;
        int run = k - previous - 1;
        for (; run > 15; run -= 16) out->Put(ac.code[0xF0], ac.length[0xF0]);
        const int v = zigzag[k];
        n = Category(v);
        const int symbol = (run << 4) | n;
        out->Put((uint32_t{ac.code[symbol]} << n) | ValueBits(v, n), ac.length[symbol] + n);
        previous = k;
    }
    if (previous < 63) out->Put(ac.code[0], ac.length[0]);
}

// The most bytes one block can take: 64 codes of at most 16 + 11 bits, each byte stuffed.
constexpr size_t kMaxBlockBytes = 64 * 27 / 8 * 2 + 16;

// ---- Rows of 16-pixel blocks: colour conversion, the halved chroma, transform, coding

struct Encoding {
    const JpegRowSource* source;
    JpegKernels kernels;
    int blocksAcross;  // 16-pixel blocks
    int rows;          // rows of 16-pixel blocks
    std::vector<RowBytes>* coded;
    std::atomic<int> next{0};
    std::atomic<bool> failed{false};
};

// Y, Cb and Cr of one row of blocks: Y 16 rows of 16 * blocksAcross samples, Cb and Cr 8 rows
// of half that; pixels past the picture's right and bottom edges repeat the last ones.
struct RowPlanes {
    std::unique_ptr<uint8_t[]> y, cb, cr;
    int width = 0;  // Y samples a row
    bool Make(int blocksAcross) {
        width = blocksAcross * 16;
        y.reset(new (std::nothrow) uint8_t[static_cast<size_t>(width) * 16]);
        cb.reset(new (std::nothrow) uint8_t[static_cast<size_t>(width / 2) * 8]);
        cr.reset(new (std::nothrow) uint8_t[static_cast<size_t>(width / 2) * 8]);
        return y && cb && cr;
    }
};

// The fixed-point colour conversion (16 fraction bits): Y of each pixel, Cb and Cr of the sum of
// each 2 x 2 pixels (its mean, rounded once).
// band: the block row's rows of the picture (16, or fewer at its bottom edge, where the last
// one repeats).
void ConvertRow(const PixelView& band, RowPlanes* planes) {
    // Pairs of columns inside the picture; the rest repeat its last column.
    const int inside = band.width / 2;
    for (int pair = 0; pair < 8; ++pair) {
        const uint8_t* rows[2];
        for (int i = 0; i < 2; ++i) {
            const int y = std::min(2 * pair + i, band.height - 1);
            rows[i] = band.bits + static_cast<ptrdiff_t>(y) * band.stride;
        }
        uint8_t* y0 = planes->y.get() + static_cast<size_t>(2 * pair) * planes->width;
        uint8_t* y1 = y0 + planes->width;
        uint8_t* cb = planes->cb.get() + static_cast<size_t>(pair) * (planes->width / 2);
        uint8_t* cr = planes->cr.get() + static_cast<size_t>(pair) * (planes->width / 2);
        auto convert = [&](int x, const uint8_t* a0, const uint8_t* a1, const uint8_t* b0,
                           const uint8_t* b1) {
            auto luma = [](const uint8_t* px) {
                return static_cast<uint8_t>(
                    (19595 * px[2] + 38470 * px[1] + 7471 * px[0] + 32768) >> 16);
            };
            y0[2 * x] = luma(a0);
            y0[2 * x + 1] = luma(a1);
            y1[2 * x] = luma(b0);
            y1[2 * x + 1] = luma(b1);
            const int32_t sb = a0[0] + a1[0] + b0[0] + b1[0];
            const int32_t sg = a0[1] + a1[1] + b0[1] + b1[1];
            const int32_t sr = a0[2] + a1[2] + b0[2] + b1[2];
            cb[x] = static_cast<uint8_t>(
                (-11059 * sr - 21709 * sg + 32768 * sb + (512 << 16) + (1 << 17)) >> 18);
            cr[x] = static_cast<uint8_t>(
                (32768 * sr - 27439 * sg - 5329 * sb + (512 << 16) + (1 << 17)) >> 18);
        };
        const uint8_t* a = rows[0];
        const uint8_t* b = rows[1];
        for (int x = 0; x < inside; ++x, a += 6, b += 6) convert(x, a, a + 3, b, b + 3);
        for (int x = inside; x < planes->width / 2; ++x) {
            const int c0 = std::min(2 * x, band.width - 1) * 3;
            const int c1 = std::min(2 * x + 1, band.width - 1) * 3;
            convert(x, rows[0] + c0, rows[0] + c1, rows[1] + c0, rows[1] + c1);
        }
    }
}

void CodeRows(Encoding* e) {
    const int width = e->source->Width(), height = e->source->Height();
    RowPlanes planes;
    std::unique_ptr<uint8_t[]> scratch(new (std::nothrow)
                                           uint8_t[static_cast<size_t>(width) * 3 * 16]);
    if (!planes.Make(e->blocksAcross) || !scratch) {
        e->failed = true;
        return;
    }
    const Coders& huffman = Huffman();
    const QuantTables& quant = Quant();
    alignas(16) int16_t coefficients[64], quantised[64];
    const Divisors luminance(quant.luminance), chrominance(quant.chrominance);
    auto block = [&](const uint8_t* samples, ptrdiff_t stride, const Divisors& divisors, int* dc,
                     const HuffmanCodes& dcCodes, const HuffmanCodes& acCodes, BitWriter* out) {
        ForwardDct(e->kernels, samples, stride, coefficients);
        QuantiseWith(e->kernels, coefficients, divisors, quantised);
        CodeBlock(quantised, dc, dcCodes, acCodes, out);
    };
    for (int row = e->next++; row < e->rows && !e->failed; row = e->next++) {
        PixelView band;
        const int top = row * 16;
        if (!e->source->Rows(top, std::min(16, height - top), scratch.get(), &band) ||
            band.width != width || band.bytesPerPixel != 3 || !band.bits) {
            e->failed = true;
            return;
        }
        ConvertRow(band, &planes);
        RowBytes& bytes = (*e->coded)[static_cast<size_t>(row)];
        BitWriter out(&bytes);
        int dcY = 0, dcCb = 0, dcCr = 0;
        const ptrdiff_t w = planes.width, half = planes.width / 2;
        for (int bx = 0; bx < e->blocksAcross; ++bx) {
            if (!bytes.Reserve(6 * kMaxBlockBytes)) {
                e->failed = true;
                return;
            }
            const uint8_t* y = planes.y.get() + bx * 16;
            block(y, w, luminance, &dcY, huffman.dcLuminance, huffman.acLuminance, &out);
            block(y + 8, w, luminance, &dcY, huffman.dcLuminance, huffman.acLuminance, &out);
            block(y + 8 * w, w, luminance, &dcY, huffman.dcLuminance, huffman.acLuminance, &out);
            block(y + 8 * w + 8, w, luminance, &dcY, huffman.dcLuminance, huffman.acLuminance,
                  &out);
            block(planes.cb.get() + bx * 8, half, chrominance, &dcCb, huffman.dcChrominance,
                  huffman.acChrominance, &out);
            block(planes.cr.get() + bx * 8, half, chrominance, &dcCr, huffman.dcChrominance,
                  huffman.acChrominance, &out);
        }
        if (!bytes.Reserve(16)) {
            e->failed = true;
            return;
        }
        out.Flush();
        if (row + 1 < e->rows) {
            uint8_t* marker = bytes.End();
            marker[0] = 0xFF;
            marker[1] = static_cast<uint8_t>(0xD0 + row % 8);
            bytes.Grow(2);
        }
    }
}

// ---- The file around the coded rows

void Put16(std::vector<uint8_t>* h, unsigned v) {
    h->push_back(static_cast<uint8_t>(v >> 8));
    h->push_back(static_cast<uint8_t>(v));
}

void PutHuffmanTable(std::vector<uint8_t>* h, int classAndId, const uint8_t bits[16],
                     const uint8_t* symbols) {
    int count = 0;
    for (int i = 0; i < 16; ++i) count += bits[i];
    h->insert(h->end(), {0xFF, 0xC4});
    Put16(h, static_cast<unsigned>(2 + 1 + 16 + count));
    h->push_back(static_cast<uint8_t>(classAndId));
    h->insert(h->end(), bits, bits + 16);
    h->insert(h->end(), symbols, symbols + count);
}

bool Headers(int width, int height, int blocksAcross, std::vector<uint8_t>* h) {
    try {
        // Start of image, JFIF 1.01 at 96 x 96 dots per inch.
        h->insert(h->end(), {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J',  'F',  'I',  'F',
                             0x00, 0x01, 0x01, 0x01, 0x00, 0x60, 0x00, 0x60, 0x00, 0x00});
        const QuantTables& quant = Quant();
        for (int t = 0; t < 2; ++t) {
            const uint16_t* table = t == 0 ? quant.luminance : quant.chrominance;
            h->insert(h->end(), {0xFF, 0xDB, 0x00, 0x43, static_cast<uint8_t>(t)});
            for (int k = 0; k < 64; ++k) h->push_back(static_cast<uint8_t>(table[kZigzag[k]]));
        }
        // Baseline frame: 8 bits, three components, Y at 2 x 2, Cb and Cr at 1 x 1.
        h->insert(h->end(), {0xFF, 0xC0, 0x00, 0x11, 0x08});
        Put16(h, static_cast<unsigned>(height));
        Put16(h, static_cast<unsigned>(width));
        h->insert(h->end(), {0x03, 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01});
        PutHuffmanTable(h, 0x00, kDcLuminanceBits, kDcSymbols);
        PutHuffmanTable(h, 0x10, kAcLuminanceBits, kAcLuminanceSymbols);
        PutHuffmanTable(h, 0x01, kDcChrominanceBits, kDcSymbols);
        PutHuffmanTable(h, 0x11, kAcChrominanceBits, kAcChrominanceSymbols);
        // A restart after every row of blocks.
        h->insert(h->end(), {0xFF, 0xDD, 0x00, 0x04});
        Put16(h, static_cast<unsigned>(blocksAcross));
        h->insert(h->end(), {0xFF, 0xDA, 0x00, 0x0C, 0x03, 0x01, 0x00, 0x02, 0x11, 0x03, 0x11, 0x00,
                             0x3F, 0x00});
    } catch (...) {
        return false;
    }
    return true;
}

}  // namespace

const uint16_t* JpegLuminanceTable() {
    return Quant().luminance;
}
const uint16_t* JpegChrominanceTable() {
    return Quant().chrominance;
}

namespace {

// The rows of a picture in memory, where they are.
class ViewRows : public JpegRowSource {
  public:
    explicit ViewRows(const PixelView& picture) : picture_(picture) {}
    int Width() const override { return picture_.width; }
    int Height() const override { return picture_.height; }
    bool Rows(int first, int count, uint8_t*, PixelView* rows) const override {
        *rows = {picture_.bits + static_cast<ptrdiff_t>(first) * picture_.stride, picture_.width,
                 count, picture_.stride, 3};
        return true;
    }

  private:
    PixelView picture_;
};

}  // namespace

bool EncodeJpeg(const PixelView& picture, int threads, JpegBytes* out, JpegKernels kernels) {
    if (!picture.bits || picture.bytesPerPixel != 3) return false;
    return EncodeJpeg(ViewRows(picture), threads, out, kernels);
}

bool EncodeJpeg(const JpegRowSource& source, int threads, JpegBytes* out, JpegKernels kernels) {
    const int width = source.Width(), height = source.Height();
    if (!out || width < 1 || height < 1 || width > 65535 || height > 65535) return false;
    const int blocksAcross = (width + 15) / 16;
    const int rows = (height + 15) / 16;
    std::vector<uint8_t> headers;
    std::vector<RowBytes> coded;
    try {
        coded.resize(static_cast<size_t>(rows));
    } catch (...) {
        return false;
    }
    if (!Headers(width, height, blocksAcross, &headers)) return false;

    Encoding e{&source, kernels, blocksAcross, rows, &coded};
    if (threads <= 0) threads = static_cast<int>(std::thread::hardware_concurrency());
    threads = std::clamp(threads, 1, std::min(16, rows));
    std::vector<std::thread> helpers;
    for (int i = 1; i < threads; ++i) {
        try {
            helpers.emplace_back(CodeRows, &e);
        } catch (...) {
            break;  // the rows are shared out: fewer threads code them all the same
        }
    }
    CodeRows(&e);
    for (std::thread& t : helpers) t.join();
    if (e.failed) return false;

    size_t size = headers.size() + 2;
    for (const RowBytes& r : coded) size += r.Size();
    out->data.reset(new (std::nothrow) uint8_t[size]);
    if (!out->data) return false;
    uint8_t* p = out->data.get();
    std::memcpy(p, headers.data(), headers.size());
    p += headers.size();
    for (const RowBytes& r : coded) {
        if (r.Size()) std::memcpy(p, r.Data(), r.Size());
        p += r.Size();
    }
    p[0] = 0xFF;
    p[1] = 0xD9;
    out->size = size;
    return true;
}

}  // namespace orvane
