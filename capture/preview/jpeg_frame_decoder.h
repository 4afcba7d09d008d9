#pragma once
// Decodes MJPG preview frames (each a whole JPEG picture) into 32-bit RGB through the
// platform's image codecs. One decoder serves one streaming thread: what does not depend on
// the frame (the imaging factory and the JPEG decoder's class object) is made once, so a frame
// costs no codec look-up or component enumeration. A codec decoder takes only one stream in its
// life, so each frame still has a decoder instance of its own, made from that class object.
#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <vector>

#include "capture/preview/preview_convert.h"
#include "platform/com_ptr.h"

namespace orvane {

class JpegFrameDecoder {
  public:
    // Made on the thread that decodes with it.
    JpegFrameDecoder();
    JpegFrameDecoder(const JpegFrameDecoder&) = delete;
    JpegFrameDecoder& operator=(const JpegFrameDecoder&) = delete;

    // False when the platform's codecs could not be reached.
    bool Ready() const { return factory_ && jpeg_; }
    // The thread it was made on.
    DWORD Thread() const { return thread_; }

    // Decodes one frame of the picture's size into it; false, with the picture unusable, for
    // anything that is not a JPEG picture of that size.
    bool Decode(const uint8_t* data, size_t length, const BgrxPicture& to);

  private:
    DWORD thread_;
    ComPtr<IWICImagingFactory> factory_;
    ComPtr<IClassFactory> jpeg_;
    std::vector<uint8_t> decoded_;  // one decoded frame, top-down, when the picture is not
};

}  // namespace orvane
