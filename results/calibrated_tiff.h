#pragma once
// The fields that carry a picture's calibration in a TIFF file: the resolution in pixels per
// centimetre at the object (ResolutionUnit 3), and an ImageJ-style description naming the
// same unit.
//
// ImageJ (1.53t, tried with Debian's imagej) reads a description that starts with "ImageJ="
// before the resolution fields: its "unit=" names the unit of 1 / XResolution whatever
// ResolutionUnit says, and without "unit=" the picture opens uncalibrated. So the description
// must name centimetres, as ImageJ's own files do beside centimetre resolutions; ImageJ then
// opens the picture with the pixel size in cm. (Without any description it takes the unit
// from ResolutionUnit and shows pixels under 0.01 cm in µm.)
#include <string_view>

#include "results/calibration.h"
#include "results/tiff_writer.h"

namespace orvane::results {

inline constexpr std::string_view kImageJCentimetres = "ImageJ=1.53t\nunit=cm\n";

// Resolution and description from the conversion; without a usable magnification neither
// (the picture opens uncalibrated), only the software name.
TiffFields CalibratedTiffFields(const Conversion& c, std::string_view software);

}  // namespace orvane::results
