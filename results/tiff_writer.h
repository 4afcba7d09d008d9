#pragma once
// Baseline TIFF files of 24-bit pictures: uncompressed 8-bit RGB in strips, with resolution
// fields and a description, written from the same rows the BMP writer takes; and a reader of
// such files for checks.
#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "media/stamp/pixel_rows.h"

namespace orvane::results {

struct TiffFields {
    // XResolution and YResolution in pixels per centimetre (ResolutionUnit 3); without a value
    // (or with one that is no positive number) the file has no resolution fields.
    std::optional<double> pixelsPerCentimetre;
    std::string description;  // ImageDescription, ASCII; none when empty
    std::string software;     // Software, ASCII; none when empty
};

// Largest file written: the pixel data of the largest picture the program makes, and more.
inline constexpr uint64_t kMaxTiffBytes = 1ull << 30;
// Pixel bytes per strip, about; a strip holds at least one row.
inline constexpr size_t kTiffStripBytes = 64 * 1024;

// The TIFF file image of the rows (blue, green, red bytes in either row order; the file holds
// red, green, blue from the top row down). Empty when the rows are inconsistent with their
// size or the file would exceed kMaxTiffBytes. Texts are cut at their first NUL.
std::vector<uint8_t> WriteTiff24(const PixelRows& picture, const TiffFields& fields);

// A field as read: numbers of SHORT and LONG fields, fractions of RATIONAL ones, ASCII text up
// to its first NUL.
struct TiffField {
    uint16_t type = 0;
    uint32_t count = 0;
    std::vector<uint32_t> numbers;
    std::vector<std::pair<uint32_t, uint32_t>> rationals;
    std::string text;
};

struct TiffPicture {
    int32_t width = 0;
    int32_t height = 0;
    std::map<uint16_t, TiffField> fields;  // by tag
    std::vector<uint8_t> rgb;              // top row first, red, green, blue
};

// The first directory of a little-endian TIFF with its fields, and the pixels when they are
// uncompressed 8-bit RGB in chunky order; nothing for anything else or for offsets and counts
// that leave the file.
std::optional<TiffPicture> ReadTiff24(const uint8_t* file, size_t size);

}  // namespace orvane::results
