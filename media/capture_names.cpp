#include "media/capture_names.h"

#include "media/media_files.h"
#include "media/text.h"

namespace orvane {

namespace {
constexpr char16_t kDigits[] = u"0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ";

std::u16string PathOfStep(CaptureKind kind, const CaptureFolders& folders, int64_t step) {
    if (kind == CaptureKind::Picture)
        return UpperCase(JoinPath(folders.picture, CaptureNameOfStep(step)));
    return UpperCase(JoinPath(folders.video, CaptureNameOfStep(step) + u".avi"));
}
}  // namespace

int64_t CaptureStep(int64_t utcFileTime) {
    if (utcFileTime < kCaptureEpochTicks) return 0;
    return (utcFileTime - kCaptureEpochTicks) / kTicksPerStep;
}

std::u16string CaptureNameOfStep(int64_t step) {
    std::u16string name(kCaptureNameChars, u'0');
    name[0] = u'T';
    name[1] = u'X';
    uint64_t v = step < 0 ? 0 : static_cast<uint64_t>(step);
    for (size_t i = kCaptureNameChars - 1; i >= 2; --i) {
        name[i] = kDigits[v % 36];
        v /= 36;
    }
    return name;
}

std::u16string MakeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                               int64_t utcFileTime) {
    return PathOfStep(kind, folders, CaptureStep(utcFileTime));
}

std::u16string MakeFreeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                                   int64_t utcFileTime, const PathExists& exists, int maxSteps) {
    int64_t step = CaptureStep(utcFileTime);
    for (int tries = 0; tries < maxSteps; ++tries, ++step) {
        const std::u16string path = PathOfStep(kind, folders, step);
        if (path.empty()) return {};
        bool taken;
        if (kind == CaptureKind::Picture) {
            // The caller adds the extension; both must fit the path limit.
            if (path.size() + 4 > kMaxPathChars) return {};
            taken = exists(path + u".BMP") || exists(path + u".JPG");
        } else {
            taken = exists(path);
        }
        if (!taken) return path;
    }
    return {};
}

bool IsCaptureFileName(std::u16string_view fileName) {
    // Compared unit by unit after upper-casing; no copy is made, the scan runs for every entry
    // of a folder.
    const size_t n = fileName.size();
    if (n < 3) return false;
    const char16_t ext[3] = {UpperUnit(fileName[n - 3]), UpperUnit(fileName[n - 2]),
                             UpperUnit(fileName[n - 1])};
    const std::u16string_view e(ext, 3);
    if (e != u"BMP" && e != u"JPG" && e != u"AVI") return false;
    if (n != kCaptureFileNameChars) return false;
    if (UpperUnit(fileName[0]) != u'T' || UpperUnit(fileName[1]) != u'X') return false;
    for (size_t i = 2; i < kCaptureNameChars; ++i) {
        const char16_t c = UpperUnit(fileName[i]);
        if (!IsAlphaNumericUnit(c) || IsLowerUnit(c)) return false;
    }
    return true;
}

std::u16string MakeCaptureName(CaptureKind kind, const CaptureFolders& folders, MediaClock& clock) {
    return MakeCaptureName(kind, folders, clock.UtcFileTime());
}

std::u16string MakeFreeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                                   MediaClock& clock, MediaFiles& files) {
    return MakeFreeCaptureName(kind, folders, clock.UtcFileTime(),
                               [&files](const std::u16string& path) { return files.Exists(path); });
}

}  // namespace orvane
