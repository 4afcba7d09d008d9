#pragma once
// A scale bar: its length from the 1-2-5 series in the chosen unit, its length in picture
// pixels by the conversion, its label, and where bar and label go in a picture or overlay.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/geometry/plane.h"
#include "media/stamp/stamp_layout.h"
#include "results/calibration.h"

namespace orvane::results {

struct ScaleBar {
    int32_t digit = 1;     // 1, 2 or 5
    int32_t exponent = 0;  // the length is digit * 10^exponent in unit
    double length = 0;     // that product as a double
    Unit unit = Unit::kMillimetre;
    // Picture pixels that length covers: length / LengthPerPixel, rounded to the nearest.
    int32_t pixels = 0;
    // The number written out exactly, then the unit as the measurement labels write it:
    // "100 um", "0.5 mm", "2 mil".
    std::string label;
};

// The largest length 1, 2 or 5 x 10^n (|n| <= 22) in the conversion's unit that is not longer
// than a quarter of the picture's width. Nothing (no bar, not an error) without a usable
// magnification, for a picture narrower than 4 pixels, or when no such length covers at least
// one pixel.
std::optional<ScaleBar> ChooseScaleBar(const Conversion& c, int32_t pictureWidth);

// Where a bar and its label are drawn; boxes have exclusive right and bottom edges.
struct ScaleBarLayout {
    editor::Box bar;      // the filled bar
    editor::Point label;  // top-left corner of the label text
    editor::Box bounds;   // bar and label together (the overlay window's extent)
};

// Sizes from the label font: fontHeight as the font record holds it (its sign does not matter)
// and the label's width in pixels as the drawing side measures it.
struct ScaleBarText {
    int32_t fontHeight = 0;
    int32_t textWidth = 0;
};

// The bar's thickness, the gap between label and bar, and the corner margin, from the font.
int32_t BarThickness(int32_t fontHeight);
int32_t LabelGap(int32_t fontHeight);
int32_t CornerMargin(int32_t fontHeight);

// A bar of barPixels whose bottom-left corner is at `at` (the point clicked in the editor),
// with its label centred above it.
ScaleBarLayout PlaceScaleBar(int32_t barPixels, editor::Point at, const ScaleBarText& text);

// The bar in the bottom-right corner of an area (a saved picture, or the live picture as
// shown), bottomInset pixels above the area's bottom margin (stamps printed along the bottom);
// the label is kept inside the area.
ScaleBarLayout CornerScaleBar(int32_t barPixels, int32_t areaWidth, int32_t areaHeight,
                              const ScaleBarText& text, int32_t bottomInset = 0);

// The pixels a bar of picturePixels takes when the picture is shown shownWidth pixels wide
// instead of pictureWidth (the live picture stretched into its place), rounded.
int32_t ShownPixels(int32_t picturePixels, int32_t pictureWidth, int32_t shownWidth);

// Height taken by the stamps printed along the bottom of a picture of that height (those in
// its lower half), so that a corner bar can sit above them; 0 when there are none.
int32_t BottomStampInset(const std::vector<StampText>& stamps, int32_t pictureHeight);

// The width the stamps assume for a text of n characters: n * (|fontHeight| / 2).
int32_t EstimatedTextWidth(size_t characters, int32_t fontHeight);

}  // namespace orvane::results
