#pragma once
// Packed sizes: width in bits 16-27, height in bits 0-15, photo option in bits 28-31.
#include <cstdint>
#include <span>
#include <string_view>

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
constexpr uint32_t WithoutOption(uint32_t code) {
    return code & 0x0FFFFFFF;
}
constexpr uint32_t MakeSizeCode(uint32_t width, uint32_t height, uint32_t option = 0) {
    return option << 28 | (width & 0xFFF) << 16 | (height & 0xFFFF);
}

// True for the values the ResolutionDisplay setting may hold when it is loaded.
bool IsValidStoredResolution(uint32_t code);

// The size of the photo a code produces.
uint32_t PhotoSizeOf(uint32_t code);

// The still pin's reported size with the known corrections (1280x1920 is 2560x1920,
// 1744x1308 is 3488x2616).
uint32_t CorrectedStillSize(uint32_t reported);

// One item of the resolution submenu.
struct ResolutionItem {
    int commandId;
    std::u16string_view text;
    uint32_t sizeCode;
};

// Every resolution the menus know, including 60101, which is never offered.
std::span<const ResolutionItem> ResolutionCatalogue();
// The item of a command id or of a size code; null when there is none.
const ResolutionItem* ResolutionByCommand(int commandId);
const ResolutionItem* ResolutionBySizeCode(uint32_t code);

}  // namespace orvane
