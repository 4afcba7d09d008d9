#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <vector>

#include "capture/raw/raw_camera.h"

namespace orvane {
namespace {

// A camera whose register file is a map; reads of unlisted addresses fail.
class FakeCamera : public RawRegisterSource {
  public:
    bool ReadRegister(uint16_t address, uint8_t* value) override {
        reads.push_back(address);
        auto it = regs.find(address);
        if (it == regs.end()) return false;
        *value = it->second;
        return true;
    }
    bool ReadBrightness(int* value) override {
        ++brightnessReads;
        if (!hasBrightness) return false;
        *value = brightness;
        return true;
    }
    // Every register of the load, with recognisable values.
    void FillAll() {
        for (uint16_t a : kSingleRegisters) regs[a] = 0x40;
        regs[0x11B7] = 0xFE;  // gamma off (bit 0 clear)
        regs[0x1191] = 11;    // gB
        regs[0x1192] = 12;    // gG
        regs[0x1194] = 13;    // gR
        regs[0x118D] = 21;    // oB
        regs[0x118E] = 22;    // oG
        regs[0x1190] = 23;    // oR
        regs[0x110A] = 31;
        regs[0x110B] = 32;
        regs[0x110C] = 33;
        regs[0x110D] = 34;
        regs[0x1132] = 96;  // ss
        regs[0x1133] = 9;   // st
        for (int i = 0; i < 24; ++i) regs[kGammaRegisterBase + i] = static_cast<uint8_t>(10 * i);
        for (int i = 0; i < 18; ++i) regs[kToneRegisterBase + i] = static_cast<uint8_t>(14 * i);
        const uint8_t m[11] = {1, 2, 3, 0xFF, 0x00, 0x05, 0x03 | 0x08, 0x00, 0x10, 0x20, 0x30};
        for (int i = 0; i < 11; ++i) regs[kMatrixRegisterBase + i] = m[i];
    }
    std::map<uint16_t, uint8_t> regs;
    std::vector<uint16_t> reads;
    bool hasBrightness = false;
    int brightness = 0;
    int brightnessReads = 0;
};

void ExpectDefaultMatrix(const CRawPars& p) {
    EXPECT_EQ(p.mYR, 22);
    EXPECT_EQ(p.mUR, -20);
    EXPECT_EQ(p.mVG, -67);
}

TEST(RawCamera, ReadsEveryGroupInOrderAndStoresIt) {
    FakeCamera cam;
    cam.FillAll();
    cam.hasBrightness = true;
    cam.brightness = -12;
    CRawPars_HW hw;
    hw.SetSource(&cam);
    ASSERT_EQ(hw.LoadFromCamera(), 1);

    std::vector<uint16_t> order(kSingleRegisters, kSingleRegisters + 18);
    for (int i = 0; i < 24; ++i) order.push_back(static_cast<uint16_t>(0x11B8 + i));
    for (int i = 0; i < 18; ++i) order.push_back(static_cast<uint16_t>(0x110E + i));
    for (int i = 0; i < 11; ++i) order.push_back(static_cast<uint16_t>(0x11D5 + i));
    EXPECT_EQ(cam.reads, order);
    EXPECT_EQ(cam.brightnessReads, 1);

    EXPECT_EQ(hw.gammaEnable, 0);
    EXPECT_EQ(hw.gB, 11);
    EXPECT_EQ(hw.gG, 12);
    EXPECT_EQ(hw.gR, 13);
    EXPECT_EQ(hw.oB, 21);
    EXPECT_EQ(hw.oG, 22);
    EXPECT_EQ(hw.oR, 23);
    EXPECT_EQ(hw.cH, 31);
    EXPECT_EQ(hw.cI, 32);
    EXPECT_EQ(hw.cG, 33);
    EXPECT_EQ(hw.cF, 34);
    EXPECT_EQ(hw.ss, 96);
    EXPECT_EQ(hw.st, 9);
    EXPECT_EQ(hw.gammaPoints[23], 230);
    EXPECT_EQ(hw.tonePoints[17], 238);
    EXPECT_EQ(hw.br, -12);
    // Unread stages keep their defaults.
    EXPECT_EQ(hw.ct, 32);
    EXPECT_EQ(hw.pv, 160);
    EXPECT_EQ(hw.colorEnable, 1);
    // Matrix: 10-bit two's complement from the high bits in r6 and r10.
    EXPECT_EQ(hw.mYR, 1);
    EXPECT_EQ(hw.mYG, 2);
    EXPECT_EQ(hw.mYB, 3);
    EXPECT_EQ(hw.mUR, -1);    // 0x3FF
    EXPECT_EQ(hw.mUG, -512);  // 0x200
    EXPECT_EQ(hw.mUB, 5);
    EXPECT_EQ(hw.mVR, 0);
    EXPECT_EQ(hw.mVG, 0x10);
    EXPECT_EQ(hw.mVB, 0x320 - 1024);  // high bits 0x30 -> 0x300
    EXPECT_EQ(SignExtend10(0x1FF), 511);
}

TEST(RawCamera, AFailedReadStopsTheLoadAndKeepsLaterDefaults) {
    struct Case {
        uint16_t missing;
        bool singlesStored, gammaStored, toneStored;
    };
    for (Case c : {Case{0x11D4, false, false, false}, Case{0x11C0, true, false, false},
                   Case{0x111F, true, true, false}, Case{0x11DF, true, true, true}}) {
        FakeCamera cam;
        cam.FillAll();
        cam.hasBrightness = true;
        cam.brightness = 5;
        cam.regs.erase(c.missing);
        CRawPars_HW hw;
        hw.gB = 77;  // overwritten by the defaults in any case
        hw.SetSource(&cam);
        EXPECT_EQ(hw.LoadFromCamera(), 0) << std::hex << c.missing;
        EXPECT_EQ(cam.reads.back(), c.missing);
        EXPECT_EQ(cam.brightnessReads, 0);
        EXPECT_EQ(hw.br, 64);
        EXPECT_EQ(hw.gB, c.singlesStored ? 11 : 128);
        EXPECT_EQ(hw.gammaPoints[23], c.gammaStored ? 230 : 255);
        EXPECT_EQ(hw.tonePoints[17], c.toneStored ? 238 : 255);
        ExpectDefaultMatrix(hw);
    }
}

TEST(RawCamera, BrightnessOnlyWithinRange) {
    FakeCamera cam;
    cam.FillAll();
    CRawPars_HW hw;
    hw.SetSource(&cam);
    EXPECT_EQ(hw.LoadFromCamera(), 1);  // brightness unreadable: still a full load
    EXPECT_EQ(hw.br, 64);
    cam.hasBrightness = true;
    for (int v : {-65, 65, 1000}) {
        cam.brightness = v;
        EXPECT_EQ(hw.LoadFromCamera(), 1);
        EXPECT_EQ(hw.br, 64) << v;
    }
    for (int v : {-64, 0, 64}) {
        cam.brightness = v;
        EXPECT_EQ(hw.ReadBrightness(), 1);
        EXPECT_EQ(hw.br, v);
    }
}

TEST(RawCamera, WithoutCameraNothingChanges) {
    CRawPars_HW hw;
    hw.gR = 1;
    EXPECT_EQ(hw.LoadFromCamera(), 0);
    EXPECT_EQ(hw.ReadColorMatrix(), 0);
    EXPECT_EQ(hw.gR, 1);
    // The conversion still runs with the parameters it has.
    std::vector<uint8_t> raw(4 * 4, 90);
    EXPECT_NE(hw.ConvertRaw(4, 4, raw.data(), raw.size()), nullptr);
    EXPECT_EQ(hw.ConvertRaw(4, 4, nullptr, 0), nullptr);
    EXPECT_EQ(hw.ConvertRaw(4, 5, raw.data(), raw.size()), nullptr);
}

TEST(RawCamera, ReadColorMatrixReadsOnlyTheMatrix) {
    FakeCamera cam;
    cam.FillAll();
    CRawPars_HW hw;
    hw.SetSource(&cam);
    EXPECT_EQ(hw.ReadColorMatrix(), 1);
    ASSERT_EQ(cam.reads.size(), 11u);
    EXPECT_EQ(cam.reads.front(), 0x11D5);
    EXPECT_EQ(hw.mUR, -1);
    EXPECT_EQ(hw.gB, 128);
}

}  // namespace
}  // namespace orvane
