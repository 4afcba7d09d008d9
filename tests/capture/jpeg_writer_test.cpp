// The program's own JPEG files: the block transform against the orthonormal DCT, the SIMD
// kernels against the plain ones, the file's structure, the same bytes for any number of
// threads and on every build, and (natively) what the field's reference decoder reads back.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <cstdint>
#include <random>
#include <vector>

#include "capture/still/jpeg_writer.h"
#include "media/picture_size.h"

#if defined(ORVANE_TEST_LIBJPEG)
#include <cstdio>  // jpeglib.h needs FILE
#include <jpeglib.h>
#endif

namespace orvane {
namespace {

using Block = std::vector<uint8_t>;  // 8 x 8 samples

std::vector<Block> TestBlocks() {
    std::vector<Block> blocks;
    for (uint8_t v : {0, 255, 128, 127}) blocks.push_back(Block(64, v));
    Block checker(64), stripes(64), ramp(64), edge(64);
    for (int i = 0; i < 64; ++i) {
        checker[i] = ((i / 8 + i % 8) & 1) ? 255 : 0;
        stripes[i] = (i % 8) & 1 ? 0 : 255;
        ramp[i] = static_cast<uint8_t>(i * 4);
        edge[i] = (i % 8) < 4 ? 0 : 255;
    }
    blocks.insert(blocks.end(), {checker, stripes, ramp, edge});
    // Every sign pattern of the basis functions at full amplitude.
    for (int u = 0; u < 8; ++u)
        for (int v = 0; v < 8; ++v) {
            Block b(64);
            for (int y = 0; y < 8; ++y)
                for (int x = 0; x < 8; ++x)
                    b[y * 8 + x] = std::cos((2 * x + 1) * u * std::numbers::pi / 16) *
                                               std::cos((2 * y + 1) * v * std::numbers::pi / 16) >=
                                           0
                                       ? 255
                                       : 0;
            blocks.push_back(b);
        }
    std::mt19937 random(5);
    for (int n = 0; n < 2000; ++n) {
        Block b(64);
        for (uint8_t& s : b) s = static_cast<uint8_t>(random());
        if (n % 3 == 0)  // extremes only, where the 16-bit sums come nearest their limits
            for (uint8_t& s : b) s = (random() & 1) ? 255 : 0;
        blocks.push_back(b);
    }
    return blocks;
}

TEST(JpegWriter, TheTransformIsEightTimesTheOrthonormalDctAndBothKernelsAgree) {
    int worst = 0;
    for (const Block& b : TestBlocks()) {
        int16_t plain[64], best[64];
        ForwardDct(JpegKernels::kPlain, b.data(), 8, plain);
        ForwardDct(JpegKernels::kBest, b.data(), 8, best);
        ASSERT_TRUE(std::equal(plain, plain + 64, best)) << "the kernels differ";
        for (int u = 0; u < 8; ++u)
            for (int v = 0; v < 8; ++v) {
                double sum = 0;
                for (int y = 0; y < 8; ++y)
                    for (int x = 0; x < 8; ++x)
                        sum += (b[y * 8 + x] - 128.0) *
                               std::cos((2 * x + 1) * v * std::numbers::pi / 16) *
                               std::cos((2 * y + 1) * u * std::numbers::pi / 16);
                const double cu = u ? 0.5 : std::sqrt(0.125), cv = v ? 0.5 : std::sqrt(0.125);
                const double expected = 8 * cu * cv * sum;
                worst = std::max(
                    worst, static_cast<int>(std::lround(std::abs(plain[u * 8 + v] - expected))));
            }
    }
    // The integer transform's rounding: a few units of the 8-times scale at most.
    EXPECT_LE(worst, 3);
}

TEST(JpegWriter, QuantisationRoundsByTheTablesReciprocalAndBothKernelsAgree) {
    const uint16_t* luminance = JpegLuminanceTable();
    const uint16_t* chrominance = JpegChrominanceTable();
    // Quality 75: half the standard tables, rounded half up.
    EXPECT_EQ(luminance[0], 8);
    EXPECT_EQ(luminance[1], 6);
    EXPECT_EQ(luminance[63], 50);
    EXPECT_EQ(chrominance[0], 9);
    EXPECT_EQ(chrominance[63], 50);
    std::mt19937 random(9);
    for (int n = 0; n < 2000; ++n) {
        int16_t c[64], plain[64], best[64];
        // The transform's range: at most 8192 in magnitude (the extremes of int16 as well).
        for (int16_t& v : c) v = static_cast<int16_t>(static_cast<int>(random() % 16385) - 8192);
        if (n == 0) {
            c[0] = -32768;
            c[1] = 32767;
        }
        const uint16_t* table = n % 2 ? luminance : chrominance;
        Quantise(JpegKernels::kPlain, c, table, plain);
        Quantise(JpegKernels::kBest, c, table, best);
        ASSERT_TRUE(std::equal(plain, plain + 64, best)) << "the kernels differ";
        for (int i = 0; i < 64; ++i) {
            if (std::abs(c[i]) > 8192) continue;  // both kernels agree there; not a DCT value
            const double exact = c[i] / (8.0 * table[i]);
            ASSERT_LE(std::abs(plain[i] - exact), 0.57) << c[i] << " / 8 * " << table[i];
        }
    }
    int16_t c[64] = {}, q[64];
    c[0] = 100;  // 100 / 64 = 1.56 -> 2
    c[1] = -71;  // -71 / 48 = -1.48 -> -1
    c[2] = 24;   // 24 / 40 = 0.6 -> 1
    c[3] = -19;  // -19 / 56 = -0.34 -> 0
    Quantise(JpegKernels::kBest, c, luminance, q);
    EXPECT_EQ(q[0], 2);
    EXPECT_EQ(q[1], -1);
    EXPECT_EQ(q[2], 1);
    EXPECT_EQ(q[3], 0);
}

struct Picture {
    int width, height;
    std::vector<uint8_t> bgr;  // top-down, packed
};

// Smooth colour gradients with some fine detail, like a photo through a microscope.
Picture Scene(int width, int height) {
    Picture p{width, height, std::vector<uint8_t>(static_cast<size_t>(width) * height * 3)};
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            uint8_t* px = &p.bgr[(static_cast<size_t>(y) * width + x) * 3];
            px[0] = static_cast<uint8_t>(40 + 150 * x / width);
            px[1] = static_cast<uint8_t>(60 + 120 * y / height + ((x / 6 + y / 6) % 2) * 20);
            px[2] = static_cast<uint8_t>(200 - 100 * (x + y) / (width + height));
        }
    return p;
}

bool Encode(const Picture& p, int threads, JpegBytes* out, JpegKernels k = JpegKernels::kBest) {
    return EncodeJpeg({p.bgr.data(), p.width, p.height, static_cast<ptrdiff_t>(p.width) * 3, 3},
                      threads, out, k);
}

// The markers of a file, in order (with the restart markers of the coded data).
std::vector<int> Markers(const JpegBytes& f) {
    std::vector<int> markers;
    size_t i = 2;
    markers.push_back(f.data[1]);
    while (i + 2 <= f.size) {
        const int m = f.data[i + 1];
        markers.push_back(m);
        if (m == 0xD9 || i + 4 > f.size) break;
        const size_t length = (size_t{f.data[i + 2]} << 8) | f.data[i + 3];
        i += 2 + length;
        if (m != 0xDA) continue;
        for (; i + 1 < f.size; ++i) {  // coded data up to the next marker other than 0xFF00
            if (f.data[i] != 0xFF || f.data[i + 1] == 0) continue;
            if (f.data[i + 1] >= 0xD0 && f.data[i + 1] <= 0xD7) {
                markers.push_back(f.data[i + 1]);
                ++i;
                continue;
            }
            break;
        }
    }
    return markers;
}

TEST(JpegWriter, AFileHasTheBaselineStructureWithARestartAfterEveryRowOfBlocks) {
    const Picture p = Scene(37, 35);  // 3 x 3 blocks of 16, the last ones partly outside
    JpegBytes f;
    ASSERT_TRUE(Encode(p, 1, &f));
    // SOI APP0 DQT DQT SOF0 DHT x 4 DRI SOS RST0 RST1 EOI.
    EXPECT_EQ(Markers(f), (std::vector<int>{0xD8, 0xE0, 0xDB, 0xDB, 0xC0, 0xC4, 0xC4, 0xC4, 0xC4,
                                            0xDD, 0xDA, 0xD0, 0xD1, 0xD9}));
    const uint8_t jfif[] = {0xFF, 0xD8, 0xFF, 0xE0, 0, 16, 'J', 'F', 'I',
                            'F',  0,    1,    1,    1, 0,  96,  0,   96};
    EXPECT_TRUE(std::equal(jfif, jfif + sizeof jfif, f.data.get())) << "JFIF at 96 dpi";
    const uint8_t frame[] = {0xFF, 0xC0, 0, 17, 8,    0, 35, 0,    37, 3,
                             1,    0x22, 0, 2,  0x11, 1, 3,  0x11, 1};
    EXPECT_NE(std::search(f.data.get(), f.data.get() + f.size, frame, frame + sizeof frame),
              f.data.get() + f.size)
        << "35 x 37, Y at 2 x 2, chroma halved";
    EXPECT_EQ(PictureSizeFromHead(f.data.get(), f.size), (PictureSize{37, 35}))
        << "the size a command reads from the head";
    const uint8_t restart[] = {0xFF, 0xDD, 0, 4, 0, 3};
    EXPECT_NE(std::search(f.data.get(), f.data.get() + f.size, restart, restart + sizeof restart),
              f.data.get() + f.size)
        << "a restart every 3 blocks of 16";
    EXPECT_FALSE(EncodeJpeg({p.bgr.data(), 0, 35, 111, 3}, 1, &f));
    EXPECT_FALSE(EncodeJpeg({p.bgr.data(), 37, 35, 148, 4}, 1, &f));
    EXPECT_FALSE(EncodeJpeg({nullptr, 37, 35, 111, 3}, 1, &f));
    // Rows that cannot be had fail the file, on any thread.
    class Failing : public JpegRowSource {
      public:
        int Width() const override { return 64; }
        int Height() const override { return 200; }
        bool Rows(int first, int, uint8_t*, PixelView*) const override { return first != 96; }
    };
    EXPECT_FALSE(EncodeJpeg(Failing(), 3, &f));
}

uint64_t Fnv1a(const uint8_t* data, size_t size) {
    uint64_t h = 14695981039346656037ull;
    for (size_t i = 0; i < size; ++i) h = (h ^ data[i]) * 1099511628211ull;
    return h;
}

TEST(JpegWriter, TheBytesDoNotDependOnThreadsKernelsOrBuild) {
    const Picture p = Scene(333, 250);
    JpegBytes one, plain;
    ASSERT_TRUE(Encode(p, 1, &one));
    ASSERT_TRUE(Encode(p, 1, &plain, JpegKernels::kPlain));
    EXPECT_TRUE(plain.size == one.size &&
                std::equal(one.data.get(), one.data.get() + one.size, plain.data.get()))
        << "plain and best kernels";
    for (int threads : {0, 2, 3, 16}) {
        JpegBytes f;
        ASSERT_TRUE(Encode(p, threads, &f));
        EXPECT_TRUE(f.size == one.size &&
                    std::equal(one.data.get(), one.data.get() + one.size, f.data.get()))
            << threads << " threads";
    }
    // Rows from a source that makes them on demand give the same file.
    class Copied : public JpegRowSource {
      public:
        explicit Copied(const Picture& p) : p_(p) {}
        int Width() const override { return p_.width; }
        int Height() const override { return p_.height; }
        bool Rows(int first, int count, uint8_t* scratch, PixelView* rows) const override {
            const size_t row = static_cast<size_t>(p_.width) * 3;
            std::copy_n(&p_.bgr[first * row], count * row, scratch);
            *rows = {scratch, p_.width, count, static_cast<ptrdiff_t>(row), 3};
            return true;
        }

      private:
        const Picture& p_;
    };
    JpegBytes made;
    ASSERT_TRUE(EncodeJpeg(Copied(p), 2, &made));
    EXPECT_TRUE(made.size == one.size &&
                std::equal(one.data.get(), one.data.get() + one.size, made.data.get()));
    // The same on every build (native, 32- and 64-bit Windows): this picture's file.
    EXPECT_EQ(one.size, 11393u);
    EXPECT_EQ(Fnv1a(one.data.get(), one.size), 13997896919696876629ull);
}

#if defined(ORVANE_TEST_LIBJPEG)
// The file as the field's reference decoder reads it: size and pixels (B G R).
bool Decode(const JpegBytes& f, Picture* out) {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    err.error_exit = [](j_common_ptr c) {
        (*c->err->output_message)(c);
        std::abort();
    };
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, f.data.get(), static_cast<unsigned long>(f.size));
    if (jpeg_read_header(&cinfo, TRUE) != JPEG_HEADER_OK) return false;
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    out->width = static_cast<int>(cinfo.output_width);
    out->height = static_cast<int>(cinfo.output_height);
    out->bgr.assign(static_cast<size_t>(out->width) * out->height * 3, 0);
    std::vector<uint8_t> row(static_cast<size_t>(out->width) * 3);
    while (cinfo.output_scanline < cinfo.output_height) {
        uint8_t* rows[] = {row.data()};
        const int y = static_cast<int>(cinfo.output_scanline);
        jpeg_read_scanlines(&cinfo, rows, 1);
        for (int x = 0; x < out->width; ++x)
            for (int c = 0; c < 3; ++c)
                out->bgr[(static_cast<size_t>(y) * out->width + x) * 3 + c] = row[x * 3 + 2 - c];
    }
    jpeg_finish_decompress(&cinfo);
    const bool clean = err.num_warnings == 0;
    jpeg_destroy_decompress(&cinfo);
    return clean;
}

