#pragma once
// A camera register file in text form, for converting raw frames away from the camera:
// lines "ADDRESS VALUE" in hex ("0x1191 0x80") and optionally "brightness N" (decimal).
// Blank lines and lines starting with '#' are skipped.
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "capture/raw/raw_camera.h"

namespace orvane {

class RawRegisterFile : public RawRegisterSource {
  public:
    // Parses the text; on a malformed line returns false and describes it in *error.
    bool Parse(std::string_view text, std::string* error);

    bool ReadRegister(uint16_t address, uint8_t* value) override;
    bool ReadBrightness(int* value) override;

    size_t Count() const { return regs_.size(); }

  private:
    std::map<uint16_t, uint8_t> regs_;
    std::optional<int> brightness_;
};

}  // namespace orvane
