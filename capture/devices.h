#pragma once
// The accepted cameras and how a capture device's moniker name maps to its model code.
#include <cstdint>
#include <string_view>

namespace orvane {

constexpr int kMaxDevices = 8;
constexpr int kDeviceNameUnits = 520;  // one slot of the friendly-name table
constexpr uint32_t kDeviceModel6710Code = 0xFFFFFFFF;

// The model code of a device, from its moniker display name; 0 when it is not accepted.
uint32_t DeviceCodeFromDisplayName(std::u16string_view displayName);

// True when the display name is the one of the pid_6710 model.
bool IsModel6710Name(std::u16string_view displayName);

// Case-insensitive (ASCII) substring search, as the device table needs.
bool ContainsNoCase(std::u16string_view haystack, std::u16string_view needle);

}  // namespace orvane
