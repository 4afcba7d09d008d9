#pragma once
// Line widths and font heights converted from what the user chose to picture pixels, and the
// dash patterns of the five line styles.
#include <array>
#include <cstdint>

namespace orvane::editor {

// Widest pen a figure is drawn with, in picture pixels.
inline constexpr int32_t kMaxPenWidth = 10000;

// Picture pixels per window pixel: the mean of the width and height ratios, each in single
// precision. A canvas with no area (a minimised window) counts as 1.
float CanvasScale(int32_t imageWidth, int32_t imageHeight, int32_t canvasWidth,
                  int32_t canvasHeight);

// trunc(2 * chosen * s + 0.5), kept within 1..kMaxPenWidth: lines look about twice the chosen
// width on screen at any zoom.
int32_t ScaledPenWidth(int32_t chosenWidth, float scale);

// The font height times s, rounded half away from zero so that a character height (negative)
// keeps its size at s = 1.
int32_t ScaledFontHeight(int32_t height, float scale);

// On/off lengths of a dash style in multiples of the pen width; count entries are used.
struct DashPattern {
    std::array<uint32_t, 6> lengths{};
    int count = 0;
};
// Styles 0..4; any other style is drawn solid, as style 0. A width below 1 counts as 1.
DashPattern DashPatternOf(int32_t style, int32_t penWidth);

// Guide lines are drawn in the complement of the figure's colour (0x00BBGGRR).
constexpr uint32_t GuideColor(uint32_t color) {
    return ~color & 0xFFFFFFu;
}

}  // namespace orvane::editor
