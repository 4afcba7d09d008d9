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
