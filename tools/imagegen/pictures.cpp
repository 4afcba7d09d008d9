#include "tools/imagegen/pictures.h"

#include <cmath>
#include <functional>
#include <sstream>
#include <stdexcept>

namespace imagegen {

namespace {

using namespace palette;

// Drawing on a design grid: grid unit (u, v) lands at (ox + s*u, oy + s*v).
struct Pen {
    Image& img;
    double ox, oy, s;
    Rgb colour;

    Point p(double u, double v) const { return {ox + s * u, oy + s * v}; }
    Pen with(Rgb c) const { return {img, ox, oy, s, c}; }
    void line(double u0, double v0, double u1, double v1, double w) const {
        img.fill(segment(p(u0, v0), p(u1, v1), w * s), colour);
    }
    void path(std::vector<Point> pts, double w, bool closed = false) const {
        for (auto& q : pts) q = p(q.x, q.y);
        if (closed) pts.push_back(pts.front());
        img.fill(polyline(pts, w * s), colour);
    }
    void area(std::vector<Point> pts) const {
        for (auto& q : pts) q = p(q.x, q.y);
        img.fill(polygon(pts), colour);
    }
    void frame(double u0, double v0, double u1, double v1, double r, double w) const {
        const Point a = p(u0, v0), b = p(u1, v1);
        img.fill(boxOutline(a.x, a.y, b.x, b.y, r * s, w * s), colour);
    }
    void block(double u0, double v0, double u1, double v1, double r) const {
        const Point a = p(u0, v0), b = p(u1, v1);
        img.fill(box(a.x, a.y, b.x, b.y, r * s), colour);
    }
    void dot(double u, double v, double r) const {
        const Point c = p(u, v);
        img.fill(circle(c.x, c.y, r * s), colour);
    }
    void hoop(double u, double v, double r, double w) const {
        const Point c = p(u, v);
        img.fill(ring(c.x, c.y, r * s, w * s), colour);
    }
    void bow(double u, double v, double r, double a0, double a1, double w) const {
        const Point c = p(u, v);
        img.fill(arc(c.x, c.y, r * s, a0, a1, w * s), colour);
    }
};

constexpr double kPi = 3.14159265358979323846;
double deg(double d) {
    return d * kPi / 180.0;
}

// ---- Tool glyphs, 24-unit grid, 2-unit strokes. `back` is the colour under the glyph.

using Glyph = std::function<void(const Pen&, Rgb back)>;

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

void trash(const Pen& g, Rgb back) {
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

// ---- Buttons

enum class State { Up, Down, Focus, Disabled };

struct ButtonLook {
    Rgb fill, edge, ink;
    double edgeWidth;
    double shift;
};

ButtonLook look(State s) {
    switch (s) {
        case State::Up:
            return {card, border, ink, 1, 0};
        case State::Down:
            return {{214, 220, 231}, {140, 150, 168}, ink, 1, 1};
        case State::Focus:
            return {card, accent, ink, 2, 0};
        case State::Disabled:
            return {{240, 240, 243}, {212, 214, 220}, disabled, 1, 0};
    }
    return {card, border, ink, 1, 0};
}

Image button_face(int w, int h, State s) {
    const ButtonLook l = look(s);
    Image img(w, h, window);
    img.fill(box(1, 1, w - 1, h - 1, 5), l.fill);
    const double inset = 1 + l.edgeWidth / 2;
    img.fill(boxOutline(inset, inset, w - inset, h - inset, 5 - l.edgeWidth / 2, l.edgeWidth),
             l.edge);
    return img;
}

void keycap(Image& img, const Font& font, const std::string& text, double x, double cy, Rgb colour,
            Rgb back) {
    const int px = 11;
    const int tw = font.measure(text, px);
    const double w = tw + 8, h = 15;
    img.fill(boxOutline(x + 0.5, cy - h / 2 + 0.5, x + w - 0.5, cy + h / 2 - 0.5, 3, 1),
             mix(colour, back, 0.35));
    const int base =
        static_cast<int>(std::lround(cy + (font.ascender(px) - font.descender(px)) / 2.0));
    font.draw(img, text, px, static_cast<int>(x) + 4, base, colour);
}

struct ToolButton {
    const char* name;
    int width;
    Glyph glyph;
    Rgb glyphColour;  // colour when enabled
    const char* key;  // keyboard hint on the wide buttons
    bool recordDot;
};

Image tool_button(const ToolButton& t, State s, const Font& font) {
    const int h = 36;
    Image img = button_face(t.width, h, s);
    const ButtonLook l = look(s);
    const Rgb colour = s == State::Disabled ? disabled : t.glyphColour;
    const double gs = 1.0;  // 24-pixel glyph
    if (!t.key) {
        const double ox = (t.width - 24) / 2.0, oy = (h - 24) / 2.0 + l.shift;
        t.glyph(Pen{img, ox, oy, gs, colour}, l.fill);
        return img;
    }
    // Wide buttons: [record dot] glyph keycap, centred as a group.
    const int keyWidth = font.measure(t.key, 11) + 8;
    const double dotW = t.recordDot ? 14 : 0;
    const double total = dotW + 24 + 12 + keyWidth;
    double x = (t.width - total) / 2.0;
    const double cy = h / 2.0 + l.shift;
    if (t.recordDot) {
        img.fill(circle(x + 5, cy, 5), s == State::Disabled ? disabled : record);
        x += dotW;
    }
    t.glyph(Pen{img, x, cy - 12, gs, colour}, l.fill);
    x += 24 + 12;
    keycap(img, font, t.key, x, cy, s == State::Disabled ? disabled : inkMuted, l.fill);
    return img;
}

Image menu_button(const std::string& word, State s, const Font& font) {
    const int w = 120, h = 16;
    Image img(w, h, window);
    Rgb text = ink;
    if (s == State::Focus) {
        img.fill(box(1, 1, w - 1, h - 1, 3), accentSoft);
    } else if (s == State::Down) {
        img.fill(box(1, 1, w - 1, h - 1, 3), accent);
        text = white;
    } else {
        img.fill(box(w - 1, 3, w, h - 3), border);
    }
    int px = 12;
    while (px > 8 && font.measure(word, px) > w - 8) --px;
    const int tw = font.measure(word, px);
    const int base = (h + font.ascender(px) - font.descender(px)) / 2 + (s == State::Down ? 1 : 0);
    font.draw(img, word, px, (w - tw) / 2, base, text);
    return img;
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
Image more_button(State s) {
    const int w = 16, h = 36;
    Image img = button_face(w, h, s);
    const ButtonLook l = look(s);
    const double cy = h / 2.0 + l.shift;
    img.fill(polygon({{4, cy - 2}, {12, cy - 2}, {8, cy + 3}}),
             s == State::Disabled ? disabled : ink);
    return img;
}

// ---- Main window pictures

Image no_camera() {
    Image img(560, 410, white);
    const Rgb line{198, 203, 214};
    Pen g{img, 0, 0, 1, line};
    // Camera body, lens and viewfinder.
    g.frame(190, 120, 370, 235, 20, 7);
    g.path({{238, 120}, {250, 98}, {310, 98}, {322, 120}}, 7);
    g.hoop(280, 178, 36, 7);
    g.with(accentSoft).dot(280, 178, 22);
    g.with({168, 196, 232}).dot(280, 178, 10);
    g.with(white).dot(289, 169, 4.5);
    g.dot(344, 142, 5);
    // Cable from the camera, ending in a plug that is pulled out of its socket.
    g.path({{280, 235}, {280, 262}, {232, 262}, {232, 288}}, 7);
    g.frame(218, 288, 246, 318, 4, 6);
    g.line(226, 318, 226, 328, 5);
    g.line(238, 318, 238, 328, 5);
    g.frame(300, 338, 344, 376, 6, 6);
    g.block(312, 350, 332, 357, 1.5);
    // Small sparks between plug and socket.
    const Pen spark = g.with({236, 150, 150});
    spark.line(262, 334, 272, 340, 5);
    spark.line(266, 322, 280, 322, 5);
    spark.line(262, 310, 272, 304, 5);
    return img;
}

Image cell_background(bool selected) {
    Image img(118, 120, window);
    const Rgb fill = selected ? Rgb{221, 233, 249} : card;
    img.fill(box(2, 2, 116, 118, 7), fill);
    if (selected)
        img.fill(boxOutline(3, 3, 115, 117, 6, 2), accent);
    else
        img.fill(boxOutline(2.5, 2.5, 115.5, 117.5, 6.5, 1), {206, 209, 217});
    // Picture well behind the 96 x 72 thumbnail at (11, 24).
    img.fill(box(10, 23, 108, 97, 2), selected ? Rgb{196, 212, 236} : Rgb{226, 229, 235});
    img.fill(box(11, 24, 107, 96), selected ? Rgb{232, 240, 251} : Rgb{241, 242, 245});
    // Small frame mark in the title row.
    Pen g{img, 11, 8, 0.5, selected ? accent : inkMuted};
    g.frame(2.5, 4, 21.5, 19, 2, 2.6);
    g.path({{5, 16}, {10, 11}, {13, 14}, {16, 10}, {19.5, 16}}, 2.4);
    return img;
}

// Pictures keyed by a colour: everything never drawn becomes exactly `key`;
// edge pixels stay blended with `edge`, which is what they will lie over.
Image keyed(int w, int h, Rgb edge, Rgb key, const std::function<void(Image&)>& draw) {
    Image img(w, h, edge);
    draw(img);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (img.coverage(x, y) < 1.0 / 512) {
                img.set(x, y, key);
            } else if (img.at(x, y) == key) {
                Rgb c = key;
                c.b = static_cast<std::uint8_t>(c.b > 0 ? c.b - 1 : 1);
                img.set(x, y, c);
            }
        }
    return img;
}

Image video_badge() {
    return keyed(33, 27, {150, 152, 158}, white, [](Image& img) {
        img.fill(box(1, 2, 32, 25, 5), {28, 32, 40}, 0.85);
        img.fill(polygon({{13, 8}, {22.5, 13.5}, {13, 19}}), {250, 250, 250});
    });
}

Image recording_indicator() {
    Image img(24, 24, green);
    const double c = 12, r = 11.5;
    Image body(24, 24, {40, 42, 48});
    body.fill(circle(c, c, r - 1.2), {250, 250, 250});
    body.fill(circle(c, c, r - 3.4), record);
    body.fill(circle(c - 2.5, c - 2.5, 2.2), {236, 120, 120});
    const Shape outer = circle(c, c, r);
    for (int y = 0; y < 24; ++y)
        for (int x = 0; x < 24; ++x)
            if (outer(x + 0.5, y + 0.5) <= 0) img.set(x, y, body.at(x, y));
    return img;
}

Image check_mark() {
    return keyed(18, 18, window, window, [](Image& img) {
        img.fill(polyline({{4, 9.5}, {7.5, 13}, {14, 5}}, 2.3), accent);
    });
}

Image label_plate() {
    return Image(160, 24, window);
}

// ---- Editor menu icon strip: 17 icons of 16 x 16, white is transparent.

void strip_icon(Image& img, int index) {
    Pen g{img, index * 16.0, 0, 1, ink};
    const Pen a = g.with(accent);
    const double w = 1.5;
    switch (index) {
        case 0:
            g.line(3, 13, 13, 3, w);
            break;
        case 1:
            g.line(3, 13, 12.5, 3.5, w);
            g.area({{13.5, 2.5}, {12.8, 8.2}, {7.8, 3.2}});
            break;
        case 2: {
            std::vector<Point> pts;
            for (int i = 0; i <= 24; ++i) {
                const double t = i / 24.0;
                pts.push_back({2.5 + 11 * t, 8.5 - 4 * std::sin(t * 2 * kPi)});
            }
            g.path(pts, w);
            break;
        }
        case 3:
            g.frame(2.5, 4.5, 13.5, 11.5, 0.5, w);
            break;
        case 4: {
            const Point c = g.p(8, 8);
            img.fill(
                [c](double x, double y) {
                    return std::fabs(std::hypot((x - c.x) / 6.0, (y - c.y) / 4.0) - 1) * 4.6 - 0.75;
                },
                ink);
            break;
        }
        case 5:
            g.line(3.5, 11.5, 12.5, 4.5, w);
            a.line(1.8, 9.3, 5.2, 13.7, w);
            a.line(10.8, 2.3, 14.2, 6.7, w);
            break;
        case 6:
            g.line(2.5, 8, 13.5, 8, w);
            a.line(2.5, 4.5, 2.5, 11.5, w);
            a.line(13.5, 4.5, 13.5, 11.5, w);
            break;
        case 7:
            g.line(3, 13, 12, 4, w);
            a.line(2, 13, 14, 13, 1);
            a.bow(3, 13, 6, 0, deg(45), 1);
            break;
        case 8:
            g.path({{2, 12}, {6, 5}, {10, 11}, {14, 4}}, w);
            for (Point q : {Point{2, 12}, Point{6, 5}, Point{10, 11}, Point{14, 4}})
                a.dot(q.x, q.y, 1.6);
            break;
        case 9: {
            std::vector<Point> pts{{8, 2.5}, {13.5, 6.5}, {11.5, 13}, {4.5, 13}, {2.5, 6.5}};
            g.path(pts, w, true);
            for (Point q : pts) a.dot(q.x, q.y, 1.5);
            break;
        }
        case 10:
            g.hoop(8, 8, 5.8, w);
            a.line(8, 8, 12.1, 3.9, 1.3);
            a.dot(8, 8, 1.5);
            break;
        case 11:
            g.hoop(8, 8, 5.8, w);
            a.line(3.9, 12.1, 12.1, 3.9, 1.3);
            break;
        case 12:
            g.hoop(8, 8, 5.8, w);
            for (double t : {100.0, 215.0, 330.0})
                a.dot(8 + 5.8 * std::cos(deg(t)), 8 - 5.8 * std::sin(deg(t)), 1.7);
            break;
        case 13:
            g.bow(8, 10, 6, deg(10), deg(170), w);
            for (double t : {10.0, 90.0, 170.0})
                a.dot(8 + 6 * std::cos(deg(t)), 10 - 6 * std::sin(deg(t)), 1.7);
            break;
        case 14:
            g.path({{13.5, 3}, {3, 13}, {14, 13}}, w);
            a.bow(3, 13, 6.5, 0, deg(43), 1.2);
            break;
        case 15:
            g.line(2, 13.5, 8, 13.5, w);
            g.line(6.5, 8.5, 12.5, 2.5, w);
            a.bow(2, 13.5, 11.5, deg(3), deg(42), 1.2);
            break;
        case 16: {
            g.frame(1.5, 9, 14.5, 14, 0.8, 1.2);
            for (int i = 0; i < 5; ++i) g.line(3.5 + 2.5 * i, 9, 3.5 + 2.5 * i, i % 2 ? 11 : 12, 1);
            a.line(2, 5, 14, 5, 1.3);
            a.line(2, 2.5, 2, 7.5, 1.3);
            a.line(14, 2.5, 14, 7.5, 1.3);
            break;
        }
        default:
            throw std::logic_error("strip icon index");
    }
}

Image menu_strip() {
    return keyed(272, 16, window, white, [](Image& img) {
        for (int i = 0; i < 17; ++i) strip_icon(img, i);
    });
}

// ---- Line style and width samples, 80 x 20.

Image line_plate() {
    Image img(80, 20, {210, 213, 220});
    img.fill(box(1, 1, 79, 19), white);
    return img;
}

Image line_style(int style) {
    static const std::vector<std::vector<int>> patterns = {
        {6, 0}, {6, 3}, {2, 3}, {6, 3, 2, 3}, {6, 3, 2, 3, 2, 3}};
    Image img = line_plate();
    const double w = 2, y = 10;
    const auto& pat = patterns.at(static_cast<std::size_t>(style));
    double x = 6;
    std::size_t i = 0;
    while (x < 74) {
        const double on = pat[i % pat.size()] * w, off = pat[(i + 1) % pat.size()] * w;
        const double end = std::min(x + on, 74.0);
        if (off == 0) {
            img.fill(segment({6, y}, {74, y}, w), ink);
            break;
        }
        img.fill(segment({x + w / 2, y}, {std::max(end - w / 2, x + w / 2), y}, w), ink);
        x += on + off;
        i += 2;
    }
    return img;
}

Image line_width(int width) {
    Image img = line_plate();
    const double y = width % 2 ? 10.5 : 10;
    const double r = width / 2.0;
    img.fill(segment({8 + r, y}, {72 - r, y}, width), ink);
    return img;
}

// ---- Language names for the language dialog: 80 x 16, one bit.

MonoImage language_name(const Font& font, const std::string& name) {
    const int w = 80, h = 16, px = 13;
    if (!font.covers(name)) throw std::runtime_error("font lacks glyphs for " + name);
    std::vector<std::uint8_t> cov(static_cast<std::size_t>(w) * h, 0);
    const int base = (h + font.ascender(px) - font.descender(px)) / 2;
    font.drawCoverage(cov, w, h, name, px, 1, base);
    MonoImage m(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (cov[static_cast<std::size_t>(y) * w + x] >= 104) m.setBlack(x, y);
    return m;
}

// ---- Program icons: a blue tile with a lens, and a badge for setup and removal.

enum class Badge { None, Install, Remove };

ArgbImage program_icon(int n, Badge badge) {
    const double s = n / 32.0;
    Image colour(n, n, accent);
    Image alpha(n, n, {0, 0, 0});
    const Shape tile = box(1 * s, 1 * s, 31 * s, 31 * s, 7 * s);
    colour.fillGradient(tile, {34, 136, 214}, {0, 82, 158}, 1 * s, 31 * s);
    alpha.fill(tile, white);
    Pen g{colour, 0, 0, s, white};
    g.hoop(16, 16, 8.6, 3.2);
    g.with({150, 205, 245}).dot(16, 16, 4.2);
    g.with(white).dot(17.8, 14.2, 1.4);
    g.line(8.5, 5.5, 12, 5.5, 2);
    if (badge != Badge::None) {
        const Rgb bc = badge == Badge::Install ? Rgb{28, 150, 72} : record;
        const Shape disc = circle(24 * s, 24 * s, 7.5 * s);
        colour.fill(circle(24 * s, 24 * s, 8.8 * s), white);
        alpha.fill(circle(24 * s, 24 * s, 8.8 * s), white);
        colour.fill(disc, bc);
        Pen b{colour, 0, 0, s, white};
        if (badge == Badge::Install) {
            b.line(24, 19.5, 24, 27, 2.2);
            b.path({{20.5, 24}, {24, 27.5}, {27.5, 24}}, 2.2);
        } else {
            b.line(20, 24, 28, 24, 2.6);
        }
    }
    ArgbImage out;
    out.width = out.height = n;
    for (int y = 0; y < n; ++y)
        for (int x = 0; x < n; ++x) {
            out.colour.push_back(colour.at(x, y));
            out.alpha.push_back(alpha.at(x, y).r);
        }
    return out;
}

Bytes program_icon_file(Badge badge) {
    std::vector<ArgbImage> sizes;
    for (int n : {16, 24, 32, 48, 64}) sizes.push_back(program_icon(n, badge));
    return encodeIco({}, sizes);
}

// ---- Cursors, one bit: black lines with a white rim.

void add_rim(MonoImage& m) {
    MonoImage out = m;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            if (m.opaque(x, y)) continue;
            const int d[8][2] = {{1, 0}, {-1, 0}, {0, 1},  {0, -1},
                                 {1, 1}, {1, -1}, {-1, 1}, {-1, -1}};
            for (const auto& k : d) {
                const int nx = x + k[0], ny = y + k[1];
                if (nx >= 0 && ny >= 0 && nx < m.width && ny < m.height && m.opaque(nx, ny) &&
                    !m.white[ny * m.width + nx]) {
                    out.setWhite(x, y);
                    break;
                }
            }
        }
    m = out;
}

MonoImage cross_cursor() {
    MonoImage m(32, 32);
    const int hx = 16, hy = 15;
    for (int i = 2; i <= 28; ++i) {
        if (std::abs(i - hy) > 3) m.setBlack(hx, i);
        if (std::abs(i + 1 - hx) > 3) m.setBlack(i + 1, hy);
    }
    m.setBlack(hx, hy);
    add_rim(m);
    return m;
}

MonoImage pencil_cursor() {
    // Axis from the tip (11, 20) up and to the right.
    const double tx = 11.5, ty = 20.5;
    const double ux = std::sqrt(0.5), uy = -std::sqrt(0.5);  // along the pencil
    const double vx = -uy, vy = ux;                          // across it
    MonoImage m(32, 32);
    const double half = 3.2, tipLen = 5.5, length = 19;
    auto inside = [&](double x, double y) {
        const double a = (x - tx) * ux + (y - ty) * uy, b = (x - tx) * vx + (y - ty) * vy;
        if (a < 0 || a > length) return false;
        const double lim = a < tipLen ? half * a / tipLen : half;
        return std::fabs(b) <= lim + 0.35;
    };
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const double cx = x + 0.5, cy = y + 0.5;
            if (!inside(cx, cy)) continue;
            const double a = (cx - tx) * ux + (cy - ty) * uy;
            bool edge = false;
            for (const auto& k :
                 {std::pair{1, 0}, std::pair{-1, 0}, std::pair{0, 1}, std::pair{0, -1}})
                if (!inside(cx + k.first, cy + k.second)) edge = true;
            const bool lead = a < 2.6;                               // graphite point
            const bool band = a > length - 4.5 && a < length - 3.2;  // ferrule line
            if (edge || lead || band)
                m.setBlack(x, y);
            else
                m.setWhite(x, y);
        }
    m.setBlack(11, 20);
    add_rim(m);
    return m;
}

std::string lower(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string upper(std::string s) {
    for (auto& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

std::vector<Picture> renderAll(const Font& font, const std::vector<LanguageWords>& languages) {
    std::vector<Picture> out;
    const std::vector<Program> main{Program::Main};
    auto bitmap = [&](const std::string& resource, const Image& img) {
        const bool named =
            !resource.empty() && !std::isdigit(static_cast<unsigned char>(resource[0]));
        out.push_back({Kind::Bitmap, resource,
                       (named ? lower(resource) : "bmp" + resource) + ".bmp", main,
                       encodeBmp24(img)});
    };

    const char* menuButtons[4] = {"BtnMenuFile", "BtnMenuSetting", "BtnMenuCapture", "BtnMenuHelp"};
    const std::pair<State, char> menuStates[3] = {
        {State::Up, 'U'}, {State::Down, 'D'}, {State::Focus, 'F'}};
    for (const auto& lang : languages)
        for (int b = 0; b < 4; ++b)
            for (const auto& [state, letter] : menuStates)
                bitmap(upper(std::string(menuButtons[b]) + lang.suffix + letter),
                       menu_button(lang.words[b], state, font));

    const ToolButton tools[] = {
        {"BtnToolSave", 68, glyph_save, ink, nullptr, false},
        {"BtnToolMeasure", 68, glyph_measure, ink, nullptr, false},
        {"BtnToolCross", 68, glyph_cross, ink, nullptr, false},
        {"BtnToolSetting", 68, glyph_setting, ink, nullptr, false},
        {"BtnToolClock", 68, glyph_clock, ink, nullptr, false},
        {"BtnToolTime", 68, glyph_time, ink, nullptr, false},
        {"BtnToolDel", 68, glyph_del, ink, nullptr, false},
        {"BtnToolDelAll", 68, glyph_del_all, ink, nullptr, false},
        {"BtnToolCapture", 160, glyph_video, ink, "F8", true},
        {"BtnToolSnap", 160, glyph_snap, accent, "F4", false},
    };
    const std::pair<State, char> toolStates[4] = {
        {State::Up, 'U'}, {State::Down, 'D'}, {State::Focus, 'F'}, {State::Disabled, 'X'}};
    for (const auto& t : tools)
        for (const auto& [state, letter] : toolStates)
            bitmap(upper(std::string(t.name) + letter), tool_button(t, state, font));

    // The picture editor's buttons: BtnEdtMore is the narrow one beside a tool button.
    const ToolButton editorButtons[] = {
        {"BtnEdtSave", 44, glyph_save, ink, nullptr, false},
        {"BtnEdtCopyFile", 44, glyph_copy_file, ink, nullptr, false},
        {"BtnEdtCopy", 44, glyph_copy_picture, ink, nullptr, false},
        {"BtnEdtDraw", 44, glyph_pencil, ink, nullptr, false},
        {"BtnEdtText", 44, glyph_text, ink, nullptr, false},
        {"BtnEdtMeasure", 44, glyph_measure, ink, nullptr, false},
        {"BtnEdtPrev", 44, glyph_prev, ink, nullptr, false},
        {"BtnEdtNext", 44, glyph_next, ink, nullptr, false},
        {"BtnEdtUndo", 44, glyph_undo, ink, nullptr, false},
        {"BtnEdtRedo", 44, glyph_redo, ink, nullptr, false},
        {"BtnEdtBack", 44, glyph_back, ink, nullptr, false},
    };
    for (const auto& t : editorButtons)
        for (const auto& [state, letter] : toolStates)
            bitmap(upper(std::string(t.name) + letter), tool_button(t, state, font));
    for (const auto& [state, letter] : toolStates) {
        bitmap(upper(std::string("BtnEdtMore") + letter), more_button(state));
        bitmap(upper(std::string("BtnEdtFont") + letter), more_button(state));
    }

    bitmap("130", no_camera());
    bitmap("287", cell_background(false));
    bitmap("288", cell_background(true));
    bitmap("318", video_badge());
    bitmap("215", recording_indicator());
    bitmap("307", check_mark());
    bitmap("162", menu_strip());
    // Style k (0..4) is shown by bitmaps 249, 248, 247, 246, 245.
    for (int k = 0; k < 5; ++k) bitmap(std::to_string(249 - k), line_style(k));
    // Width 1..9 is shown by bitmaps 138, 237, 244, 243, 242, 241, 240, 239, 238.
    const int widthIds[9] = {138, 237, 244, 243, 242, 241, 240, 239, 238};
    for (int k = 0; k < 9; ++k) bitmap(std::to_string(widthIds[k]), line_width(k + 1));
    bitmap("209", label_plate());
    bitmap("231", label_plate());

    out.push_back({Kind::Icon,
                   "128",
                   "icon128.ico",
                   {Program::Main, Program::Uninstall},
                   program_icon_file(Badge::None)});
    out.push_back(
        {Kind::Icon, "131", "icon131.ico", {Program::Uninstall}, program_icon_file(Badge::Remove)});
    out.push_back(
        {Kind::Icon, "136", "icon136.ico", {Program::Setup}, program_icon_file(Badge::Install)});
    // Language names: icon 300 + k for language code 500 + k (k = 1..12), 320 for 513.
    const char* names[13] = {"简体中文", "繁體中文",  "English",   "Français", "Deutsch",
                             "Русский",  "Português", "Español",   "Italiano", "Nederlands",
                             "한국어",   "日本語",    "Tiếng Việt"};
    for (int k = 1; k <= 13; ++k) {
        const int id = k <= 12 ? 300 + k : 320;
        out.push_back({Kind::Icon, std::to_string(id), "icon" + std::to_string(id) + ".ico", main,
                       encodeIco({language_name(font, names[k - 1])}, {})});
    }

    out.push_back({Kind::Cursor, "252", "cursor252.cur", main, encodeCur(cross_cursor(), 16, 15)});
    out.push_back({Kind::Cursor, "141", "cursor141.cur", main, encodeCur(pencil_cursor(), 11, 20)});
    return out;
}

std::string scriptName(Program program) {
    switch (program) {
        case Program::Main:
            return "pictures.rc";
        case Program::Setup:
            return "pictures_setup.rc";
        case Program::Uninstall:
            return "pictures_uninstall.rc";
    }
    return "pictures.rc";
}

std::string resourceScript(const std::vector<Picture>& pictures, Program program,
                           const std::string& dir) {
    std::ostringstream rc;
    rc << "// Generated by imagegen; do not edit.\n"
          "// Bitmaps, icons and cursors, language-neutral.\n"
          "LANGUAGE 0, 0\n\n";
    for (const auto& p : pictures) {
        bool listed = false;
        for (Program q : p.programs) listed = listed || q == program;
        if (!listed) continue;
        const char* type = p.kind == Kind::Bitmap ? "BITMAP"
                           : p.kind == Kind::Icon ? "ICON"
                                                  : "CURSOR";
        rc << p.resource << ' ' << type << " \"" << dir << '/' << p.file << "\"\n";
    }
    return rc.str();
}

}  // namespace imagegen
