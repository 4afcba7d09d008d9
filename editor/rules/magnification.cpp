#include "editor/rules/magnification.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace orvane::editor {
namespace {

std::string Format(const char* format, double v) {
    char text[64];
    int n = std::snprintf(text, sizeof text, format, v);
    if (n < 0) return {};
    return std::string(text, static_cast<size_t>(n) < sizeof text ? n : sizeof text - 1);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

}  // namespace

double PixelFactorOf(uint32_t deviceCode) {
    switch (deviceCode) {
        case 0x0C4562C0u:
        case 0x0C456320u:
            return 0.38093;
        case 0x0C456355u:
            return 0.2;
        case 0x0C456563u:
            return 0.237725;
        default:
            return kDefaultPixelFactor;
    }
}

double PictureScale(uint32_t stillSize, int32_t imageWidth, int32_t imageHeight) {
    const long double w = static_cast<long double>(stillSize >> 16);
    const long double h = static_cast<long double>(stillSize & 0xFFFFu);
    if (imageWidth <= 0 || imageHeight <= 0 || w == 0 || h == 0) return 1.0;
    const long double rw = w / imageWidth;
    const long double rh = h / imageHeight;
    return static_cast<double>(rh < rw ? rh : rw);
}

Magnifications OpenedMagnifications(double pictureMagnification, double adjustedMagnification) {
    Magnifications m;
    m.picture = pictureMagnification;
    m.adjusted = adjustedMagnification;
    m.useAdjusted = adjustedMagnification > 1.0;
    m.active = m.useAdjusted ? m.adjusted : m.picture;
    return m;
}

std::string MagnificationBoxText(Magnifications& m) {
    if (m.adjusted > 1.0) {
        m.active = m.adjusted;
        return Format("%.2f", m.adjusted);
    }
    if (m.picture > 1.0) {
        m.active = m.picture;
        return Format("%.2f", m.picture);
    }
    return std::string(kNoMagnification);
}

double MeasureMagnification(const Magnifications& m, bool calibrationLine) {
    const double v = m.useAdjusted ? m.adjusted : m.picture;
    if (calibrationLine && !(v > 1.0)) return 50.0;
    return v;
}

void RecomputeActive(Magnifications& m) {
    m.active = m.adjusted != 0.0 ? m.adjusted : m.picture;
}

std::string SetPictureMagnification(Magnifications& m, double x) {
    m.picture = x;
    m.adjusted = 0.0;
    m.useAdjusted = false;
    m.active = x;
    return x > 1.0 ? Format("%0.1f", x) : std::string();
}

std::string ResetPictureMagnification(Magnifications& m) {
    m = Magnifications{};
    return std::string(kNoMagnification);
}

std::string MagnificationEntryText(double start) {
    if (!(start >= kMinMagnification && start <= kMaxMagnification)) {
        return std::string(kNoMagnification);
    }
    // The shortest text that reads back as the same value: OK without an edit keeps it whole.
    char text[32];
    for (int digits = 1; digits <= 17; ++digits) {
        std::snprintf(text, sizeof text, "%.*g", digits, start);
        if (std::strtod(text, nullptr) == start) break;
    }
    return text;
}

bool AcceptsMagnification(double x) {
    return x >= kMinMagnification && x <= kMaxMagnification;
}

bool ParseMagnificationEntry(std::string_view text, double& value) {
    std::string s(text.substr(0, 256));
    size_t begin = 0;
    while (begin < s.size() && IsBlank(s[begin])) ++begin;
    if (begin == s.size()) return false;
    const char* start = s.c_str() + begin;
    char* end = nullptr;
    const double v = std::strtod(start, &end);
    if (end == start) return false;
    while (*end != '\0' && IsBlank(*end)) ++end;
    if (*end != '\0') return false;
    value = v;
    return true;
}

DoubleHalves SplitDouble(double v) {
    uint64_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32)};
}

double JoinDouble(uint32_t low, uint32_t high) {
    const uint64_t bits = (static_cast<uint64_t>(high) << 32) | low;
    double v = 0;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

double CalibrationReference(double active) {
    return active > 1.0 ? active : 50.0;
}

double AdjustedFromActual(double measured, std::string_view actualText, int32_t unit) {
    double a = 0.0;
    std::string s(actualText.substr(0, 256));
    a = std::strtod(s.c_str(), nullptr);
    double adjusted = measured / a;
    switch (unit) {
        case 1:
            adjusted *= 1000.0;
            break;
        case 2:
            adjusted /= 0.0254;
            break;
        case 3:
            adjusted /= 25.4;
            break;
        default:
            break;
    }
    return adjusted;
}

bool IsUsableAdjusted(double adjusted) {
    return std::isfinite(adjusted) && adjusted > 0.0;
}

std::string AdjustedText(double adjusted) {
    return IsUsableAdjusted(adjusted) ? Format("%.2f", adjusted) : std::string(kNoMagnification);
}

}  // namespace orvane::editor
