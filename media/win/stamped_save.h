#pragma once
// A picture saved under another name with its information stamped in: decoded into rows,
// sampled to the chosen size, stamped, then written as BMP or, for a ".JPG" target, as JPEG.
// Needs GDI+ started in the process.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "media/media_files.h"
#include "media/stamp/pixel_rows.h"
#include "media/stamp/stamp_layout.h"

namespace orvane {

struct StampedSaveRequest {
    std::wstring source;
    std::wstring target;
    bool fullSize = true;          // false: 320 x 240
    uint32_t stampBits = 0;
    LOGFONTW font{};
    COLORREF colour = 0;
    LocalTime captureTime{};
    double magnification = 0.0;  // the one to print; printed only when above 1
    // Printed after the stamps, given the source's size and the sampling ratio (1 at full
    // size) and the stamps printed: a scale bar, say.
    std::function<void(PixelRows&, int32_t sourceWidth, int32_t sourceHeight, double ratio,
                       const std::vector<StampText>& stamps)>
        decorate;
    // Writes the copy instead of BMP and JPEG (a TIFF); true when it was written in full.
    std::function<bool(const std::wstring& target, const PixelRows&, int32_t sourceWidth,
                       int32_t sourceHeight, double ratio)>
        write;
};

enum class StampedSaveResult { Saved, SourceUnreadable, TargetUnwritable };

StampedSaveResult SaveStampedPicture(const StampedSaveRequest& request);

}  // namespace orvane
