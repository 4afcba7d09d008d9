#pragma once
// Capture file names: "TX" + seven base-36 digits of the capture time in 50-ms steps + extension.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace orvane {

enum class CaptureKind { Picture, Video };

constexpr size_t kCaptureNameChars = 9;       // "TX" + 7 digits
constexpr size_t kCaptureFileNameChars = 13;  // name + "." + 3-letter extension
constexpr std::u16string_view kEndSentinel = u"TXZZZZZZZ.ZZZ";

// Ticks of 100 ns from 1601-01-01 UTC to the start of the count, 2015-11-28 00:30:36.34 UTC.
constexpr int64_t kCaptureEpochTicks = 0x01D1297400000000LL;
constexpr int64_t kTicksPerStep = 500000;          // 50 ms
constexpr int64_t kStepsPerCycle = 78364164096LL;  // 36^7: the count wraps after this many

// 50-ms steps since the start of the count for a UTC file time; a clock earlier than the start
// counts as step 0.
int64_t CaptureStep(int64_t utcFileTime);

// The 9-character name of a step; only its lowest seven base-36 digits are kept.
std::u16string CaptureNameOfStep(int64_t step);

struct CaptureFolders {
    std::u16string picture;
    std::u16string video;
};

// Upper-cased full path of a capture: picture folder + name (no extension, the caller adds
// ".BMP" or ".JPG"), or video folder + name + ".AVI". Empty when the path would be too long.
std::u16string MakeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                               int64_t utcFileTime);

// As MakeCaptureName, but moves on by 50-ms steps while the name is taken, so two captures in
// one step keep distinct names in time order. A picture name counts as taken when a ".BMP" or
// ".JPG" of it exists (both would share one side file), a video name when its ".AVI" exists.
// Empty when no free name is found within maxSteps steps or the path is too long.
using PathExists = std::function<bool(const std::u16string&)>;
std::u16string MakeFreeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                                   int64_t utcFileTime, const PathExists& exists,
                                   int maxSteps = 1000);

// True for a bare file name of 13 characters "TX" + 7 upper-case alphanumerics + any character
// + "BMP", "JPG" or "AVI", compared after upper-casing.
bool IsCaptureFileName(std::u16string_view fileName);

class MediaClock;
class MediaFiles;
// The same, reading the time from the clock and testing names against the files.
std::u16string MakeCaptureName(CaptureKind kind, const CaptureFolders& folders, MediaClock& clock);
std::u16string MakeFreeCaptureName(CaptureKind kind, const CaptureFolders& folders,
                                   MediaClock& clock, MediaFiles& files);

}  // namespace orvane
