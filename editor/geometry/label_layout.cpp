#include "editor/geometry/label_layout.h"

#include <cmath>
#include <cstdlib>

namespace orvane::editor {

Point LabelLine(Point anchor, int32_t fontHeight, int k) {
    return {anchor.x, SaturateToInt32(anchor.y - static_cast<int64_t>(k) * fontHeight)};
}

Point DegreeMarkPosition(Point at, size_t textLength, int32_t fontHeight) {
    const double dx = std::fabs(static_cast<double>(textLength) * 1.05 * fontHeight * 0.5);
    const int64_t rise = std::llabs(static_cast<int64_t>(fontHeight) / 2);
    return {TruncToInt32(at.x + dx), SaturateToInt32(at.y - rise)};
}

}  // namespace orvane::editor
