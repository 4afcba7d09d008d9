#pragma once
// The information printed into a picture saved under another name: which texts, and where.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "media/media_files.h"

namespace orvane {

constexpr uint32_t kStampFileName = 0x04;
constexpr uint32_t kStampPictureSize = 0x08;
constexpr uint32_t kStampMagnification = 0x10;
constexpr uint32_t kStampDateTime = 0x20;
constexpr uint32_t kStampBitsMask = 0xFF;

struct StampRequest {
    uint32_t bits = 0;
    int32_t width = 0;  // of the saved picture
    int32_t height = 0;
    int32_t fontHeight = 0;  // the font record's height; its sign does not matter
    LocalTime captureTime{};
    std::u16string_view path;  // only the part after the last backslash is printed
    double magnification = 0.0;
    int32_t magnificationDecimals = 2;
};

struct StampText {
    std::u16string text;
    int32_t x = 0;
    int32_t y = 0;

    bool operator==(const StampText&) const = default;
};

// The height, in pixels, stamps are printed at in a picture of pictureHeight rows: the font
// record's height of either sign, at least 1 and at most a third of the picture (at least 8);
// a record no font can have (0, or the most negative value) takes the default 21.
int32_t BoundedStampFontHeight(int32_t fontHeight, int32_t pictureHeight);

// Size top-left, date and time bottom-left, the name (at most 13 characters) centred at the
// bottom and "Magnification: m" bottom-right, only when m > 1. Positions use integer
// divisions of the font height, as the saved pictures have always had them.
std::vector<StampText> LayoutStamps(const StampRequest& request);

}  // namespace orvane
