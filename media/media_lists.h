#pragma once
// The picture and video lists built from a folder scan, and their merge into the display list.
#include <cstddef>
#include <string>
#include <vector>

#include "media/media_files.h"

namespace orvane {

struct MediaLists {
    std::vector<std::u16string> pictures;    // upper-cased full paths, ascending
    std::vector<std::u16string> videos;      // likewise, the clips of the video folder
    std::vector<std::u16string> thumbnails;  // video thumbnails, in video-list order
};

// Upper-cased full paths of the capture files of a folder whose names match the pattern,
// ascending by code units; empty when the folder cannot be enumerated.
std::vector<std::u16string> ScanCaptureFolder(MediaFiles& files, const std::u16string& folder,
                                              std::u16string_view pattern);

// Scans the picture folder ("*.*") and the video folder ("*.avi") anew.
void RebuildMediaLists(MediaFiles& files, const std::u16string& pictureFolder,
                       const std::u16string& videoFolder, MediaLists& lists);

// One display entry: an index into the picture list or the thumbnail list.
struct DisplayItem {
    bool isVideo = false;
    size_t index = 0;
    bool operator==(const DisplayItem&) const = default;
};

// Merges pictures and thumbnails by their last 13 characters; on equal names the clip comes
// first.
std::vector<DisplayItem> MergeDisplayList(const std::vector<std::u16string>& pictures,
                                          const std::vector<std::u16string>& thumbnails);

}  // namespace orvane
