#include "media/win/stamped_save.h"

#include <algorithm>
#include <vector>

#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"
#include "media/win/picture_rows_io.h"
#include "media/win/stamp_painter.h"
#include "platform/wide.h"

namespace orvane {

namespace {

constexpr int32_t kSmallWidth = 320;
constexpr int32_t kSmallHeight = 240;

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
    // Every source format arrives as plain rows; at full size those rows are the output, so
    // the picture is held once (twice while a small copy is sampled from it).
    std::optional<PixelRows> source = DecodePictureRows(r.source);
    if (!source) return StampedSaveResult::SourceUnreadable;
    // Sampled and written bottom row first, as copies have always been made.
    FlipRowOrder(*source);
    PixelRows out;
    const int32_t sourceWidth = source->width, sourceHeight = source->height;
    double ratio = 1.0;
    if (r.fullSize) {
        out = std::move(*source);
    } else {
        ratio = std::min(static_cast<double>(source->width) / kSmallWidth,
                         static_cast<double>(source->height) / kSmallHeight);
        out = SampleNearest(*source, NearestIndices(kSmallWidth, ratio, source->width),
                            NearestIndices(kSmallHeight, ratio, source->height));
    }
    source.reset();
    StampRequest stamps;
    stamps.bits = r.stampBits;
    stamps.width = out.width;
    stamps.height = out.height;
    stamps.fontHeight = r.font.lfHeight;
    stamps.captureTime = r.captureTime;
    const std::u16string sourcePath = FromWide(r.source);
    stamps.path = sourcePath;
    stamps.magnification = r.magnification;
    const std::vector<StampText> printed = LayoutStamps(stamps);
    StampPixelRows(out, printed, r.font, r.colour);
    if (r.decorate) r.decorate(out, sourceWidth, sourceHeight, ratio, printed);
    const bool written = r.write ? r.write(r.target, out, sourceWidth, sourceHeight, ratio)
                                 : WritePictureRows(r.target, out, EndsWithJpg(r.target));
    if (!written) return StampedSaveResult::TargetUnwritable;
    return StampedSaveResult::Saved;
}

}  // namespace orvane
