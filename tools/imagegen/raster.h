// Small antialiased rasteriser for the program's pictures.
//
// Shapes are signed distance functions in pixel coordinates (pixel (x, y)
// covers [x, x+1) x [y, y+1), its centre is (x+0.5, y+0.5)). Filling a shape
// blends its colour by the coverage of each pixel, estimated from the
// distance at 4 x 4 sample points, so results depend only on the inputs.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace imagegen {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

struct Point {
    double x = 0, y = 0;
};

// Signed distance: negative inside, positive outside.
using Shape = std::function<double(double x, double y)>;

class Image {
  public:
    Image() = default;
    Image(int width, int height, Rgb fill);

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb at(int x, int y) const;
    void set(int x, int y, Rgb c);
    // Blend c over pixel (x, y) with opacity a in 0..1 and record the coverage.
    void blend(int x, int y, Rgb c, double a);
    // Accumulated coverage of everything drawn so far (0 = untouched).
    double coverage(int x, int y) const { return cover_[index(x, y)]; }

    void fill(const Shape& shape, Rgb c, double opacity = 1.0);
    // Fill with a vertical gradient from top colour to bottom colour over [y0, y1].
    void fillGradient(const Shape& shape, Rgb top, Rgb bottom, double y0, double y1);
    // Copy another image to (dx, dy).
    void paste(const Image& src, int dx, int dy);

  private:
    int index(int x, int y) const { return y * width_ + x; }
    int width_ = 0, height_ = 0;
    std::vector<double> r_, g_, b_, cover_;
};

// Primitives.
Shape circle(double cx, double cy, double r);
Shape ring(double cx, double cy, double r, double thickness);
Shape box(double x0, double y0, double x1, double y1, double radius = 0);
Shape boxOutline(double x0, double y0, double x1, double y1, double radius, double thickness);
Shape segment(Point a, Point b, double width);  // round caps
Shape polyline(const std::vector<Point>& points, double width);
Shape polygon(const std::vector<Point>& points);
// Arc of a circle centred at (cx, cy) from angle a0 to a1 (radians, counter-clockwise
// on screen means decreasing y), stroked with round caps.
Shape arc(double cx, double cy, double r, double a0, double a1, double width);

// Operations.
Shape unite(Shape a, Shape b);
Shape subtract(Shape a, Shape b);
Shape intersect(Shape a, Shape b);
Shape translate(Shape s, double dx, double dy);

Rgb mix(Rgb a, Rgb b, double t);

}  // namespace imagegen
