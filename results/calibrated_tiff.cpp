#include "results/calibrated_tiff.h"

namespace orvane::results {

std::string_view ImageJUnit(Unit unit) {
    switch (unit) {
        case Unit::kMicrometre:
            return "micron";
        case Unit::kMil:
            return "mil";
        case Unit::kInch:
            return "inch";
        default:
            return "mm";
    }
}

std::string ImageJDescription(Unit unit) {
    std::string text = "ImageJ=1.53t\nunit=";
    text += ImageJUnit(unit);
    text += '\n';
    return text;
}

TiffFields CalibratedTiffFields(const Conversion& c, std::string_view software) {
    TiffFields fields;
    fields.software = std::string(software);
    fields.pixelsPerCentimetre = PixelsPerCentimetre(c);
    if (fields.pixelsPerCentimetre) fields.description = ImageJDescription(c.unit);
    return fields;
}

}  // namespace orvane::results
