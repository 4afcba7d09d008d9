#pragma once
// Names of the hidden companion files of a capture. Every function expects a full path ending
// in a 13-character capture file name and returns an empty path when the input is shorter or
// the result would exceed the platform's path limit.
#include <string>
#include <string_view>

namespace orvane {

// Folder of the media file + "Info\" + the 9-character capture name.
std::u16string SideFilePath(std::u16string_view mediaPath);

// The side file path + ".csv": the measurement rows the editor keeps for a picture.
std::u16string MeasurementRowsPath(std::u16string_view picturePath);

// The upper-cased picture path with "INFO\" before its file name.
std::u16string ThumbnailCachePath(std::u16string_view picturePath);

// Thumb folder + "\" + the clip's 9-character capture name + ".BMP".
std::u16string VideoThumbnailPath(std::u16string_view videoPath, std::u16string_view thumbFolder);

// A path stands for a clip's thumbnail when it lies in the thumb folder (compared without regard
// to case or a trailing separator); a folder merely named like it ("D:\Thumbnails") does not.
bool IsVideoThumbnailPath(std::u16string_view path, std::u16string_view thumbFolder);

// The clip of a thumbnail: the upper-cased folder above the thumbnail's folder + the 9-character
// capture name + ".avi"; empty when the thumbnail has no folder above its own.
std::u16string VideoPathFromThumbnail(std::u16string_view thumbPath);

}  // namespace orvane
