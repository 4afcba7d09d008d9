// File formats of the program's pictures: 24-bit BMP, ICO and CUR.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/imagegen/raster.h"

namespace imagegen {

using Bytes = std::vector<std::uint8_t>;

// One-bit picture with a transparency mask, as icons and cursors store it.
struct MonoImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> white;        // 1 = white, 0 = black (where opaque)
    std::vector<std::uint8_t> transparent;  // 1 = screen shows through
    MonoImage() = default;
    MonoImage(int w, int h)
        : width(w),
          height(h),
          white(static_cast<std::size_t>(w) * h, 0),
          transparent(static_cast<std::size_t>(w) * h, 1) {}
    void setBlack(int x, int y) { put(x, y, 0); }
    void setWhite(int x, int y) { put(x, y, 1); }
    bool opaque(int x, int y) const {
        return !transparent[static_cast<std::size_t>(y) * width + x];
    }

  private:
    void put(int x, int y, std::uint8_t v) {
        if (x < 0 || y < 0 || x >= width || y >= height) return;
        white[static_cast<std::size_t>(y) * width + x] = v;
        transparent[static_cast<std::size_t>(y) * width + x] = 0;
    }
};

// Full-colour icon image: straight (non-premultiplied) alpha.
struct ArgbImage {
    int width = 0, height = 0;
    std::vector<Rgb> colour;
    std::vector<std::uint8_t> alpha;
};

Bytes encodeBmp24(const Image& image);
// Icon file with one or more images, each one-bit or 32-bit.
Bytes encodeIco(const std::vector<MonoImage>& mono, const std::vector<ArgbImage>& argb);
// Cursor file with one one-bit image and its hot spot.
Bytes encodeCur(const MonoImage& image, int hotX, int hotY);

}  // namespace imagegen
