#pragma once
// The fields that carry a picture's calibration in a TIFF file: the resolution in pixels per
// centimetre at the object, and an ImageJ-style description naming the unit.
//
// ImageJ (1.53, tried with Debian's imagej) takes the pixel size from XResolution and
// ResolutionUnit: with centimetres it reports the size in cm, or in µm for pixels under
// 0.01 cm; it reads "unit=" of the description only for files without a resolution unit
// (the form it writes itself for mm, micron and mil). A file without resolution fields opens
// uncalibrated ("pixels").
#include <string>
#include <string_view>

#include "results/calibration.h"
#include "results/tiff_writer.h"

namespace orvane::results {

// The unit as ImageJ's descriptions spell it: "mm", "micron", "mil", "inch".
std::string_view ImageJUnit(Unit unit);

// "ImageJ=1.53t\nunit=<unit>\n".
std::string ImageJDescription(Unit unit);

// Resolution and description from the conversion; without a usable magnification neither
// (the picture opens uncalibrated), only the software name.
TiffFields CalibratedTiffFields(const Conversion& c, std::string_view software);

}  // namespace orvane::results
