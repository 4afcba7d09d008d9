#pragma once
// The values of a time-lapse series as the user sets them up, and how they are typed in.
#include <cstdint>
#include <string_view>

namespace orvane {

enum class TimeLapseMode : uint32_t { kPhoto = 0, kVideo = 2 };

struct TimeLapseValues {
    uint32_t interval = 10;   // seconds between photos, or from the end of a clip to the next
    uint32_t videoTime = 10;  // seconds per clip
    uint32_t total = 10;      // photos or clips in the series
    uint32_t captured = 0;    // taken so far
    TimeLapseMode mode = TimeLapseMode::kPhoto;
};

// An unsigned decimal as typed into a field: digits with optional surrounding blanks, at most
// 4294967295. Anything else (empty, a sign, letters, too large) is refused.
bool ParseUnsignedField(std::u16string_view text, uint32_t& value);

}  // namespace orvane
