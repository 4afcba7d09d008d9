#include "editor/rules/canvas_scale.h"

#include <algorithm>
#include <cstring>

namespace orvane::editor {

Footprints FootprintsOf(int32_t source, int32_t target) {
    Footprints f;
    if (source < 1 || target < 1) return f;
    f.start.resize(static_cast<size_t>(target));
    f.end.resize(static_cast<size_t>(target));
    for (int32_t t = 0; t < target; ++t) {
        const auto first = static_cast<int32_t>(int64_t{t} * source / target);
        const auto last = static_cast<int32_t>(int64_t{t + 1} * source / target);
        f.start[static_cast<size_t>(t)] = first;
        f.end[static_cast<size_t>(t)] = std::max(last, first + 1);
    }
    return f;
}

IndexRange TargetsOf(const Footprints& axis, int32_t from, int32_t to) {
    // Both bounds ascend with t: the first footprint ending after `from`, the first starting at
    // or after `to`.
    const auto first = std::upper_bound(axis.end.begin(), axis.end.end(), from);
    const auto last = std::lower_bound(axis.start.begin(), axis.start.end(), to);
    IndexRange r{static_cast<int32_t>(first - axis.end.begin()),
                 static_cast<int32_t>(last - axis.start.begin())};
    if (r.end < r.first) r.end = r.first;
    return r;
}

void ScaleToCanvas(const Pixels24& source, const Pixels24& target, const Footprints& columns,
                   const Footprints& rows, int32_t x0, int32_t y0, int32_t x1, int32_t y1) {
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min({x1, target.width, static_cast<int32_t>(columns.start.size())});
    y1 = std::min({y1, target.height, static_cast<int32_t>(rows.start.size())});
    if (!source.bits || !target.bits || x0 >= x1 || y0 >= y1) return;
    if (source.width == target.width && source.height == target.height) {
        const size_t span = static_cast<size_t>(x1 - x0) * 3;
        for (int32_t y = y0; y < y1; ++y) {
            std::memcpy(target.bits + y * target.stride + static_cast<ptrdiff_t>(x0) * 3,
                        source.bits + y * source.stride + static_cast<ptrdiff_t>(x0) * 3, span);
        }
        return;
    }
    // AND is separable: first down the rows of a canvas row's footprint over the source bytes
    // it spans (a plain byte loop the compiler vectorises), then across each pixel's columns.
    const int32_t c0 = columns.start[static_cast<size_t>(x0)];
    const int32_t c1 = columns.end[static_cast<size_t>(x1 - 1)];
    const size_t bytes = static_cast<size_t>(c1 - c0) * 3;
    thread_local std::vector<uint8_t> down;
    if (down.size() < bytes) down.resize(bytes);
    uint8_t* acc = down.data();
    for (int32_t y = y0; y < y1; ++y) {
        const int32_t r0 = rows.start[static_cast<size_t>(y)],
                      r1 = rows.end[static_cast<size_t>(y)];
        std::memcpy(acc, source.bits + r0 * source.stride + static_cast<ptrdiff_t>(c0) * 3, bytes);
        for (int32_t r = r0 + 1; r < r1; ++r) {
            const uint8_t* line = source.bits + r * source.stride + static_cast<ptrdiff_t>(c0) * 3;
            for (size_t i = 0; i < bytes; ++i) acc[i] &= line[i];
        }
        uint8_t* out = target.bits + y * target.stride + static_cast<ptrdiff_t>(x0) * 3;
        for (int32_t x = x0; x < x1; ++x, out += 3) {
            const uint8_t* p =
                acc + static_cast<size_t>(columns.start[static_cast<size_t>(x)] - c0) * 3;
            const uint8_t* stop =
                acc + static_cast<size_t>(columns.end[static_cast<size_t>(x)] - c0) * 3;
            uint8_t b = p[0], g = p[1], rr = p[2];
            for (p += 3; p < stop; p += 3) {
                b &= p[0];
                g &= p[1];
                rr &= p[2];
            }
            out[0] = b;
            out[1] = g;
            out[2] = rr;
        }
    }
}

}  // namespace orvane::editor
