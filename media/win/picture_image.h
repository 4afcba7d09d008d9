#pragma once
// Pictures of the strip as GDI bitmaps: loaded through GDI+, scaled with HALFTONE, saved by
// extension. Needs GDI+ started in the process.
#include <windows.h>

#include <string>

#include "platform/handles.h"

namespace orvane {

struct PictureBitmap {
    UniqueBitmap bitmap;  // a 24- or 32-bit DIB section, top-down
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;  // of the file: 24 unless it holds an alpha channel
};

// The whole picture file; an empty result when it cannot be decoded.
PictureBitmap LoadPicture(const std::wstring& path);

// A new DIB section of width x height and the given depth (24 or 32) with source stretched into
// it, by HALFTONE when smooth; aspect ratio not kept.
PictureBitmap ScalePicture(const PictureBitmap& source, int width, int height, int bitsPerPixel,
                           bool smooth = true);

// Saves in the format the path's extension names; false when that fails.
bool SavePicture(const PictureBitmap& picture, const std::wstring& path);

// Last-write time of a file as a file-time count; 0 when it does not exist.
int64_t LastWriteTime(const std::wstring& path);

}  // namespace orvane
