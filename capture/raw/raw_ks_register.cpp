#include "capture/raw/raw_ks_register.h"

namespace orvane {

bool ReadKsRegister(KsRegisterChannel& channel, uint16_t address, uint8_t* value) {
    if (!channel.HasNodeControl()) return false;
    uint8_t data[4] = {static_cast<uint8_t>(address & 0xFF), static_cast<uint8_t>(address >> 8),
                       0x00, 0xFF};
    if (channel.NodeProperty(kKsNodeSetFlags, data)) {
        uint8_t answer[4] = {0, 0, 0, 0};
        if (!channel.NodeProperty(kKsNodeGetFlags, answer)) return false;
        *value = answer[2];
        return true;
    }

    if (!channel.HasVendorSets()) return false;
    uint32_t write[10] = {};
    write[5] = 2;
    write[6] = address;
    write[7] = 0;
    if (!channel.VendorSet(0, write) && !channel.VendorSet(1, write)) return false;
    uint32_t read[10] = {};
    read[5] = 1;
    if (!channel.VendorGet(0, read) && !channel.VendorGet(1, read)) return false;
    *value = static_cast<uint8_t>(read[7] & 0xFF);
    return true;
}

}  // namespace orvane
