#pragma once
// Video thumbnails: the frame choice of a clip, the thumbnail file layout, and the rebuild of
// the video thumbnail list. The AVI library is reached through AviLibrary.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/media_files.h"

namespace orvane {

struct AviFileInfo {
    int32_t width = 0;
    int32_t height = 0;
    uint32_t suggestedBufferSize = 0;
};

// One opened clip and its first video stream.
class AviClip {
  public:
    virtual ~AviClip() = default;
    virtual AviFileInfo Info() = 0;
    virtual bool HasVideoStream() = 0;
    // Up to capacity bytes of the stream format at a position; the count read, 0 on error (the
    // buffer is then left as it was).
    virtual size_t ReadFormat(int32_t position, uint8_t* format, size_t capacity) = 0;
    // The raw sample at a position into the buffer; the byte count, 0 on error. The buffer is
    // left as it was when the read fails.
    virtual size_t ReadSample(int32_t position, uint8_t* buffer, size_t capacity) = 0;
    // The platform decompressor's frame at a position in the requested 40-byte format, as a
    // packed bitmap (info header and pixels); false when refused.
    virtual bool DecodeFrame(int32_t position, const uint8_t* requestedFormat,
                             std::vector<uint8_t>& packedDib) = 0;
};

class AviLibrary {
  public:
    virtual ~AviLibrary() = default;
    virtual void Begin() = 0;  // once before a rebuild of the thumbnail list
    virtual void End() = 0;    // once after it
    virtual std::unique_ptr<AviClip> Open(const std::u16string& path) = 0;
};

// The marker put at the start of the sample buffer before reading: the first sample that
// overwrites it is the one shown.
constexpr uint8_t kFrameMarker[4] = {0x00, 0xFF, 0x00, 0xFF};
constexpr int32_t kLastProbedFrame = 89;
constexpr int32_t kFallbackFrame = 90;

enum class ThumbnailOutcome {
    Made,      // bytes hold a thumbnail (or nothing, when no frame could be decoded)
    NoBuffer,  // the clip suggests no buffer size: no thumbnail is listed
};

// The thumbnail file of an opened clip: the 14-byte header ("BM", size field 54, offset 54)
// followed by the 40-byte info header and the rows of the decoded frame. bytes stays empty
// when no frame can be decoded.
ThumbnailOutcome MakeVideoThumbnail(AviClip& clip, std::vector<uint8_t>& bytes);

// Builds the thumbnail file from a decoded packed 24-bit bitmap; false when it is not one.
bool ComposeThumbnailFile(const std::vector<uint8_t>& packedDib, std::vector<uint8_t>& bytes);

// Rebuilds the video thumbnail list for the clips in order: existing thumbnails are listed as
// they are; missing ones are made (an empty file first) and listed, except when the file
// cannot be created, the clip does not open or it suggests no buffer.
void BuildVideoThumbnails(const std::vector<std::u16string>& videos,
                          const std::u16string& thumbFolder, MediaFiles& files, AviLibrary& avi,
                          std::vector<std::u16string>& thumbnails);

}  // namespace orvane
