#include "editor/rules/window_rules.h"

#include <cstring>

namespace orvane::editor {

std::u16string TitleLine(std::u16string_view path, std::u16string_view note) {
    std::u16string line;
    if (path.size() > 80) {
        line = u"......";
        line += path.substr(path.size() - 70);
    } else {
        line = path;
    }
    if (!note.empty()) {
        line += u"   --   ";
        line += note;
    }
    return line;
}

FontRecord DefaultEditorFont() {
    FontRecord f;
    f.height = -24;
    f.weight = 20;
    f.pitchAndFamily = 0x20;
    const char16_t face[] = u"Arial";
    for (size_t i = 0; face[i] != 0; ++i) f.faceName[i] = face[i];
    return f;
}

EditorProperties::Bytes EditorProperties::ToBytes() const {
    Bytes bytes{};
    std::memcpy(bytes.data(), this, kSize);
    return bytes;
}

EditorProperties EditorProperties::FromBytes(const uint8_t* bytes, size_t size) {
    EditorProperties defaults;
    if (bytes == nullptr || size != kSize) return defaults;
    EditorProperties p;
    std::memcpy(&p, bytes, kSize);
    auto keep = [](int32_t& v, int32_t lo, int32_t hi, int32_t fallback) {
        if (v < lo || v > hi) v = fallback;
    };
    keep(p.drawWidth, 1, 9, defaults.drawWidth);
    keep(p.measureWidth, 1, 9, defaults.measureWidth);
    keep(p.drawStyle, 0, 4, defaults.drawStyle);
    keep(p.measureStyle, 0, 4, defaults.measureStyle);
    keep(p.unit, 0, 3, defaults.unit);
    p.textFont.faceName.back() = 0;
    p.measureFont.faceName.back() = 0;
    return p;
}

namespace {

char16_t Upper(char16_t c) {
    return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - 32) : c;
}

bool EndsWithNoCase(std::u16string_view name, std::u16string_view tail) {
    if (name.size() < tail.size()) return false;
    for (size_t i = 0; i < tail.size(); ++i) {
        if (Upper(name[name.size() - tail.size() + i]) != tail[i]) return false;
    }
    return true;
}

}  // namespace

std::u16string SaveAsName(std::u16string_view typed, int32_t filterIndex) {
    std::u16string name(typed);
    const size_t slash = name.find_last_of(u"\\/");
    const size_t dot = name.find_last_of(u'.');
    if (dot == std::u16string::npos || (slash != std::u16string::npos && dot < slash)) {
        name += filterIndex == 2 ? u".JPG" : filterIndex == 3 ? u".TIF" : u".BMP";
    }
    if (!EndsWithNoCase(name, u".BMP") && !EndsWithNoCase(name, u".JPG") && !IsTiffName(name)) {
        name += u".BMP";
    }
    return name;
}

bool IsJpegName(std::u16string_view name) {
    return EndsWithNoCase(name, u".JPG");
}

bool IsTiffName(std::u16string_view name) {
    return EndsWithNoCase(name, u".TIF") || EndsWithNoCase(name, u".TIFF");
}

float SampleFactor(int32_t pictureWidth, int32_t pictureHeight, int32_t outWidth,
                   int32_t outHeight) {
    if (outWidth <= 0 || outHeight <= 0) return 1.0f;
    const float rw = static_cast<float>(pictureWidth) / static_cast<float>(outWidth);
    const float rh = static_cast<float>(pictureHeight) / static_cast<float>(outHeight);
    return rh < rw ? rh : rw;
}

int32_t SampleIndex(int32_t outIndex, float factor) {
    return static_cast<int32_t>(static_cast<float>(outIndex) * factor);
}

uint32_t LocaleOfLanguage(int32_t language) {
    static constexpr uint32_t kLocales[] = {2052, 1028, 1033, 12,   7,    1049, 22,
                                            10,   16,   19,   1042, 1041, 1066};
    if (language < 501 || language > 513) return 0;
    return kLocales[language - 501];
}

int32_t EditorMenuOfLanguage(int32_t language) {
    switch (language) {
        case 501:
            return 167;
        case 502:
            return 308;
        case 504:
            return 316;
        case 505:
            return 315;
        case 506:
            return 310;
        case 507:
            return 311;
        case 508:
            return 309;
        case 509:
            return 314;
        case 510:
            return 317;
        case 511:
            return 312;
        case 512:
            return 313;
        case 513:
            return 286;
        default:
            return 234;
    }
}

int32_t EditorMenuImage(uint32_t command) {
    if (command >= 32803 && command <= 32807) return static_cast<int32_t>(command - 32803);
    if (command >= 32874 && command <= 32876) return static_cast<int32_t>(command - 32874 + 5);
    if (command >= 32809 && command <= 32812) return static_cast<int32_t>(command - 32809 + 8);
    if (command >= 32799 && command <= 32802) return static_cast<int32_t>(command - 32799 + 12);
    if (command == 32814) return 16;
    return -1;
}

std::u16string NoteThatFits(std::u16string note) {
    constexpr size_t kUnits = 259;
    if (note.size() <= kUnits) return note;
    size_t keep = kUnits;
    if (note[keep - 1] >= 0xD800 && note[keep - 1] <= 0xDBFF) --keep;  // a lead without its trail
    note.resize(keep);
    return note;
}

}  // namespace orvane::editor
