#include "app/language.h"

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
