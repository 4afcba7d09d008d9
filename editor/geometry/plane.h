#pragma once
// Picture-pixel points and the number helpers every editor figure shares: the shortened pi the
// editor has always drawn with, saturating conversions, distances and degrees.
#include <cstdint>

namespace orvane::editor {

// Picture-pixel coordinates: x to the right, y downwards.
struct Point {
    int32_t x = 0;
    int32_t y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

struct Segment {
    Point from;
    Point to;
    friend bool operator==(const Segment&, const Segment&) = default;
};

// A rectangle by its edges, as an ellipse or circle outline is drawn inside it.
struct Box {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    friend bool operator==(const Box&, const Box&) = default;
};

// The editor's figures use these shortened values, not full precision: pictures drawn before
// must come out the same.
inline constexpr double kPi = 3.1415926;
inline constexpr double kHalfPi = 1.5707963;
inline constexpr double kEighthPi = 0.392699075;

// Every coordinate entering a figure is first brought into +-kCoordinateLimit: the range a
// drawing surface accepts, and small enough that a product of two coordinate differences fits
// in 64 bits.
inline constexpr int32_t kCoordinateLimit = (1 << 27) - 1;

Point ClampToLimit(Point p);
// Truncation towards zero that saturates at the int32 range; NaN becomes 0.
int32_t TruncToInt32(double v);
int32_t SaturateToInt32(int64_t v);
double Distance(Point a, Point b);
// Radians to degrees with the shortened pi, and back.
double Degrees(double radians);
double Radians(double degrees);
// Integer halving truncating towards zero, without overflow.
int32_t Halve(int64_t v);

}  // namespace orvane::editor
