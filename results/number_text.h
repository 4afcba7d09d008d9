#pragma once
// Numbers written into text files: the measurement labels' three decimals and the full
// precision of a double, both with "." as decimal point whatever the C library's locale.
#include <cstdint>
#include <string>
#include <string_view>

namespace orvane::results {

// The digits a measurement label shows ("%.3f", "---" for an undefined or infinite value),
// with "." as decimal point.
std::string LabelNumber(double v);

// The shortest text that reads back as exactly v ("0.1", "35.5", "1e-07"); "nan", "inf" and
// "-inf" for the values that are no number.
std::string RoundTripNumber(double v);

// The whole text as a double (decimal or exponent form, "nan", "inf"); false for anything
// else, including blanks around it.
bool ParseNumber(std::string_view text, double& v);
// The whole text as a decimal int32 with an optional "-"; false for anything else or a value
// out of range.
bool ParseInt32(std::string_view text, int32_t& v);

}  // namespace orvane::results
