#pragma once
// What one tick of a running time-lapse series does. Times are local times as 100-ns counts
// (file times); the tick runs about once a second.
#include <cstdint>

#include "capture/timelapse/timelapse_values.h"

namespace orvane {

// The recorder as the series sees it: a clip being started or stopped is neither idle nor
// ready to be stopped, so the series waits for it.
enum class RecorderState { kIdle, kRecording, kChanging };

enum class TickAction {
    kWait,
    kPhoto,      // take a photo
    kStartClip,  // run the Record command to start a clip
    kEndClip,    // run the Record command to end the clip
    kFinish,     // the series is complete: stop it and close its dialog
};

// Milliseconds from last to now, negative before last.
int64_t ElapsedMs(int64_t last, int64_t now);

// Decides the tick and applies it to the series: a photo or an ended clip counts in
// values.captured, and every photo or clip start or end moves last to now.
TickAction TimeLapseTick(TimeLapseValues& values, int64_t& last, int64_t now,
                         RecorderState recorder);

}  // namespace orvane
