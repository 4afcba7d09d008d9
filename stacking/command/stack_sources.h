#pragma once
// What the strip's selection gives the focus stacker: two or more pictures, or one clip, and
// which frames of a clip go in.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "media/picture_size.h"

namespace orvane::stacking {

enum class SourceKind {
    kNone,      // nothing that can be stacked: no entry, one picture, a clip among others
    kPictures,  // two or more pictures
    kClip,      // exactly one clip
};

struct StackSources {
    SourceKind kind = SourceKind::kNone;
    std::vector<std::u16string> pictures;  // in capture order (by name), each once
    std::u16string clip;                   // the clip's own path (not its thumbnail)
};

// The sources of the selection's paths (pictures, or clips by their thumbnails in thumbFolder).
// Pictures come in capture order, so the earliest is the reference whatever the order of the
// clicks; a picture selected twice counts once.
StackSources ChooseStackSources(const std::vector<std::u16string>& selected,
                                std::u16string_view thumbFolder);

// The first picture whose size, as its header declares it, differs from the first picture's:
// its index, or -1 when none does or the first picture's size is not known. Pictures of unknown
// size are left to the stack itself, which reports what it cannot read.
int FirstOddSized(const std::vector<std::optional<PictureSize>>& sizes);

// A clip's frames beyond this many are thinned out: a sweep of a few seconds gives all its
// frames, a long clip every n-th so that the stack still covers the whole sweep.
constexpr int32_t kMostClipFrames = 120;

// The positions to read of a clip whose frames are first .. first + count - 1: all of them, or
// every n-th (n the smallest step that keeps at most `most`). None for a count below 1.
std::vector<int32_t> ClipFramePositions(int32_t first, int32_t count,
                                        int32_t most = kMostClipFrames);

}  // namespace orvane::stacking
