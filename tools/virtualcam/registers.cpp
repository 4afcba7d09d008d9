#include <windows.h>

#include "tools/virtualcam/registers.h"

namespace vcam {

namespace {
// 10-bit two's-complement matrix coefficient: low byte and the two high bits.
void PutCoefficient(RegisterFile& r, uint16_t low, uint16_t high, int shift, int value) {
    unsigned v = static_cast<unsigned>(value) & 0x3FF;
    r.Write(low, static_cast<uint8_t>(v & 0xFF));
    r.Write(high, static_cast<uint8_t>(r.Read(high) | ((v >> 8) << shift)));
}
}  // namespace

RegisterFile::RegisterFile() {
    // Values of a camera in its usual daylight set-up.
    Write(0x11B7, 0x01);  // gamma on
    Write(0x1109, 0x00);
    Write(0x1191, 132);   // blue gain
    Write(0x1192, 128);   // green gain
    Write(0x1194, 140);   // red gain
    Write(0x118D, 66);    // blue offset (biased by 64)
    Write(0x118E, 64);
    Write(0x1190, 64);
    Write(0x110A, 64);    // chroma rotation: identity
    Write(0x110B, 0);
    Write(0x110C, 0);
    Write(0x110D, 64);
    Write(0x1132, 64);    // sharpening strength, threshold
    Write(0x1133, 6);
    Write(0x1139, 0x10);
    Write(0x113A, 0x20);
    Write(0x11D2, 0x00);
    Write(0x11D4, 0x00);
    static const uint8_t gamma[24] = {0,   5,   16,  42,  60,  78,  104, 125, 142, 154, 164, 174,
                                      181, 189, 197, 203, 206, 210, 217, 225, 231, 239, 246, 255};
    for (int i = 0; i < 24; ++i) Write(static_cast<uint16_t>(0x11B8 + i), gamma[i]);
    static const uint8_t tone[18] = {0, 8, 16, 24, 32, 48, 64, 80, 96, 128, 160, 192, 208, 224, 232, 240, 248, 255};
    for (int i = 0; i < 18; ++i) Write(static_cast<uint16_t>(0x110E + i), tone[i]);
    // Colour matrix: luma 22/39/9, first chroma -20/-40/52, second chroma 74/-67/3 (units of 1/64).
    Write(0x11D5, 22);
    Write(0x11D6, 39);
    Write(0x11D7, 9);
    PutCoefficient(*this, 0x11D8, 0x11DB, 0, -20);
    PutCoefficient(*this, 0x11D9, 0x11DB, 2, -40);
    PutCoefficient(*this, 0x11DA, 0x11DB, 4, 52);
    PutCoefficient(*this, 0x11DC, 0x11DF, 0, 74);
    PutCoefficient(*this, 0x11DD, 0x11DF, 2, -67);
    PutCoefficient(*this, 0x11DE, 0x11DF, 4, 3);
}

}  // namespace vcam
