#pragma once
// What a photo request does, by the size code in force, and the picture files the frame
// callbacks write. Portable: no platform header.
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane {

// The Photo command, by ResolutionDisplay.
enum class PhotoAction {
    kPreviewFrame,  // option 1: the next preview frame becomes the photo
    kGuardedStill,  // options 2-4: trigger the still pin unless a still is pending
    kStill,         // option 0 (and any other code): trigger the still pin
};
PhotoAction PhotoCommandAction(uint32_t resolutionDisplay);

// What the still callback does with a still sample, by the size code in force.
struct StillPath {
    enum class Kind {
        kUnused,             // not taken
        kPreviewRequest,     // ask the preview callback for its next frame
        kPreviewEveryOther,  // the same for every second still sample
        kRawSingle,          // a 2560 x 1920 raw frame in one sample
        kRawHalves,          // a 3488 x 2616 raw frame in two samples
        kPreviewSize,        // a still at preview size
    };
    Kind kind = Kind::kUnused;
    int targetWidth = 0;  // raw paths: the size the converted picture is scaled to
    int targetHeight = 0;
    bool jpeg = false;  // raw paths: saved as "Orvane.jpg" (else "Orvane.bmp")
};
StillPath StillPathOf(uint32_t sizeCode);

// The 14-byte file header and 40-byte info header of a 24-bit picture with top-down rows, as
// the callbacks write it. headerBytes is the info header's length in the file (40, or more
// when the still format carries bytes after its header), which moves the pixel offset.
struct BmpHeaders {
    std::vector<uint8_t> bytes;  // file header, then the info header padded to headerBytes
    uint32_t imageSize = 0;
};
BmpHeaders TopDownBmpHeaders(int width, int height, uint32_t imageSize, size_t headerBytes = 40);

// The headers of a 24-bit picture stored bottom-up with rows padded to four bytes, as the
// platform's BMP encoder writes them (positive height, the image size, 96 dots per inch);
// empty bytes when the picture would not fit a file of 4 GiB.
BmpHeaders BottomUpBmpHeaders(int width, int height);

// What a camera frame of this format gives a photo: 24-bit rows as they are, YUY2 converted
// into a buffer of bufferBytes, or nothing (any other depth or compression, an odd YUY2 width,
// a frame larger than the buffer). MJPG frames are taken as they are before this is asked.
enum class FrameKind { kRgb24, kYuy2, kUnsupported };
FrameKind PreviewFrameKind(uint32_t compression, uint16_t bitCount, int width, int height,
                           size_t bufferBytes);

// How long a triggered still may take to arrive before the guard against a second trigger
// lets the next photo request through (a still pin that never answered must not block every
// photo for the rest of the run).
constexpr uint64_t kStillAnswerMs = 4000;
// True when a still pending since sinceMs (tick count) is given up at nowMs.
bool StillRequestExpired(uint64_t sinceMs, uint64_t nowMs);

// Bytes of a 24-bit row of width pixels as the callbacks count it (no padding).
uint32_t PackedImageSize(int width, int height);

// Nearest-neighbour resampling of packed 24-bit rows (no padding) from a source size to a
// target size, as the still path does after a YUY2 conversion: ratio = the smaller of
// source/target per side, source row trunc(y * ratio), column trunc(x * ratio). The target is
// cleared first; pixels whose source falls outside the source stay black. False when a size
// is not positive or a buffer is too short.
bool ResampleNearest(const uint8_t* source, size_t sourceBytes, int sourceWidth, int sourceHeight,
                     uint8_t* target, size_t targetBytes, int targetWidth, int targetHeight);

}  // namespace orvane
