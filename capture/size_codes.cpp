#include "capture/size_codes.h"

#include <algorithm>
#include <array>

namespace orvane {

namespace {
constexpr std::array<uint32_t, 19> kValidStoredResolutions = {
    // Preview sizes whose photo comes from the still pin.
    0x00A00078, 0x00B00090, 0x014000F0, 0x01600120, 0x028001E0, 0x03200258, 0x050003C0, 0x05000400,
    0x064004B0,
    // Preview sizes with a photo option.
    0x128001E0, 0x13200258, 0x150003C0, 0x228001E0, 0x23200258, 0x250003C0, 0x328001E0, 0x33200258,
    0x350003C0, 0x43200258};

constexpr std::array<ResolutionItem, 17> kCatalogue = {{
    {60001, u"160 x 120", 0x00A00078},
    {60002, u"176 x 144", 0x00B00090},
    {60003, u"320 x 240", 0x014000F0},
    {60004, u"352 x 288", 0x01600120},
    {60005, u"640 x 480", 0x028001E0},
    {60006, u"800 x 600", 0x03200258},
    {60007, u"1280 x 960", 0x050003C0},
    {60008, u"1280 x 1024", 0x05000400},
    {60009, u"1600 x 1200", 0x064004B0},
    {60101, u"640 x 480    /  640 x 480", 0x128001E0},
    {60102, u"800 x 600   /  800 x 600", 0x13200258},
    {60103, u"800 x 600   /  2048 x 1536", 0x23200258},
    {60104, u"800 x 600   /  2560 x 1920", 0x33200258},
    {60105, u"800 x 600   /  3488 x 2616", 0x43200258},
    {60106, u"1280 x 960   /  1280 x 960", 0x150003C0},
    {60107, u"1280 x 960   /  2048 x 1536", 0x250003C0},
    {60108, u"1280 x 960   /  2560 x 1920", 0x350003C0},
}};
}  // namespace

bool IsValidStoredResolution(uint32_t code) {
    return std::find(kValidStoredResolutions.begin(), kValidStoredResolutions.end(), code) !=
           kValidStoredResolutions.end();
}

uint32_t PhotoSizeOf(uint32_t code) {
    switch (PhotoOption(code)) {
        case 0:
            return code;
        case 2:
            return 0x08000600;  // 2048 x 1536
        case 3:
            return 0x0A000780;  // 2560 x 1920
        case 4:
            return 0x0DA00A38;  // 3488 x 2616
        default:
            return WithoutOption(code);
    }
}

uint32_t CorrectedStillSize(uint32_t reported) {
    if (reported == 0x05000780) return 0x0A000780;
    if (reported == 0x06D0051C) return 0x0DA00A38;
    return reported;
}

std::span<const ResolutionItem> ResolutionCatalogue() {
    return kCatalogue;
}

const ResolutionItem* ResolutionByCommand(int commandId) {
    for (const ResolutionItem& item : kCatalogue) {
        if (item.commandId == commandId) return &item;
    }
    return nullptr;
}

const ResolutionItem* ResolutionBySizeCode(uint32_t code) {
    for (const ResolutionItem& item : kCatalogue) {
        // 60101 is never offered, so its code checks nothing.
        if (item.sizeCode == code && item.commandId != 60101) return &item;
    }
    return nullptr;
}

}  // namespace orvane
