#include "media/win/stamped_save.h"

#include <algorithm>
#include <vector>

#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"
#include "media/win/picture_image.h"
#include "media/win/stamp_painter.h"
#include "media/win/win_media_files.h"
#include "platform/wide.h"

namespace orvane {

namespace {

constexpr int32_t kSmallWidth = 320;
constexpr int32_t kSmallHeight = 240;
constexpr uint64_t kLargestIntermediate = 1ull << 30;

bool ReadWhole(const std::wstring& path, std::vector<uint8_t>& bytes) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return false;
    const uint64_t size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    if (size > kLargestIntermediate) return false;
    WinMediaFiles files;
    return files.ReadPrefix(FromWide(path), static_cast<size_t>(size), bytes) &&
           bytes.size() == size;
}

bool EndsWithJpg(const std::wstring& path) {
    static constexpr wchar_t kJpg[] = L".JPG";
    if (path.size() < 4) return false;
    for (size_t i = 0; i < 4; ++i) {
        if (towupper(path[path.size() - 4 + i]) != kJpg[i]) return false;
    }
    return true;
}

}  // namespace

StampedSaveResult SaveStampedPicture(const StampedSaveRequest& r) {
    // Through a BMP file, so every source format arrives as plain rows.
    const PictureBitmap decoded = LoadPicture(r.source);
    const std::wstring intermediate = r.temporaryFolder + L"Orvane.bmp";
    std::vector<uint8_t> file;
    if (!decoded.bitmap || !SavePicture(decoded, intermediate) || !ReadWhole(intermediate, file)) {
        return StampedSaveResult::SourceUnreadable;
    }
    const std::optional<PixelRows> source = ReadBmpPixels(file.data(), file.size());
    if (!source) return StampedSaveResult::SourceUnreadable;

    const int32_t width = r.fullSize ? source->width : kSmallWidth;
    const int32_t height = r.fullSize ? source->height : kSmallHeight;
    const double ratio = std::min(static_cast<double>(source->width) / width,
                                  static_cast<double>(source->height) / height);
    PixelRows out = SampleNearest(*source, NearestIndices(width, ratio, source->width),
                                  NearestIndices(height, ratio, source->height));
    StampRequest stamps;
    stamps.bits = r.stampBits;
    stamps.width = width;
    stamps.height = height;
    stamps.fontHeight = r.font.lfHeight;
    stamps.captureTime = r.captureTime;
    const std::u16string sourcePath = FromWide(r.source);
    stamps.path = sourcePath;
    stamps.magnification = r.magnification;
    StampPixelRows(out, LayoutStamps(stamps), r.font, r.colour);

    const std::vector<uint8_t> bmp = WriteBmp24(out);
    WinMediaFiles files;
    if (!files.WriteWhole(FromWide(r.target), bmp.data(), bmp.size())) {
        return StampedSaveResult::TargetUnwritable;
    }
    if (EndsWithJpg(r.target)) {
        const PictureBitmap written = LoadPicture(r.target);
        if (!written.bitmap || !SavePicture(written, r.target)) {
            return StampedSaveResult::TargetUnwritable;
        }
    }
    return StampedSaveResult::Saved;
}

}  // namespace orvane
