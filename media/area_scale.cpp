#include "media/area_scale.h"

#include <algorithm>
#include <vector>

namespace orvane {
namespace {

// Source cells of one target index along an axis, with weights in 1/256 of a source pixel
// summing to 256 * (source / target) for every target index.
struct Span {
    int first = 0;
    std::vector<uint32_t> weights;
};

std::vector<Span> Spans(int source, int target) {
    std::vector<Span> spans(static_cast<size_t>(target));
    // Positions in units of 1 / (target * 256) of the source axis, exact in 64 bits.
    const int64_t scale = int64_t{target} * 256;
    for (int t = 0; t < target; ++t) {
        const int64_t from = int64_t{t} * source * 256;  // start, in source * scale units
        const int64_t to = int64_t{t + 1} * source * 256;
        const int first = static_cast<int>(from / scale);
        int last = static_cast<int>((to - 1) / scale);
        if (last >= source) last = source - 1;
        Span& span = spans[static_cast<size_t>(t)];
        span.first = first;
        for (int s = first; s <= last; ++s) {
            const int64_t lo = std::max<int64_t>(from, int64_t{s} * scale);
            const int64_t hi = std::min<int64_t>(to, int64_t{s + 1} * scale);
            span.weights.push_back(static_cast<uint32_t>((hi - lo) / target));
        }
    }
    return spans;
}

}  // namespace

bool AreaScale(const PixelView& source, const PixelTarget& target) {
    if (!source.bits || !target.bits || source.width < 1 || source.height < 1 || target.width < 1 ||
        target.height < 1) {
        return false;
    }
    if ((source.bytesPerPixel != 3 && source.bytesPerPixel != 4) ||
        (target.bytesPerPixel != 3 && target.bytesPerPixel != 4)) {
        return false;
    }
    const std::vector<Span> columns = Spans(source.width, target.width);
    const std::vector<Span> rows = Spans(source.height, target.height);
    std::vector<uint64_t> sums(static_cast<size_t>(target.width) * 3);
    for (int ty = 0; ty < target.height; ++ty) {
        const Span& rowSpan = rows[static_cast<size_t>(ty)];
        std::fill(sums.begin(), sums.end(), uint64_t{0});
        uint64_t rowWeight = 0;
        for (size_t r = 0; r < rowSpan.weights.size(); ++r) {
            const uint32_t wy = rowSpan.weights[r];
            rowWeight += wy;
            const uint8_t* line =
                source.bits + (rowSpan.first + static_cast<ptrdiff_t>(r)) * source.stride;
            for (int tx = 0; tx < target.width; ++tx) {
                const Span& colSpan = columns[static_cast<size_t>(tx)];
                uint64_t b = 0, g = 0, rr = 0;
                const uint8_t* p =
                    line + static_cast<ptrdiff_t>(colSpan.first) * source.bytesPerPixel;
                for (uint32_t wx : colSpan.weights) {
                    b += p[0] * wx;
                    g += p[1] * wx;
                    rr += p[2] * wx;
                    p += source.bytesPerPixel;
                }
                uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
                sum[0] += (b * wy) >> 8;
                sum[1] += (g * wy) >> 8;
                sum[2] += (rr * wy) >> 8;
            }
        }
        uint8_t* out = target.bits + static_cast<ptrdiff_t>(ty) * target.stride;
        for (int tx = 0; tx < target.width; ++tx) {
            uint64_t colWeight = 0;
            for (uint32_t wx : columns[static_cast<size_t>(tx)].weights) colWeight += wx;
            const uint64_t total = (colWeight * rowWeight) >> 8;
            const uint64_t* sum = &sums[static_cast<size_t>(tx) * 3];
            for (int c = 0; c < 3; ++c) {
                const uint64_t v = total ? (sum[c] + total / 2) / total : 0;
                out[c] = static_cast<uint8_t>(v > 255 ? 255 : v);
            }
            if (target.bytesPerPixel == 4) out[3] = 0;
            out += target.bytesPerPixel;
        }
    }
    return true;
}

}  // namespace orvane
