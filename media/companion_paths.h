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

// A path stands for a video exactly when its upper-cased form contains "THUMB".
bool IsVideoThumbnailPath(std::u16string_view path);

// The upper-cased part of the thumbnail path before the first "THUMB" + the 9-character capture
// name + ".avi"; empty when the path holds no "THUMB".
std::u16string VideoPathFromThumbnail(std::u16string_view thumbPath);

}  // namespace orvane
