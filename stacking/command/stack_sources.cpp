#include "stacking/command/stack_sources.h"

#include <algorithm>

#include "media/companion_paths.h"
#include "media/text.h"

namespace orvane::stacking {

StackSources ChooseStackSources(const std::vector<std::u16string>& selected,
                                std::u16string_view thumbFolder) {
    StackSources sources;
    size_t clips = 0;
    for (const std::u16string& path : selected) {
        if (IsVideoThumbnailPath(path, thumbFolder)) {
            ++clips;
            sources.clip = VideoPathFromThumbnail(path);
        } else {
            sources.pictures.push_back(path);
        }
    }
    if (clips == 1 && sources.pictures.empty() && !sources.clip.empty()) {
        sources.kind = SourceKind::kClip;
        return sources;
    }
    sources.clip.clear();
    // Paths differ at most in case (the file system ignores it): one picture, one entry.
    std::sort(sources.pictures.begin(), sources.pictures.end(),
              [](const std::u16string& a, const std::u16string& b) {
                  return UpperCase(a) < UpperCase(b);
              });
    sources.pictures.erase(std::unique(sources.pictures.begin(), sources.pictures.end(),
                                       [](const std::u16string& a, const std::u16string& b) {
                                           return UpperCase(a) == UpperCase(b);
                                       }),
                           sources.pictures.end());
    if (clips == 0 && sources.pictures.size() >= 2) {
        sources.kind = SourceKind::kPictures;
    } else {
        sources.pictures.clear();
    }
    return sources;
}

std::vector<int32_t> ClipFramePositions(int32_t first, int32_t count, int32_t most) {
    std::vector<int32_t> positions;
    if (count < 1) return positions;
    if (most < 1) most = 1;
    const int32_t step = count / most + (count % most != 0 ? 1 : 0);
    positions.reserve(static_cast<size_t>(count / step + 1));
    for (int64_t k = 0; k < count; k += step) positions.push_back(static_cast<int32_t>(first + k));
    return positions;
}

int FirstOddSized(const std::vector<std::optional<PictureSize>>& sizes) {
    if (sizes.empty() || !sizes.front()) return -1;
    for (size_t i = 1; i < sizes.size(); ++i)
        if (sizes[i] && *sizes[i] != *sizes.front()) return static_cast<int>(i);
    return -1;
}

}  // namespace orvane::stacking
