#pragma once
// Plays a clip in the system's player.
#include <string>

namespace orvane {

// The clip a video thumbnail stands for, opened by its file type, else through the shell's
// explorer, else through the explorer with elevation.
void PlayClipOfThumbnail(const std::u16string& thumbnail);

}  // namespace orvane
