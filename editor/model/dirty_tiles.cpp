#include "editor/model/dirty_tiles.h"

#include <algorithm>
#include <cmath>

namespace orvane::editor {

void DirtyTiles::Reset(int32_t width, int32_t height, int32_t tile) {
    tile_ = std::max<int32_t>(4, tile);
    width_ = std::max<int32_t>(0, width);
    height_ = std::max<int32_t>(0, height);
    columns_ = (width_ + tile_ - 1) / tile_;
    rows_ = (height_ + tile_ - 1) / tile_;
    tiles_.assign(static_cast<size_t>(columns_) * rows_, 0);
    marked_ = 0;
}

void DirtyTiles::Clear() {
    if (marked_ == 0) return;
    std::fill(tiles_.begin(), tiles_.end(), uint8_t{0});
    marked_ = 0;
}

void DirtyTiles::MarkBox(const Box& box) {
    const int64_t left = std::max<int64_t>(0, box.left);
    const int64_t top = std::max<int64_t>(0, box.top);
    const int64_t right = std::min<int64_t>(width_, box.right);
    const int64_t bottom = std::min<int64_t>(height_, box.bottom);
    if (left >= right || top >= bottom) return;
    for (int64_t row = top / tile_; row <= (bottom - 1) / tile_; ++row) {
        for (int64_t column = left / tile_; column <= (right - 1) / tile_; ++column) {
            uint8_t& tile = tiles_[static_cast<size_t>(row * columns_ + column)];
            marked_ += tile == 0;
            tile = 1;
        }
    }
}

void DirtyTiles::MarkSegment(Point a, Point b, int32_t reach) {
    if (tiles_.empty()) return;
    // Only the part of the segment within reach of the picture matters: clip it to the picture
    // grown by the reach (parametric clipping), so that far-off ends cost nothing.
    const double r = std::max<int32_t>(0, reach);
    const double x0 = a.x, y0 = a.y, dx = static_cast<double>(b.x) - a.x,
                 dy = static_cast<double>(b.y) - a.y;
    double t0 = 0.0, t1 = 1.0;
    const auto clip = [&](double p, double q) {  // keeps t with p * t <= q
        if (p == 0.0) return q >= 0.0;
        const double t = q / p;
        if (p < 0.0) {
            if (t > t1) return false;
            t0 = std::max(t0, t);
        } else {
            if (t < t0) return false;
            t1 = std::min(t1, t);
        }
        return true;
    };
    if (!clip(-dx, x0 + r) || !clip(dx, width_ + r - x0) || !clip(-dy, y0 + r) ||
        !clip(dy, height_ + r - y0) || t0 > t1) {
        return;
    }
    // Points every quarter tile along what is left, each with the reach plus a quarter tile
    // around it: every pixel within reach of the segment lies in one of those boxes.
    const double length = std::sqrt(dx * dx + dy * dy) * (t1 - t0);
    const int64_t steps = static_cast<int64_t>(length / (tile_ / 4)) + 1;
    const int32_t around = static_cast<int32_t>(r) + tile_ / 4 + 2;
    for (int64_t i = 0; i <= steps; ++i) {
        const double t = t0 + (t1 - t0) * static_cast<double>(i) / static_cast<double>(steps);
        const auto x = static_cast<int32_t>(std::lround(x0 + dx * t));
        const auto y = static_cast<int32_t>(std::lround(y0 + dy * t));
        MarkBox(Box{x - around, y - around, x + around + 1, y + around + 1});
    }
}

void DirtyTiles::Add(const DirtyTiles& other) {
    if (other.tiles_.size() != tiles_.size() || other.tile_ != tile_) return;
    for (size_t i = 0; i < tiles_.size(); ++i) {
        if (other.tiles_[i] != 0 && tiles_[i] == 0) {
            tiles_[i] = 1;
            ++marked_;
        }
    }
}

Box DirtyTiles::TileBox(int32_t firstColumn, int32_t row, int32_t endColumn) const {
    return Box{firstColumn * tile_, row * tile_, std::min(width_, endColumn * tile_),
               std::min(height_, (row + 1) * tile_)};
}

}  // namespace orvane::editor
