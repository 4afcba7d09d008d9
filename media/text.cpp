#include "media/text.h"

namespace orvane {

namespace {
// Latin Extended-A pairs capitals at even code points with small letters at the next odd one,
// except in 0x139-0x148 and 0x179-0x17E where the capital sits at the odd point.
bool OddCapitalRange(char16_t c) {
    return (c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E);
}
}  // namespace

char16_t UpperUnit(char16_t c) {
    if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 0x20);
    if (c < 0x80) return c;
    if (c >= 0xE0 && c <= 0xFE && c != 0xF7) return static_cast<char16_t>(c - 0x20);
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x178 && c != 0x17F) {
        const bool odd = (c & 1) != 0;
        if (OddCapitalRange(c)) return odd ? c : static_cast<char16_t>(c - 1);
        return odd ? static_cast<char16_t>(c - 1) : c;
    }
    if (c >= 0x3B1 && c <= 0x3C9 && c != 0x3C2) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x430 && c <= 0x44F) return static_cast<char16_t>(c - 0x20);
    if (c >= 0x450 && c <= 0x45F) return static_cast<char16_t>(c - 0x50);
    return c;
}

char16_t LowerUnit(char16_t c) {
    if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c + 0x20);
    if (c < 0x80) return c;
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
    if (c == 0x178) return 0xFF;
    if (c >= 0x100 && c <= 0x17F && c != 0x130 && c != 0x131 && c != 0x138 && c != 0x149 &&
        c != 0x17F) {
        const bool odd = (c & 1) != 0;
        if (OddCapitalRange(c)) return odd ? static_cast<char16_t>(c + 1) : c;
        return odd ? c : static_cast<char16_t>(c + 1);
    }
    if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);
    if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);
    return c;
}

std::u16string UpperCase(std::u16string_view text) {
    std::u16string out(text);
    for (char16_t& c : out) c = UpperUnit(c);
    return out;
}

bool IsAlphaNumericUnit(char16_t c) {
    if (c >= u'0' && c <= u'9') return true;
    return UpperUnit(c) != c || LowerUnit(c) != c;
}

bool IsLowerUnit(char16_t c) {
    return UpperUnit(c) != c;
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
    while (!name.empty() && name.front() == kPathSeparator) name.remove_prefix(1);
    std::u16string path(folder);
    if (!path.empty() && path.back() != kPathSeparator && !name.empty()) path += kPathSeparator;
    path += name;
    if (path.size() > kMaxPathChars) return {};
    return path;
}

std::u16string_view LastUnits(std::u16string_view text, size_t n) {
    return text.size() <= n ? text : text.substr(text.size() - n);
}

}  // namespace orvane
