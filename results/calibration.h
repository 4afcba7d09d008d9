#pragma once
// The calibration of a picture: how many millimetres at the object one of its pixels covers,
// for a picture opened from its side file, for the live picture, and for a copy sampled to
// another size. Every length here goes through the editor's conversion
// (editor::ObjectMillimetres), so a scale bar, a table row or a saved TIFF agrees with the
// editor's labels of the same picture.
#include <cstdint>
#include <optional>

#include "editor/geometry/measure_units.h"
#include "media/media_info.h"

namespace orvane::results {

using editor::Conversion;
using editor::Unit;

// A picture opened from its record, as the editor opens it: the camera's pixel factor, the
// recorded still size over the picture's own size, and the magnification a new measurement
// divides by (the calibrated one when above 1, else the recorded one).
Conversion PictureConversion(const MediaInfoRecord& record, int32_t imageWidth, int32_t imageHeight,
                             Unit unit);

// The live picture: the current camera's pixel factor, its still size over the live picture's
// size, and the capture magnification. A photo taken now records the same three numbers, so
// the editor gives it the same length per pixel when it has the live picture's size.
Conversion LiveConversion(uint32_t deviceCode, uint32_t stillSize, int32_t liveWidth,
                          int32_t liveHeight, double captureMagnification, Unit unit);

// A copy whose pixel (x, y) is the source pixel (trunc(x * ratio), trunc(y * ratio)): each of
// its pixels covers ratio source pixels.
Conversion SampledConversion(const Conversion& source, double ratio);

// Length of one picture pixel in the conversion's unit; NaN without a usable magnification.
double LengthPerPixel(const Conversion& c);

// Picture pixels per centimetre at the object, for resolution fields of picture files; empty
// without a usable magnification or for a degenerate (zero, infinite) result.
std::optional<double> PixelsPerCentimetre(const Conversion& c);

}  // namespace orvane::results
