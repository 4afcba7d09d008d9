#pragma once
// UTF-16 helpers between the portable char16_t strings and the platform's wchar_t.
#include <string>
#include <string_view>

static_assert(sizeof(wchar_t) == sizeof(char16_t), "the Windows build has 16-bit wchar_t");

namespace orvane {

inline std::wstring ToWide(std::u16string_view s) {
    return std::wstring(s.begin(), s.end());
}
inline std::u16string FromWide(std::wstring_view s) {
    return std::u16string(s.begin(), s.end());
}
inline const wchar_t* WidePtr(const char16_t* s) {
    return reinterpret_cast<const wchar_t*>(s);
}

}  // namespace orvane