double Psnr(const Picture& a, const Picture& b) {
    double sum = 0;
    for (size_t i = 0; i < a.bgr.size(); ++i) sum += std::pow(a.bgr[i] - b.bgr[i], 2.0);
    return 10 * std::log10(255.0 * 255.0 * a.bgr.size() / sum);
}

// The reference coder's file of the same picture at the same quality and sampling.
JpegBytes ReferenceEncoding(const Picture& p) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(p.width);
    cinfo.image_height = static_cast<JDIMENSION>(p.height);
    cinfo.input_components = 3;
    cinfo.in_color_space = JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, 75, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(p.width) * 3);
    while (cinfo.next_scanline < cinfo.image_height) {
        const uint8_t* in = &p.bgr[static_cast<size_t>(cinfo.next_scanline) * p.width * 3];
        for (int x = 0; x < p.width; ++x)
            for (int c = 0; c < 3; ++c) row[x * 3 + c] = in[x * 3 + 2 - c];
        uint8_t* rows[] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    JpegBytes f;
    f.data.reset(new uint8_t[size]);
    std::copy_n(buffer, size, f.data.get());
    f.size = size;
    std::free(buffer);
    return f;
}

// Read back by the reference decoder: the picture's size, and pixels as close to the picture
// as the reference coder's own file of it at the same quality, about as many bytes.
TEST(JpegWriter, TheReferenceDecoderReadsThePictureBackAsWellAsFromItsOwnCoder) {
    for (auto [w, h] : {std::pair{333, 250}, std::pair{16, 16}, std::pair{1, 1}, std::pair{7, 300},
                        std::pair{1280, 960}}) {
        const Picture p = Scene(w, h);
        JpegBytes f;
        ASSERT_TRUE(Encode(p, 0, &f));
        Picture back, reference;
        ASSERT_TRUE(Decode(f, &back)) << w << " x " << h << ": warnings while decoding";
        ASSERT_EQ(back.width, w);
        ASSERT_EQ(back.height, h);
        const JpegBytes theirs = ReferenceEncoding(p);
        ASSERT_TRUE(Decode(theirs, &reference));
        // Pictures a few blocks across differ more at their edges (and by the restarts' share).
        const bool narrow = w < 64;
        EXPECT_GT(Psnr(p, back), Psnr(p, reference) - (narrow ? 0.3 : 0.1)) << w << " x " << h;
        EXPECT_GT(Psnr(p, back), 33.0) << w << " x " << h;
        if (narrow) continue;
        // A restart marker per row of blocks (2 bytes, the padding, the DC from nought).
        const double rows = (h + 15) / 16;
        EXPECT_LT(f.size, theirs.size * 1.03 + rows * 8) << w << " x " << h;
        EXPECT_GT(f.size, theirs.size * 0.97) << w << " x " << h;
    }
}
#endif

}  // namespace
}  // namespace orvane
