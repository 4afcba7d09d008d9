#include "media/capture_names.h"

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
    const std::u16string name = UpperCase(fileName);
    if (name.size() < 3) return false;
    const std::u16string_view ext = LastUnits(name, 3);
    if (ext != u"BMP" && ext != u"JPG" && ext != u"AVI") return false;
    if (name.size() != kCaptureFileNameChars) return false;
    if (name[0] != u'T' || name[1] != u'X') return false;
    for (size_t i = 2; i < kCaptureNameChars; ++i) {
        if (!IsAlphaNumericUnit(name[i]) || IsLowerUnit(name[i])) return false;
    }
    return true;
}

}  // namespace orvane
