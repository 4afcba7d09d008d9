#pragma once
// The canvas shows the working picture scaled to its own size. Each canvas pixel covers a
// footprint of picture pixels and shows their bitwise AND (the platform's default stretch
// mode), which keeps one-pixel dark lines and dotted guides visible when the picture shrinks.
// A pixel depends only on its own footprint, so any part of the canvas can be brought up to
// date alone and still match a full scaling exactly.
#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvane::editor {

struct Pixels24 {
    uint8_t* bits = nullptr;  // row 0, the top row
    int32_t width = 0;
    int32_t height = 0;
    ptrdiff_t stride = 0;  // bytes from a row to the one below it (negative: bottom-up storage)
};

// Along one axis: the source pixels [start[t], end[t]) under target pixel t (at least one).
struct Footprints {
    std::vector<int32_t> start;
    std::vector<int32_t> end;
};
Footprints FootprintsOf(int32_t source, int32_t target);

// The target pixels [first, end) whose footprints reach into the source pixels [from, to).
struct IndexRange {
    int32_t first = 0;
    int32_t end = 0;
};
IndexRange TargetsOf(const Footprints& axis, int32_t from, int32_t to);

// Fills target pixels [x0, x1) x [y0, y1) from source (the footprints' sizes are the target's;
// the rectangle is clipped to them).
void ScaleToCanvas(const Pixels24& source, const Pixels24& target, const Footprints& columns,
                   const Footprints& rows, int32_t x0, int32_t y0, int32_t x1, int32_t y1);

}  // namespace orvane::editor
