#include "results/calibration.h"

#include <cmath>

#include "editor/rules/magnification.h"

namespace orvane::results {

Conversion PictureConversion(const MediaInfoRecord& record, int32_t imageWidth, int32_t imageHeight,
                             Unit unit) {
    const editor::Magnifications m =
        editor::OpenedMagnifications(record.magnification, record.adjustedMagnification);
    return {editor::PixelFactorOf(record.deviceCode),
            editor::PictureScale(record.stillSize, imageWidth, imageHeight),
            editor::MeasureMagnification(m, false), unit};
}

Conversion LiveConversion(uint32_t deviceCode, uint32_t stillSize, int32_t liveWidth,
                          int32_t liveHeight, double captureMagnification, Unit unit) {
    return {editor::PixelFactorOf(deviceCode),
            editor::PictureScale(stillSize, liveWidth, liveHeight), captureMagnification, unit};
}

Conversion SampledConversion(const Conversion& source, double ratio) {
    Conversion c = source;
    c.scale = source.scale * ratio;
    return c;
}

double LengthPerPixel(const Conversion& c) {
    return editor::ShownLength(1.0, c);
}

std::optional<double> PixelsPerCentimetre(const Conversion& c) {
    const double millimetres = editor::ObjectMillimetres(1.0, c);
    if (!std::isfinite(millimetres) || !(millimetres > 0)) return std::nullopt;
    const double perCentimetre = 10.0 / millimetres;
    if (!std::isfinite(perCentimetre) || !(perCentimetre > 0)) return std::nullopt;
    return perCentimetre;
}

}  // namespace orvane::results
