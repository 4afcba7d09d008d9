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
}  // namespace

bool IsValidStoredResolution(uint32_t code) {
    return std::find(kValidStoredResolutions.begin(), kValidStoredResolutions.end(), code) !=
           kValidStoredResolutions.end();
}

}  // namespace orvane
