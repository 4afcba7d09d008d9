#include "capture/devices.h"

#include <array>

namespace orvane {

namespace {
struct AcceptedCamera {
    std::u16string_view substring;
    uint32_t code;
};

// Tested in this order; the first match wins. Row 6 deliberately maps pid_6353 to 0x0C456563.
constexpr std::array<AcceptedCamera, 8> kAcceptedCameras = {{
    {u"usb#vid_0c45&pid_62c0", 0x0C4562C0},
    {u"usb#vid_0c45&pid_6340", 0x0C456340},
    {u"usb#vid_0c45&pid_62c1", 0x2C4562C1},
    {u"usb#vid_0c45&pid_62e0", 0xFFFFFFFF},
    {u"usb#vid_0c45&pid_6710", 0xFFFFFFFF},
    {u"usb#vid_0c45&pid_6353", 0x0C456563},
    {u"usb#vid_0c45&pid_6320", 0x0C456320},
    {u"usb#vid_0c45&pid_6355", 0x0C456355},
}};

constexpr char16_t Lower(char16_t c) {
    return (c >= u'A' && c <= u'Z') ? c + (u'a' - u'A') : c;
}
}  // namespace

bool ContainsNoCase(std::u16string_view haystack, std::u16string_view needle) {
    if (needle.empty()) return true;
    if (needle.size() > haystack.size()) return false;
    for (size_t i = 0; i + needle.size() <= haystack.size(); ++i) {
        size_t k = 0;
        while (k < needle.size() && Lower(haystack[i + k]) == Lower(needle[k])) ++k;
        if (k == needle.size()) return true;
    }
    return false;
}

uint32_t DeviceCodeFromDisplayName(std::u16string_view displayName) {
    for (const AcceptedCamera& camera : kAcceptedCameras) {
        if (ContainsNoCase(displayName, camera.substring)) return camera.code;
    }
    return 0;
}

bool IsModel6710Name(std::u16string_view displayName) {
    return ContainsNoCase(displayName, u"usb#vid_0c45&pid_6710");
}

}  // namespace orvane
