#pragma once
// The frames of a clip for the stacker, read one at a time through the platform's AVI file
// library: YUY2 and uncompressed 24-bit frames decoded by the program's own conversion, others
// by the platform's decompressor. Only the frame being read is held.
#include <windows.h>
#include <vfw.h>

#include <cstdint>
#include <string>
#include <vector>

#include "stacking/stack_image.h"

namespace orvane {

class ClipFrames {
  public:
    ClipFrames() = default;
    ~ClipFrames();
    ClipFrames(const ClipFrames&) = delete;
    ClipFrames& operator=(const ClipFrames&) = delete;

    // Opens the clip's first video stream; false when the file or its frame format cannot be
    // read. The thread must have entered a COM apartment.
    bool Open(const std::wstring& path);
    int32_t First() const { return first_; }
    int32_t Count() const { return count_; }

    // The frame at position, valid until the next Read or the end of the object; false for a
    // frame that cannot be read or decoded (an empty or damaged sample), which is left out.
    // repeated is set (and the frame not decoded) when its sample is byte for byte the one
    // read before: a frame the recording repeated adds nothing to a stack.
    bool Read(int32_t position, stacking::BgrView* frame, bool* repeated);

  private:
    bool ReadRaw(int32_t position, stacking::BgrView* frame, bool* repeated);
    bool ReadDecompressed(int32_t position, stacking::BgrView* frame);

    bool started_ = false;
    PAVIFILE file_ = nullptr;
    PAVISTREAM stream_ = nullptr;
    PGETFRAME decompressor_ = nullptr;
    bool decompressorTried_ = false;
    int32_t first_ = 0;
    int32_t count_ = 0;
    int32_t width_ = 0;
    int32_t height_ = 0;
    std::vector<uint8_t> format_;
    std::vector<uint8_t> sample_;
    std::vector<uint8_t> previous_;  // the sample read before, for repeats
    std::vector<uint8_t> dib_;
};

}  // namespace orvane
