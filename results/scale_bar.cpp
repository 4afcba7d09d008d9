#include "results/scale_bar.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>

namespace orvane::results {

namespace {

constexpr int32_t kMaxExponent = 22;  // 10^22 is the largest power of ten a double holds exactly
// A bar exactly a quarter wide must not lose to rounding of the pixel length.
constexpr double kTolerance = 1e-9;

double PowerOfTen(int32_t n) {
    double p = 1.0;
    for (int32_t i = 0; i < n; ++i) p *= 10.0;
    return p;
}

double SeriesValue(int32_t digit, int32_t exponent) {
    return exponent >= 0 ? digit * PowerOfTen(exponent) : digit / PowerOfTen(-exponent);
}

// digit * 10^exponent written out: "5000", "2", "0.01".
std::string SeriesText(int32_t digit, int32_t exponent) {
    std::string text;
    if (exponent < 0) {
        text.append("0.");
        text.append(static_cast<size_t>(-exponent - 1), '0');
    }
    text.push_back(static_cast<char>('0' + digit));
    if (exponent > 0) text.append(static_cast<size_t>(exponent), '0');
    return text;
}

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

// |h| of a font record's height, which may hold any value.
int32_t Height(int32_t h) {
    return h == INT32_MIN ? INT32_MAX : std::abs(h);
}

}  // namespace

std::optional<ScaleBar> ChooseScaleBar(const Conversion& c, int32_t pictureWidth) {
    const double perPixel = LengthPerPixel(c);
    if (pictureWidth < 4 || !std::isfinite(perPixel) || !(perPixel > 0)) return std::nullopt;
    const double longest = pictureWidth / 4.0 * perPixel;
    if (!std::isfinite(longest) || !(longest > 0)) return std::nullopt;
    const double decade = std::floor(std::log10(longest));
    if (decade > kMaxExponent + 1 || decade < -kMaxExponent - 1) return std::nullopt;
    const double limit = longest * (1 + kTolerance);
    const int32_t n = static_cast<int32_t>(decade);
    // log10 may be off by one near a power of ten: look one decade above and below.
    static constexpr std::array<int32_t, 3> kDigits = {5, 2, 1};
    for (int32_t exponent = n + 1; exponent >= n - 1 && exponent >= -kMaxExponent; --exponent) {
        if (exponent > kMaxExponent) continue;
        for (int32_t digit : kDigits) {
            const double length = SeriesValue(digit, exponent);
            if (length > limit) continue;
            const double pixels = std::round(length / perPixel);
            if (!(pixels >= 1) || pixels > INT32_MAX) return std::nullopt;
            ScaleBar bar;
            bar.digit = digit;
            bar.exponent = exponent;
            bar.length = length;
            bar.unit = c.unit;
            bar.pixels = static_cast<int32_t>(pixels);
            bar.label = SeriesText(digit, exponent) + " " + editor::UnitText(c.unit);
            return bar;
        }
    }
    return std::nullopt;
}

int32_t BarThickness(int32_t fontHeight) {
    return std::max(2, Height(fontHeight) / 4);
}

int32_t LabelGap(int32_t fontHeight) {
    return std::max(1, Height(fontHeight) / 8);
}

int32_t CornerMargin(int32_t fontHeight) {
    return std::max(4, Height(fontHeight) / 2);
}

ScaleBarLayout PlaceScaleBar(int32_t barPixels, editor::Point at, const ScaleBarText& text) {
    const int32_t lh = Height(text.fontHeight);
    const int64_t length = std::max(barPixels, 0);
    ScaleBarLayout out;
    out.bar = {at.x, Clamp32(int64_t{at.y} - BarThickness(text.fontHeight)),
               Clamp32(int64_t{at.x} + length), at.y};
    const int64_t labelX = int64_t{at.x} + (length - text.textWidth) / 2;
    const int64_t labelY = int64_t{out.bar.top} - LabelGap(text.fontHeight) - lh;
    out.label = {Clamp32(labelX), Clamp32(labelY)};
    out.bounds = {std::min(out.bar.left, out.label.x), out.label.y,
                  std::max(out.bar.right, Clamp32(labelX + std::max(text.textWidth, 0))),
                  out.bar.bottom};
    return out;
}

ScaleBarLayout CornerScaleBar(int32_t barPixels, int32_t areaWidth, int32_t areaHeight,
                              const ScaleBarText& text, int32_t bottomInset) {
    const int32_t margin = CornerMargin(text.fontHeight);
    const editor::Point at{Clamp32(int64_t{areaWidth} - margin - std::max(barPixels, 0)),
                           Clamp32(int64_t{areaHeight} - margin - std::max(bottomInset, 0))};
    ScaleBarLayout out = PlaceScaleBar(barPixels, at, text);
    // A label wider than the bar would run off the right edge: keep it inside.
    const int64_t rightmost = int64_t{areaWidth} - std::max(text.textWidth, 0);
    if (out.label.x > rightmost) out.label.x = Clamp32(std::max<int64_t>(rightmost, 0));
    out.bounds.left = std::min(out.bar.left, out.label.x);
    out.bounds.right =
        std::max(out.bar.right, Clamp32(int64_t{out.label.x} + std::max(text.textWidth, 0)));
    return out;
}

int32_t ShownPixels(int32_t picturePixels, int32_t pictureWidth, int32_t shownWidth) {
    if (pictureWidth <= 0 || shownWidth <= 0) return 0;
    return Clamp32(std::llround(static_cast<double>(picturePixels) * shownWidth / pictureWidth));
}

int32_t BottomStampInset(const std::vector<StampText>& stamps, int32_t pictureHeight) {
    int32_t inset = 0;
    for (const StampText& s : stamps) {
        if (s.y > pictureHeight / 2) inset = std::max(inset, pictureHeight - s.y);
    }
    return inset;
}

int32_t EstimatedTextWidth(size_t characters, int32_t fontHeight) {
    return Clamp32(static_cast<int64_t>(std::min<size_t>(characters, 1u << 20)) *
                   (Height(fontHeight) / 2));
}

}  // namespace orvane::results
