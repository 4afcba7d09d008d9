#pragma once
// Register reads over the camera's kernel-streaming property channels: the extension-unit
// node property first, the vendor driver's property sets as the fallback. The channel is an
// interface so that the protocol is the same code on the camera and in tests.
#include <cstdint>

namespace orvane {

// Extension-unit property: set {28F03370-6311-4A2E-BA2C-6890EB334016}, id 1, node 1.
constexpr uint32_t kKsNodeSetFlags = 0x10000002;  // SET | TOPOLOGY
constexpr uint32_t kKsNodeGetFlags = 0x10000001;  // GET | TOPOLOGY

class KsRegisterChannel {
  public:
    virtual ~KsRegisterChannel() = default;
    // The extension-unit property with the given flags on 4 bytes of data (read and written).
    // False when the camera has no such control or the call fails.
    virtual bool HasNodeControl() = 0;
    virtual bool NodeProperty(uint32_t flags, uint8_t data[4]) = 0;
    // The vendor driver's sets: 0 = {F1CAFC1D-D7D6-400F-A7FD-96715E0BD958},
    // 1 = {E02A32D0-D2FC-4628-A1DD-DE079B11DFE1}; id 0, a 40-byte record as both instance
    // and property data.
    virtual bool HasVendorSets() = 0;
    virtual bool VendorSet(int set, uint32_t record[10]) = 0;
    virtual bool VendorGet(int set, uint32_t record[10]) = 0;
};

// One register byte. Without the node control the read fails; when the node write fails
// the vendor sets are used (write the address, then read the record back).
bool ReadKsRegister(KsRegisterChannel& channel, uint16_t address, uint8_t* value);

}  // namespace orvane
