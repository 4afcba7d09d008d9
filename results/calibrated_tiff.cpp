#include "results/calibrated_tiff.h"

namespace orvane::results {

TiffFields CalibratedTiffFields(const Conversion& c, std::string_view software) {
    TiffFields fields;
    fields.software = std::string(software);
    fields.pixelsPerCentimetre = PixelsPerCentimetre(c);
    if (fields.pixelsPerCentimetre) fields.description = std::string(kImageJCentimetres);
    return fields;
}

}  // namespace orvane::results
