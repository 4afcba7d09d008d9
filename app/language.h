#pragma once
// Language codes and the string-table base they select.
#include <cstdint>

namespace orvane {

// String id of message n is StringBase(language) + 1000 + n. Codes outside 501..513 act as 503.
uint32_t StringBase(uint32_t language);
constexpr uint32_t MessageId(uint32_t stringBase, int n) {
    return stringBase + 1000 + static_cast<uint32_t>(n);
}

}  // namespace orvane
