#include "app/rules/language.h"

#include <array>

namespace orvane {

uint32_t StringBase(uint32_t language) {
    // Indexed by code - 501: Sc, Tc, En, Fr, Ge, Ru, Pt, Sp, It, Du, Kr, Jp, Vn.
    static constexpr std::array<uint32_t, 13> kBases = {2000, 1000, 0,     8000, 10000, 5000, 7000,
                                                        6000, 9000, 11000, 4000, 3000,  12000};
    if (language < 501 || language > 513) return 0;
    return kBases[language - 501];
}

}  // namespace orvane

namespace orvane {

LabelRect LanguageLabelRect(int radioTop, int radioRight, int radioBottom) {
    const int centre = (radioTop + radioBottom) / 2;
    return {radioRight + 3, centre - 8, radioRight + 83, centre + 8};
}

uint32_t LanguageAtPoint(const std::array<LabelRect, kLanguageCount>& labels, int x, int y) {
    for (int k = 0; k < kLanguageCount; ++k) {
        const LabelRect& r = labels[k];
        if (x > r.left && x < r.right && y > r.top && y < r.bottom) return 501 + k;
    }
    return 0;
}

uint32_t LanguageDialogPreset(uint32_t language) {
    return language >= 501 && language <= 513 ? language : 501;
}

}  // namespace orvane

namespace orvane {

const LanguageInfo& LanguageInfoFor(uint32_t language) {
    static constexpr std::array<LanguageInfo, 13> kLanguages = {{
        {501, u"Sc", 231, 263, 167, u"Manual_English.pdf", false},
        {502, u"Tc", 275, 273, 308, u"Manual_English.pdf", false},
        {503, u"En", 129, 248, 234, u"Manual_English.pdf", true},
        {504, u"Fr", 276, 265, 316, u"Manual_French.pdf", true},
        {505, u"Ge", 277, 266, 315, u"Manual_German.pdf", true},
        {506, u"Ru", 282, 271, 310, u"Manual_Russian.pdf", true},
        {507, u"Pt", 279, 268, 311, u"Manual_Portugese.pdf", true},
        {508, u"Sp", 280, 269, 309, u"Manual_Spanish.pdf", true},
        {509, u"It", 278, 267, 314, u"Manual_Italian.pdf", true},
        {510, u"Du", 274, 264, 317, u"Manual_Dutch.pdf", true},
        {511, u"Kr", 281, 270, 312, u"Manual_English.pdf", false},
        {512, u"Jp", 283, 272, 313, u"Manual_English.pdf", false},
        {513, u"Vn", 284, 285, 286, u"Manual_Vietnamese.pdf", true},
    }};
    if (language < 501 || language > 513) language = 503;
    return kLanguages[language - 501];
}

std::u16string MenuButtonBitmapName(std::u16string_view buttonText, uint32_t language,
                                    char16_t state) {
    std::u16string name;
    for (char16_t c : buttonText)
        name += (c >= u'a' && c <= u'z') ? static_cast<char16_t>(c - 32) : c;
    for (const char16_t* s = LanguageInfoFor(language).bitmapSuffix; *s; ++s) {
        name += (*s >= u'a' && *s <= u'z') ? static_cast<char16_t>(*s - 32) : *s;
    }
    name += state;
    return name;
}

}  // namespace orvane
