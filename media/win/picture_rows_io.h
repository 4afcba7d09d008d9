#pragma once
// Pictures as packed rows, straight from and to their files: decoded once into rows (no further
// copy of the picture), written as BMP row by row or encoded as JPEG from the rows themselves.
// Needs GDI+ started in the process.
#include <windows.h>

#include <optional>
#include <string>

#include "media/stamp/pixel_rows.h"

namespace orvane {

// The picture of a file as top-down rows; none when it cannot be read or decoded, or is larger
// than the program handles.
std::optional<PixelRows> DecodePictureRows(const std::wstring& path);

// Writes the rows as a 24-bit BMP, or as JPEG when jpeg is set. The rows' storage is borrowed
// for the encoder and given back unchanged. False when the file cannot be written in full.
bool WritePictureRows(const std::wstring& path, PixelRows& picture, bool jpeg);

}  // namespace orvane
