#include "editor/geometry/measure_units.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace orvane::editor {

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
}  // namespace

double UnitFactor(Unit unit) {
    switch (unit) {
        case Unit::kMicrometre:
            return 1000.0;
        case Unit::kMil:
            return 39.37007874015748;
        case Unit::kInch:
            return 0.03937007874015748;
        default:
            return 1.0;
    }
}

const char* UnitText(Unit unit) {
    switch (unit) {
        case Unit::kMicrometre:
            return "um";
        case Unit::kMil:
            return "mil";
        case Unit::kInch:
            return "inch";
        default:
            return "mm";
    }
}

bool UsableMagnification(double magnification) {
    return std::isfinite(magnification) && magnification > 0;
}

double ReferenceLength(double pixels, const Conversion& c) {
    return pixels * c.pixelFactor * c.scale;
}

double ObjectMillimetres(double pixels, const Conversion& c) {
    if (!UsableMagnification(c.magnification)) return kNaN;
    return ReferenceLength(pixels, c) / c.magnification;
}

double FromMillimetres(double millimetres, Unit unit) {
    return millimetres * UnitFactor(unit);
}

double ShownLength(double pixels, const Conversion& c) {
    return FromMillimetres(ObjectMillimetres(pixels, c), c.unit);
}

double LengthFactor(const Conversion& c) {
    if (!UsableMagnification(c.magnification)) return kNaN;
    return c.pixelFactor / c.magnification * UnitFactor(c.unit) * c.scale;
}

double ShownTotal(double pixelFactorSum, const Conversion& c) {
    if (!UsableMagnification(c.magnification)) return kNaN;
    return pixelFactorSum / c.magnification * UnitFactor(c.unit) * c.scale;
}

std::string FormatValue(double v) {
    if (!std::isfinite(v)) return kNoValue;
    // The longest finite double written with three decimals needs 309 + 5 characters.
    char buffer[330];
    std::snprintf(buffer, sizeof buffer, "%.3f", v);
    return buffer;
}

std::string UnitLabel(const char* prefix, double v, Unit unit, const char* suffix) {
    return std::string(prefix) + FormatValue(v) + " " + UnitText(unit) + suffix;
}

}  // namespace orvane::editor
