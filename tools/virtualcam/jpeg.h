// JPEG frames for the MJPG format, encoded with the platform's imaging codecs.
#pragma once

#include <windows.h>
#include <wincodec.h>

#include <cstdint>
#include <vector>

namespace vcam {

// One per streaming thread (the thread must have entered COM).
class JpegEncoder {
public:
    JpegEncoder() = default;
    JpegEncoder(const JpegEncoder&) = delete;
    JpegEncoder& operator=(const JpegEncoder&) = delete;
    ~JpegEncoder();

    // Encodes a YUY2 frame; returns the JPEG's length in out, or 0 when it does not fit or fails.
    long Encode(const uint8_t* yuy2, int width, int height, uint8_t* out, long capacity);
    // Lets go of the codec factory (before the thread leaves COM).
    void Reset();

private:
    IWICImagingFactory* factory_ = nullptr;
    std::vector<uint8_t> bgr_;
};

}  // namespace vcam
