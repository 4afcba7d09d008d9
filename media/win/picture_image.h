#pragma once
// Pictures of the strip as GDI bitmaps: loaded through GDI+, scaled with HALFTONE, saved by
// extension. Needs GDI+ started in the process.
#include <windows.h>

#include <string>

#include "media/area_scale.h"
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

// A new 24-bit DIB section of width x height with pixels area-averaged into it (or enlarged
// with the same weights' look); empty when the view is empty or the bitmap cannot be had.
PictureBitmap PictureFromPixels(const PixelView& pixels, int width, int height);

// Saves in the format the path's extension names; false when that fails.
bool SavePicture(const PictureBitmap& picture, const std::wstring& path);

// Last-write time of a file as a file-time count; 0 when it does not exist.
int64_t LastWriteTime(const std::wstring& path);

// Makes path's last-write time later than other's when it is not already (file times of
// files written within one tick of the file system's clock compare equal); false when path
// cannot be changed or either time cannot be read.
bool MakeNewerThan(const std::wstring& path, const std::wstring& other);

}  // namespace orvane
