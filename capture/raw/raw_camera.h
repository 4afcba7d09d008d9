#pragma once
// Reading the processor parameters from the camera. The camera is reached through two
// operations only (one register byte, the brightness control), so the load order and its
// early-stop rule are the same on every back end.
#include <cstddef>
#include <cstdint>
#include <memory>

#include "capture/raw/raw_pars.h"

namespace orvane {

class RawRegisterSource {
  public:
    virtual ~RawRegisterSource() = default;
    // One register byte at a 16-bit address; false when the read fails.
    virtual bool ReadRegister(uint16_t address, uint8_t* value) = 0;
    // The camera's brightness control; false when it cannot be read.
    virtual bool ReadBrightness(int* value) = 0;
};

// The register groups, in load order.
extern const uint16_t kSingleRegisters[18];
constexpr uint16_t kGammaRegisterBase = 0x11B8;   // 24 registers
constexpr uint16_t kToneRegisterBase = 0x110E;    // 18 registers
constexpr uint16_t kMatrixRegisterBase = 0x11D5;  // 11 registers

// A 10-bit two's-complement value.
int SignExtend10(int v);
// Decodes the eleven matrix bytes into the nine coefficients of p.
void DecodeColorMatrix(const uint8_t r[11], CRawPars* p);

class CRawPars_HW : public CRawPars {
  public:
    CRawPars_HW() = default;
    ~CRawPars_HW() override;

    // The camera to read from (not owned); null means no camera.
    void SetSource(RawRegisterSource* source) { source_ = source; }
    RawRegisterSource* Source() const { return source_; }

    // 1 when every register group was read; 0 without a camera or at the first failed read
    // (the group being read and all later ones keep their defaults).
    virtual int LoadFromCamera();
    virtual int ReadColorMatrix();
    virtual int ReadBrightness();

    // Loads the parameters (its result does not stop the conversion) and converts the frame.
    std::unique_ptr<uint8_t[]> ConvertRaw(int w, int h, const uint8_t* raw, size_t rawLen);

  private:
    bool ReadGroup(uint16_t base, int count, uint8_t* out);
    RawRegisterSource* source_ = nullptr;
};

}  // namespace orvane
