// The glyphs of the tool buttons and the editor's buttons.
#include "tools/imagegen/drawing.h"

namespace imagegen::drawing {

using namespace palette;

// ---- Tool glyphs, 24-unit grid, 2-unit strokes. `back` is the colour under the glyph.

void glyph_save(const Pen& g, Rgb) {
    g.path({{4, 4}, {16.5, 4}, {20, 7.5}, {20, 20}, {4, 20}}, 2, true);
    g.path({{8, 4}, {8, 9}, {15, 9}, {15, 4}}, 2);
    g.frame(7.5, 13.5, 16.5, 20, 1, 2);
}

void glyph_measure(const Pen& g, Rgb) {
    g.frame(2.5, 7, 21.5, 17, 1.5, 2);
    for (int i = 0; i < 4; ++i) {
        const double x = 6.5 + 4 * i;
        g.line(x, 7, x, i % 2 ? 12.5 : 10.5, 1.7);
    }
}

void glyph_cross(const Pen& g, Rgb) {
    g.hoop(12, 12, 6.5, 2);
    g.line(12, 2, 12, 7, 2);
    g.line(12, 17, 12, 22, 2);
    g.line(2, 12, 7, 12, 2);
    g.line(17, 12, 22, 12, 2);
    g.with(accent).dot(12, 12, 1.6);
}

void glyph_setting(const Pen& g, Rgb back) {
    const double knobs[3][2] = {{15, 6}, {8, 12}, {17, 18}};
    for (const auto& k : knobs) g.line(3, k[1], 21, k[1], 2);
    for (const auto& k : knobs) {
        g.with(back).dot(k[0], k[1], 3.6);
        g.hoop(k[0], k[1], 2.4, 2);
    }
}

void glyph_clock(const Pen& g, Rgb) {
    g.hoop(12, 13.5, 8, 2);
    g.line(10, 2.5, 14, 2.5, 2);
    g.line(12, 2.5, 12, 5, 2);
    g.line(18.5, 5.5, 20, 7, 2);
    g.line(12, 13.5, 12, 9, 2);
    g.with(accent).line(12, 13.5, 15.5, 15.5, 2);
}

void glyph_time(const Pen& g, Rgb) {
    g.frame(3.5, 5.5, 20.5, 20.5, 2, 2);
    g.line(3.5, 10, 20.5, 10, 2);
    g.line(8, 3, 8, 7, 2);
    g.line(16, 3, 16, 7, 2);
    for (int r = 0; r < 2; ++r)
        for (int c = 0; c < 3; ++c) {
            const Pen d = (r == 1 && c == 2) ? g.with(accent) : g;
            d.dot(8 + 4 * c, 14 + 3.5 * r, 1.2);
        }
}

static void trash(const Pen& g, Rgb back) {
    g.with(back).area({{5, 6}, {6.3, 21.5}, {17.7, 21.5}, {19, 6}});
    g.line(3.5, 6.5, 20.5, 6.5, 2);
    g.path({{9, 6.5}, {9, 3.5}, {15, 3.5}, {15, 6.5}}, 2);
    g.path({{5.8, 6.5}, {7, 20.5}, {17, 20.5}, {18.2, 6.5}}, 2);
    g.line(10, 10.5, 10, 16.5, 1.7);
    g.line(14, 10.5, 14, 16.5, 1.7);
}

void glyph_del(const Pen& g, Rgb back) {
    trash(g, back);
}

void glyph_del_all(const Pen& g, Rgb back) {
    Pen behind{g.img, g.ox - 3.5 * g.s, g.oy - 1 * g.s, g.s * 0.85, mix(g.colour, back, 0.45)};
    trash(behind, back);
    Pen front{g.img, g.ox + 4 * g.s, g.oy + 3 * g.s, g.s * 0.85, g.colour};
    // Clear a margin around the front can so the two read as separate objects.
    Pen margin{g.img, g.ox + 4 * g.s, g.oy + 3 * g.s, g.s * 0.85, back};
    margin.path({{4, 6.5}, {5.5, 22}, {18.5, 22}, {20, 6.5}}, 3, true);
    margin.line(2, 6.5, 22, 6.5, 3);
    trash(front, back);
}

void glyph_snap(const Pen& g, Rgb) {
    g.frame(2.5, 7, 21.5, 19.5, 2.5, 2);
    g.path({{7.5, 7}, {9.3, 4.3}, {14.7, 4.3}, {16.5, 7}}, 2);
    g.hoop(12, 13.2, 3.8, 2);
    g.dot(18.2, 10, 1);
}

void glyph_video(const Pen& g, Rgb) {
    g.frame(2.5, 6.5, 15, 17.5, 2.5, 2);
    g.path({{15, 10.5}, {21.5, 7}, {21.5, 17}, {15, 13.5}}, 2, true);
}

// ---- Picture editor glyphs, same grid.

void glyph_copy_file(const Pen& g, Rgb back) {
    g.path({{4, 3.5}, {12.5, 3.5}, {15.5, 6.5}, {15.5, 16.5}, {4, 16.5}}, 2, true);
    g.with(back).block(8, 8, 21, 21.5, 0);
    g.path({{8.5, 8}, {17, 8}, {20, 11}, {20, 21}, {8.5, 21}}, 2, true);
    g.line(11.5, 14, 17, 14, 1.6);
    g.line(11.5, 17.5, 17, 17.5, 1.6);
}

void glyph_copy_picture(const Pen& g, Rgb back) {
    g.frame(2.5, 3, 15.5, 14, 1.5, 2);
    g.with(back).block(7, 8, 22, 21.5, 0);
    g.frame(8, 9, 21.5, 20.5, 1.5, 2);
    g.path({{10.5, 18}, {14, 14}, {16.5, 16.5}, {18, 15}, {20, 18}}, 1.6);
    g.with(accent).dot(17.5, 12.5, 1.4);
}

void glyph_pencil(const Pen& g, Rgb) {
    g.path({{4, 20}, {5.5, 14.5}, {16, 4}, {20, 8}, {9.5, 18.5}}, 2, true);
    g.line(13.5, 6.5, 17.5, 10.5, 2);
    g.with(accent).line(3, 21.5, 21, 21.5, 1.5);
}

void glyph_text(const Pen& g, Rgb) {
    g.line(5, 5, 19, 5, 2.4);
    g.line(12, 5, 12, 20, 2.4);
    g.line(9, 20, 15, 20, 2);
}

void glyph_prev(const Pen& g, Rgb) {
    g.path({{14.5, 5}, {7.5, 12}, {14.5, 19}}, 2.6);
}

void glyph_next(const Pen& g, Rgb) {
    g.path({{9.5, 5}, {16.5, 12}, {9.5, 19}}, 2.6);
}

void glyph_undo(const Pen& g, Rgb) {
    g.bow(12.5, 13.5, 6.5, deg(-90), deg(180), 2);
    g.path({{3, 10.5}, {6, 14.5}, {9.5, 11}}, 2);
}

void glyph_redo(const Pen& g, Rgb) {
    g.bow(11.5, 13.5, 6.5, deg(0), deg(270), 2);
    g.path({{21, 10.5}, {18, 14.5}, {14.5, 11}}, 2);
}

void glyph_back(const Pen& g, Rgb) {
    g.path({{3.5, 11.5}, {12, 4}, {20.5, 11.5}}, 2);
    g.path({{6, 10}, {6, 20}, {18, 20}, {18, 10}}, 2);
    g.with(accent).block(10.5, 14, 13.5, 20, 0.5);
}

// The narrow button beside a tool button: a small triangle pointing down.

}  // namespace imagegen::drawing
