#pragma once
// Picture files for the stacker's command line: a decoder interface (BMP here; a build with
// the platform's codecs adds JPEG and TIFF behind the same interface), whole-file reading
// without exceptions, and a BMP writer that leaves either the complete file or nothing.
#include <cstddef>
#include <cstdint>
#include <string>

#include "stacking/stack_image.h"

namespace orvane::stacking {

class FrameReader {
  public:
    virtual ~FrameReader() = default;
    // True when the file's first bytes (size of them, maybe fewer than a header) are of this
    // reader's format.
    virtual bool Recognises(const uint8_t* head, size_t size) const = 0;
    // The whole file image into picture; false with a short reason in error.
    virtual bool Decode(const uint8_t* file, size_t size, BgrImage* picture,
                        std::string* error) const = 0;
};

// Uncompressed 24-bit BMP, and 32-bit with or without the standard channel masks, rows
// bottom-up or top-down, every row within the file.
class BmpFrameReader : public FrameReader {
  public:
    bool Recognises(const uint8_t* head, size_t size) const override;
    bool Decode(const uint8_t* file, size_t size, BgrImage* picture,
                std::string* error) const override;
};

// Files larger than this are not read whole.
constexpr uint64_t kMaxFrameFileBytes = uint64_t{1} << 30;

// Reads path and decodes it with the first of readers[0..count) that recognises it. error
// names the problem (without the path).
bool ReadFrameFile(const char* path, const FrameReader* const* readers, size_t count,
                   BgrImage* picture, std::string* error);

// A complete 24-bit bottom-up BMP at path: written beside it under a temporary name and
// renamed over it once every byte is out, so a failure leaves no file (and an existing one
// as it was).
bool WriteBmpFile(const char* path, const BgrImage& picture, std::string* error);

}  // namespace orvane::stacking
