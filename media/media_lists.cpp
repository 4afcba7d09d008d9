#include "media/media_lists.h"

#include <algorithm>

#include "media/capture_names.h"
#include "media/text.h"

namespace orvane {

std::vector<std::u16string> ScanCaptureFolder(MediaFiles& files, const std::u16string& folder,
                                              std::u16string_view pattern) {
    std::vector<std::u16string> names;
    const bool listed = files.ListFolder(folder, pattern, [&](std::u16string_view name) {
        if (IsCaptureFileName(name)) names.push_back(UpperCase(name));
    });
    std::vector<std::u16string> paths;
    if (!listed || names.empty()) return paths;
    // Every capture file name has 13 units, so the paths share one upper-cased folder part
    // and sort as their names do; either all of them fit the path limit or none.
    const std::u16string first = JoinPath(folder, names.front());
    if (first.empty()) return paths;
    const std::u16string prefix = UpperCase(first.substr(0, first.size() - names.front().size()));
    std::sort(names.begin(), names.end());
    paths.reserve(names.size());
    for (const std::u16string& name : names) {
        std::u16string& path = paths.emplace_back();
        path.reserve(prefix.size() + name.size());
        path.append(prefix).append(name);
    }
    return paths;
}

void RebuildMediaLists(MediaFiles& files, const std::u16string& pictureFolder,
                       const std::u16string& videoFolder, MediaLists& lists) {
    lists.pictures = ScanCaptureFolder(files, pictureFolder, u"*.*");
    lists.videos = ScanCaptureFolder(files, videoFolder, u"*.avi");
}

std::vector<DisplayItem> MergeDisplayList(const std::vector<std::u16string>& pictures,
                                          const std::vector<std::u16string>& thumbnails) {
    std::vector<DisplayItem> display;
    display.reserve(pictures.size() + thumbnails.size());
    size_t i = 0;
    size_t j = 0;
    while (i < pictures.size() || j < thumbnails.size()) {
        const std::u16string_view a =
            i < pictures.size() ? LastUnits(pictures[i], kCaptureFileNameChars) : kEndSentinel;
        const std::u16string_view b =
            j < thumbnails.size() ? LastUnits(thumbnails[j], kCaptureFileNameChars) : kEndSentinel;
        // An entry that does not sort below the sentinel must still be taken once its list is
        // the only one left.
        if (j == thumbnails.size() || (i < pictures.size() && a < b)) {
            display.push_back({false, i++});
        } else {
            display.push_back({true, j++});
        }
    }
    return display;
}

}  // namespace orvane
