#pragma once
// The image encoders GDI+ offers, found by file type.
#include <windows.h>

namespace orvane {

// The encoder GDI+ has for a file-name pattern such as L"*.JPG" or L"*.BMP"; false when none.
// Needs GDI+ started in the process.
bool ImageEncoderFor(const wchar_t* pattern, CLSID* clsid);

// The encoder for the extension of path (".BMP", ".JPG", ...), any case; false when none.
bool ImageEncoderForPath(const wchar_t* path, CLSID* clsid);

}  // namespace orvane
