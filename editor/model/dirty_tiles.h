#pragma once
// Which square tiles of a picture a drawing touched: the canvas restores and shows again only
// those, so that an object crossing the whole picture as thin lines costs what its lines
// cover rather than the box around them.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "editor/geometry/plane.h"

namespace orvane::editor {

class DirtyTiles {
  public:
    static constexpr int32_t kTile = 64;

    // A grid of tile x tile squares over a width x height picture, every tile clean.
    void Reset(int32_t width, int32_t height, int32_t tile = kTile);
    int32_t Tile() const { return tile_; }
    void Clear();
    bool Empty() const { return marked_ == 0; }
    // Marks the tiles the box [left, right) x [top, bottom) reaches, clipped to the picture.
    void MarkBox(const Box& box);
    // Marks every tile within reach of the segment a-b drawn with pixels up to `reach` away
    // from it (half the pen width and the rasteriser's rounding).
    void MarkSegment(Point a, Point b, int32_t reach);
    void Add(const DirtyTiles& other);
    // The marked tiles as boxes in picture pixels, runs of one row of tiles merged, clipped to
    // the picture; f(const Box&) is called for each.
    template <typename F>
    void ForEachRun(F&& f) const {
        for (int32_t row = 0; row < rows_; ++row) {
            int32_t column = 0;
            while (column < columns_) {
                if (!At(column, row)) {
                    ++column;
                    continue;
                }
                const int32_t first = column;
                while (column < columns_ && At(column, row)) ++column;
                f(TileBox(first, row, column));
            }
        }
    }

  private:
    bool At(int32_t column, int32_t row) const {
        return tiles_[static_cast<size_t>(row) * columns_ + column] != 0;
    }
    Box TileBox(int32_t firstColumn, int32_t row, int32_t endColumn) const;

    int32_t tile_ = kTile;
    int32_t width_ = 0;
    int32_t height_ = 0;
    int32_t columns_ = 0;
    int32_t rows_ = 0;
    int32_t marked_ = 0;
    std::vector<uint8_t> tiles_;
};

}  // namespace orvane::editor
