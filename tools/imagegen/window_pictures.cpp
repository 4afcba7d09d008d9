// The main window's and the editor's pictures: the no-camera notice, cells, badges, the
// menu icon strip and the line samples.
#include "tools/imagegen/drawing.h"

#include <cmath>

namespace imagegen::drawing {

using namespace palette;

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
static Image keyed(int w, int h, Rgb edge, Rgb key, const std::function<void(Image&)>& draw) {
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

static void strip_icon(Image& img, int index) {
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

static Image line_plate() {
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

}  // namespace imagegen::drawing
