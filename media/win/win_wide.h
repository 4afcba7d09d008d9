#pragma once
// UTF-16 strings of the portable code as the platform's wide strings.
#include <string>

namespace orvane {

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the platform's wide characters are UTF-16");

inline const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

inline std::u16string FromWide(const wchar_t* text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text));
}

}  // namespace orvane
