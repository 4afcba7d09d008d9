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

// A magnification that converts: finite and above 0.
bool UsableMagnification(double magnification);

// A pixel distance in millimetres at the object: d * pixelFactor * scale / magnification.
// Without a usable magnification there is no conversion: the result is NaN (written as
// kNoValue) instead of dividing by zero. Every length the program shows or writes, in the
// editor's labels and elsewhere, comes from here.
double ObjectMillimetres(double pixels, const Conversion& c);
// Millimetres in the unit: mm * factor.
double FromMillimetres(double millimetres, Unit unit);
// A pixel distance in the chosen unit: FromMillimetres(ObjectMillimetres(d)).
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
