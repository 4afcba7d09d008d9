#pragma once
// Picture pixels to real lengths and areas in the chosen unit, and how the numbers are written.
#include <cstdint>
#include <string>

namespace orvane::editor {

enum class Unit : int32_t { kMillimetre = 0, kMicrometre = 1, kMil = 2, kInch = 3 };

// Factor from millimetres and the text written after a value ("um" for micrometres). A unit
// outside 0..3 (a damaged setting) is taken as millimetres.
double UnitFactor(Unit unit);
const char* UnitText(Unit unit);

struct Conversion {
    double pixelFactor = 0.355;  // millimetres per reference pixel at magnification 1
    double scale = 1.0;          // picture pixels to reference pixels
    double magnification = 1.0;
    Unit unit = Unit::kMillimetre;
};

// A pixel distance in the chosen unit: d * pixelFactor * scale / magnification * factor.
// Without a usable magnification (0, negative or not finite) there is no conversion: the
// result is NaN and is written as kNoValue instead of dividing by zero.
double ShownLength(double pixels, const Conversion& c);
// d * pixelFactor * scale: millimetres at magnification 1.
double ReferenceLength(double pixels, const Conversion& c);
// The factor applied to one pixel length, pixelFactor / magnification * factor * scale (NaN
// without a usable magnification); areas take its square.
double LengthFactor(const Conversion& c);
// A sum of d * pixelFactor converted: sum / magnification * factor * scale.
double ShownTotal(double pixelFactorSum, const Conversion& c);

inline constexpr const char* kNoValue = "---";

// "%.3f", or kNoValue for an infinite or undefined value.
std::string FormatValue(double v);
// "<prefix><value> <unit><suffix>", e.g. "R=1.250 mm" or "A=3.142 mm^2".
std::string UnitLabel(const char* prefix, double v, Unit unit, const char* suffix = "");

}  // namespace orvane::editor
