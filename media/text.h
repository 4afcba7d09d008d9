#pragma once
// Path text helpers shared by the media library: upper-casing, character classes, joining.
#include <cstddef>
#include <string>
#include <string_view>

namespace orvane {

// Longest full path the platform accepts: 260 code units including the terminator.
constexpr size_t kMaxPathChars = 259;
constexpr char16_t kPathSeparator = u'\\';

// Upper case of one code unit: ASCII, Latin-1, Latin Extended-A, Greek and Cyrillic letters.
char16_t UpperUnit(char16_t c);
char16_t LowerUnit(char16_t c);
std::u16string UpperCase(std::u16string_view text);

// A digit, or a letter of the ranges above.
bool IsAlphaNumericUnit(char16_t c);
bool IsLowerUnit(char16_t c);

// Folder + one separator as needed + name; empty when the result would exceed kMaxPathChars.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

// The last n units of text (all of it when shorter).
std::u16string_view LastUnits(std::u16string_view text, size_t n);

}  // namespace orvane
