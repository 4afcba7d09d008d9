// Parameter defaults and the gamma and tone tables.
#include "capture/raw/raw_pars.h"

#include <cmath>

namespace orvane {

const int kGammaPointInputs[kGammaPointCount] = {0,   4,   8,   16,  24,  32,  48,  64,
                                                 80,  96,  112, 128, 144, 160, 176, 184,
                                                 192, 200, 208, 216, 224, 232, 240, 256};
const int kTonePointInputs[kTonePointCount] = {0,   8,   16,  24,  32,  48,  64,  80,  96,
                                               128, 160, 192, 208, 224, 232, 240, 248, 256};
const uint8_t kDefaultGammaPoints[kGammaPointCount] = {0,   5,   16,  42,  60,  78,  104, 125,
                                                       142, 154, 164, 174, 181, 189, 197, 203,
                                                       206, 210, 217, 225, 231, 239, 246, 255};
const uint8_t kDefaultTonePoints[kTonePointCount] = {0,   8,   16,  24,  32,  48,  64,  80,  96,
                                                     128, 160, 192, 208, 224, 232, 240, 248, 255};

uint8_t PowerPoint(int p, double exponent) {
    double v = 255.0 * std::pow(p / 255.0, exponent);
    if (!(v > 0.0)) return 0;  // also catches NaN
    if (v >= 255.0) return 255;
    return static_cast<uint8_t>(static_cast<int>(v));
}

namespace {

int Clamp255(int v) {
    return v < 0 ? 0 : (v > 255 ? 255 : v);
}

// Piecewise-linear table through the points; segments are 4, 8, 16 or 32 wide. A falling
// segment adds 1 to the difference, except for inputs below noPlusOneBelow.
void Interpolate(const uint8_t* points, const int* inputs, int count, int noPlusOneBelow,
                 uint8_t* table) {
    for (int seg = 0; seg + 1 < count; ++seg) {
        int xa = inputs[seg];
        int width = inputs[seg + 1] - xa;
        int s = 0;
        while ((1 << s) < width) ++s;
        int a = points[seg];
        int b = points[seg + 1];
        for (int i = xa; i < inputs[seg + 1] && i < 256; ++i) {
            int k = i - xa;
            int v;
            if (a < b) {
                v = a + (((b - a + 1) * k) >> s);
            } else {
                int diff = i < noPlusOneBelow ? (a - b) : (a - b + 1);
                v = a - ((diff * k) >> s);
            }
            table[i] = static_cast<uint8_t>(Clamp255(v));
        }
    }
}

}  // namespace

CRawPars::CRawPars() {
    SetDefaults();
}

CRawPars::~CRawPars() = default;

void CRawPars::SetDefaults() {
    gammaExponent = 1.0;
    toneExponent = 1.0;
    gammaEnable = 1;
    colorEnable = 1;
    toneEnable = 1;
    gR = gG = gB = 128;
    oB = 64;
    oR = oG = 0;
    ct = 32;
    pv = 160;
    cH = 64;
    cI = 64;
    cG = 0;
    cF = 64;
    br = 64;
    chromaRotEnable = 1;
    sharpEnable = 1;
    ss = 64;
    st = 6;
    cm = 0;
    mYR = 22;
    mYG = 39;
    mYB = 9;
    mUR = -20;
    mUG = -40;
    mUB = 52;
    mVR = 74;
    mVG = -67;
    mVB = 3;
    for (int i = 0; i < kGammaPointCount; ++i)
        gammaPoints[i] = PowerPoint(kDefaultGammaPoints[i], gammaExponent);
    for (int i = 0; i < kTonePointCount; ++i)
        tonePoints[i] = PowerPoint(kDefaultTonePoints[i], toneExponent);
}

void CRawPars::BuildGammaTable() {
    Interpolate(gammaPoints, kGammaPointInputs, kGammaPointCount, 0, gammaTable);
}

void CRawPars::BuildToneTable() {
    uint8_t base[256];
    Interpolate(tonePoints, kTonePointInputs, kTonePointCount, 32, base);
    double gain = ct / 32.0;
    for (int i = 0; i < 256; ++i) {
        double v = (base[i] - pv) * gain + br + pv;
        int t;
        if (!(v > 0.0))
            t = 0;
        else if (v >= 255.0)
            t = 255;
        else
            t = static_cast<int>(v);
        toneTable[i] = static_cast<uint8_t>(t);
    }
}

int EffectiveChromaMode(const CRawPars& p) {
    if (p.mUR == 0 && p.mUG == 0 && p.mUB == 0 && p.mVR == 0 && p.mVG == 0 && p.mVB == 0) return 1;
    return (p.cm >= 0 && p.cm <= 3) ? p.cm : 0;
}

}  // namespace orvane
