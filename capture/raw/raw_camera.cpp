// Load order of the camera's processor registers.
#include "capture/raw/raw_camera.h"

namespace orvane {

const uint16_t kSingleRegisters[18] = {0x11B7, 0x1109, 0x1191, 0x1192, 0x1194, 0x118D,
                                       0x118E, 0x1190, 0x110A, 0x110B, 0x110C, 0x110D,
                                       0x1132, 0x1133, 0x1139, 0x113A, 0x11D2, 0x11D4};

int SignExtend10(int v) {
    v &= 0x3FF;
    return v > 511 ? v - 1024 : v;
}

void DecodeColorMatrix(const uint8_t r[11], CRawPars* p) {
    p->mYR = r[0];
    p->mYG = r[1];
    p->mYB = r[2];
    p->mUR = SignExtend10((r[6] & 0x03) * 256 + r[3]);
    p->mUG = SignExtend10((r[6] & 0x0C) * 64 + r[4]);
    p->mUB = SignExtend10((r[6] & 0x30) * 16 + r[5]);
    p->mVR = SignExtend10((r[10] & 0x03) * 256 + r[7]);
    p->mVG = SignExtend10((r[10] & 0x0C) * 64 + r[8]);
    p->mVB = SignExtend10((r[10] & 0x30) * 16 + r[9]);
}

CRawPars_HW::~CRawPars_HW() = default;

bool CRawPars_HW::ReadGroup(uint16_t base, int count, uint8_t* out) {
    for (int i = 0; i < count; ++i)
        if (!source_->ReadRegister(static_cast<uint16_t>(base + i), &out[i])) return false;
    return true;
}

int CRawPars_HW::LoadFromCamera() {
    if (source_ == nullptr) return 0;
    SetDefaults();

    uint8_t s[18];
    for (int i = 0; i < 18; ++i)
        if (!source_->ReadRegister(kSingleRegisters[i], &s[i])) return 0;
    gammaEnable = s[0] & 1;
    gB = s[2];
    gG = s[3];
    gR = s[4];
    oB = s[5];
    oG = s[6];
    oR = s[7];
    cH = s[8];
    cI = s[9];
    cG = s[10];
    cF = s[11];
    ss = s[12];
    st = s[13];

    uint8_t g[kGammaPointCount];
    if (!ReadGroup(kGammaRegisterBase, kGammaPointCount, g)) return 0;
    for (int i = 0; i < kGammaPointCount; ++i) gammaPoints[i] = PowerPoint(g[i], gammaExponent);

    uint8_t t[kTonePointCount];
    if (!ReadGroup(kToneRegisterBase, kTonePointCount, t)) return 0;
    for (int i = 0; i < kTonePointCount; ++i) tonePoints[i] = PowerPoint(t[i], toneExponent);

    if (!ReadColorMatrix()) return 0;
    ReadBrightness();
    return 1;
}

int CRawPars_HW::ReadColorMatrix() {
    if (source_ == nullptr) return 0;
    uint8_t r[11];
    if (!ReadGroup(kMatrixRegisterBase, 11, r)) return 0;
    DecodeColorMatrix(r, this);
    return 1;
}

int CRawPars_HW::ReadBrightness() {
    if (source_ == nullptr) return 0;
    int value = 0;
    if (!source_->ReadBrightness(&value)) return 0;
    if (value < -64 || value > 64) return 0;
    br = value;
    return 1;
}

std::unique_ptr<uint8_t[]> CRawPars_HW::ConvertRaw(int w, int h, const uint8_t* raw,
                                                   size_t rawLen) {
    if (raw == nullptr) return nullptr;
    LoadFromCamera();
    return Process(w, h, raw, rawLen);
}

}  // namespace orvane
