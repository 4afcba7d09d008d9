#pragma once
// The camera filter as a register source: kernel-streaming properties for the registers,
// the video processing amplifier for the brightness. Windows only.
#include <unknwn.h>

#include "capture/raw/raw_camera.h"

namespace orvane {

class CRawCameraSource : public RawRegisterSource {
  public:
    CRawCameraSource() = default;
    ~CRawCameraSource() override;
    CRawCameraSource(const CRawCameraSource&) = delete;
    CRawCameraSource& operator=(const CRawCameraSource&) = delete;

    // Replaces the held filter (releases the old one, adds a reference to the new one);
    // a null filter is ignored.
    void SetFilter(IUnknown* filter);
    IUnknown* Filter() const { return filter_; }

    bool ReadRegister(uint16_t address, uint8_t* value) override;
    bool ReadBrightness(int* value) override;

  private:
    IUnknown* filter_ = nullptr;
};

}  // namespace orvane
