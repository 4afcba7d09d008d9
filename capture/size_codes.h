#pragma once
// Packed sizes: width in bits 16-27, height in bits 0-15, photo option in bits 28-31.
#include <cstdint>

namespace orvane {

constexpr uint32_t kDefaultResolutionDisplay = 0x050003C0;  // 1280 x 960

constexpr uint32_t SizeWidth(uint32_t code) {
    return (code >> 16) & 0xFFF;
}
constexpr uint32_t SizeHeight(uint32_t code) {
    return code & 0xFFFF;
}
constexpr uint32_t PhotoOption(uint32_t code) {
    return code >> 28;
}

// True for the values the ResolutionDisplay setting may hold when it is loaded.
bool IsValidStoredResolution(uint32_t code);

}  // namespace orvane
