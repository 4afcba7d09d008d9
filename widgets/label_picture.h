#pragma once
// A label drawn as a picture: a bitmap resource with a text written right-aligned over it, the
// way the windows show their magnification captions.
#include <windows.h>

#include <string>

namespace orvane {

// The bitmap `bitmapId` with text in "Microsoft Sans Serif" as tall as box, right-aligned in
// box; null when the bitmap cannot be loaded. The caller owns the result.
HBITMAP LabelPicture(HINSTANCE instance, UINT bitmapId, const RECT& box, const std::wstring& text,
                     BYTE pitchAndFamily);

}  // namespace orvane
