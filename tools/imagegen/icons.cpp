// Icons and cursors: language names, the program icons and the two cursors.
#include "tools/imagegen/drawing.h"

#include <cmath>
#include <stdexcept>
#include <vector>

namespace imagegen::drawing {

using namespace palette;

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

static ArgbImage program_icon(int n, Badge badge) {
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

static void add_rim(MonoImage& m) {
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

}  // namespace imagegen::drawing
