#include "editor/geometry/pen_scaling.h"

#include <algorithm>
#include <cmath>

#include "editor/geometry/plane.h"

namespace orvane::editor {

float CanvasScale(int32_t imageWidth, int32_t imageHeight, int32_t canvasWidth,
                  int32_t canvasHeight) {
    if (canvasWidth <= 0 || canvasHeight <= 0) return 1.0f;
    const float rx = static_cast<float>(imageWidth) / static_cast<float>(canvasWidth);
    const float ry = static_cast<float>(imageHeight) / static_cast<float>(canvasHeight);
    return (rx + ry) / 2;
}

int32_t ScaledPenWidth(int32_t chosenWidth, float scale) {
    const float product = 2.0f * static_cast<float>(chosenWidth) * scale;
    const int32_t w = TruncToInt32(static_cast<double>(product) + 0.5);
    return std::clamp(w, 1, kMaxPenWidth);
}

int32_t ScaledFontHeight(int32_t height, float scale) {
    const float product = static_cast<float>(height) * scale;
    const double magnitude = std::fabs(static_cast<double>(product)) + 0.5;
    return product < 0 ? -TruncToInt32(magnitude) : TruncToInt32(magnitude);
}

DashPattern DashPatternOf(int32_t style, int32_t penWidth) {
    const uint32_t w = static_cast<uint32_t>(std::clamp(penWidth, 1, kMaxPenWidth));
    switch (style) {
        case 1:
            return {{6 * w, 3 * w}, 2};
        case 2:
            return {{2 * w, 3 * w}, 2};
        case 3:
            return {{6 * w, 3 * w, 2 * w, 3 * w}, 4};
        case 4:
            return {{6 * w, 3 * w, 2 * w, 3 * w, 2 * w, 3 * w}, 6};
        default:
            return {{6 * w, 0}, 2};
    }
}

}  // namespace orvane::editor
