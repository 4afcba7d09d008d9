#include "editor/geometry/line_rules.h"

#include <cstdlib>

namespace orvane::editor {

Point LockedEndPoint(Point start, Point end, int32_t angleMode) {
    start = ClampToLimit(start);
    end = ClampToLimit(end);
    const int64_t dx = static_cast<int64_t>(end.x) - start.x;
    const int64_t dy = static_cast<int64_t>(end.y) - start.y;
    const bool wide = std::llabs(dx) > std::llabs(dy);
    if (angleMode == 90) {
        if (wide) return {end.x, start.y};
        return {start.x, end.y};
    }
    if (angleMode == 45) {
        if (wide) {
            const int64_t step = dx < 0 ? -std::llabs(dy) : std::llabs(dy);
            return {static_cast<int32_t>(start.x + step), end.y};
        }
        const int64_t step = dy < 0 ? -std::llabs(dx) : std::llabs(dx);
        return {end.x, static_cast<int32_t>(start.y + step)};
    }
    return end;
}

}  // namespace orvane::editor
