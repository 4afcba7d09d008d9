#include "editor/geometry/measure_units.h"

#include <cmath>
#include <cstdio>
#include <limits>

namespace orvane::editor {

namespace {
bool UsableMagnification(double m) {
    return std::isfinite(m) && m > 0;
}
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

double ReferenceLength(double pixels, const Conversion& c) {
    return pixels * c.pixelFactor * c.scale;
}

double ShownLength(double pixels, const Conversion& c) {
    if (!UsableMagnification(c.magnification)) return kNaN;
    return ReferenceLength(pixels, c) / c.magnification * UnitFactor(c.unit);
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
