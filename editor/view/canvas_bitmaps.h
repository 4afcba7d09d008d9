#pragma once
// The canvas's 24-bit picture copies: new top-down DIB sections and full-picture copies.
#include <windows.h>

#include <cstdint>

namespace orvane::canvas {

// The largest picture the canvas takes: 16384 pixels a side and 512 MiB of pixels.
constexpr int64_t kMaxSide = 16384;
constexpr int64_t kMaxPixelBytes = 512ll << 20;

int64_t Stride24(int32_t width);
// A top-down 24-bit DIB section; bits receives its memory when not null.
HBITMAP NewDib(int32_t width, int32_t height, void** bits);
// Copies the whole of source (not selected anywhere) into target at the origin.
void CopyPicture(HDC target, HBITMAP source, int32_t width, int32_t height);

}  // namespace orvane::canvas
