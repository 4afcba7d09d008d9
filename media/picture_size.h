#pragma once
// A picture's size from the first bytes of its file, without decoding it: what a command that
// takes several pictures can check before it starts.
#include <cstddef>
#include <cstdint>
#include <optional>

namespace orvane {

struct PictureSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PictureSize&) const = default;
};

// The size a BMP (any information header), JPEG (its frame header) or PNG (its header chunk)
// declares in its first headSize bytes; none for other formats, for a frame header beyond them,
// or for sizes below 1 pixel.
std::optional<PictureSize> PictureSizeFromHead(const uint8_t* head, size_t headSize);

// How many first bytes PictureSizeFromHead is given: enough for the JPEG frame header behind
// the application segments a camera writes (each at most 64 KiB).
constexpr size_t kPictureSizeHeadBytes = 256 * 1024;

}  // namespace orvane
