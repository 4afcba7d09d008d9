// Text rendering with FreeType into an Image or a one-bit mask.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "tools/imagegen/raster.h"

namespace imagegen {

class Font {
  public:
    // Opens face 0 of a font file; throws std::runtime_error on failure.
    explicit Font(const std::string& path);
    ~Font();
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Advance width of UTF-8 text at a pixel size.
    int measure(const std::string& utf8, int pixelSize) const;
    // Draws text with its baseline-left at (x, baseline), blended by glyph coverage.
    void draw(Image& image, const std::string& utf8, int pixelSize, int x, int baseline,
              Rgb colour) const;
    // Draws text into an 8-bit coverage buffer of width w (row-major, 0..255).
    void drawCoverage(std::vector<std::uint8_t>& cov, int w, int h, const std::string& utf8,
                      int pixelSize, int x, int baseline) const;
    // Ascender and descender (positive) of the face at a pixel size.
    int ascender(int pixelSize) const;
    int descender(int pixelSize) const;
    // Whether every character of the text has a glyph in this face.
    bool covers(const std::string& utf8) const;

  private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

std::u32string decodeUtf8(const std::string& utf8);

}  // namespace imagegen
