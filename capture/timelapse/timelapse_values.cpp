#include "capture/timelapse/timelapse_values.h"

namespace orvane {

namespace {

bool IsBlank(char16_t c) {
    return c == u' ' || c == u'\t';
}

}  // namespace

bool ParseUnsignedField(std::u16string_view text, uint32_t& value) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    if (text.empty()) return false;
    uint64_t parsed = 0;
    for (const char16_t c : text) {
        if (c < u'0' || c > u'9') return false;
        parsed = parsed * 10 + static_cast<uint64_t>(c - u'0');
        if (parsed > UINT32_MAX) return false;
    }
    value = static_cast<uint32_t>(parsed);
    return true;
}

}  // namespace orvane
