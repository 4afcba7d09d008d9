#include "media/stamp/stamp_layout.h"

#include <algorithm>

#include <cstdio>
#include <cstdlib>

namespace orvane {

namespace {

std::u16string Widen(const char* text) {
    std::u16string out;
    for (; *text != '\0'; ++text) out += static_cast<char16_t>(static_cast<unsigned char>(*text));
    return out;
}

int32_t Length(const std::u16string& text) {
    return static_cast<int32_t>(text.size());
}

}  // namespace

int32_t BoundedStampFontHeight(int32_t fontHeight, int32_t pictureHeight) {
    constexpr int32_t kDefault = 21;
    const int64_t wanted = fontHeight == 0 || fontHeight == INT32_MIN
                               ? kDefault
                               : (fontHeight < 0 ? -int64_t{fontHeight} : int64_t{fontHeight});
    const int64_t largest = std::max<int64_t>(8, int64_t{pictureHeight} / 3);
    return static_cast<int32_t>(std::clamp<int64_t>(wanted, 1, largest));
}

std::vector<StampText> LayoutStamps(const StampRequest& r) {
    std::vector<StampText> out;
    const int32_t lh = BoundedStampFontHeight(r.fontHeight, r.height);
    const int32_t base = r.height - lh / 5 - lh;
    char buffer[96];
    if (r.bits & kStampPictureSize) {
        std::snprintf(buffer, sizeof buffer, "%dX%d", r.width, r.height);
        out.push_back({Widen(buffer), 0, 0});
    }
    if (r.bits & kStampDateTime) {
        const LocalTime& t = r.captureTime;
        std::snprintf(buffer, sizeof buffer, "%4d-%02d-%02d %02d:%02d:%02d", t.year, t.month, t.day,
                      t.hour, t.minute, t.second);
        out.push_back({Widen(buffer), 0, base});
    }
    if (r.bits & kStampFileName) {
        std::u16string_view name = r.path;
        const size_t slash = name.find_last_of(u'\\');
        if (slash != std::u16string_view::npos) name.remove_prefix(slash + 1);
        std::u16string text(name.substr(0, 13));
        out.push_back({text, (r.width - Length(text) * (lh / 2)) / 2, base});
    }
    if ((r.bits & kStampMagnification) && r.magnification > 1.0) {
        std::snprintf(buffer, sizeof buffer, "Magnification: %.*f", r.magnificationDecimals,
                      r.magnification);
        std::u16string text = Widen(buffer);
        out.push_back({text, r.width - (lh / 2) * Length(text), base});
    }
    return out;
}

}  // namespace orvane
