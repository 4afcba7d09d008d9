#include "media/companion_paths.h"

#include "media/capture_names.h"
#include "media/text.h"

namespace orvane {

namespace {
std::u16string Checked(std::u16string path) {
    if (path.size() > kMaxPathChars) return {};
    return path;
}

std::u16string_view FolderPart(std::u16string_view path) {
    return path.substr(0, path.size() - kCaptureFileNameChars);
}

std::u16string_view NamePart(std::u16string_view path) {
    return path.substr(path.size() - kCaptureFileNameChars, kCaptureNameChars);
}
}  // namespace

std::u16string SideFilePath(std::u16string_view mediaPath) {
    if (mediaPath.size() < kCaptureFileNameChars) return {};
    std::u16string path(FolderPart(mediaPath));
    path += u"Info";
    path += kPathSeparator;
    path += NamePart(mediaPath);
    return Checked(std::move(path));
}

std::u16string MeasurementRowsPath(std::u16string_view picturePath) {
    std::u16string path = SideFilePath(picturePath);
    if (path.empty()) return {};
    path += u".csv";
    return Checked(std::move(path));
}

std::u16string ThumbnailCachePath(std::u16string_view picturePath) {
    if (picturePath.size() < kCaptureFileNameChars) return {};
    std::u16string path = UpperCase(FolderPart(picturePath));
    path += u"INFO";
    path += kPathSeparator;
    path += UpperCase(LastUnits(picturePath, kCaptureFileNameChars));
    return Checked(std::move(path));
}

std::u16string VideoThumbnailPath(std::u16string_view videoPath, std::u16string_view thumbFolder) {
    if (videoPath.size() < kCaptureFileNameChars) return {};
    std::u16string name(NamePart(videoPath));
    name += u".BMP";
    return JoinPath(thumbFolder, name);
}

bool IsVideoThumbnailPath(std::u16string_view path, std::u16string_view thumbFolder) {
    if (path.size() < kCaptureFileNameChars || thumbFolder.empty()) return false;
    std::u16string_view folder = FolderPart(path);
    while (!folder.empty() && folder.back() == kPathSeparator) folder.remove_suffix(1);
    while (!thumbFolder.empty() && thumbFolder.back() == kPathSeparator) thumbFolder.remove_suffix(1);
    return !folder.empty() && UpperCase(folder) == UpperCase(thumbFolder);
}

std::u16string VideoPathFromThumbnail(std::u16string_view thumbPath) {
    if (thumbPath.size() < kCaptureFileNameChars) return {};
    // The thumbnail lies in the video folder's side folder: the clip lies one folder up.
    std::u16string_view folder = FolderPart(thumbPath);
    if (folder.empty() || folder.back() != kPathSeparator) return {};
    folder.remove_suffix(1);
    const size_t separator = folder.find_last_of(kPathSeparator);
    if (separator == std::u16string_view::npos) return {};
    std::u16string path = UpperCase(folder.substr(0, separator + 1));
    path += NamePart(thumbPath);
    path += u".avi";
    return Checked(std::move(path));
}

}  // namespace orvane
