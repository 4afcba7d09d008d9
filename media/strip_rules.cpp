#include "media/strip_rules.h"

#include <array>
#include <cstdio>

namespace orvane {
namespace {

std::u16string Widen(const char* text) {
    std::u16string out;
    for (const char* c = text; *c; ++c)
        out += static_cast<char16_t>(static_cast<unsigned char>(*c));
    return out;
}

std::u16string DateText(const char* format, const LocalTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, format, t.year, t.month, t.day, t.hour, t.minute, t.second);
    return Widen(text);
}

}  // namespace

uint32_t QuadrantTextColour(uint32_t quadrant) {
    static constexpr std::array<uint32_t, 4> kColours = {0x000000, 0xFFFFFF, 0x0000FF, 0x00FF00};
    return kColours[quadrant & 3];
}

std::u16string_view PreviewSizeText(uint32_t pictureSize) {
    struct Named {
        uint32_t size;
        std::u16string_view text;
    };
    static constexpr std::array<Named, 12> kSizes = {{
        {160u << 16 | 120, u"160X120"},
        {176u << 16 | 144, u"176X144"},
        {320u << 16 | 240, u"320X240"},
        {352u << 16 | 288, u"352X288"},
        {640u << 16 | 480, u"640X480"},
        {800u << 16 | 600, u"800X600"},
        {1280u << 16 | 960, u"1280X960"},
        {1280u << 16 | 1024, u"1280X1024"},
        {1600u << 16 | 1200, u"1600X1200"},
        {2048u << 16 | 1536, u"2048X1536"},
        {2560u << 16 | 1920, u"2560X1920"},
        {3488u << 16 | 2616, u"3488X2616"},
    }};
    for (const Named& n : kSizes) {
        if (n.size == pictureSize) return n.text;
    }
    return {};
}

std::u16string PreviewName(std::u16string_view mediaPath) {
    const size_t slash = mediaPath.rfind(u'\\');
    const std::u16string_view name =
        slash == std::u16string_view::npos ? mediaPath : mediaPath.substr(slash + 1);
    return std::u16string(name.substr(0, 9));
}

std::u16string CellDateText(const LocalTime& t) {
    return DateText("%d-%d-%d %02d:%02d:%02d", t);
}

std::u16string PreviewTimeText(const LocalTime& t) {
    return DateText("%d/%d/%d %02d:%02d:%02d", t);
}

}  // namespace orvane
