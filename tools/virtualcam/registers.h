// The emulated image-processor register file (16-bit addresses, one byte each).
#pragma once

#include <array>
#include <cstdint>

namespace vcam {

class RegisterFile {
public:
    RegisterFile();
    uint8_t Read(uint16_t address) const { return bytes_[address]; }
    void Write(uint16_t address, uint8_t value) { bytes_[address] = value; }

private:
    std::array<uint8_t, 0x10000> bytes_{};
};

// Property sets of the register access paths.
// Node property: SET {address low, address high, 0, 0xFF}, then GET returns the value in byte 2.
inline constexpr GUID kRegisterNodeSet = {0x28F03370, 0x6311, 0x4A2E, {0xBA, 0x2C, 0x68, 0x90, 0xEB, 0x33, 0x40, 0x16}};
// Vendor records of ten 32-bit words: word 5 = 2 selects the address in word 6; word 5 = 1 reads
// the value into the low byte of word 7.
inline constexpr GUID kRegisterVendorSetA = {0xF1CAFC1D, 0xD7D6, 0x400F, {0xA7, 0xFD, 0x96, 0x71, 0x5E, 0x0B, 0xD9, 0x58}};
inline constexpr GUID kRegisterVendorSetB = {0xE02A32D0, 0xD2FC, 0x4628, {0xA1, 0xDD, 0xDE, 0x07, 0x9B, 0x11, 0xDF, 0xE1}};

}  // namespace vcam
