#pragma once
// A picture saved under another name with its information stamped in: decoded into rows,
// sampled to the chosen size, stamped, then written as BMP or, for a ".JPG" target, as JPEG.
// Needs GDI+ started in the process.
#include <windows.h>

#include <string>

#include "media/media_files.h"

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
};

enum class StampedSaveResult { Saved, SourceUnreadable, TargetUnwritable };

StampedSaveResult SaveStampedPicture(const StampedSaveRequest& request);

}  // namespace orvane
