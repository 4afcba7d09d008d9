#include <gtest/gtest.h>

#include <vector>

#include "editor/rules/canvas_scale.h"

namespace orvane::editor {
namespace {

TEST(CanvasScale, EachCanvasPixelCoversItsFootprint) {
    const Footprints shrink = FootprintsOf(10, 4);
    EXPECT_EQ(shrink.start, (std::vector<int32_t>{0, 2, 5, 7}));
    EXPECT_EQ(shrink.end, (std::vector<int32_t>{2, 5, 7, 10}));
    const Footprints grow = FootprintsOf(2, 5);
    EXPECT_EQ(grow.start, (std::vector<int32_t>{0, 0, 0, 1, 1}));
    EXPECT_EQ(grow.end, (std::vector<int32_t>{1, 1, 1, 2, 2}));
    const IndexRange r = TargetsOf(shrink, 4, 6);  // source 4 and 5: targets 1 and 2
    EXPECT_EQ(r.first, 1);
    EXPECT_EQ(r.end, 3);
    EXPECT_EQ(TargetsOf(grow, 1, 2).first, 3);

    // A one-pixel black line on white survives a 4:1 shrink.
    std::vector<uint8_t> picture(8 * 8 * 3, 0xFF), canvas(2 * 2 * 3, 0);
    for (int x = 0; x < 8; ++x) picture[(5 * 8 + x) * 3 + 1] = 0;  // green 0 on row 5
    ScaleToCanvas({picture.data(), 8, 8, 24}, {canvas.data(), 2, 2, 6}, FootprintsOf(8, 2),
                  FootprintsOf(8, 2), 0, 0, 2, 2);
    EXPECT_EQ(canvas,
              (std::vector<uint8_t>{255, 255, 255, 255, 255, 255, 255, 0, 255, 255, 0, 255}));
}

// Changing a box of the picture and scaling only the canvas pixels over it gives exactly the
// canvas a full scaling gives, in both storage orders of the picture.
TEST(CanvasScale, APartialUpdateMatchesAFullScaling) {
    const int32_t w = 37, h = 23, cw = 10, ch = 7;
    for (bool bottomUp : {false, true}) {
        std::vector<uint8_t> picture(static_cast<size_t>(w) * h * 3);
        for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * 7 | 0x81);
        Pixels24 source{picture.data(), w, h, w * 3};
        if (bottomUp) source = {picture.data() + (h - 1) * w * 3, w, h, -w * 3};
        std::vector<uint8_t> partial(static_cast<size_t>(cw) * ch * 3), full(partial.size());
        const Pixels24 a{partial.data(), cw, ch, cw * 3}, b{full.data(), cw, ch, cw * 3};
        const Footprints columns = FootprintsOf(w, cw), rows = FootprintsOf(h, ch);
        ScaleToCanvas(source, a, columns, rows, 0, 0, cw, ch);
        for (int32_t y = 5; y < 17; ++y) {
            for (int32_t x = 9; x < 30; ++x) source.bits[y * source.stride + x * 3 + 1] ^= 0x5A;
        }
        const IndexRange xs = TargetsOf(columns, 9, 30), ys = TargetsOf(rows, 5, 17);
        ScaleToCanvas(source, a, columns, rows, xs.first, ys.first, xs.end, ys.end);
        ScaleToCanvas(source, b, columns, rows, 0, 0, cw, ch);
        EXPECT_EQ(partial, full) << (bottomUp ? "bottom-up" : "top-down");
    }
}

}  // namespace
}  // namespace orvane::editor
