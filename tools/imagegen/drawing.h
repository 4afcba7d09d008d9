// The drawings imagegen turns into the programs' pictures, by kind: glyphs, buttons, the main
// window's and the editor's pictures, icons and cursors. Internal to imagegen.
#pragma once

#include <functional>
#include <string>

#include "tools/imagegen/pictures.h"

namespace imagegen::drawing {

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
inline double deg(double d) {
    return d * kPi / 180.0;
}

using Glyph = std::function<void(const Pen&, Rgb back)>;

// Glyphs on a 24-unit grid with 2-unit strokes; back is the colour under the glyph.
void glyph_save(const Pen& g, Rgb back);
void glyph_measure(const Pen& g, Rgb back);
void glyph_cross(const Pen& g, Rgb back);
void glyph_setting(const Pen& g, Rgb back);
void glyph_clock(const Pen& g, Rgb back);
void glyph_time(const Pen& g, Rgb back);
void glyph_del(const Pen& g, Rgb back);
void glyph_del_all(const Pen& g, Rgb back);
void glyph_snap(const Pen& g, Rgb back);
void glyph_video(const Pen& g, Rgb back);
void glyph_copy_file(const Pen& g, Rgb back);
void glyph_copy_picture(const Pen& g, Rgb back);
void glyph_pencil(const Pen& g, Rgb back);
void glyph_text(const Pen& g, Rgb back);
void glyph_prev(const Pen& g, Rgb back);
void glyph_next(const Pen& g, Rgb back);
void glyph_undo(const Pen& g, Rgb back);
void glyph_redo(const Pen& g, Rgb back);
void glyph_back(const Pen& g, Rgb back);

// Buttons.
enum class State { Up, Down, Focus, Disabled };

struct ToolButton {
    const char* name;
    int width;
    Glyph glyph;
    Rgb glyphColour;  // colour when enabled
    const char* key;  // keyboard hint on the wide buttons
    bool recordDot;
};

Image tool_button(const ToolButton& t, State s, const Font& font);
Image menu_button(const std::string& word, State s, const Font& font);
Image more_button(State s);

// The main window's and the editor's pictures.
Image no_camera();
Image cell_background(bool selected);
Image video_badge();
Image recording_indicator();
Image check_mark();
Image label_plate();
Image menu_strip();
Image line_style(int style);
Image line_width(int width);

// Icons and cursors.
enum class Badge { None, Install, Remove };

MonoImage language_name(const Font& font, const std::string& name);
Bytes program_icon_file(Badge badge);
MonoImage cross_cursor();
MonoImage pencil_cursor();

}  // namespace imagegen::drawing
