#include "tools/imagegen/raster.h"

#include <algorithm>
#include <cmath>

namespace imagegen {

namespace {

constexpr double kPi = 3.14159265358979323846;

double to_unit(std::uint8_t v) {
    return v / 255.0;
}

std::uint8_t to_byte(double v) {
    const double c = std::clamp(v, 0.0, 1.0) * 255.0;
    return static_cast<std::uint8_t>(std::lround(c));
}

double segment_distance(Point p, Point a, Point b) {
    const double vx = b.x - a.x, vy = b.y - a.y;
    const double wx = p.x - a.x, wy = p.y - a.y;
    const double len2 = vx * vx + vy * vy;
    double t = len2 > 0 ? (wx * vx + wy * vy) / len2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    const double dx = wx - t * vx, dy = wy - t * vy;
    return std::sqrt(dx * dx + dy * dy);
}

// Coverage of one pixel: fraction of 4 x 4 samples inside, refined by the
// distance so that edges are smooth rather than stepped in sixteenths.
double pixel_coverage(const Shape& s, int x, int y) {
    const double centre = s(x + 0.5, y + 0.5);
    if (centre <= -1.0) return 1.0;
    if (centre >= 1.0) return 0.0;
    double sum = 0;
    for (int j = 0; j < 4; ++j) {
        for (int i = 0; i < 4; ++i) {
            const double d = s(x + (i + 0.5) / 4.0, y + (j + 0.5) / 4.0);
            sum += std::clamp(0.5 - d * 4.0, 0.0, 1.0);
        }
    }
    return sum / 16.0;
}

}  // namespace

Image::Image(int width, int height, Rgb fill)
    : width_(width),
      height_(height),
      r_(static_cast<std::size_t>(width) * height, to_unit(fill.r)),
      g_(static_cast<std::size_t>(width) * height, to_unit(fill.g)),
      b_(static_cast<std::size_t>(width) * height, to_unit(fill.b)),
      cover_(static_cast<std::size_t>(width) * height, 0.0) {}

Rgb Image::at(int x, int y) const {
    const int i = index(x, y);
    return {to_byte(r_[i]), to_byte(g_[i]), to_byte(b_[i])};
}

void Image::set(int x, int y, Rgb c) {
    const int i = index(x, y);
    r_[i] = to_unit(c.r);
    g_[i] = to_unit(c.g);
    b_[i] = to_unit(c.b);
    cover_[i] = 1.0;
}

void Image::blend(int x, int y, Rgb c, double a) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || a <= 0) return;
    a = std::min(a, 1.0);
    const int i = index(x, y);
    r_[i] += (to_unit(c.r) - r_[i]) * a;
    g_[i] += (to_unit(c.g) - g_[i]) * a;
    b_[i] += (to_unit(c.b) - b_[i]) * a;
    cover_[i] = 1.0 - (1.0 - cover_[i]) * (1.0 - a);
}

void Image::fill(const Shape& shape, Rgb c, double opacity) {
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x) blend(x, y, c, pixel_coverage(shape, x, y) * opacity);
}

void Image::fillGradient(const Shape& shape, Rgb top, Rgb bottom, double y0, double y1) {
    for (int y = 0; y < height_; ++y) {
        const double t = y1 > y0 ? std::clamp((y + 0.5 - y0) / (y1 - y0), 0.0, 1.0) : 0.0;
        const Rgb c = mix(top, bottom, t);
        for (int x = 0; x < width_; ++x) blend(x, y, c, pixel_coverage(shape, x, y));
    }
}

void Image::paste(const Image& src, int dx, int dy) {
    for (int y = 0; y < src.height(); ++y)
        for (int x = 0; x < src.width(); ++x) {
            const int tx = x + dx, ty = y + dy;
            if (tx < 0 || ty < 0 || tx >= width_ || ty >= height_) continue;
            const int i = index(tx, ty), j = src.index(x, y);
            r_[i] = src.r_[j];
            g_[i] = src.g_[j];
            b_[i] = src.b_[j];
            cover_[i] = src.cover_[j];
        }
}

Shape circle(double cx, double cy, double r) {
    return [=](double x, double y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape ring(double cx, double cy, double r, double thickness) {
    return [=](double x, double y) {
        return std::fabs(std::hypot(x - cx, y - cy) - r) - thickness / 2;
    };
}

Shape box(double x0, double y0, double x1, double y1, double radius) {
    const double cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
    const double hx = (x1 - x0) / 2 - radius, hy = (y1 - y0) / 2 - radius;
    return [=](double x, double y) {
        const double qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const double outside = std::hypot(std::max(qx, 0.0), std::max(qy, 0.0));
        return outside + std::min(std::max(qx, qy), 0.0) - radius;
    };
}

Shape boxOutline(double x0, double y0, double x1, double y1, double radius, double thickness) {
    const double h = thickness / 2;
    Shape outer = box(x0 - h, y0 - h, x1 + h, y1 + h, radius + h);
    return [=](double x, double y) { return std::fabs(outer(x, y) + h) - h; };
}

Shape segment(Point a, Point b, double width) {
    return [=](double x, double y) { return segment_distance({x, y}, a, b) - width / 2; };
}

Shape polyline(const std::vector<Point>& points, double width) {
    return [=](double x, double y) {
        double d = 1e9;
        for (std::size_t i = 1; i < points.size(); ++i)
            d = std::min(d, segment_distance({x, y}, points[i - 1], points[i]));
        return d - width / 2;
    };
}

Shape polygon(const std::vector<Point>& points) {
    return [=](double x, double y) {
        double d = 1e9;
        bool inside = false;
        const std::size_t n = points.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const Point a = points[j], b = points[i];
            d = std::min(d, segment_distance({x, y}, a, b));
            if ((b.y > y) != (a.y > y) && x < (a.x - b.x) * (y - b.y) / (a.y - b.y) + b.x)
                inside = !inside;
        }
        return inside ? -d : d;
    };
}

Shape arc(double cx, double cy, double r, double a0, double a1, double width) {
    const Point p0{cx + r * std::cos(a0), cy - r * std::sin(a0)};
    const Point p1{cx + r * std::cos(a1), cy - r * std::sin(a1)};
    return [=](double x, double y) {
        double ang = std::atan2(cy - y, x - cx);
        while (ang < a0) ang += 2 * kPi;
        while (ang >= a0 + 2 * kPi) ang -= 2 * kPi;
        double d;
        if (ang <= a1)
            d = std::fabs(std::hypot(x - cx, y - cy) - r);
        else
            d = std::min(std::hypot(x - p0.x, y - p0.y), std::hypot(x - p1.x, y - p1.y));
        return d - width / 2;
    };
}

Shape unite(Shape a, Shape b) {
    return [=](double x, double y) { return std::min(a(x, y), b(x, y)); };
}

Shape subtract(Shape a, Shape b) {
    return [=](double x, double y) { return std::max(a(x, y), -b(x, y)); };
}

Shape intersect(Shape a, Shape b) {
    return [=](double x, double y) { return std::max(a(x, y), b(x, y)); };
}

Shape translate(Shape s, double dx, double dy) {
    return [=](double x, double y) { return s(x - dx, y - dy); };
}

Rgb mix(Rgb a, Rgb b, double t) {
    auto m = [t](std::uint8_t p, std::uint8_t q) {
        return static_cast<std::uint8_t>(std::lround(p + (q - p) * std::clamp(t, 0.0, 1.0)));
    };
    return {m(a.r, b.r), m(a.g, b.g), m(a.b, b.b)};
}

}  // namespace imagegen
