// The camera's media types: the VIDEOINFOHEADER type of a format and the pins' enumerator of
// their formats.
#pragma once

#include <windows.h>
#include <dshow.h>

#include <vector>

#include "tools/virtualcam/filter.h"

namespace vcam {

// YUY2 and MJPG are FOURCC-based subtypes.
constexpr DWORD kFourccYuy2 = MAKEFOURCC('Y', 'U', 'Y', '2');
constexpr DWORD kFourccMjpg = MAKEFOURCC('M', 'J', 'P', 'G');

// The raw stills: one 2560 x 1920 mosaic, or a 3488 x 2616 one in two halves.
constexpr int kRawSingleWidth = 2560, kRawSingleHeight = 1920;
constexpr int kRawHalvesWidth = 3488, kRawHalvesHeight = 2616;

void FreeMediaType(AM_MEDIA_TYPE& mt);
DWORD FourccOf(const GUID& subtype);
// Fills mt (whose old contents are not freed) with the VIDEOINFOHEADER type of a format.
HRESULT MakeMediaType(const Format& f, AM_MEDIA_TYPE* mt);
// A type from CoTaskMemAlloc, or null when memory runs out.
AM_MEDIA_TYPE* NewMediaType(const Format& f);
// An enumerator of the formats that holds a reference on owner.
IEnumMediaTypes* NewMediaTypeEnum(IUnknown* owner, std::vector<Format> formats);

}  // namespace vcam
