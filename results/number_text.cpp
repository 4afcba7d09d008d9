#include "results/number_text.h"

#include <charconv>

#include "editor/geometry/measure_units.h"

namespace orvane::results {

std::string LabelNumber(double v) {
    std::string text = editor::FormatValue(v);
    // "%.3f" writes no grouping, so a decimal comma of some locale is the only other character.
    for (char& c : text) {
        if (c == ',') c = '.';
    }
    return text;
}

std::string RoundTripNumber(double v) {
    char buffer[64];
    const std::to_chars_result r = std::to_chars(buffer, buffer + sizeof buffer, v);
    if (r.ec != std::errc()) return {};
    return std::string(buffer, r.ptr);
}

bool ParseNumber(std::string_view text, double& v) {
    if (text.empty()) return false;
    double parsed = 0;
    const std::from_chars_result r =
        std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    v = parsed;
    return true;
}

bool ParseInt32(std::string_view text, int32_t& v) {
    if (text.empty()) return false;
    int32_t parsed = 0;
    const std::from_chars_result r =
        std::from_chars(text.data(), text.data() + text.size(), parsed);
    if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return false;
    v = parsed;
    return true;
}

}  // namespace orvane::results
