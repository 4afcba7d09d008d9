#include "tools/imagegen/formats.h"

#include <array>

namespace imagegen {

namespace {

void u16(Bytes& b, unsigned v) {
    b.push_back(static_cast<std::uint8_t>(v & 0xFF));
    b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}

void u32(Bytes& b, std::uint32_t v) {
    u16(b, v & 0xFFFF);
    u16(b, v >> 16);
}

void patch32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>((v >> (8 * i)) & 0xFF);
}

// BITMAPINFOHEADER; icon and cursor images store twice the height (colour + mask).
void info_header(Bytes& b, int w, int h, int bpp, std::uint32_t imageSize, int colours) {
    u32(b, 40);
    u32(b, static_cast<std::uint32_t>(w));
    u32(b, static_cast<std::uint32_t>(h));
    u16(b, 1);
    u16(b, static_cast<unsigned>(bpp));
    u32(b, 0);  // BI_RGB
    u32(b, imageSize);
    u32(b, 2835);  // 72 dpi
    u32(b, 2835);
    u32(b, static_cast<std::uint32_t>(colours));
    u32(b, 0);
}

int mono_stride(int w) {
    return ((w + 31) / 32) * 4;
}

// Bottom-up one-bit rows of a per-pixel predicate.
template <typename Bit>
void mono_rows(Bytes& b, int w, int h, Bit bit) {
    const int stride = mono_stride(w);
    for (int y = h - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(stride), 0);
        for (int x = 0; x < w; ++x)
            if (bit(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        b.insert(b.end(), row.begin(), row.end());
    }
}

Bytes mono_dib(const MonoImage& m) {
    Bytes b;
    const auto rows = static_cast<std::uint32_t>(mono_stride(m.width) * m.height);
    info_header(b, m.width, m.height * 2, 1, rows * 2, 2);
    u32(b, 0x00000000);  // black
    u32(b, 0x00FFFFFF);  // white
    const auto idx = [&m](int x, int y) { return static_cast<std::size_t>(y) * m.width + x; };
    mono_rows(b, m.width, m.height,
              [&](int x, int y) { return m.white[idx(x, y)] && !m.transparent[idx(x, y)]; });
    mono_rows(b, m.width, m.height, [&](int x, int y) { return m.transparent[idx(x, y)] != 0; });
    return b;
}

Bytes argb_dib(const ArgbImage& a) {
    Bytes b;
    const auto pixels = static_cast<std::uint32_t>(a.width * a.height * 4);
    const auto mask = static_cast<std::uint32_t>(mono_stride(a.width) * a.height);
    info_header(b, a.width, a.height * 2, 32, pixels + mask, 0);
    for (int y = a.height - 1; y >= 0; --y)
        for (int x = 0; x < a.width; ++x) {
            const std::size_t i = static_cast<std::size_t>(y) * a.width + x;
            b.push_back(a.colour[i].b);
            b.push_back(a.colour[i].g);
            b.push_back(a.colour[i].r);
            b.push_back(a.alpha[i]);
        }
    mono_rows(b, a.width, a.height, [&](int x, int y) {
        return a.alpha[static_cast<std::size_t>(y) * a.width + x] == 0;
    });
    return b;
}

Bytes directory(std::uint16_t type, const std::vector<Bytes>& images,
                const std::vector<std::array<int, 6>>& fields) {
    // fields: width, height, colours, planes-or-hotX, bpp-or-hotY, unused
    Bytes b;
    u16(b, 0);
    u16(b, type);
    u16(b, static_cast<unsigned>(images.size()));
    std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto& f = fields[i];
        b.push_back(static_cast<std::uint8_t>(f[0] >= 256 ? 0 : f[0]));
        b.push_back(static_cast<std::uint8_t>(f[1] >= 256 ? 0 : f[1]));
        b.push_back(static_cast<std::uint8_t>(f[2]));
        b.push_back(0);
        u16(b, static_cast<unsigned>(f[3]));
        u16(b, static_cast<unsigned>(f[4]));
        u32(b, static_cast<std::uint32_t>(images[i].size()));
        u32(b, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const auto& img : images) b.insert(b.end(), img.begin(), img.end());
    return b;
}

}  // namespace

Bytes encodeBmp24(const Image& image) {
    const int w = image.width(), h = image.height();
    const int stride = (w * 3 + 3) / 4 * 4;
    Bytes b;
    b.push_back('B');
    b.push_back('M');
    u32(b, 0);  // file size, patched below
    u32(b, 0);
    u32(b, 54);
    info_header(b, w, h, 24, static_cast<std::uint32_t>(stride * h), 0);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const Rgb c = image.at(x, y);
            b.push_back(c.b);
            b.push_back(c.g);
            b.push_back(c.r);
        }
        for (int p = w * 3; p < stride; ++p) b.push_back(0);
    }
    patch32(b, 2, static_cast<std::uint32_t>(b.size()));
    return b;
}

Bytes encodeIco(const std::vector<MonoImage>& mono, const std::vector<ArgbImage>& argb) {
    std::vector<Bytes> images;
    std::vector<std::array<int, 6>> fields;
    for (const auto& m : mono) {
        images.push_back(mono_dib(m));
        fields.push_back({m.width, m.height, 2, 1, 1, 0});
    }
    for (const auto& a : argb) {
        images.push_back(argb_dib(a));
        fields.push_back({a.width, a.height, 0, 1, 32, 0});
    }
    return directory(1, images, fields);
}

Bytes encodeCur(const MonoImage& image, int hotX, int hotY) {
    return directory(2, {mono_dib(image)}, {{image.width, image.height, 2, hotX, hotY, 0}});
}

}  // namespace imagegen
