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

bool IsVideoThumbnailPath(std::u16string_view path) {
    return UpperCase(path).find(u"THUMB") != std::u16string::npos;
}

std::u16string VideoPathFromThumbnail(std::u16string_view thumbPath) {
    if (thumbPath.size() < kCaptureFileNameChars) return {};
    const std::u16string upper = UpperCase(thumbPath);
    const size_t at = upper.find(u"THUMB");
    if (at == std::u16string::npos) return {};
    std::u16string path = upper.substr(0, at);
    path += NamePart(thumbPath);
    path += u".avi";
    return Checked(std::move(path));
}

}  // namespace orvane
