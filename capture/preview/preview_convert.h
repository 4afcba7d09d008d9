#pragma once
// Turns a camera's preview frame into the 32-bit RGB picture a GDI renderer takes, where the
// platform has no colour converter of its own. Portable: no platform header.
#include <cstddef>
#include <cstdint>

namespace orvane {

// The layout of one 32-bit B G R X picture: rows of stride bytes, bottom row first unless
// topDown.
struct BgrxPicture {
    uint8_t* bits = nullptr;
    int width = 0;
    int height = 0;
    ptrdiff_t stride = 0;  // at least width * 4
    bool topDown = false;
};

// Bytes of one YUY2 frame of this size, or 0 when the size is not a YUY2 size (width even, both
// sides 1..16384).
size_t Yuy2FrameBytes(int width, int height);

// Converts a top-down YUY2 frame of the picture's size (studio-range BT.601, as the platform's
// converters do). False, with nothing written, when the frame is shorter than its size needs or
// the picture's layout cannot hold it.
bool Yuy2ToBgrx(const uint8_t* yuy2, size_t length, const BgrxPicture& to);

// Copies top-down B G R X rows of the picture's size (stride width * 4) into the picture.
bool CopyTopDownBgrx(const uint8_t* rows, size_t length, const BgrxPicture& to);

}  // namespace orvane
