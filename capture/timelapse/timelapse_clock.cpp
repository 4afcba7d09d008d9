#include "capture/timelapse/timelapse_clock.h"

#include "capture/timelapse/timelapse_values.h"

namespace orvane {

uint32_t ParseTimeLapseSpeed(std::u16string_view text) {
    uint32_t speed = 0;
    if (!ParseUnsignedField(text, speed) || speed == 0 || speed > kMaxTimeLapseSpeed) return 1;
    return speed;
}

}  // namespace orvane
