#include "media/capture_folders.h"

#include "media/companion_paths.h"
#include "media/text.h"

namespace orvane {
namespace {

bool IsLetter(char16_t c) {
    return (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
}

bool IsSeparator(char16_t c) {
    return c == u'\\' || c == u'/';
}

}  // namespace

bool IsFullyQualifiedFolder(std::u16string_view folder) {
    if (folder.size() >= 3 && IsLetter(folder[0]) && folder[1] == u':' && IsSeparator(folder[2])) {
        return true;
    }
    // A share: two separators, a server name, a separator and a share name.
    if (folder.size() < 5 || !IsSeparator(folder[0]) || !IsSeparator(folder[1])) return false;
    const std::u16string_view rest = folder.substr(2);
    const size_t split = rest.find_first_of(u"\\/");
    return split != std::u16string_view::npos && split > 0 && split + 1 < rest.size() &&
           rest[0] != u'?' && rest[0] != u'.';
}

std::u16string NormalisedFolder(std::u16string_view folder) {
    std::u16string out;
    out.reserve(folder.size());
    for (size_t i = 0; i < folder.size(); ++i) {
        const char16_t c = IsSeparator(folder[i]) ? u'\\' : folder[i];
        // A share keeps its two leading separators.
        if (c == u'\\' && !out.empty() && out.back() == u'\\' && i > 1) continue;
        out.push_back(c);
    }
    const bool driveRoot = out.size() == 3 && out[1] == u':';
    while (out.size() > 1 && out.back() == u'\\' && !driveRoot) out.pop_back();
    return out;
}

bool FolderHoldsCaptures(CaptureKind kind, std::u16string_view folder) {
    if (!IsFullyQualifiedFolder(folder)) return false;
    // Every capture name has the same length, so one sample answers for all.
    const std::u16string base(folder);
    if (kind == CaptureKind::Picture) {
        const std::u16string picture = JoinPath(base, u"TX0000000.BMP");
        return !picture.empty() && !SideFilePath(picture).empty() &&
               !ThumbnailCachePath(picture).empty() && !MeasurementRowsPath(picture).empty();
    }
    const std::u16string clip = JoinPath(base, u"TX0000000.AVI");
    const std::u16string thumbFolder = JoinPath(base, u"thumb");
    return !clip.empty() && !thumbFolder.empty() &&
           !VideoThumbnailPath(clip, thumbFolder).empty();
}

size_t LongestCaptureFolder(CaptureKind kind) {
    std::u16string folder = u"C:\\";
    while (FolderHoldsCaptures(kind, folder + u'a')) folder += u'a';
    return folder.size();
}

}  // namespace orvane
